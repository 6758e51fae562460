// The records that reach the button page shown on its selectors, and the default assignment the page
// holds when no record of the mouse can be had.
#include "pages/buttons/Buttoninterface.h"

#include "device/ConfigSetting.h"
#include "device/ConnectionState.h"
#include "device/KeyNames.h"
#include "device/KeyRecords.h"
#include "device/MacroBlocks.h"
#include "device/PostMsg.h"
#include "device/RefreshingScope.h"
#include "pages/buttons/ButtonTables.h"
#include "pages/buttons/DebounceTime.h"
#include "ui_Buttoninterface.h"

#include <QStringList>
#include <QToolButton>

int Buttoninterface::ModelButtonCount() const
{
    const QString count = ConfigSetting::Instance()->GetValue(ModelGroup(), QStringLiteral("KeyNumber"));
    return qBound(0, count.toInt(nullptr, 10), int(ButtonSlotCount));
}

void Buttoninterface::ShowRecord(const FlashDataMap& record, int count)
{
    // The DPI-lock labels read the sensor's codes; a language change can come before any load.
    SensorName = ConfigSetting::Instance()->GetValue(ModelGroup(), QStringLiteral("Sensor"));
    dpiCodes.SensorName = SensorName;
    FunctionTypes.clear();
    FunctionCodes.clear();
    FunctionParams.clear();
    for (int i = 0; i < count; ++i) {
        FunctionTypes << record.buttons[i].type;
        FunctionCodes << record.buttons[i].p1;
        FunctionParams << record.buttons[i].p2;
    }
    for (int i = 0; i < count; ++i)
        ShowButtonAssignment(i, FunctionTypes.at(i), FunctionCodes.at(i), FunctionParams.at(i), record);
}

void Buttoninterface::ApplyRecord(const FlashDataMap& record)
{
    emit PostMsg::Instance()->SigLightToFrom(record.sleepTime * 10);
    ShowRecord(record, ModelButtonCount());
    // A debounce index that differs from the panel's is sent back by the panel (DebounceTime).
    ui->DebunceButton->SetIndex(record.debounceTime);
}

void Buttoninterface::SlotUpDataButtonUIButton(FlashDataMap DataMap)
{
    ButtonPageUpdated = false;
    {
        const RefreshingScope refreshing(ButtonPageRefreshing);
        ApplyRecord(DataMap);
    }
    ButtonPageUpdated = true;
}

void Buttoninterface::SlotUpDataButtonUIB(FlashDataMap DataMap)
{
    const RefreshingScope refreshing(ButtonPageRefreshing);
    ApplyRecord(DataMap);
}

void Buttoninterface::SlotFormResetButton()
{
    // The mouse keeps its own defaults: nothing is sent, and the selectors keep their texts.
    const RefreshingScope refreshing(ButtonPageRefreshing);
    ui->stackedWidget->setCurrentWidget(ui->page);
    ui->stackedWidget_2->setCurrentWidget(ui->page_9);
    FunctionTypes.clear();
    FunctionCodes.clear();
    FunctionParams.clear();
    for (const ButtonFunction& triple : ButtonTables::DefaultAssignment()) {
        FunctionTypes << triple.type;
        FunctionCodes << triple.p1;
        FunctionParams << triple.p2;
    }
    ui->DebunceButton->SetIndex(8);
    emit PostMsg::Instance()->SigLightToFrom(60);
}

bool Buttoninterface::KeyRecordText(const ButtonKeyRecord& keys, QString& text) const
{
    // Only the low byte of a usage tells the keys apart: 0x0183 and 0x0083 read alike.
    const KeyEvent& first = keys.events[0];
    if (first.kind == KeyNames::KindConsumer) {
        const KeyRecords::MultimediaKey* key = KeyRecords::FindMultimediaKey(first.usage & 0xFF);
        const auto* option = key ? findChild<QToolButton*>(QLatin1String(key->option)) : nullptr;
        if (!option)
            return false;
        text = option->text();
        return true;
    }
    // The presses come first, in the order the keys were typed. A record from the mouse may count
    // up to 255 events; it holds six, the presses of three keys.
    const int names = qMin(keys.eventCount / 2, KeyRecords::MaxComboKeys);
    QStringList parts;
    for (int j = 0; j < names; ++j)
        parts << KeyNames::ComboUsageToName(keys.events[j].usage & 0xFF, keys.events[j].kind);
    text = parts.join(QLatin1Char('+'));
    return true;
}

void Buttoninterface::ShowButtonAssignment(int button, int type, int code, int parameter, const FlashDataMap& record)
{
    // The repeat mode (parameter) of a macro stays with the macro page, which reads it from the
    // record's triple.
    Q_UNUSED(parameter)
    QToolButton* selector = SelectorOfButton(button);
    if (!selector)
        return;
    if (const char* name = ButtonTables::DisplayOption(type, code)) {
        if (const auto* option = findChild<QToolButton*>(QLatin1String(name)))
            selector->setText(option->text());
        return;
    }
    QString text;
    switch (type) {
    case FunctionKeyRecord:
        if (KeyRecordText(record.keyRecords[button], text))
            selector->setText(text);
        break;
    case FunctionMacro: {
        const QString macro = MacroBlocks::MacroNameOfBlock(record.macros[button]);
        selector->setText(MacroLabel(macro));
        // The macro page makes file names of the macros it is given; a name from the mouse that
        // could leave the macro folder is shown and goes no further.
        if (MacroBlocks::IsSafeMacroName(macro))
            emit PostMsg::Instance()->SigButtonToMacro(record, button);
        break;
    }
    case FunctionDpiLock:
        selector->setText(ui->DPI_4->text() + QLatin1Char('-') + QString::number(dpiCodes.DPICodeToValue(code)));
        break;
    default:
        break;
    }
}

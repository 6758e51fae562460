// Buttons that play a macro follow the macro page: a deleted macro gives its buttons their default
// functions back, a renamed one is renamed in their blocks, an edited one is sent to them again.
#include "pages/buttons/Buttoninterface.h"

#include "device/ConfigSetting.h"
#include "device/DeviceParamSetters.h"
#include "device/DeviceState.h"
#include "device/MacroBlocks.h"
#include "device/PostMsg.h"
#include "pages/buttons/ButtonTables.h"
#include "ui_Buttoninterface.h"
#include "widgets/WaitProcessingEvents.h"

#include <QHash>
#include <QToolButton>

namespace {

// The model list gives a button a key-record default with a list starting "0x05": a multimedia key
// (three entries, the code third) or a key combination (four entries, the keys fourth).
const QLatin1String KeyRecordDefault("0x05");
constexpr int ConsumerKeyEntries = 3;
constexpr int KeyCombinationEntries = 4;
constexpr int KeyParamButtons = 6;

} // namespace

QStringList Buttoninterface::SelectorLabels() const
{
    QStringList labels;
    for (const ButtonTables::SelectorRow& row : ButtonTables::SelectorRows()) {
        const auto* selector = findChild<QToolButton*>(QLatin1String(row.selector));
        labels << (selector ? selector->text().remove(QChar(0)) : QString());
    }
    return labels;
}

QList<int> Buttoninterface::ButtonsShowingMacro(const QString& label, const QStringList& labels) const
{
    QList<int> buttons;
    for (int row = 0; row < labels.size(); ++row) {
        if (labels.at(row) == label)
            buttons << ButtonTables::SelectorRows()[size_t(row)].button;
    }
    return buttons;
}

QList<int> Buttoninterface::ButtonsPlayingMacro(const QString& macroName, const QStringList& labels) const
{
    QList<int> buttons;
    for (int row = 0; row < labels.size(); ++row) {
        const int button = ButtonTables::SelectorRows()[size_t(row)].button;
        const QString& label = labels.at(row);
        if ((label == MacroLabel(macroName) || label == macroName) && FunctionAt(button).type == FunctionMacro)
            buttons << button;
    }
    return buttons;
}

void Buttoninterface::GiveDefaultFunction(int button, const QStringList& keyParam)
{
    if (!keyParam.isEmpty()) {
        // A list of another length gives nothing: the button keeps the deleted macro's triple.
        if (keyParam.size() == ConsumerKeyEntries)
            AssignConsumerKey(button, keyParam.at(2).toInt(nullptr, 16));
        else if (keyParam.size() == KeyCombinationEntries)
            AssignKeyCombination(button, keyParam.at(3));
        return;
    }
    const ButtonFunction& fallback = ButtonTables::DefaultAssignment()[size_t(button)];
    if (fallback.type == FunctionFireKey) {
        // Rapid fire with the page's interval and count, as its entry of the menu gives it.
        AssignToButton(button, FunctionFireKey, FireInterval, FireCount, ui->DPI_6->text());
        return;
    }
    // The option's own handler, for the checked selector.
    ChooseOption(QLatin1String(ButtonTables::DefaultOption(button)), true);
}

void Buttoninterface::SlotDeleteMacroButton(QString MacroName)
{
    const QList<int> bound = ButtonsShowingMacro(MacroName, SelectorLabels());
    QHash<int, QStringList> keyParams;
    for (int k = 1; k <= KeyParamButtons; ++k) {
        const QStringList list =
            ConfigSetting::Instance()->GetValueList(ModelGroup(), QStringLiteral("KeyParam") + QString::number(k));
        if (!list.isEmpty() && list.first() == KeyRecordDefault)
            keyParams.insert(k - 1, list);
    }
    for (int button : bound) {
        SelectorOfButton(button)->setChecked(true);
        if (auto* option = findChild<QToolButton*>(QLatin1String(ButtonTables::DefaultOption(button))))
            option->setChecked(true);
        // The deleted macro leaves no key record behind, also when the mouse refuses the default.
        ChangeDeviceConfig([button](FlashDataMap& record) { record.keyRecords[button] = ButtonKeyRecord{}; });
        GiveDefaultFunction(button, keyParams.value(button));
    }
    DeselectButtons();
    // The cleared key records reach the mouse with the record, while it is the mouse's.
    PushDeviceConfig();
}

void Buttoninterface::SlotMacroRename(QString MacroName, QString NewName)
{
    for (int button : ButtonsPlayingMacro(MacroName, SelectorLabels())) {
        // The label binds the button to the macro: it takes the new name also when the mouse is
        // away, so that the macro's later changes still find the button.
        SelectorOfButton(button)->setText(MacroLabel(NewName));
        const FlashDataMap image = DeviceConfigSnapshot();
        ButtonMacroBlock block = image.macros[button];
        MacroBlocks::SetBlockName(block, NewName);
        const ButtonFunction& function = image.buttons[button];
        const uint8_t triple[3] = {function.type, function.p1, function.p2};
        SetDeviceButtonMacro(button, triple, block);
    }
}

void Buttoninterface::SlotUpDataMacro(QString MacroName, int index)
{
    if (index == 0) {
        // The macro page saves the events after it announced them; the labels are taken now, and
        // other slots (a second update among them) run during the wait.
        const QStringList labels = SelectorLabels();
        WaitProcessingEvents(MacroSaveWaitMs);
        for (int button : ButtonsPlayingMacro(MacroName, labels))
            emit PostMsg::Instance()->SigMacroDownLoadData(MacroName, button);
        return;
    }
    if (index != 1)
        return;
    // The mouse keeps the repeat mode's low 8 bits ("300" plays 44 times).
    const uint8_t repeatMode = MacroBlocks::RepeatModeByte(ReadMacroRepeatMode(MacroName));
    for (int button : ButtonsPlayingMacro(MacroName, SelectorLabels())) {
        const FlashDataMap image = DeviceConfigSnapshot();
        const ButtonFunction& function = image.buttons[button];
        const uint8_t triple[3] = {function.type, function.p1, repeatMode};
        if (SetDeviceButtonMacro(button, triple, image.macros[button])) {
            const CopyEntry held = FunctionAt(button);
            UpDataButtonFunction(button, held.type, held.code, repeatMode);
        }
    }
}

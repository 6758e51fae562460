// The selected button, the page's copy of the assignments and the one path by which every function
// of the menu reaches the mouse.
#include "pages/buttons/Buttoninterface.h"

#include "device/DeviceParamSetters.h"
#include "device/KeyRecords.h"
#include "pages/buttons/ButtonTables.h"
#include "pages/buttons/LeftButtonOnly.h"
#include "ui_Buttoninterface.h"

#include <QButtonGroup>
#include <QToolButton>

int Buttoninterface::SelectedButton() const
{
    for (const ButtonTables::SelectorRow& row : ButtonTables::SelectorRows()) {
        const auto* selector = findChild<QToolButton*>(QLatin1String(row.selector));
        if (selector && selector->isChecked())
            return row.button;
    }
    return -1;
}

QToolButton* Buttoninterface::SelectorOfButton(int button) const
{
    const char* name = ButtonTables::SelectorOfButton(button);
    return name ? findChild<QToolButton*>(QLatin1String(name)) : nullptr;
}

Buttoninterface::CopyEntry Buttoninterface::FunctionAt(int index) const
{
    if (index < 0 || index >= FunctionTypes.size())
        return CopyEntry{};
    return CopyEntry{FunctionTypes.at(index), FunctionCodes.at(index), FunctionParams.at(index)};
}

void Buttoninterface::UpDataButtonFunction(int index, int type, int code, int parameter)
{
    if (index < 0 || index >= ButtonTables::PageButtonCount)
        return;
    // A load keeps as many entries as the model list names buttons, none when it names no count;
    // an assignment to a button beyond them grows the three lists together.
    while (FunctionTypes.size() <= index) {
        FunctionTypes << 0;
        FunctionCodes << 0;
        FunctionParams << 0;
    }
    FunctionTypes[index] = type;
    FunctionCodes[index] = code;
    FunctionParams[index] = parameter;
}

bool Buttoninterface::AssignToButton(int button, int type, int code, int parameter, const QString& text,
                                     const ButtonKeyRecord* record, const ButtonMacroBlock* block)
{
    QToolButton* selector = SelectorOfButton(button);
    if (!selector)
        return false;
    if (TakesTheLastLeftClick(button, type, code)) {
        CloseFunctionMenu();
        ShowLeftButtonOnly();
        return false;
    }
    const uint8_t triple[3] = {uint8_t(type), uint8_t(code), uint8_t(parameter)};
    bool written = false;
    if (type == FunctionKeyRecord)
        written = record && SetDeviceButtonKeyRecord(button, triple, *record);
    else if (type == FunctionMacro)
        written = block && SetDeviceButtonMacro(button, triple, *block);
    else
        written = SetDeviceButtonFunction(button, triple[0], triple[1], triple[2]);
    if (!written)
        return false;
    selector->setText(text);
    UpDataButtonFunction(button, type, code, parameter);
    return true;
}

bool Buttoninterface::TakesTheLastLeftClick(int button, int type, int code) const
{
    return !(type == FunctionMouseKey && code == 1) && ShowsTheOnlyLeftClick(button);
}

// The selectors' labels decide, not the copy: the label is what the user sees the button do.
bool Buttoninterface::ShowsTheOnlyLeftClick(int button) const
{
    const QString leftClick = ui->LeftKey_3->text();
    int showing = 0;
    for (const ButtonTables::SelectorRow& row : ButtonTables::SelectorRows()) {
        const auto* selector = findChild<QToolButton*>(QLatin1String(row.selector));
        showing += selector && selector->text() == leftClick;
    }
    const QToolButton* selector = SelectorOfButton(button);
    return showing == 1 && selector && selector->text() == leftClick;
}

void Buttoninterface::ShowLeftButtonOnly()
{
    LeftButtonOnly notice;
    PlaceNotice(&notice);
    notice.exec();
}

bool Buttoninterface::AssignToSelected(int type, int code, int parameter, const QString& text,
                                       const ButtonKeyRecord* record, const ButtonMacroBlock* block)
{
    const int button = SelectedButton();
    if (button < 0)
        return false;
    return AssignToButton(button, type, code, parameter, text, record, block);
}

void Buttoninterface::UncheckAllOptions()
{
    OptionGroup->setExclusive(false);
    for (QAbstractButton* option : OptionGroup->buttons()) {
        // The wheel up/down marks stay: only the group's exclusivity moves them.
        if (option == ui->VolumeUp_14 || option == ui->VolumeDown_14)
            continue;
        option->setChecked(false);
    }
    for (QToolButton* macro : MacroButtons)
        macro->setChecked(false);
    OptionGroup->setExclusive(true);
}

void Buttoninterface::AssignKeyCombination(int button, const QString& keys)
{
    ui->stackedWidget_2->setCurrentWidget(ui->page_9);
    UncheckAllOptions();
    ButtonKeyRecord record{};
    if (SelectorOfButton(button) && KeyRecords::KeyStringToRecord(keys, record))
        AssignToButton(button, FunctionKeyRecord, 0, 0, keys, &record);
    ShowMenuPage(ui->page_2);
}

void Buttoninterface::AssignConsumerKey(int button, int code)
{
    const KeyRecords::MultimediaKey* key = KeyRecords::FindMultimediaKey(code);
    ButtonKeyRecord record{};
    if (!key || !KeyRecords::MultimediaKeyRecord(code, record))
        return;
    const auto* option = findChild<QToolButton*>(QLatin1String(key->option));
    AssignToButton(button, FunctionKeyRecord, 0, 0, option ? option->text() : QString(), &record);
}

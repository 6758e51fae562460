// Picking a button: the selectors, the hotspots of the mouse picture, and the function menu opened
// on the picked button's present function.
#include "pages/buttons/Buttoninterface.h"

#include "device/DeviceParamSetters.h"
#include "device/DeviceState.h"
#include "device/KeyNames.h"
#include "device/KeyRecords.h"
#include "pages/buttons/ButtonTables.h"
#include "ui_Buttoninterface.h"

#include <QButtonGroup>
#include <QScrollArea>
#include <QScrollBar>
#include <QToolButton>

namespace {

void ScrollTo(QScrollArea* area, int position)
{
    area->verticalScrollBar()->setValue(position);
}

// A mouse key's row in the main list: the list shows the mouse keys in the order of their codes in
// the type table (left, right, middle, back, forward); 0 for a code that is no mouse key.
int MouseKeyRow(int code)
{
    const ButtonTables::FunctionTypeRow& keys = ButtonTables::FunctionTypes()[size_t(FunctionMouseKey)];
    for (int k = 0; k < keys.codeCount; ++k) {
        if (keys.codes[k] == code)
            return k;
    }
    return 0;
}

} // namespace

void Buttoninterface::ChooseSelector(int row)
{
    const ButtonTables::SelectorRow& place = ButtonTables::SelectorRows()[size_t(row)];
    const QToolButton* selector = SelectorOfButton(place.button);
    if (ShowsTheOnlyLeftClick(place.button)) {
        DeselectButtons();
        ShowLeftButtonOnly();
        return;
    }
    ui->scrollArea_11->verticalScrollBar()->setStyleSheet(
        QStringLiteral("QScrollBar {width:%1px;}").arg(place.scrollBarWidth));
    // A button beyond the model's count reads as the copy gives it, (0, 0, 0): never outside it.
    const CopyEntry function = FunctionAt(place.button);
    if (function.type == FunctionKeyRecord) {
        OpenMenuOnKeyRecord(place.button);
        return;
    }
    int dpiLockRow = 0;
    int mainListRow = 0;
    OpenMenuOn(selector, function, dpiLockRow, mainListRow);
    ScrollTo(ui->scrollArea_10, ButtonTables::MenuRowHeight * dpiLockRow);
    ScrollTo(ui->scrollArea_4, ButtonTables::MenuRowHeight * mainListRow);
}

void Buttoninterface::OpenMenuOn(const QToolButton* selector, const CopyEntry& function, int& dpiLockRow,
                                 int& mainListRow)
{
    // A type the menu has no place for (a record of another program) leaves the menu as it is.
    const ButtonTables::MenuPlaceRow* place = ButtonTables::FindMenuPlace(function.type);
    if (!place)
        return;
    ui->stackedWidget->setCurrentWidget(ui->page_2);
    ui->stackedWidget_2->setCurrentWidget(findChild<QWidget*>(QLatin1String(place->subPage)));
    if (place->entry)
        findChild<QAbstractButton*>(QLatin1String(place->entry))->setChecked(true);
    // The marks of other options stay: the groups' exclusivity alone moves them.
    if (const char* option = ButtonTables::DisplayOption(function.type, function.code))
        findChild<QAbstractButton*>(QLatin1String(option))->setChecked(true);
    mainListRow = function.type == FunctionMouseKey ? MouseKeyRow(function.code) : place->mainListRow;
    if (function.type == FunctionMacro)
        MarkMacroOf(selector);
    if (function.type != FunctionDpiLock)
        return;
    const int value = dpiCodes.DPICodeToValue(function.code);
    if (const ButtonTables::OptionRow* option = ButtonTables::DpiLockOption(value)) {
        findChild<QAbstractButton*>(QLatin1String(option->option))->setChecked(true);
        dpiLockRow = value / 100 - 1;
    }
}

void Buttoninterface::OpenMenuOnKeyRecord(int button)
{
    // The device library's thread writes the working copy whenever the mouse reports: the record is
    // read from a copy taken under the record's lock.
    const KeyEvent first = DeviceConfigSnapshot().keyRecords[button].events[0];
    // Only the usage's low byte tells the menu's multimedia keys apart.
    const KeyRecords::MultimediaKey* key =
        first.kind == KeyNames::KindConsumer ? KeyRecords::FindMultimediaKey(first.usage & 0xFF) : nullptr;
    const ButtonTables::MenuPlaceRow& place =
        key ? *ButtonTables::FindMenuPlace(FunctionKeyRecord) : ButtonTables::KeyCombinationPlace();
    if (key)
        findChild<QAbstractButton*>(QLatin1String(key->option))->setChecked(true);
    findChild<QAbstractButton*>(QLatin1String(place.entry))->setChecked(true);
    ui->stackedWidget->setCurrentWidget(ui->page_2);
    ui->stackedWidget_2->setCurrentWidget(findChild<QWidget*>(QLatin1String(place.subPage)));
    const int keyRow = key ? int(key - KeyRecords::MultimediaKeys().data()) : 0;
    ScrollTo(ui->scrollArea_3, ButtonTables::MenuRowHeight * keyRow);
    ScrollTo(ui->scrollArea_4, ButtonTables::MenuRowHeight * place.mainListRow);
}

void Buttoninterface::MarkMacroOf(const QToolButton* selector)
{
    // A macro's name from the mouse fills its fixed field with NULs, which the label keeps.
    QString label = selector->text();
    label.remove(QChar(0));
    for (int p = 0; p < MacroButtons.size(); ++p) {
        QToolButton* macro = MacroButtons.at(p);
        // The hidden placeholders that keep a short list at the top of its sub-page are no macros.
        if (!macro->isEnabled() || MacroLabel(macro->text()) != label)
            continue;
        macro->setChecked(true);
        ScrollTo(ui->scrollArea_7, ButtonTables::MenuRowHeight * (p + 1));
    }
}

void Buttoninterface::ChooseHotspot(int row)
{
    // The check raises the offline notice itself; the selection is made either way.
    (void)IsDeviceOnline();
    // Only a mark: the selector's click does not run, so the menu neither opens nor changes.
    SelectorOfButton(ButtonTables::SelectorRows()[size_t(row)].button)->setChecked(true);
    ScrollTo(ui->scrollArea_11, ButtonTables::SelectorRowHeight * row);
}

void Buttoninterface::on_FireKey_clicked()
{
    ChooseSelector(0);
}

void Buttoninterface::on_RightKey_clicked()
{
    ChooseSelector(1);
}

void Buttoninterface::on_BackKey_clicked()
{
    ChooseSelector(2);
}

void Buttoninterface::on_StartPause_clicked()
{
    ChooseSelector(3);
}

void Buttoninterface::on_TopMusic_clicked()
{
    ChooseSelector(4);
}

void Buttoninterface::on_BackMusic_clicked()
{
    ChooseSelector(5);
}

void Buttoninterface::on_Button7_clicked()
{
    ChooseSelector(6);
}

void Buttoninterface::on_Button8_clicked()
{
    ChooseSelector(7);
}

void Buttoninterface::on_Button9_clicked()
{
    ChooseSelector(8);
}

void Buttoninterface::on_Button10_clicked()
{
    ChooseSelector(9);
}

void Buttoninterface::on_Button11_clicked()
{
    ChooseSelector(10);
}

void Buttoninterface::on_Button12_clicked()
{
    ChooseSelector(11);
}

void Buttoninterface::on_Number1_clicked()
{
    ChooseHotspot(0);
}

void Buttoninterface::on_Number2_clicked()
{
    ChooseHotspot(1);
}

void Buttoninterface::on_Number3_clicked()
{
    ChooseHotspot(2);
}

void Buttoninterface::on_Number4_clicked()
{
    ChooseHotspot(3);
}

void Buttoninterface::on_Number5_clicked()
{
    ChooseHotspot(4);
}

void Buttoninterface::on_Number6_clicked()
{
    ChooseHotspot(5);
}

void Buttoninterface::on_Number7_clicked()
{
    ChooseHotspot(6);
}

void Buttoninterface::on_Number8_clicked()
{
    ChooseHotspot(7);
}

void Buttoninterface::on_Number9_clicked()
{
    ChooseHotspot(8);
}

void Buttoninterface::on_Number10_clicked()
{
    ChooseHotspot(9);
}

void Buttoninterface::on_Number11_clicked()
{
    ChooseHotspot(10);
}

void Buttoninterface::on_Number12_clicked()
{
    ChooseHotspot(11);
}

void Buttoninterface::on_DPI_12_clicked()
{
    ui->stackedWidget_2->setCurrentWidget(ui->page_3);
}

void Buttoninterface::on_DPI_11_clicked()
{
    ui->stackedWidget_2->setCurrentWidget(ui->page_4);
}

void Buttoninterface::on_DPI_9_clicked()
{
    ui->stackedWidget_2->setCurrentWidget(ui->page_6);
}

void Buttoninterface::on_DPI_7_clicked()
{
    ui->stackedWidget_2->setCurrentWidget(ui->page_7);
}

void Buttoninterface::on_DPI_4_clicked()
{
    ui->stackedWidget_2->setCurrentWidget(ui->page_8);
}

void Buttoninterface::on_DPI_13_clicked()
{
    ui->stackedWidget_2->setCurrentWidget(ui->page_10);
}

void Buttoninterface::on_DPI_4_clicked(bool checked)
{
    Q_UNUSED(checked)
}

void Buttoninterface::on_stackedWidget_2_currentChanged(int arg1)
{
    Q_UNUSED(arg1)
}

void Buttoninterface::on_ProjectChoose_currentIndexChanged(int index)
{
    Q_UNUSED(index)
}

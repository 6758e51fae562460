#pragma once
#include "device/FlashDataMap.h"
#include "device/MacroBlocks.h"
#include "pages/buttons/DpiLockCodes.h"

#include <QList>
#include <QString>
#include <QStringList>
#include <QWidget>

namespace Ui {
class Buttoninterface;
}

class QButtonGroup;
class QToolButton;
class QVBoxLayout;
class Worker;

// The button assignment page. It shows the mouse with its numbered buttons, one selector per button
// and the function menu; every function the menu gives goes to the mouse through one assignment
// path. It also creates the one Worker of the device connection, keeps its copy of the button
// assignments from every record it is shown, exports and imports the device's whole configuration
// and restores the factory settings.
//
// The class is split by concern: ButtoninterfaceLooks.cpp (style sheets), ButtoninterfaceMacroList.cpp
// (the macro list), ButtoninterfaceAssign.cpp (the selected button, the copy and the assignment
// path), ButtoninterfaceEvents.cpp (mouse picture, language change, clicks beside the menu),
// ButtoninterfaceDisplay.cpp (records shown on the selectors, the default assignment),
// ButtoninterfaceTexts.cpp (the page in the user's language), ButtoninterfaceBindings.cpp (buttons
// that play a macro following the macro's deletion, renaming and editing), ButtoninterfaceDialogs.cpp
// (rapid fire, key combinations and macros, which ask before they assign), ButtoninterfaceChoice.cpp
// (picking a button and the menu opened on its present function).
class Buttoninterface : public QWidget
{
    Q_OBJECT
public:
    explicit Buttoninterface(QWidget* parent = nullptr);
    ~Buttoninterface() override;

    // How long the destructor waits for a running pass of the Worker.
    static constexpr int WorkerStopLimitMs = 5000;

    // Writes the configuration export file: the marker field, the model's sensor name field and the
    // record, each as a length-prefixed block. The file is written whole or left as it was.
    static bool WriteConfigFile(const QString& path, FlashDataMap record);
    // The name an export is written under: one chosen without an ending gets ".bin", the only
    // ending the import lists.
    static QString ExportFilePath(const QString& chosen);
    // The 12-byte sensor field of an export: at most 11 name bytes, then zeros.
    static QByteArray SensorNameField(const QString& sensorName);

    // A button's macro block from the macro's file (fault: why the file gave none), and the macro's
    // repeat mode (MacroBlocks).
    static ButtonMacroBlock MacroFileToRecord(const QString& macroName, bool* ok, MacroBlocks::FileFault* fault = nullptr);
    static QString ReadMacroRepeatMode(const QString& macroName);

    // The factory-settings sequence shared with the settings page: the device clears its settings
    // and the whole record is read back behind the wait dialog, placed over `over`.
    static void RestoreDefaults(QWidget* over);

    // The page's copy of the assignments, entry i for device button i.
    const QList<int>& Types() const { return FunctionTypes; }
    const QList<int>& Codes() const { return FunctionCodes; }
    const QList<int>& Params() const { return FunctionParams; }
    // One entry of the copy; an index beyond the lists (a model list without the button count, a
    // button the model does not have) reads as (0, 0, 0).
    struct CopyEntry {
        int type = 0;
        int code = 0;
        int parameter = 0;
    };
    CopyEntry FunctionAt(int index) const;
    // Stores a triple in the copy, growing all three lists together when the index lies beyond them.
    // No device traffic, no widget change; called only after the device took the triple.
    void UpDataButtonFunction(int index, int type, int code, int parameter);

    // The DPI-lock codes of the current model's sensor, with the page's table of driver_sensor.h.
    const DpiLockCodes& DpiCodes() const { return dpiCodes; }
    const QString& CurrentSensorName() const { return SensorName; }

    // The selected device button: the first checked selector in row order; -1 when none is.
    int SelectedButton() const;
    // The selector showing a device button 0..11; nullptr outside.
    QToolButton* SelectorOfButton(int button) const;

    // The one path of every assignment. Writes the triple (the low 8 bits of code and parameter) with
    // the setter of its type (a key record for type 5, a macro block for type 6) and, only when the
    // mouse took it, shows text on the button's selector and keeps the whole numbers in the copy.
    // Refused (no button, a type 5 or 6 without its record or block, the mouse offline): nothing
    // changes and the result is false; the setter has raised the offline notice. A function other
    // than the left click for the only button that shows the left click is refused too, with the
    // LeftButtonOnly notice and the menu closed: a mouse without a left click cannot be used.
    bool AssignToButton(int button, int type, int code, int parameter, const QString& text,
                        const ButtonKeyRecord* record = nullptr, const ButtonMacroBlock* block = nullptr);
    // The same for the selected button; with no selector checked nothing is written.
    bool AssignToSelected(int type, int code, int parameter, const QString& text,
                          const ButtonKeyRecord* record = nullptr, const ButtonMacroBlock* block = nullptr);

    // An option of the function menu chosen for the selected button, then the menu closes whatever
    // happened. Unchecked does nothing.
    void ChooseOption(const QString& option, bool checked);

    // Clears the marks of the function options and of the macro list before another function is
    // shown as chosen. The wheel up/down options, the selectors and the menu entries keep theirs.
    void UncheckAllOptions();

    // A key combination ("Ctrl+A") for a device button: written as its key record, then the menu
    // shows again on the idle sub-page whether or not the mouse took it.
    void AssignKeyCombination(int button, const QString& keys);
    // A multimedia key by its one-byte code (0x83, not 0x183) for a device button; the selector shows
    // the text of the code's option. Nothing else on the page changes.
    void AssignConsumerKey(int button, int code);

    // Shows what device button 0..11 does on its selector, in the page's language: the text of the
    // option that gives the function, the names of a key combination, the macro's label, the locked
    // DPI value. A function no option stands for leaves the text as it was. A macro also goes to the
    // macro page with the record (SigButtonToMacro), unless its name could not be a file name.
    // Nothing is written to the mouse. Another index does nothing.
    void ShowButtonAssignment(int button, int type, int code, int parameter, const FlashDataMap& record);
    // The label of a selector whose button plays the macro.
    QString MacroLabel(const QString& macroName) const { return MacroTextPrefix + macroName; }

    // Closing the function menu: the selector list, the list's 10 px scroll bar, the idle sub-page.
    void CloseFunctionMenu();
    // No selector checked, and the menu closed.
    void DeselectButtons();

    // The page's button groups and its macro list, in the order their buttons were added.
    QButtonGroup* Selectors() const { return SelectorGroup; }
    QButtonGroup* MenuEntries() const { return CategoryGroup; }
    QButtonGroup* Options() const { return OptionGroup; }
    QButtonGroup* Hotspots() const { return HotspotGroup; }
    const QList<QToolButton*>& MacroListButtons() const { return MacroButtons; }
    QWidget* MacroList() const { return MacroListWidget; }

    // The rapid-fire interval and count a fire-key assignment writes: the fire-key dialog's own
    // defaults until the dialog gives others, so that a double click on the entry or a macro's
    // deletion never sends values nobody chose.
    int FireInterval = 10;
    int FireCount = 3;

public slots:
    void SlotUpDataButtonUIButton(FlashDataMap DataMap);
    void SlotUpDataButtonUIB(FlashDataMap DataMap);
    void SlotFormResetButton();
    void SlotUpDataConfigUI(int ToTalItem, int SelectIndex, bool ItemEnable);
    void SlotAllLanguage(int index);
    void SlotMouseIndex(int index);
    void SlotAddMacroButton();
    // The macro page deleted, renamed or saved a macro: every button that plays it follows.
    void SlotDeleteMacroButton(QString MacroName);
    void SlotMacroRename(QString MacroName, QString NewName);
    void SlotUpDataMacro(QString MacroName, int index);

    void on_ImportData_clicked();
    void on_OutputData_clicked();
    // The user chose an onboard profile: the mouse switches to it and the summary shows its name.
    // Offline (and not while the page shows a record) the choice goes back with the offline notice.
    void on_ProjectChoose_activated(int index);
    // The menu closed (index 0) brings the selector list to the front; an open menu comes over it.
    void on_stackedWidget_currentChanged(int arg1);
    // The 49 options that assign in one click (ButtonTables::OptionRows), each through ChooseOption.
    void on_LeftKey_3_clicked(bool checked);
    void on_RightKey_3_clicked(bool checked);
    void on_MidKey_clicked(bool checked);
    void on_BackKey_2_clicked(bool checked);
    void on_ForWardKey_clicked(bool checked);
    void on_DPI_2_clicked(bool checked);
    void on_DPI_3_clicked(bool checked);
    void on_DPI_5_clicked(bool checked);
    void on_Player_clicked(bool checked);
    void on_StartPause_2_clicked(bool checked);
    void on_BackMusic_2_clicked(bool checked);
    void on_TopMusic_2_clicked(bool checked);
    void on_Mute_clicked(bool checked);
    void on_VolumeUp_clicked(bool checked);
    void on_VolumeDown_clicked(bool checked);
    void on_VolumeDown_4_clicked(bool checked);
    void on_VolumeDown_5_clicked(bool checked);
    void on_VolumeDown_6_clicked(bool checked);
    void on_VolumeDown_3_clicked(bool checked);
    void on_VolumeDown_8_clicked(bool checked);
    void on_VolumeDown_9_clicked(bool checked);
    void on_VolumeDown_7_clicked(bool checked);
    void on_VolumeDown_10_clicked(bool checked);
    void on_VolumeDown_12_clicked(bool checked);
    void on_VolumeDown_13_clicked(bool checked);
    void on_VolumeDown_11_clicked(bool checked);
    void on_VolumeUp_2_clicked(bool checked);
    void on_VolumeDown_2_clicked(bool checked);
    void on_VolumeUp_4_clicked(bool checked);
    void on_VolumeUp_5_clicked(bool checked);
    void on_VolumeUp_6_clicked(bool checked);
    void on_VolumeUp_7_clicked(bool checked);
    void on_VolumeUp_8_clicked(bool checked);
    void on_VolumeUp_9_clicked(bool checked);
    void on_VolumeUp_10_clicked(bool checked);
    void on_VolumeUp_14_clicked(bool checked);
    void on_VolumeDown_14_clicked(bool checked);
    void on_VolumeUp_11_clicked(bool checked);
    void on_VolumeUp_12_clicked(bool checked);
    void on_VolumeUp_13_clicked(bool checked);
    void on_VolumeUp_16_clicked(bool checked);
    void on_VolumeUp_15_clicked(bool checked);
    void on_VolumeUp_19_clicked(bool checked);
    void on_VolumeUp_20_clicked(bool checked);
    void on_VolumeUp_22_clicked(bool checked);
    void on_VolumeUp_18_clicked(bool checked);
    void on_VolumeUp_24_clicked(bool checked);
    void on_VolumeUp_23_clicked(bool checked);
    void on_VolumeUp_21_clicked(bool checked);
    // A button of the macro list: the clicked macro goes to the selected button, then the menu
    // closes. A macro whose file cannot be read writes nothing.
    void slotButtonClicked(bool checked);
    // The macro category: the macro list, or with no macro yet the notice to make one first.
    void on_DPI_10_clicked();
    // The rapid-fire entry answers on the press with both: the checked variant (a double click, or
    // the confirmed dialog) assigns the stored values and closes the menu, then the plain one asks
    // for the interval and count (starting from the button's own when it fires already) and
    // assigns them when confirmed; for an absent mouse it only closes the menu. Declared in this
    // order so that they run in it.
    void on_DPI_6_clicked(bool checked);
    void on_DPI_6_clicked();
    // The key-combination entry asks for the keys and assigns them; the main list stays open.
    void on_DPI_8_clicked();

    // The selectors: a click selects the row's button and opens the function menu on its present
    // function, the entry and option marked and the lists scrolled to them. The only selector that
    // shows the left click refuses, with the LeftButtonOnly notice and nothing selected.
    void on_FireKey_clicked();
    void on_RightKey_clicked();
    void on_BackKey_clicked();
    void on_StartPause_clicked();
    void on_TopMusic_clicked();
    void on_BackMusic_clicked();
    void on_Button7_clicked();
    void on_Button8_clicked();
    void on_Button9_clicked();
    void on_Button10_clicked();
    void on_Button11_clicked();
    void on_Button12_clicked();
    // The hotspots of the mouse picture select their row's button and scroll the list to it; the
    // menu stays as it is.
    void on_Number1_clicked();
    void on_Number2_clicked();
    void on_Number3_clicked();
    void on_Number4_clicked();
    void on_Number5_clicked();
    void on_Number6_clicked();
    void on_Number7_clicked();
    void on_Number8_clicked();
    void on_Number9_clicked();
    void on_Number10_clicked();
    void on_Number11_clicked();
    void on_Number12_clicked();
    // The menu's categories show their sub-page, nothing else.
    void on_DPI_12_clicked();
    void on_DPI_11_clicked();
    void on_DPI_9_clicked();
    void on_DPI_7_clicked();
    void on_DPI_4_clicked();
    void on_DPI_13_clicked();
    // Connected by name and left empty: the category's argument-less slot does its work, the
    // sub-pages change with the menu, and a profile counts only when the user chooses it (activated).
    void on_DPI_4_clicked(bool checked);
    void on_stackedWidget_2_currentChanged(int arg1);
    void on_ProjectChoose_currentIndexChanged(int index);

public:
    // Restore defaults asked for on this page, after the user confirmed. The page's form has no
    // control of its own for it.
    void on_Reset_clicked();

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void changeEvent(QEvent* event) override;

    // How long an edited macro waits before its buttons ask the macro page for its events, so that
    // the macro page has saved them.
    static constexpr int MacroSaveWaitMs = 1500;

private:
    void ApplyRecord(const FlashDataMap& record);
    // The model's button count ("KeyNumber"), within the record's 16 slots.
    int ModelButtonCount() const;
    // The copy refilled from the first `count` triples of the record, then each shown.
    void ShowRecord(const FlashDataMap& record, int count);
    // The text of a key record's combination or multimedia key; false when it shows no option.
    bool KeyRecordText(const ButtonKeyRecord& keys, QString& text) const;
    // The record the language change shows again: the working copy while the mouse is online and
    // the copy holds its record, else the mouse's cache file. False when neither can be had.
    bool RecordToShowAgain(FlashDataMap& record) const;
    // The selectors' labels in row order, NUL characters removed.
    QStringList SelectorLabels() const;
    // The device buttons, in row order, whose label (of `labels`) is the macro's label. Rename and
    // update also take the bare name, but only on a button the copy holds a macro for: a mouse key
    // or a fire key is never taken for a macro of the same name.
    QList<int> ButtonsShowingMacro(const QString& label, const QStringList& labels) const;
    QList<int> ButtonsPlayingMacro(const QString& macroName, const QStringList& labels) const;
    // A button bound to a deleted macro gets its default function back.
    void GiveDefaultFunction(int button, const QStringList& keyParam);
    bool TakesTheLastLeftClick(int button, int type, int code) const;
    // Whether the macro list holds a macro (its placeholders are none).
    bool HasMacros() const;
    // Whether the button's selector is the only one of the twelve showing the left click's text.
    bool ShowsTheOnlyLeftClick(int button) const;
    // The LeftButtonOnly notice over the page, run until the user closes it.
    void ShowLeftButtonOnly();
    // A selector or hotspot of a row (0-based) picked.
    void ChooseSelector(int row);
    void ChooseHotspot(int row);
    // The menu opened on a selector's function read from the copy; the rows of the DPI-lock list and
    // of the main list it scrolls to.
    void OpenMenuOn(const QToolButton* selector, const CopyEntry& function, int& dpiLockRow, int& mainListRow);
    // The menu opened on a key record: its multimedia key, or the key-combination entry.
    void OpenMenuOnKeyRecord(int button);
    // The macro list's button whose label the selector shows, marked and scrolled to.
    void MarkMacroOf(const QToolButton* selector);
    // Where the button page's notices stand: over the page's centre, 50 left and 70 up.
    void PlaceNotice(QWidget* notice) const;
    QString ModelGroup() const;
    void FillGroups();
    // The selector list or the function menu, with the list's 10 px scroll bar and the idle sub-page.
    void ShowMenuPage(QWidget* menuPage);
    // The macro list from the macro folder. The page's first build makes a button for every listed
    // file; a rebuild skips the names that still hold "xml" and scales its font to the screen.
    void BuildMacroList(bool rebuild);
    // A macro of the list whose file gave no block: the notice saying why (none while writes are
    // off, which give no fault).
    void TellMacroRefused(MacroBlocks::FileFault fault);
    void ApplyLooks();
    void ApplyAreaLooks();
    QString MacroButtonStyle() const;

    Ui::Buttoninterface* ui;
    QVBoxLayout* MacroListLayout = nullptr;
    QList<QToolButton*> MacroButtons;
    QButtonGroup* SelectorGroup = nullptr;
    QButtonGroup* CategoryGroup = nullptr;
    QButtonGroup* OptionGroup = nullptr;
    QButtonGroup* HotspotGroup = nullptr;
    QString MainPageFolder;
    QList<int> FunctionTypes;
    QList<int> FunctionCodes;
    QList<int> FunctionParams;
    QString SensorName;
    QStringList ButtonColorList;
    QString ButtonTextColor;
    QWidget* MacroListWidget = nullptr;
    QString PicturePath;
    QString MacroTextPrefix;
    QString ProfileTextPrefix;
    int ScaleLanguageFonts = 0;
    DpiLockCodes dpiCodes;
    Worker* worker = nullptr;
};

#pragma once
#include "device/FlashDataMap.h"
#include "device/MacroBlocks.h"
#include "pages/macro/MacroFile.h"

#include <QButtonGroup>
#include <QModelIndex>
#include <QPointer>
#include <QSet>
#include <QString>
#include <QStringList>
#include <QVector>
#include <QWidget>

#include <functional>
#include <memory>

class KeyboardHook;
class QDialog;
class QIODevice;
class QListWidgetItem;
class QWindow;

namespace Ui {
class Macro;
}

// True while the macro page records keys: the top-level window then leaves every key alone, and
// the page's editing commands refuse to act. GUI thread only.
extern bool MacroRecording;

// The macro page: the user's macros, one small file each in the per-user macro folder, in the macro
// list; the selected macro's key and delay lines in the event list, with its repeat mode; creating,
// renaming and deleting macros. The files are the ones the button page reads to put a macro on a
// button, so every name is checked before it becomes a path, and a file is changed only as a whole.
//
// Files: Macro.cpp (construction, looks), MacroRecording.cpp (recording keys), MacroFiles.cpp (the
// list, the macro files and the rule for a new macro's name), MacroSelection.cpp (the macro shown
// follows the list's current entry), MacroNames.cpp (create, rename, delete and the page's notices,
// on top of MacroFiles.cpp), MacroEvents.cpp (the event-list primitives), MacroTexts.cpp (the page's
// texts), MacroTransfer.cpp (the macros on the mouse's buttons: a change the mouse must take first, a
// Save on its way, the quit hold), MacroExchange.cpp (export and import files).
// MacroEditing.cpp: amending, inserting and deleting event lines, Save and the change flags, the
// macro list's context menu and the page's own key, mouse and language events.
class Macro : public QWidget
{
    Q_OBJECT
public:
    explicit Macro(QWidget* parent = nullptr);
    ~Macro() override;

    // --- the macro list and the macro files ---

    // Fills the macro list from the macro folder (the tag is not used).
    void LoadMacroList(const QString& tag = QString());
    // Loads the current entry's file into the event list and the repeat-mode boxes. Nothing is
    // changed when no entry is current; a missing, unreadable or oversized (over 1 MiB) file leaves
    // the event list empty, no macro shown, and gives false.
    bool ReadMacroFile(const QString& tag = QString());
    // The event list as the lines of a macro file: each key line from the key the item holds, each
    // delay line from its text.
    QStringList EventLines() const;
    // The repeat mode the boxes give: 254, 255 or 253 for the "until" boxes, else the count.
    int RepeatMode() const;
    // Writes one macro's file in one go from the repeat-mode line and the event lines; the file on
    // disk is either the old one or the new one. False (and nothing changed) for a refused name, a
    // file that is not a regular file, a file the user made read-only, or a failed write.
    static bool WriteMacroFile(const QString& name, const QString& repeatLine, const QStringList& lines);
    // Creates the empty file of a new macro; false when the name is refused, its file exists, or it
    // cannot be made.
    static bool CreateMacroFile(const QString& name);

    // The macro the editor shows, which every command acts on: the current entry once its file was
    // loaded; empty when none is current or its file could not be loaded.
    QString CurrentMacroName() const;

    // --- creating, renaming, deleting (the name dialog and the confirmation come before these) ---

    // Whether a name may name a new macro: safe as a file name (the shared macro-name check),
    // within the 30 bytes a device block holds, and shown again under the same name by the macro
    // list at the next start (no leading ".", no "xml", no ".ini").
    static bool IsNewMacroNameAllowed(const QString& name);

    // Each shows its notice when it refuses and returns whether the macro list changed.
    bool CreateMacro(const QString& name);
    bool RenameCurrentMacro(const QString& newName);
    bool DeleteCurrentMacro();

    // --- the event-list primitives ---

    void AppendKeyEvent(const QString& label, bool press);
    void AppendDelayEvent(double milliseconds);
    void InsertKeyEvent(const QString& label, bool press);
    void InsertKeyStroke(const QString& label);
    void InsertDelayEvent(double milliseconds);
    // The MouseButtonNames entry of a mouse-button usage (1, 2, 4, 8, 16); empty for any other.
    static QString MouseButtonName(int usage);
    // Waits while the event queue keeps being handled.
    static void WaitWithEvents(int milliseconds);

    // The recorder's keyboard hook: the page's own, not installed until a recording starts.
    KeyboardHook* RecorderHook() const { return keyboardHook; }
    // The clock recorded delays are measured with, in milliseconds; without one, a monotonic
    // QElapsedTimer. A test sets one it controls.
    void SetRecordingClock(std::function<qint64()> clock) { recordingClock = std::move(clock); }

    // The menu texts of the page's language: export, rename, delete, new, import, and the macro
    // label prefix the button page shows before a macro's name.
    QString MenuText(const QString& key) const;

    // --- the macros on the mouse ---

    // The name a button's block holds; ok is false for a name that is empty, not in the local
    // encoding, or refused as a file name.
    static QString DeviceMacroName(const ButtonMacroBlock& block, bool* ok);
    // A block's events as the lines of a macro file: each key with its usage and kind, the delay
    // after every event but the last; a count above 70 reads as 70.
    static QStringList DeviceMacroLines(const ButtonMacroBlock& block);
    // Makes the macro's file hold what the mouse holds: the repeat mode, then the block's events,
    // written whole. False when the file cannot be written.
    static bool StoreDeviceMacro(const QString& name, uint8_t repeatMode, const ButtonMacroBlock& block);

    // A change of a macro that buttons of the mouse play is done only once the mouse took it: the
    // mouse's copy is stored over the macro's file at every read, so the file may never hold what
    // the mouse does not.
    //
    // Whether the mouse can take a change now: user writes are on, it answers, and its record was
    // read since it came back (not only the cached one shown while it was away). Shows nothing.
    static bool MouseTakesMacros();
    // The buttons (0 to 11) that play the macro in the record the pages show: the mouse's once read,
    // until then its cached record.
    static QList<int> ButtonsPlayingMacro(const QString& name);
    // Changes those buttons' functions and blocks in the working copy and sends the record once;
    // true only when the mouse took it. A record the mouse did not take is taken back out of the
    // working copy, so that no later write carries it to the mouse behind the file's back.
    static bool SendToButtons(const QList<int>& buttons,
                              const std::function<void(ButtonFunction&, ButtonMacroBlock&)>& change);

    // --- export and import ---

    // What an export file holds: its marker, the macro's name, the repeat mode as a macro file's
    // first line, and the event items (a key's label and whether it is a release; a delay's text).
    struct ExportItem {
        QString text;
        bool key = false;
        bool release = false;
    };
    struct ExportContent {
        QString marker;
        QString name;
        QString repeatLine = QStringLiteral("0");
        QVector<ExportItem> items;
    };
    // Reads an export file's stream; a stream cut short, or an icon of a kind the export never
    // writes, gives what was read before. The items' icons are passed over, never made.
    static ExportContent ReadExportStream(QIODevice& device);
    // Writes the current macro to path; the notice and false when the file cannot be written or is
    // not a regular file (a named pipe, a device node or a symbolic link stays as it is).
    bool ExportMacroTo(const QString& path);
    // The export file of a name chosen without an ending: the name with ".ini", which the import
    // lists.
    static QString ExportFilePath(const QString& chosen);
    // Adds the macro of an export file: a new entry and its file, written whole. Refusals show
    // their notice; a file of another kind (wrong marker) is left without a word.
    bool ImportMacroFrom(const QString& path);

public slots:
    // The context menu's export and import: a file chosen in the home folder.
    void ExPortMacro();
    void InPortMacro();
    // The device window is being left: a recording ends and the page is free again.
    void SlotSetMacroPage();
    // The button page shows a button that plays a macro: its file holds the mouse's macro, and the
    // list names it.
    void SlotButtonToMacro(FlashDataMap DataMap, int KeyNumer);
    // A saved macro goes to a button bound to it, from its file.
    void SlotMacroDownLoadData(QString MacroName, int index);
    void SlotAllLanguage(int index);
    // The recorder's hook reports one key event: its virtual-key code and whether it went down
    // (aotu, the hook's repeat flag, is not read: the page keeps the keys that are down itself).
    void UpdateCapslockTip(int keyCode, bool downOrUp, bool aotu);

    // The context menu's commands.
    void CreateMewMacro();
    void RenameMacro();
    void DeleteMacro();

private slots:
    void on_StartRecord_clicked();
    void on_StopRecord_clicked();
    void on_NewHong_clicked();
    void on_DeleteHong_clicked();
    void on_listWidgetHong_clicked(const QModelIndex& index);
    // Whatever made another entry current (keys, a drag, a right click, the program), its macro is
    // loaded: the editor never shows one macro's lines under another's name.
    void on_listWidgetHong_currentItemChanged(QListWidgetItem* current, QListWidgetItem* previous);

    // Editing the event list and saving it.
    void on_Amend_clicked();
    void on_ChooseEvent_activated(int index);
    void on_DeleteKey_clicked();
    void on_Save_clicked();
    void on_listWidgetKey_itemChanged(QListWidgetItem* item);
    void on_NumberEdit_valueChanged(int arg1);
    void on_DelayTime_valueChanged(int arg1);
    void on_listWidgetHong_customContextMenuRequested(const QPoint& pos);
    // These do nothing: the repeat-mode group and the value slots above say what changed.
    void on_AutoInsertDelay_released();
    void on_NumberEdit_editingFinished();
    void on_ReNumber_released();
    void on_ReUntilClick_released();
    void on_ReUntilLoose_released();

protected:
    // Escape and F12 stay on the page: they close no window.
    void keyPressEvent(QKeyEvent* event) override;
    // A press beside the two spin boxes ends an edit in either.
    void mousePressEvent(QMouseEvent* event) override;
    void changeEvent(QEvent* event) override;
    // Notes a press on the macro list, which may make an entry current before its click.
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // What an event item holds beside its label: a key item its usage text and key type.
    enum ItemRole { KeyRole = Qt::UserRole, UsageRole, KindRole };

    // Constructor steps: the list looks, the groups, and the looks from the theme colours.
    void StyleLists();
    void SetUpButtonGroups();
    void StyleControls();
    // Save's two looks.
    void SetSaveActive(bool active);
    void RepeatModeChangedHandler();

    // Ends a recording, or the layout a recording left at its limit: the hook and the key guard
    // gone, every control it locked free and the device window's page buttons unlocked. Save's
    // look is the caller's.
    void EndRecording();
    qint64 RecordingNow() const;

    // Places a dialog of this page (centred on the page, 100 left and 50 up) and runs it.
    void RunDialog(QDialog& dialog);
    // The one-button notices: a macro notice by its text key (over the page, or over the given
    // window), and the program notice asking to stop the recording first or to select a macro first.
    void ShowMacroNotice(const QString& textKey, QWidget* window = nullptr);
    void ExeIsRunNotice(bool stopRecording);
    // Asks the name dialog (0 new, 1 rename) for a name; empty when the user gave none.
    QString AskMacroName(int mode);

    // A new event item with its icon; key items carry their key.
    QListWidgetItem* NewKeyItem(const MacroFile::Line& line);
    QListWidgetItem* NewDelayItem(const QString& text);
    QListWidgetItem* NewDelayItem(double milliseconds);
    static bool IsDelayItem(const QListWidgetItem* item);
    // The key a label names now, in the current language.
    static MacroFile::Line KeyOfLabel(const QString& label, bool press);
    // An imported key's label as a key: a key name, or a mouse button's name in any language.
    static MacroFile::Line ImportedKey(const QString& label, bool release);

    // Whether `added` more key lines keep the event list within the events a button holds; the
    // limit notice when they do not.
    bool RoomForKeyLines(int added);

    // A Save of a macro that buttons of the mouse play, from the click until the mouse took it (or
    // did not): the lines and the repeat mode taken at the click, the block they make, and the
    // buttons that play it, all sent in one record. The file is written once the mouse took it.
    struct SaveOnItsWay {
        QString name;
        QString repeatLine;
        QStringList lines;
        bool events = false;
        bool repeat = false;
        ButtonMacroBlock block{};
        uint8_t repeatByte = 0;
        QList<int> buttons;
        bool taken = false;
        bool refused = false;
        // A quit saw to it: it was sent and written, or the user was told that it was not.
        bool ended = false;
    };
    // Whether the mouse can take a change of a macro it plays; the offline notice (the mouse away
    // or writes off) or the not-taken notice (its record not yet read back) when it cannot.
    bool MayChangeMacroOnMouse();
    // Saves the lines of a macro no button of the mouse plays: the file alone.
    void SaveToFile(const QString& name, const QString& repeatLine, const QStringList& lines);
    // Sends the Save on its way to all its buttons in one record, once.
    void SendSaveOnItsWay();
    // After the mouse took it (or did not): the file, or the notice with the lines kept for a
    // further Save.
    void EndSaveOnItsWay();
    // The list, New, Delete and recording wait while a Save is on its way.
    void HoldCommandsForSave(bool hold);
    // The quit hold: a Save on its way is sent at once and written, or the user is told that the
    // mouse did not get it; the program ends either way (a second quit asked meanwhile waits for
    // this one).
    bool SeeSaveThroughAtQuit(QWidget* window);

    // Shows the current entry's macro; a file that cannot be loaded is told at once (tellNow) or
    // once the entry stays current, after the press or the program's change that chose it.
    void ShowCurrentMacro(bool tellNow);
    void TellUnloadedEntry(QListWidgetItem* entry);

    Ui::Macro* ui;
    QString macroFolder;
    QString currentMacroFile;
    KeyboardHook* keyboardHook = nullptr;
    QButtonGroup delayModeGroup;
    QButtonGroup repeatModeGroup;
    // The keys a recording has seen go down and not yet up: a key-down of one of them repeats.
    QSet<int> keysDown;
    std::function<qint64()> recordingClock;
    qint64 keyTimerStart = -1;
    // Keeps the keys typed during a recording from the device window's widgets.
    QObject* keyGuard = nullptr;
    QPointer<QWindow> guardedWindow;
    bool recordingKey = false;
    QStringList buttonColorParts;
    QString buttonColor;
    int recordedKeyCount = 0;
    QString pictureFolder;
    bool eventsChanged = false;
    bool repeatModeChanged = false;
    std::unique_ptr<SaveOnItsWay> onItsWay;
    bool quitHoldRunning = false;
    // The entry whose file the event list holds; null when none could be loaded. Why the last load
    // failed, and whether the user was told.
    QListWidgetItem* shownEntry = nullptr;
    MacroBlocks::FileFault readFault = MacroBlocks::FileFault::None;
    bool faultTold = false;
    // A press on the macro list, and whether it made its entry current (and loaded it) already.
    bool listPressed = false;
    bool listPressLoaded = false;
    QString exportText;
    QString renameText;
    QString deleteText;
    QString newMacroText;
    QString importText;
    QString macroLabelPrefix;
};

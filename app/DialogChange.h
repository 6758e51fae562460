#pragma once
#include "device/DeviceAllInfo.h"

#include <QList>
#include <QString>
#include <QStringList>
#include <QVector>
#include <QWidget>

namespace Ui {
class DialogChange;
}
class QLabel;
class mytoolButtonEnter;

// The device selection page: every attached mouse and receiver of the supported models as a
// picture button with its connection kind and state, three to a page, the language choice and
// opening a device into the device window. The lists it keeps are in DialogChangeLists.h.
//
// The class is split by concern: DialogChange.cpp (the page's life, looks and texts, the window,
// notice, language and arrow buttons, and the attach/detach callback that hands a notice to the
// page), DialogChangeDevices.cpp (the work of a notice: the attached devices searched again and
// identified), DialogChangeButtons.cpp (the device buttons with their badges, three to a page, and
// the identical-devices notice), DialogChangeOpen.cpp (a device button's press: the pairing question
// and opening the device), DialogChangeRepair.cpp (the repair offer after an interrupted upgrade).
// The few helpers they share are in DialogChangeShared.h.
class DialogChange : public QWidget
{
    Q_OBJECT
public:
    explicit DialogChange(QWidget* parent = nullptr);
    ~DialogChange() override;

    // The work of one attach/detach notice: the devices searched again and the buttons rebuilt.
    void HandleUsbChanged();

    // Appends every identified device of these vendor and product ids to ListedDevices and FoundDevices.
    void FindAttachedDevices(const QStringList& vids, const QVector<QString>& pids);
    // Fills CID, MID, status, the cable flag, the model index (the model count for an unknown
    // model) and online. False only when Config.ini names no model.
    bool PageIdentifyDevice(DeviceAllInfo& record);
    // Queries the online state and receiver address of listed device k.
    void RefreshDeviceStatus(int k);
    // Queries listed device k again and shows its state on button k.
    void RefreshDeviceButton(int k);
    // Prunes the lists, checks for identical devices and builds the buttons.
    void BuildDeviceButtons();

    // The model list's "DeviceTotal".
    int ModelCount() const { return modelCount; }

signals:
    // Sent, and answered at once, before a device is opened or the upgrade dialog shown: the
    // device window, with every page listening on the bus, must exist by then.
    void DeviceWindowNeeded();

public slots:
    void SlotAllLanguage(int index);
    void SlotEnterKey();
    void SlotSameLanguageA(int index);
    void SlotUpDateButton(bool IsHide);
    void WindowClosedA();
    void WindowMinA();
    void slotButtonClicked();

private slots:
    void on_CloseButton_clicked();
    void on_MinButton_clicked();
    void on_CloseButton_2_clicked();
    void on_NewHong_clicked();
    void on_NoApear_clicked(bool checked);
    void on_comboBox_activated(int index);
    void on_Repair_clicked();
    void on_LeftButton_clicked();
    void on_RightButton_clicked();

protected:
    void changeEvent(QEvent* event) override;

private:
    void ApplyStyles();
    void ShowUpdateFailure();
    void ClearDeviceWidgets();
    void ApplyButtonPicture(int k, const QString& picture);
    QString OfflineTip() const;
    void CentreOnPage(QWidget* dialog, int shiftLeft = 0) const;
    int IndexOfListed(const QString& path) const;
    // The pairing question for the device at path, judged with the model group's CID and MID.
    // True when the click ends here (a dialog was shown or pairing ran).
    bool RunPairingCheck(const QString& path, const QString& group, bool receiverOnlyStops);
    void OpenPairing(const QString& path);
    void EndClick();

    Ui::DialogChange* ui;
    QString pictureFolder;
    QString noticeFolder;
    int modelCount = 0;

    QList<mytoolButtonEnter*> deviceButtons;
    QList<QLabel*> offlineBadges;
    QList<QLabel*> connectionBadges;
    QList<QLabel*> rateBadges;

    QString promptText;
    QString repairPromptText;
    QString offlineTipHead;
    QString offlineTipTail;

    // A click handler runs modal dialogs; a notice arriving meanwhile rebuilds the lists, but the
    // pages holding the pressed button are kept (hidden) until the handler has returned.
    int clickDepth = 0;
    QList<QWidget*> retiredPages;
    // The identical-devices notice is open: notices wait for it.
    bool noticeOpen = false;
    bool usbChangeDeferred = false;
};

// The selection page's attach/detach callback, registered with the device library while the page
// shows. Runs on the library's thread; the page's work is queued to the GUI thread.
void SelectPageUsbChangedCallback();

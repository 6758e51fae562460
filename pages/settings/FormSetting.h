#pragma once
#include "device/DeviceState.h"
#include "pages/lighting/LightModeSet.h"
#include "pages/settings/FormSettingFirmware.h"
#include "pages/settings/InputPicA.h"
#include "pages/settings/InputPicB.h"
#include "pages/settings/LedInfo.h"

#include <QPoint>
#include <QString>
#include <QWidget>

#include <cstdint>
#include <memory>

namespace Ui {
class FormSetting;
}

class UpDateRepair;
class UpDateWarning;

// The wired-mode notice in the current language, set on every language change (as is the selection
// page's MouseUpdateNoticeText); the selection page and the top-level window show it.
extern QString WiredModeText;
// The receiver and mouse firmware versions last reported to the settings page.
extern QString ReceiverVersionText;
extern QString MouseVersionText;

// The settings page: the interface language, device information with the firmware versions and the
// update check, pairing, restore defaults, start at login, the desktop's mouse settings, the web
// link and the product labels.
//
// The class is split by concern: FormSetting.cpp (the page, its looks and texts, the versions with
// the new-firmware offer and its mark, and the page's other rows) and FormSettingFirmware.cpp (the
// upgrade dialog's checks, the run and the library's upgrade events). The firmware file builds on
// the page's general parts; the page reaches the firmware only through SetUpFirmware, which makes
// the run's timers and connects the upgrade's signals, and the state in FormSettingFirmware.h.
class FormSetting : public QWidget
{
    Q_OBJECT
public:
    explicit FormSetting(QWidget* parent = nullptr);
    ~FormSetting() override;

    // The program's own version, shown after the "Version" text.
    static constexpr const char* DriverVersion = "1.0.2.0";

    UpDateRepair* UpdateDialog() const { return updateDialog.get(); }
    const LightModeSet& LightModeEditor() const { return lightModeSet; }
    // Whether the last version check found a different image for the mouse / the receiver.
    bool MouseHasNewFirmware() const { return SettingsUpgrade::MouseNewFirmware; }
    bool ReceiverHasNewFirmware() const { return SettingsUpgrade::ReceiverNewFirmware; }

    // Shows a message in the page's notice box, over the page and modal.
    void ShowWarning(const QString& text);

    // Without effect: the form holds no such controls. Plain functions, so that the form's
    // connection by name does not look for them.
    void on_toolButton_4_clicked();
    void on_pushButton_5_clicked();
    void on_checkBox_2_clicked(bool checked);

    // Whether an upgrade from this page can serve the model at all: one the model list names a
    // receiver for. Others are offered no firmware.
    static bool UpgradeServesModel(int modelIndex);

    // The firmware upgrade (FormSettingFirmware.cpp). The run starts from the dialog's start button
    // (on_Start), the receiver first; on_Receive_clicked and on_Mouse_clicked start one kind.
    void on_Start();
    void on_Receive_clicked();
    void on_Mouse_clicked();
    // Whether exactly the right devices are attached for a run; otherwise the dialog says why.
    bool ChechIsUpDate();
    // One step (0 prepare, 1 start, 2 and 3 wait, 4 finish) of the run of kind 210 or 211.
    void RunUpgradeStep(int step, int kind, const QString& version);
    // The run's search: an empty version takes any matching image; the image found is left in
    // SettingsUpgrade::UpgradeImageList.
    static bool FindUpgradeImage(int kind, const QString& version, const QString& modelName, int cid, int mid);
    // The device library's events of the page's runs, on the library's thread.
    static void ReceiverUpgradeCallback(const uint8_t* report);
    static void MouseUpgradeCallback(const uint8_t* report);
    const FirmwareSequence& Sequence() const { return firmware; }

    // Where the "Others" block starts: its rows are placed from this offset.
    static constexpr int OthersOffset = 80;

public slots:
    void on_pushButton_clicked();
    void on_pushButton_2_clicked();
    void on_comboBox_activated(int index);
    void SlotLanguageSameB(int index);
    void SlotScroolChange(int index);
    void on_checkBox_clicked(bool checked);
    void SlotContinue(int index);
    void SlotUpdateFrame(bool IsVis);
    void SetVer(int index);
    void SetVerText();
    void SlotAllLanguage(int index);
    void SlotRGBValue(DongleRGB* Rgb);
    void SlotLightToFrom(int index);
    void SlotLongRangeMode(bool Select);
    void SlotLabelText(int index, QString Text);
    void SlotLabelTextB(QString TextA, QString Text);
    void SlotForm();
    void SlotFormB();
    void SlotFormResetForm();
    void SlotCheckUpdate();
    void on_Reset_clicked();
    void on_Receive_2_clicked();
    void onDongleCheckTimer();
    void onMouseCheckTimer();
    void on_pushButton_3_clicked();

protected:
    void mousePressEvent(QMouseEvent* event) override;

private:
    void SetUpdateButtonLook(bool newFirmware);
    // The firmware part's setup (FormSettingFirmware.cpp), the one call the page makes into it: the
    // run's timers and the upgrade's signals of the bus.
    void SetUpFirmware();
    // The update button's press (automatic false) or the check when a device opens (automatic
    // true), which shows the dialog only when the upgrade can start or the user can act on its
    // message at once.
    void OpenUpdateDialog(bool automatic);
    // A version an upgrade wrote is shown in row index (0 receiver, 1 mouse): the row's mark goes.
    void NewVersionShown(int index);
    void StartReceiverRun();
    void NoImageFor(int kind);
    void EndRun();
    void ShowReceiverUpdateResult();
    void ShowMouseUpdateResult();
    void ShowUpdateResult(int kind);
    bool FirmwareRunActive() const;
    // Moves a version text clear of its caption, which is as wide as the language makes it.
    void KeepClearOf(QWidget* caption, QWidget* value, int x, int y);

    void StyleRows(const QString& labelColor);

    // Held with the page and never shown; LedInfo still follows the receiver record.
    LedInfo ledInfo;
    InputPicA inputPicA;
    InputPicB inputPicB;
    LightModeSet lightModeSet;
    Ui::FormSetting* ui;
    QString pictureFolder;
    QString buttonColor;
    // Message texts of the update check.
    QString noDeviceText, sameDeviceText, newTipsText, upgradeText, noReceiverText, noUsbText, errorText,
        multiDongleText, multiMouseText;
    std::shared_ptr<UpDateRepair> updateDialog;
    bool ownsUpdateDialog = false;
    std::unique_ptr<UpDateWarning> warning;
    int receiverMarker = 0;
    int mouseMarker = 0;
    QPoint versionLabelPosition;
    // Set by the first language pass: later passes size the update button's font for the screen.
    int firstLanguagePass = 0;
    QString autoStartFailText, mouseSettingsFailText, linkFailText;
    FirmwareSequence firmware;
};

#pragma once
#include <QDialog>
#include <QPoint>
#include <QString>
#include <QSystemTrayIcon>

class Dialog;
class DialogChange;
class QMenu;

namespace Ui {
class DialogMain;
}

// The program's one top-level window: a frameless window whose page stack switches between the
// device selection (page 0) and the device window (page 1). It loads the UI texts, keeps the
// language, hides to the tray, answers the keyboard shortcuts, shows the offline notice and quits.
class DialogMain : public QDialog
{
    Q_OBJECT
public:
    explicit DialogMain(QWidget* parent = nullptr);
    ~DialogMain() override;

    // The registry key the language setting was kept under before it moved into Macro.ini.
    static QString LanguageRegistryKey();

    // The page the stack shows: 0 the device selection, 1 the device window.
    int CurrentPage() const;
    QSystemTrayIcon* TrayIcon() const { return trayIcon; }
    // The tray menu built by the last hide to the tray; null before.
    QMenu* TrayMenu() const { return trayMenu; }
    // True once the quit sequence has started.
    bool IsQuitting() const { return quitting; }
    // The device window, null until it is built.
    Dialog* DeviceWindow() const { return deviceWindow; }
    // Builds the device window (page 1) unless it exists. The window builds it by itself right
    // after its first paint, and at once when anything needs it earlier: a device being opened,
    // the upgrade dialog, a shortcut, a switch to page 1.
    void BuildDeviceWindow();

    // The tray icon's activation. Not a slot: the form's by-name connection would take it for one.
    void on_activatedSysTrayIcon(QSystemTrayIcon::ActivationReason reason);
    // Closes the window, which quits.
    void on_pushButton_clicked();

signals:
    // The device window has just been built (directly connected receivers run before anything uses it).
    void DeviceWindowBuilt(QWidget* deviceWindow);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void changeEvent(QEvent* event) override;

public slots:
    void SlotChangeMainDialog(int index);
    void SlotChangeSize(int index);
    void SlotMouseOffLine(int index);
    void SlotUpPageLight();
    void slotActionMain();
    void slotActionExitApp();
    void SlotAllLanguage(int index);

private:
    void HideToTray();
    // Shows the window again from the tray; the device is told the program runs again when the
    // device window shows.
    void RestoreFromTray(bool tellDevice);
    // The one way out: the record saved and the device told when the device window shows, the
    // library's notices and server stopped, the Worker's pass waited for, then the event loop ends.
    // Ends the program unless a quit hold keeps it running (false then; nothing was stopped).
    bool Quit(bool fromDeviceWindow, bool closeWindow = true);
    void SpaceSequence();
    void OpenPairing(bool fromDeviceWindow);
    // The top-left corner that centres a dialog over this window, shifted dx to the right.
    QPoint CentredFor(const QWidget* dialog, int dx = 0) const;

    Ui::DialogMain* ui;
    QSystemTrayIcon* trayIcon = nullptr;
    QMenu* trayMenu = nullptr;
    bool trayConnected = false;
    Dialog* deviceWindow = nullptr;
    bool deviceWindowQueued = false;
    DialogChange* selectionPage = nullptr;
    QString pictureFolder;
    QString openText;
    QString exitText;
    QPoint dragOffset;
    bool quitting = false;
    // Minimised to the task bar because the desktop has no tray.
    bool minimisedForTray = false;
};

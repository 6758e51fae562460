#pragma once
#include <QDialog>
#include <QPointer>
#include <QString>

#include <functional>

namespace Ui {
class UpDateWarning;
}

// The general message box: the caller sets the message with SetText; Return confirms.
class UpDateWarning : public QDialog
{
    Q_OBJECT
public:
    explicit UpDateWarning(QWidget* parent = nullptr);
    ~UpDateWarning() override;

    void SetText(const QString& text);

    // A notice the program shows without waiting for it, one of its kind at a time: made in notice
    // when there is none (it deletes itself when closed), with text of the program's language (and of
    // each language chosen while it shows), and shown modal over window, or in the middle of the
    // screen when window is not showing (a quit from the tray).
    static void ShowAlone(QPointer<UpDateWarning>& notice, const std::function<QString(int)>& text,
                          const QWidget* window);

public slots:
    void SlotAllLanguage(int index);

private slots:
    void on_NewHong_clicked();
    void on_CloseButton_clicked();

private:
    Ui::UpDateWarning* ui;
    QString pictureFolder;
};

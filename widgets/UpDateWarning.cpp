#include "widgets/UpDateWarning.h"

#include "device/PostMsg.h"
#include "ui_UpDateWarning.h"
#include "widgets/NoticeLook.h"
#include "widgets/PlaceOver.h"
#include "widgets/UiText.h"

#include <QGuiApplication>
#include <QScreen>

UpDateWarning::UpDateWarning(QWidget* parent) : QDialog(parent), ui(new Ui::UpDateWarning)
{
    ui->setupUi(this);
    pictureFolder = NoticeLook::StyleNotice(this, ui->label, ui->CloseButton, ui->WarningFrame);
    ui->NewHong->setStyleSheet(
        NoticeLook::ConfirmButtonStyle(pictureFolder, QStringLiteral("Confirm.png"), QStringLiteral("ConfirmClick.png")));
    connect(PostMsg::Instance(), &PostMsg::SigAllLanguage, this, &UpDateWarning::SlotAllLanguage);
    SlotAllLanguage(UiLanguage);
    ui->NewHong->setShortcut(QKeySequence(Qt::Key_Return));
    NoticeLook::ScaleFonts(this);
}

UpDateWarning::~UpDateWarning()
{
    delete ui;
}

void UpDateWarning::SetText(const QString& text)
{
    ui->label->setText(text);
}

void UpDateWarning::ShowAlone(QPointer<UpDateWarning>& notice, const std::function<QString(int)>& text,
                              const QWidget* window)
{
    if (!notice) {
        notice = new UpDateWarning(nullptr);
        notice->setAttribute(Qt::WA_DeleteOnClose);
        UpDateWarning* shown = notice;
        connect(PostMsg::Instance(), &PostMsg::SigAllLanguage, shown,
                [shown, text](int language) { shown->SetText(text(language)); });
    }
    notice->SetText(text(UiLanguage));
    if (window && window->isVisible()) {
        PlaceOver(notice, window, 0, 0);
    } else if (QScreen* screen = window && window->screen() ? window->screen() : QGuiApplication::primaryScreen()) {
        notice->move(screen->availableGeometry().center() - QPoint(notice->width() / 2, notice->height() / 2));
    }
    notice->setModal(true);
    notice->show();
    notice->raise();
}

void UpDateWarning::SlotAllLanguage(int index)
{
    ui->NewHong->setText(UiText::ForReader(index, QStringLiteral("UpDateWarning"), QStringLiteral("OK")));
}

void UpDateWarning::on_NewHong_clicked()
{
    close();
}

void UpDateWarning::on_CloseButton_clicked()
{
    close();
}

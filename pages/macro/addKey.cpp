#include "pages/macro/addKey.h"

#include "device/KeyNames.h"
#include "device/PostMsg.h"
#include "ui_addKey.h"
#include "widgets/KeyboardHook.h"
#include "widgets/NoticeLook.h"
#include "widgets/UiText.h"

#include <QKeyEvent>

addKey::addKey(QWidget* parent) : QDialog(parent), hook(KeyboardHook::MacroStepEntry()), ui(new Ui::addKey)
{
    ui->setupUi(this);
    hook.InstallKeyboardHook();
    hook.SetCallback([this](int keyCode, bool downOrUp, bool aotu) { UpdateCapslockTip(keyCode, downOrUp, aotu); });
    pictureFolder = NoticeLook::StyleNotice(this, ui->label, ui->CloseButton, ui->addKeyA);
    const QString confirm =
        NoticeLook::ConfirmButtonStyle(pictureFolder, QStringLiteral("Confirm.png"), QStringLiteral("ConfirmClick.png"));
    ui->NewHong->setStyleSheet(confirm);
    ui->NewHong_2->setStyleSheet(confirm);
    ui->lineEdit->setStyleSheet(NoticeLook::FieldStyle(QStringLiteral("QLineEdit")));
    // The field shows the key's name only: a typed character would stand beside it until the
    // key's release.
    ui->lineEdit->setReadOnly(true);
    ui->lineEdit->setAttribute(Qt::WA_InputMethodEnabled, false);
    ui->lineEdit->setFocus(Qt::ActiveWindowFocusReason);
    connect(PostMsg::Instance(), &PostMsg::SigAllLanguage, this, &addKey::SlotAllLanguage);
    SlotAllLanguage(UiLanguage);
    NoticeLook::ScaleFonts(this);
    NoticeLook::ActivateWhenShown(this);
}

addKey::~addKey()
{
    hook.RemoveKeyboardHook();
    hook.SetCallback(nullptr);
    delete ui;
}

void addKey::done(int result)
{
    hook.RemoveKeyboardHook();
    QDialog::done(result);
}

void addKey::on_CloseButton_clicked()
{
    confirmed = false;
    reject();
}

void addKey::on_NewHong_clicked()
{
    confirmed = true;
    accept();
}

void addKey::on_NewHong_2_clicked()
{
    confirmed = false;
    reject();
}

void addKey::UpdateCapslockTip(int keyCode, bool downOrUp, bool aotu)
{
    Q_UNUSED(downOrUp)
    Q_UNUSED(aotu)
    keyName = KeyNames::VirtualKeyToKeyName(keyCode);
    ui->lineEdit->setText(keyName);
}

void addKey::SlotAllLanguage(int index)
{
    ui->label->setText(UiText::ForReader(index, QStringLiteral("addKey"), QStringLiteral("EnterKey")));
    ui->NewHong->setText(UiText::ForReader(index, QStringLiteral("addKey"), QStringLiteral("OK")));
    ui->NewHong_2->setText(UiText::ForReader(index, QStringLiteral("addKey"), QStringLiteral("Cancel")));
}

void addKey::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Escape || event->key() == Qt::Key_F12)
        return;
    QDialog::keyPressEvent(event);
}

#include "pages/macro/QuestionDialog.h"

#include "device/MacroBlocks.h"
#include "device/PostMsg.h"
#include "platform/ScreenInfo.h"
#include "ui_QuestionDialog.h"
#include "widgets/NoticeLook.h"
#include "widgets/ScaleFontTree.h"
#include "widgets/ThemeColor.h"
#include "widgets/UiText.h"

#include <QInputMethodEvent>
#include <QKeyEvent>

namespace {

// Characters the name field refuses when they come alone from the keyboard or an input method.
bool IsRefusedKeyText(const QString& text)
{
    static const QStringList refused = {
        QStringLiteral("-"), QStringLiteral("="), QStringLiteral("["), QStringLiteral("]"), QStringLiteral(";"),
        QStringLiteral("'"), QStringLiteral(","), QStringLiteral("."), QStringLiteral("/"), QStringLiteral("`"),
        QStringLiteral("\\"), QStringLiteral("*"), QStringLiteral("+"), QStringLiteral("【"), QStringLiteral("；"),
        QStringLiteral("’"), QStringLiteral("，"), QStringLiteral("。")};
    return refused.contains(text);
}

bool IsRefusedCommit(const QString& text)
{
    static const QStringList refused = {
        QStringLiteral("【"), QStringLiteral("】"), QStringLiteral("-"), QStringLiteral("="), QStringLiteral("、"),
        QStringLiteral("；"), QStringLiteral("’"), QStringLiteral("，"), QStringLiteral("。"), QStringLiteral("/"),
        QStringLiteral("*"), QStringLiteral("·"), QStringLiteral("‘")};
    return refused.contains(text);
}

} // namespace

QuestionDialog::QuestionDialog(QWidget* parent) : QDialog(parent), ui(new Ui::QuestionDialog)
{
    ui->setupUi(this);
    pictureFolder = NoticeLook::PictureFolder();
    NoticeLook::SetNoticeFlags(this);
    setFixedSize(width(), height());
    connect(ui->NewHong_2, &QToolButton::clicked, this, &QuestionDialog::WindowClosedLan);
    ui->label->setStyleSheet(NoticeLook::LabelStyle());
    const QString confirm =
        NoticeLook::ConfirmButtonStyle(pictureFolder, QStringLiteral("Confirm.png"), QStringLiteral("ConfirmClick.png"));
    ui->NewHong->setStyleSheet(confirm);
    ui->NewHong_2->setStyleSheet(confirm);
    ui->CloseButton->setStyleSheet(NoticeLook::CloseButtonStyle(pictureFolder));
    ui->Question->setStyleSheet(NoticeLook::FrameStyle(ui->Question->objectName(), pictureFolder));
    ui->lineEdit->setStyleSheet(QStringLiteral("QLineEdit{color: rgb(") + ThemeColor(QStringLiteral("LinEditColor"))
                                + QStringLiteral(");}"));
    ui->lineEdit->setFocus(Qt::ActiveWindowFocusReason);
    ui->lineEdit->installEventFilter(this);
    connect(PostMsg::Instance(), &PostMsg::SigAllLanguage, this, &QuestionDialog::SlotAllLanguage);
    SlotAllLanguage(UiLanguage);
    // The name field keeps the size of its form font.
    ScaleFontTree(this, 96.0 / ScreenInfo::LogicalDpi(), QStringLiteral("lineEdit"));
    NoticeLook::ActivateWhenShown(this);
}

QuestionDialog::~QuestionDialog()
{
    delete ui;
}

void QuestionDialog::SetMode(int mode)
{
    ui->label->setText(mode == 0 ? newPrompt : renamePrompt);
}

QString QuestionDialog::FittingName(const QString& text)
{
    if (text.toLocal8Bit().size() <= MacroBlocks::NameRoom)
        return text;
    return QString::fromLocal8Bit(MacroBlocks::MacroNameBytes(text));
}

bool QuestionDialog::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == ui->lineEdit) {
        if (event->type() == QEvent::InputMethod
            && IsRefusedCommit(static_cast<QInputMethodEvent*>(event)->commitString()))
            return true;
        if (event->type() == QEvent::KeyPress && IsRefusedKeyText(static_cast<QKeyEvent*>(event)->text()))
            return true;
    }
    return QDialog::eventFilter(watched, event);
}

void QuestionDialog::keyPressEvent(QKeyEvent* event)
{
    // No shifted character reaches the field: it is off while Shift is held.
    if (event->key() == Qt::Key_Shift) {
        ui->lineEdit->setEnabled(false);
        return;
    }
    // Escape does not close the dialog and Enter does not confirm it: only the buttons do.
    QWidget::keyPressEvent(event);
}

void QuestionDialog::keyReleaseEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Shift) {
        ui->lineEdit->setEnabled(true);
        ui->lineEdit->setFocus(Qt::OtherFocusReason);
        return;
    }
    QWidget::keyReleaseEvent(event);
}

void QuestionDialog::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    ui->lineEdit->setFocus(Qt::ActiveWindowFocusReason);
}

void QuestionDialog::WindowClosedLan()
{
    EnteredName.clear();
    close();
}

void QuestionDialog::on_CloseButton_clicked()
{
    WindowClosedLan();
}

void QuestionDialog::on_NewHong_clicked()
{
    EnteredName = ui->lineEdit->text();
    close();
}

void QuestionDialog::SlotAllLanguage(int index)
{
    newPrompt = UiText::ForReader(index, QStringLiteral("QuestionDialog"), QStringLiteral("DialogSelectMacroFirst"));
    renamePrompt = UiText::ForReader(index, QStringLiteral("QuestionDialog"), QStringLiteral("DialogInputMacroName"));
    ui->NewHong_2->setText(UiText::ForReader(index, QStringLiteral("QuestionDialog"), QStringLiteral("Cancel")));
    ui->NewHong->setText(UiText::ForReader(index, QStringLiteral("QuestionDialog"), QStringLiteral("OK")));
}

void QuestionDialog::on_lineEdit_textEdited(const QString& arg1)
{
    QString name = arg1;
    // A space at the end (typed, or the end of a pasted text) takes every space with it.
    if (name.endsWith(QLatin1Char(' ')))
        name.remove(QLatin1Char(' '));
    // Written back even unchanged, so that the cursor ends at the end.
    ui->lineEdit->setText(FittingName(name));
}

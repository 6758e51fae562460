#include "pages/buttons/GroupKey.h"

#include "device/KeyNames.h"
#include "device/PostMsg.h"
#include "pages/buttons/GroupMaxThree.h"
#include "ui_GroupKey.h"
#include "widgets/KeyboardHook.h"
#include "widgets/NoticeLook.h"
#include "widgets/UiText.h"

#include <QCheckBox>
#include <QElapsedTimer>
#include <QKeyEvent>

namespace {

qint64 MonotonicMs()
{
    static QElapsedTimer clock;
    if (!clock.isValid())
        clock.start();
    return clock.elapsed();
}

const QChar Separator = QLatin1Char('+');

// The text of OK while there is no combination to confirm, dim on its picture.
constexpr const char* DisabledTextColour = "140, 145, 155";

} // namespace

GroupKey::GroupKey(QWidget* parent)
    : QDialog(parent), KeyClock(&MonotonicMs), hook(KeyboardHook::KeyCombination()), ui(new Ui::GroupKey)
{
    ui->setupUi(this);
    pictureFolder = NoticeLook::PictureFolder();
    hook.InstallKeyboardHook();
    hook.SetCallback([this](int keyCode, bool downOrUp, bool aotu) { UpdateCapslockTip(keyCode, downOrUp, aotu); });
    NoticeLook::StyleNotice(this, ui->label, ui->CloseButton, ui->groupKeyA);
    ui->lineEdit->setAttribute(Qt::WA_InputMethodEnabled, false);
    ui->lineEdit->setFocus();
    for (QCheckBox* box : {ui->Shift, ui->Ctrl, ui->Alt, ui->Win})
        box->setStyleSheet(NoticeLook::CheckBoxStyle(pictureFolder));
    const QString confirm =
        NoticeLook::ConfirmButtonStyle(pictureFolder, QStringLiteral("Confirm.png"), QStringLiteral("ConfirmClick.png"));
    // A disabled OK keeps its picture; its text dims.
    ui->NewHong->setStyleSheet(confirm + QStringLiteral("QToolButton:disabled{color: rgb(") + QLatin1String(DisabledTextColour)
                               + QStringLiteral(");}"));
    ui->NewHong_2->setStyleSheet(confirm);
    ui->lineEdit->setStyleSheet(NoticeLook::FieldStyle(QStringLiteral("QLineEdit")));
    connect(ui->lineEdit, &QLineEdit::textChanged, this, &GroupKey::ShowConfirmable);
    for (QCheckBox* box : {ui->Shift, ui->Ctrl, ui->Alt, ui->Win})
        connect(box, &QCheckBox::toggled, this, &GroupKey::ShowConfirmable);
    ShowConfirmable();
    connect(PostMsg::Instance(), &PostMsg::SigAllLanguage, this, &GroupKey::SlotAllLanguage);
    SlotAllLanguage(UiLanguage);
    NoticeLook::ScaleFonts(this, QStringLiteral("lineEdit"));
    NoticeLook::ActivateWhenShown(this);
}

GroupKey::~GroupKey()
{
    // Whatever ends the dialog, no key may reach it afterwards.
    hook.RemoveKeyboardHook();
    delete ui;
}

void GroupKey::on_CloseButton_clicked()
{
    IsOk = false;
    hook.RemoveKeyboardHook();
    close();
}

void GroupKey::on_NewHong_2_clicked()
{
    IsOk = false;
    hook.RemoveKeyboardHook();
    close();
}

bool GroupKey::HasCombination() const
{
    for (const QCheckBox* box : {ui->Shift, ui->Ctrl, ui->Alt, ui->Win}) {
        if (box->isChecked())
            return true;
    }
    // Blanks pasted into the field name no key.
    return !ui->lineEdit->text().trimmed().isEmpty();
}

void GroupKey::ShowConfirmable()
{
    ui->NewHong->setEnabled(HasCombination());
}

void GroupKey::on_NewHong_clicked()
{
    // An empty combination would give the button a key record of no key.
    if (!HasCombination())
        return;
    KeyString.clear();
    int count = 0;
    const std::pair<QCheckBox*, const char*> modifiers[] = {
        {ui->Shift, "Shift"}, {ui->Ctrl, "Ctrl"}, {ui->Alt, "Alt"}, {ui->Win, "Win"}};
    for (const auto& modifier : modifiers) {
        if (!modifier.first->isChecked())
            continue;
        ++count;
        if (!KeyString.isEmpty())
            KeyString += Separator;
        KeyString += QLatin1String(modifier.second);
    }
    const QString keys = ui->lineEdit->text();
    // "Num+" holds the separator and so counts as two: the string never splits into more than three.
    if (!keys.isEmpty())
        count += keys.count(Separator) + 1;
    if (count > 3) {
        GroupMaxThree notice;
        notice.move(mapToGlobal(QPoint(0, 0)));
        notice.exec();
        ZadoCount = 0;
        LastKey = -1;
        ui->lineEdit->clear();
        return;
    }
    hook.RemoveKeyboardHook();
    if (KeyString.isEmpty())
        KeyString = keys;
    else if (!keys.isEmpty())
        KeyString += Separator + keys;
    IsOk = true;
    close();
}

void GroupKey::UpdateCapslockTip(int keyCode, bool downOrUp, bool aotu)
{
    Q_UNUSED(aotu)
    if (!downOrUp)
        return;
    const qint64 now = KeyClock();
    if (FirstKey) {
        KeyTimer = now;
        FirstKey = false;
    } else if (now - KeyTimer > EntryWindowMs) {
        ui->lineEdit->clear();
        LastKey = -1;
        KeyTimer = now;
    }
    if (keyCode == LastKey)
        return;
    LastKey = keyCode;
    const QString name = KeyNames::VirtualKeyToComboName(keyCode);
    const QString text = ui->lineEdit->text();
    ZadoCount = text.count(Separator);
    if (ZadoCount == 2) {
        // Three names already: the key starts a new entry (a key without a name empties the field).
        ZadoCount = 0;
        ui->lineEdit->setText(name);
    } else if (!name.isEmpty() && !text.contains(name)) {
        if (text.isEmpty()) {
            ui->lineEdit->setText(name);
        } else {
            ui->lineEdit->setText(text + Separator + name);
            // The field now holds three names: the next key of any kind, this one too, starts anew.
            if (ZadoCount == 1)
                LastKey = -1;
        }
    }
}

void GroupKey::on_lineEdit_textEdited(const QString& arg1)
{
    ui->lineEdit->setText(arg1.toUpper());
}

void GroupKey::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Escape || event->key() == Qt::Key_F12)
        return;
    QDialog::keyPressEvent(event);
}

void GroupKey::SlotAllLanguage(int index)
{
    const QString reader = QStringLiteral("GroupKey");
    ui->label->setText(UiText::ForReader(index, reader, QStringLiteral("ComKey")));
    ui->NewHong->setText(UiText::ForReader(index, reader, QStringLiteral("OK")));
    ui->NewHong_2->setText(UiText::ForReader(index, reader, QStringLiteral("Cancel")));
}

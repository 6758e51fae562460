#include "pages/macro/ExeIsRun.h"

#include "device/PostMsg.h"
#include "device/UserIniStore.h"
#include "platform/AppPaths.h"
#include "platform/RegularFile.h"
#include "ui_ExeIsRun.h"
#include "widgets/NoticeLook.h"

#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>

ExeIsRun::ExeIsRun(QWidget* parent) : QDialog(parent), ui(new Ui::ExeIsRun)
{
    ui->setupUi(this);
    connect(PostMsg::Instance(), &PostMsg::SigChangeLanguage, this, &ExeIsRun::SlotChangeLanguage);
    pictureFolder = NoticeLook::StyleNotice(this, ui->label, ui->CloseButton, ui->DeleteConfirmA);
    ui->NewHong->setStyleSheet(
        NoticeLook::ConfirmButtonStyle(pictureFolder, QStringLiteral("Confirm.png"), QStringLiteral("ConfirmClick.png")));
    SlotChangeLanguage(UserIniStore::Instance()->Language());
    NoticeLook::ScaleFonts(this);
}

ExeIsRun::~ExeIsRun()
{
    delete ui;
}

void ExeIsRun::ShowSelectMacroFirst()
{
    ui->label->setText(selectMacroText);
}

void ExeIsRun::ShowStopRecordFirst()
{
    ui->label->setText(stopRecordText);
}

QString ExeIsRun::LabelText() const
{
    return ui->label->text();
}

QString ExeIsRun::ButtonText() const
{
    return ui->NewHong->text();
}

QString ExeIsRun::LanguageFilePath(int index)
{
    // The notice is also what a user sees when the preference names a language without a file
    // (a hand-edited Macro.ini): English then, rather than the form's placeholder texts.
    static const char* const files[] = {"/Language//en.json", "/Language//zh-CN.json", "/Language/ru.json"};
    const int valid = index >= 0 && index <= 2 ? index : 0;
    return AppPaths::ProgramFolder() + QLatin1String(files[valid]);
}

void ExeIsRun::SlotChangeLanguage(int index)
{
    LoadLanguageFile(LanguageFilePath(index));
}

void ExeIsRun::LoadLanguageFile(const QString& path)
{
    QFile file(path);
    if (!IsRegularFile(path) || !file.open(QIODevice::ReadOnly | QIODevice::Text))
        return;
    const QByteArray content = file.readAll();
    file.close();
    QJsonParseError error;
    const QJsonDocument document = QJsonDocument::fromJson(content, &error);
    if (error.error != QJsonParseError::NoError)
        return;
    // Each file is read from its top: a "mouse" part met in an earlier file does not make the
    // top-level texts of this one the notice's.
    inMouseSection = false;
    currentSection.clear();
    if (document.isObject())
        ReadLanguageNode(document.object(), QString());
}

void ExeIsRun::ReadLanguageNode(const QJsonValue& node, const QString&)
{
    if (!node.isObject())
        return;
    static const QStringList sections = {"AdvancedSettings", "Settings", "common", "home", "infoTips", "key",
                                         "light", "macro", "pair", "sensor", "update"};
    const QJsonObject object = node.toObject();
    for (auto member = object.begin(); member != object.end(); ++member) {
        const QString name = member.key();
        const QJsonValue value = member.value();
        if (name == QLatin1String("keyboard"))
            inMouseSection = false;
        else if (name == QLatin1String("mouse"))
            inMouseSection = true;
        if (sections.contains(name))
            currentSection = name;
        if (value.isString() && !value.toString().isEmpty() && inMouseSection) {
            const QString text = value.toString();
            if (currentSection == QLatin1String("macro")) {
                if (name == QLatin1String("DialogSelectMacroFirst"))
                    selectMacroText = text;
                else if (name == QLatin1String("DialogStopRecordFirst"))
                    stopRecordText = text;
            } else if (currentSection == QLatin1String("common") && name == QLatin1String("OK")) {
                ui->NewHong->setText(text);
            } else if (currentSection == QLatin1String("home") && name == QLatin1String("OnRun")) {
                ui->label->setText(text);
            }
        }
        ReadLanguageNode(value, name);
    }
}

void ExeIsRun::on_NewHong_clicked()
{
    close();
}

void ExeIsRun::on_CloseButton_clicked()
{
    close();
}

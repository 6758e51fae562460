#pragma once
#include <QDialog>
#include <QJsonValue>
#include <QString>

namespace Ui {
class ExeIsRun;
}

// The one-button program notice: "already running" at start-up, and on the macro page "select a
// macro first" or "stop the recording first". It reads its texts from the language file of the
// stored language itself, when it is made.
class ExeIsRun : public QDialog
{
    Q_OBJECT
public:
    explicit ExeIsRun(QWidget* parent = nullptr);
    ~ExeIsRun() override;

    // The label shows the select-a-macro text.
    void ShowSelectMacroFirst();
    // The label shows the stop-recording text.
    void ShowStopRecordFirst();

    // The language file of a language index under the program folder; an index without a file of
    // its own reads the English one.
    static QString LanguageFilePath(int index);

    // Reads the texts of one language file; a missing or broken file leaves them as they are.
    void LoadLanguageFile(const QString& path);

    QString LabelText() const;
    QString ButtonText() const;

public slots:
    void SlotChangeLanguage(int index);

private slots:
    void on_NewHong_clicked();
    void on_CloseButton_clicked();

private:
    void ReadLanguageNode(const QJsonValue& node, const QString& key);

    Ui::ExeIsRun* ui;
    QString pictureFolder;
    QString selectMacroText;
    QString stopRecordText;
    bool inMouseSection = false;
    QString currentSection;
};

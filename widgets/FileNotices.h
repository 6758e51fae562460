#pragma once
#include "device/ModelListCheck.h"
#include "platform/WholeFileWrite.h"

#include <QDialog>
#include <QString>
#include <functional>

class QLabel;
class QToolButton;

// The notices about the program's own files: a model list that cannot serve, a device whose model
// the list does not know, and settings of the program that its per-user folder cannot keep. Their
// texts name the file or folder, so they grow to fit them (the other notices have one fixed size).
class FileNotices : public QDialog
{
    Q_OBJECT
public:
    // The text in a language (UiText's index); asked again whenever the language changes.
    using TextFor = std::function<QString(int language)>;

    explicit FileNotices(TextFor text, QWidget* parent = nullptr);

    QString Text() const;

    // What is wrong with the model list; empty when nothing is.
    static QString ModelListText(int language, const ModelListProblem& problem);
    // A device of this MID is not in the model list; when the list is damaged, what is wrong with it follows.
    static QString UnknownModelText(int language, int mid, const ModelListProblem& problem);
    static QString SettingsNotKeptText(int language, const QString& folder);
    static QString ExportNotWrittenText(int language, const QString& path);
    // A symbolic link or a special file stands where the program would have written path.
    static QString FileRefusedText(int language, const QString& path);
    static QString ExportRefusedText(int language, const QString& path);

    // Start-up: the model list's notice over window, when the list is damaged. The notice is shown
    // without waiting for it (start-up goes on) and deletes itself when closed. Null when nothing is wrong.
    static FileNotices* ShowModelListProblem(QWidget* window, const ModelListProblem& problem = CheckModelList());
    // From now on the first write of the run that fails in a per-user folder (UserFileWrites) shows
    // its notice over window, once; a failure before this call shows it at once. A refused write
    // names its file, any other failure the folder.
    static void WatchSettingsWrites(QWidget* window);
    // An export the user asked for could not be written: said over window at once. write: why, when
    // known; a refusal (a link or a special file at path) has a text of its own.
    static FileNotices* ShowExportNotWritten(QWidget* window, const QString& path, const FileWrite& write = FileWrite());

public slots:
    void SlotAllLanguage(int index);

private:
    // Sizes the notice to its text and places the controls.
    void Fit();
    // Shown over window (centred), not waited for.
    void ShowOver(QWidget* window);

    TextFor textFor;
    QWidget* frame;
    QLabel* message;
    QToolButton* closeButton;
    QToolButton* confirmButton;
};

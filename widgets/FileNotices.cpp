#include "widgets/FileNotices.h"

#include "device/PostMsg.h"
#include "platform/UserFileWrites.h"
#include "widgets/NoticeLook.h"
#include "widgets/UiText.h"

#include <QDir>
#include <QFont>
#include <QLabel>
#include <QPointer>
#include <QToolButton>

namespace {

const QString Reader = QStringLiteral("FileNotices");

QString Say(int language, const char* key)
{
    return UiText::ForReader(language, Reader, QLatin1String(key));
}

// Paths as the system writes them, so that the user finds the file by what the notice says.
QString Shown(const QString& path)
{
    return QDir::toNativeSeparators(path);
}

// The notice's width; the height follows the text. Wide enough for a path on one line mostly.
constexpr int NoticeWidth = 420;
constexpr int Margin = 20;
constexpr int TopSpace = 30;
constexpr int MinimumHeight = 140;

} // namespace

FileNotices::FileNotices(TextFor text, QWidget* parent)
    : QDialog(parent), textFor(std::move(text)), frame(new QWidget(this)), message(new QLabel(frame)),
      closeButton(new QToolButton(frame)), confirmButton(new QToolButton(frame))
{
    setObjectName(Reader);
    frame->setObjectName(QStringLiteral("FileNoticeFrame"));
    frame->setAttribute(Qt::WA_StyledBackground);
    message->setObjectName(QStringLiteral("label"));
    closeButton->setObjectName(QStringLiteral("CloseButton"));
    confirmButton->setObjectName(QStringLiteral("NewHong"));

    QFont font(QStringLiteral("微软雅黑"));
    font.setPointSize(11);
    for (QWidget* widget : {static_cast<QWidget*>(message), static_cast<QWidget*>(confirmButton)})
        widget->setFont(font);
    message->setWordWrap(true);
    message->setAlignment(Qt::AlignCenter);
    // A path is something to copy into a file manager.
    message->setTextInteractionFlags(Qt::TextSelectableByMouse);
    closeButton->setAutoRaise(true);
    closeButton->setFixedSize(20, 20);
    confirmButton->setAutoRaise(true);
    confirmButton->setFixedSize(90, 24);
    closeButton->setFocusPolicy(Qt::NoFocus);
    confirmButton->setShortcut(QKeySequence(Qt::Key_Return));

    const QString folder = NoticeLook::StyleNotice(this, message, closeButton, frame);
    // The panel picture is stretched by its border, not centred: the notice is larger than the picture.
    frame->setStyleSheet(QStringLiteral("#FileNoticeFrame{border-image: url(") + folder
                         + QStringLiteral("BackGround.png) 12 12 12 12 stretch stretch;border-width: 12px;}"));
    confirmButton->setStyleSheet(
        NoticeLook::ConfirmButtonStyle(folder, QStringLiteral("Confirm.png"), QStringLiteral("ConfirmClick.png")));
    connect(closeButton, &QToolButton::clicked, this, &QDialog::reject);
    connect(confirmButton, &QToolButton::clicked, this, &QDialog::reject);
    connect(PostMsg::Instance(), &PostMsg::SigAllLanguage, this, &FileNotices::SlotAllLanguage);
    NoticeLook::ScaleFonts(this);
    SlotAllLanguage(UiLanguage);
}

QString FileNotices::Text() const
{
    return message->text();
}

void FileNotices::SlotAllLanguage(int index)
{
    message->setText(textFor ? textFor(index) : QString());
    confirmButton->setText(Say(index, "OK"));
    Fit();
}

void FileNotices::Fit()
{
    const int textWidth = NoticeWidth - 2 * Margin;
    const int textHeight = message->heightForWidth(textWidth);
    const int height = qMax(MinimumHeight, TopSpace + textHeight + 10 + confirmButton->height() + 12);
    setFixedSize(NoticeWidth, height);
    frame->setGeometry(0, 0, NoticeWidth, height);
    // The label's own margin (NoticeLook) is inside the width it is given.
    message->setGeometry(Margin, TopSpace, textWidth, textHeight);
    closeButton->move(NoticeWidth - 25, 5);
    confirmButton->move((NoticeWidth - confirmButton->width()) / 2, height - confirmButton->height() - 12);
}

void FileNotices::ShowOver(QWidget* window)
{
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowModality(Qt::ApplicationModal);
    if (window) {
        const QPoint origin = window->mapToGlobal(QPoint(0, 0));
        move(origin.x() + (window->width() - width()) / 2, origin.y() + (window->height() - height()) / 2);
    }
    show();
    raise();
    activateWindow();
}

QString FileNotices::ModelListText(int language, const ModelListProblem& problem)
{
    const QString path = Shown(problem.path);
    switch (problem.kind) {
    case ModelListProblem::None:
        return QString();
    case ModelListProblem::Missing:
        return Say(language, "ModelListMissing").arg(path);
    case ModelListProblem::Unreadable:
        return Say(language, "ModelListUnreadable").arg(path);
    case ModelListProblem::Garbled:
        return Say(language, "ModelListGarbled").arg(path);
    case ModelListProblem::GroupMissing:
        // One pass over the text: a path holding "%2" stays as it is.
        return Say(language, "ModelListGroupMissing").arg(path, QString::number(problem.promised), problem.group);
    }
    return QString();
}

QString FileNotices::UnknownModelText(int language, int mid, const ModelListProblem& problem)
{
    const QString unknown = Say(language, "UnknownModel").arg(QString::number(mid), Shown(problem.path));
    if (!problem.Damaged())
        return unknown;
    return unknown + QStringLiteral("\n\n") + ModelListText(language, problem);
}

QString FileNotices::SettingsNotKeptText(int language, const QString& folder)
{
    return Say(language, "SettingsNotKept").arg(Shown(folder));
}

QString FileNotices::ExportNotWrittenText(int language, const QString& path)
{
    return Say(language, "ExportNotWritten").arg(Shown(path));
}

QString FileNotices::FileRefusedText(int language, const QString& path)
{
    return Say(language, "FileRefused").arg(Shown(path));
}

QString FileNotices::ExportRefusedText(int language, const QString& path)
{
    return Say(language, "ExportRefused").arg(Shown(path));
}

FileNotices* FileNotices::ShowExportNotWritten(QWidget* window, const QString& path, const FileWrite& write)
{
    const bool refused = write.Refused();
    auto* notice = new FileNotices([path, refused](int language) {
        return refused ? ExportRefusedText(language, path) : ExportNotWrittenText(language, path);
    });
    notice->ShowOver(window);
    return notice;
}

FileNotices* FileNotices::ShowModelListProblem(QWidget* window, const ModelListProblem& problem)
{
    if (!problem.Damaged())
        return nullptr;
    auto* notice = new FileNotices([problem](int language) { return ModelListText(language, problem); });
    notice->ShowOver(window);
    return notice;
}

void FileNotices::WatchSettingsWrites(QWidget* window)
{
    QPointer<QWidget> over(window);
    const auto show = [over](const QString& folder) {
        auto* notice = new FileNotices([folder](int language) { return SettingsNotKeptText(language, folder); });
        notice->ShowOver(over);
    };
    const auto showRefused = [over](const QString& path) {
        auto* notice = new FileNotices([path](int language) { return FileRefusedText(language, path); });
        notice->ShowOver(over);
    };
    UserFileWrites* writes = UserFileWrites::Instance();
    QObject::connect(writes, &UserFileWrites::SigNotKept, window, show, Qt::QueuedConnection);
    QObject::connect(writes, &UserFileWrites::SigRefused, window, showRefused, Qt::QueuedConnection);
    // The per-user folders are made before any window: a failure there has already happened.
    const QString refusedBefore = writes->RefusedFile();
    const QString failedBefore = writes->FailedFolder();
    if (!refusedBefore.isEmpty())
        showRefused(refusedBefore);
    else if (!failedBefore.isEmpty())
        show(failedBefore);
}

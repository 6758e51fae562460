// The macro page's export file: one macro written to a file of the user's choice and read back as
// a new macro, here or on another machine.
#include "pages/macro/Macro.h"

#include "device/KeyNames.h"
#include "device/MacroBlocks.h"
#include "pages/macro/KeyNumberLimit.h"
#include "pages/macro/SameMacro.h"
#include "platform/FileEnding.h"
#include "platform/RegularFile.h"
#include "platform/WholeFileWrite.h"
#include "ui_Macro.h"
#include "widgets/UiText.h"

#include <QDataStream>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QIcon>
#include <QListWidgetItem>

#include <cstring>

namespace {

const QByteArray Marker("Velor");
constexpr int MarkerBytes = 12;
constexpr int NameBytes = 48;
constexpr int RepeatBytes = 12;
constexpr int MaxKeyEvents = 70;
// An export of 70 keys with their icons takes a few hundred kilobytes at most.
constexpr qint64 MaxExportFileSize = 4 << 20;

QByteArray Field(QByteArray bytes, int size)
{
    bytes.truncate(size);
    bytes.append(QByteArray(size - bytes.size(), '\0'));
    return bytes;
}

QString TextOfField(const QByteArray& field)
{
    const int end = field.indexOf('\0');
    return QString::fromUtf8(end < 0 ? field : field.left(end));
}

// Passes over one picture of an icon's entry as the data stream holds it: a null marker, then a
// whole PNG file (its signature and its chunks up to IEND). The stream is marked corrupt otherwise.
void SkipPicture(QDataStream& in)
{
    static const QByteArray signature = QByteArray::fromHex("89504e470d0a1a0a");
    qint32 notNull = 0;
    in >> notNull;
    if (!notNull)
        return;
    QByteArray head(signature.size(), '\0');
    if (in.readRawData(head.data(), head.size()) != head.size() || head != signature) {
        in.setStatus(QDataStream::ReadCorruptData);
        return;
    }
    while (in.status() == QDataStream::Ok) {
        quint32 length = 0;
        char type[4] = {};
        in >> length;
        if (in.readRawData(type, 4) != 4 || length > quint32(MaxExportFileSize)) {
            in.setStatus(QDataStream::ReadCorruptData);
            return;
        }
        if (in.skipRawData(int(length) + 4) != int(length) + 4) // the data and its check sum
            in.setStatus(QDataStream::ReadPastEnd);
        if (std::memcmp(type, "IEND", 4) == 0)
            return;
    }
}

// Passes over an event item's icon without making it: the import gives each item its icon from
// its label, and Qt's own reading of an icon opens any file an entry names (a named pipe there
// would hold the program for good) and decodes pictures of any size. The export writes icons of
// picture files only, each entry a picture, its file name, size, mode and state; an icon of any
// other kind marks the stream corrupt.
void SkipIcon(QDataStream& in)
{
    QString kind;
    in >> kind;
    if (kind.isEmpty())
        return; // a null icon
    if (kind != QLatin1String("QPixmapIconEngine")) {
        in.setStatus(QDataStream::ReadCorruptData);
        return;
    }
    qint32 entries = 0;
    in >> entries;
    for (qint32 i = 0; i < entries && in.status() == QDataStream::Ok; ++i) {
        SkipPicture(in);
        QString fileName;
        qint32 width = 0, height = 0;
        quint32 mode = 0, state = 0;
        in >> fileName >> width >> height >> mode >> state;
    }
}

} // namespace

Macro::ExportContent Macro::ReadExportStream(QIODevice& device)
{
    ExportContent content;
    QDataStream in(&device);
    in.setVersion(QDataStream::Qt_5_6);
    QByteArray marker, name, repeat;
    in >> marker >> name >> repeat;
    content.marker = TextOfField(marker);
    content.name = TextOfField(name);
    // The repeat mode as a macro file's first line is read: its first field, never a line end.
    const QString repeatText = TextOfField(repeat);
    const QStringList fields = repeatText.section(QRegExp(QStringLiteral("[\r\n]")), 0, 0).split(QLatin1Char(' '), Qt::SkipEmptyParts);
    content.repeatLine = fields.isEmpty() ? QStringLiteral("0") : fields.first();
    if (in.status() != QDataStream::Ok)
        return content;
    qint32 count = 0;
    in >> count;
    for (qint32 i = 0; i < count && in.status() == QDataStream::Ok && !in.atEnd(); ++i) {
        ExportItem item;
        in >> item.text;
        SkipIcon(in);
        if (in.status() != QDataStream::Ok)
            break;
        item.key = !item.text.contains(QLatin1String("ms"));
        if (item.key) {
            char* mark = nullptr;
            uint length = 0;
            in.readBytes(mark, length);
            const bool ok = in.status() == QDataStream::Ok;
            item.release = !(mark && length == 2 && mark[0] == '0' && mark[1] == '\0');
            delete[] mark;
            if (!ok)
                break;
        }
        content.items << item;
    }
    return content;
}

MacroFile::Line Macro::ImportedKey(const QString& label, bool release)
{
    MacroFile::Line line = KeyOfLabel(label, !release);
    if (!line.usage.isEmpty())
        return line;
    // A mouse button named in any of the languages the program speaks.
    static const char* const options[] = {"2", "3", "4", "5", "6"};
    static const int bits[] = {0x01, 0x02, 0x04, 0x10, 0x08};
    for (int language = 0; language < 3; ++language) {
        for (int i = 0; i < 5; ++i) {
            const QString name = UiText::Option(language, QStringLiteral("InsertEventOptions"), QLatin1String(options[i]));
            if (!name.isEmpty() && name == label) {
                line.usage = QStringLiteral("0x") + QStringLiteral("%1").arg(bits[i], 2, 16, QLatin1Char('0')).toUpper();
                line.kind = KeyNames::KindMouseButton;
                return line;
            }
        }
    }
    return line;
}

QString Macro::ExportFilePath(const QString& chosen)
{
    return WithFileEnding(chosen, QStringLiteral("ini"));
}

bool Macro::ExportMacroTo(const QString& path)
{
    const QString name = CurrentMacroName();
    if (name.isEmpty())
        return false;
    QByteArray data;
    {
        QDataStream out(&data, QIODevice::WriteOnly);
        out.setVersion(QDataStream::Qt_5_6);
        out << Field(Marker, MarkerBytes) << Field(name.toUtf8(), NameBytes)
            << Field(QByteArray::number(RepeatMode()), RepeatBytes) << qint32(ui->listWidgetKey->count());
        for (int row = 0; row < ui->listWidgetKey->count(); ++row) {
            const QListWidgetItem* item = ui->listWidgetKey->item(row);
            out << item->text() << item->icon();
            if (!IsDelayItem(item))
                out << (item->type() == 0 ? "0" : "1");
        }
    }
    // A named pipe, a device node or a link is no file to keep a macro in: the write leaves it as it
    // is (replacing it would take it away, writing through it would send the macro elsewhere).
    const FileWrite write = WriteWholeFile(path, data);
    if (!write) {
        ShowMacroNotice(write.Refused() ? QStringLiteral("DialogMacroExportNotFile") : QStringLiteral("DialogMacroExportFailed"));
        return false;
    }
    return true;
}

bool Macro::ImportMacroFrom(const QString& path)
{
    QFile file(path);
    if (!IsRegularFile(path) || QFileInfo(path).size() > MaxExportFileSize || !file.open(QIODevice::ReadOnly)) {
        ShowMacroNotice(QStringLiteral("DialogMacroFileFailed"));
        return false;
    }
    const ExportContent content = ReadExportStream(file);
    file.close();
    // The name is compared before the marker, as the list knows it.
    if (!ui->listWidgetHong->findItems(content.name, Qt::MatchExactly | Qt::MatchCaseSensitive).isEmpty()) {
        ShowMacroNotice(QStringLiteral("DialogSameMacroName"));
        return false;
    }
    if (content.marker != QLatin1String(Marker))
        return false;
    if (!IsNewMacroNameAllowed(content.name)) {
        ShowMacroNotice(QStringLiteral("DialogMacroNameRefused"));
        return false;
    }
    const QFileInfo target(MacroBlocks::MacroFilePath(content.name));
    if (target.exists() || target.isSymLink()) {
        ShowMacroNotice(QStringLiteral("DialogSameMacroName"));
        return false;
    }

    QStringList lines;
    int keys = 0;
    bool limited = false;
    for (const ExportItem& item : content.items) {
        if (!item.key) {
            lines << item.text;
            continue;
        }
        const MacroFile::Line key = ImportedKey(item.text, item.release);
        if (key.usage.isEmpty())
            continue; // a label no language names
        if (++keys > MaxKeyEvents) {
            limited = true;
            break;
        }
        lines << MacroFile::LineText(key);
    }
    // A new file only, written whole: no other macro's lines can reach it meanwhile.
    if (!CreateMacroFile(content.name)) {
        ShowMacroNotice(QStringLiteral("DialogMacroFileFailed"));
        return false;
    }
    if (!WriteMacroFile(content.name, content.repeatLine, lines)) {
        QFile::remove(MacroBlocks::MacroFilePath(content.name)); // the empty file this import made
        ShowMacroNotice(QStringLiteral("DialogMacroFileFailed"));
        return false;
    }
    // Made current, the new entry shows its macro.
    ui->listWidgetHong->addItem(content.name);
    ui->listWidgetHong->setCurrentRow(ui->listWidgetHong->count() - 1);
    if (limited) {
        KeyNumberLimit notice(nullptr);
        RunDialog(notice);
    }
    return true;
}

void Macro::ExPortMacro()
{
    if (CurrentMacroName().isEmpty()) {
        // The entry the menu was opened over could not be loaded: nothing to export.
        if (ui->listWidgetHong->currentItem() && !faultTold) {
            faultTold = true;
            ShowMacroNotice(SameMacro::FileFaultKey(readFault));
        }
        return;
    }
    // The dialog adds the ending itself where it can, so that it also asks before replacing a file
    // of the full name; a dialog that ignores the default ending is caught below.
    const QString title = UiText::ForReader(UiLanguage, QStringLiteral("Macro"), QStringLiteral("ExportMacroTitle"));
    QFileDialog dialog(this, title, QDir::homePath(), QStringLiteral("File(*.ini)"));
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setDefaultSuffix(QStringLiteral("ini"));
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return;
    ExportMacroTo(ExportFilePath(dialog.selectedFiles().constFirst()));
}

void Macro::InPortMacro()
{
    const QString title = UiText::ForReader(UiLanguage, QStringLiteral("Macro"), QStringLiteral("ImportMacroTitle"));
    const QString path = QFileDialog::getOpenFileName(this, title, QDir::homePath(), QStringLiteral("File(*.ini)"));
    if (!path.isEmpty())
        ImportMacroFrom(path);
}

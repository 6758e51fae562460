#pragma once
#include <QByteArray>
#include <QString>
#include <QStringList>
#include <QVector>

// The macro page's reading and writing of a macro file: the repeat mode on the first line, then one
// line per event, "0x04 1 0" for a key (usage, key type, 0 press or 1 release) and "10ms" for a
// delay. Every line ends with a line end; a file written on another system may end its lines with
// CR LF, which reads the same.
namespace MacroFile {

// One event line as the page keeps it.
struct Line {
    bool delay = false;
    QString text;  // a delay's text ("10ms")
    QString usage; // a key's usage text ("0x04") as the file holds it
    int kind = 1;  // a key's type: 0 modifier bit, 1 keyboard usage, 4 mouse button
    bool release = false;
};

struct Content {
    bool hasRepeatMode = false; // false for an empty file
    int repeatMode = 0;         // the first field of the first line, 0 when it is not a number
    QVector<Line> lines;
};

// Reads a file's text. Each later line is split at blanks: three fields are a key when the third is
// "0" or "1" followed by the line end (a last line without one is skipped); one field is a delay (its
// text without the line end; a line holding only its end is a delay with an empty text); any other
// count is skipped.
Content Parse(const QByteArray& text);

// The line of an event, without its line end.
QString LineText(const Line& line);

// A whole file: the repeat-mode line, then the event lines, each ended by "\n".
QByteArray FileText(const QString& repeatLine, const QStringList& lines);

} // namespace MacroFile

#pragma once
#include <QByteArray>
#include <QString>

class QSettings;

// Writes contents as the whole of the file at path, or leaves the file as it was: the contents go
// to a temporary file beside it, which replaces the file only once every byte was written. A full
// disk or a file size limit gives false and no shortened file. (Qt's own save file, writing
// through its buffer, would put a cut file in place and report success.)
bool WriteWholeFile(const QString& path, const QByteArray& contents);

// Writes the settings' changes to their ini file now and reads the file back: true only when the
// file holds a line for every key and was not cut short. Qt writes the file through its buffer, so
// a full disk cuts it short without an error; reading it back is what tells.
bool SyncSettingsWhole(QSettings& settings);

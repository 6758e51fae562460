#pragma once
#include <QFile>
#include <QString>
#include <QtTest>

// A stand-in for a settings program: a shell script that notes its arguments, one a line, in the
// record file (written whole, so that a test waiting for the file reads all of it).
inline void WriteStandInProgram(const QString& path, const QString& record)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(QStringLiteral("#!/bin/sh\nfor a in \"$@\"; do echo \"$a\"; done > '%1.part'\n/bin/mv '%1.part' '%1'\n").arg(record).toUtf8());
    file.close();
    file.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
}

#include "device/ModelListCheck.h"

#include "device/ConfigSetting.h"
#include "platform/RegularFile.h"

#include <QFile>
#include <QFileInfo>
#include <QSettings>
#include <QStringList>
#include <QTextCodec>

namespace {

// Keys that identify a model and choose its sensor: a group without them cannot serve a device.
// A list cut short usually ends inside or before a group, which then lacks them.
const char* const RequiredModelKeys[] = {"MID", "Sensor"};

} // namespace

ModelListProblem CheckModelList(const QString& path)
{
    ModelListProblem problem;
    problem.path = path.isEmpty() ? ConfigSetting::FilePath() : path;
    if (!QFileInfo::exists(problem.path)) {
        problem.kind = ModelListProblem::Missing;
        return problem;
    }
    QFile probe(problem.path);
    if (!IsRegularFile(problem.path) || !probe.open(QIODevice::ReadOnly)) {
        problem.kind = ModelListProblem::Unreadable;
        return problem;
    }
    probe.close();

    QSettings settings(problem.path, QSettings::IniFormat);
    settings.setIniCodec(QTextCodec::codecForName("UTF8"));
    bool number = false;
    const int total = settings.value(QStringLiteral("Option/DeviceTotal")).toString().trimmed().toInt(&number);
    if (settings.status() != QSettings::NoError || !number || total < 1) {
        problem.kind = ModelListProblem::Garbled;
        return problem;
    }
    problem.promised = total;
    const QStringList groups = settings.childGroups();
    // Stops at the first group found wanting, so a count of millions costs no more than the file holds.
    for (int n = 1; n <= total; ++n) {
        const QString group = QStringLiteral("Drive%1").arg(n);
        bool complete = groups.contains(group);
        for (const char* key : RequiredModelKeys)
            complete = complete && !settings.value(group + QLatin1Char('/') + QLatin1String(key)).toString().isEmpty();
        if (!complete) {
            problem.kind = ModelListProblem::GroupMissing;
            problem.group = group;
            return problem;
        }
    }
    return problem;
}

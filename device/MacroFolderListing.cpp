#include "device/MacroFolderListing.h"

#include "device/MacroBlocks.h"

#include <QFile>

#include <algorithm>
#include <dirent.h>
#include <fcntl.h>
#include <memory>
#include <sys/stat.h>
#include <time.h>

namespace {

// Far beyond the coarse tick the file system stamps changes with.
constexpr long long FreshNanoseconds = 100LL * 1000 * 1000;

struct FolderStamp {
    QByteArray path;
    dev_t device = 0;
    ino_t inode = 0;
    long long modified = 0; // nanoseconds
};

struct Cache {
    bool kept = false;
    FolderStamp stamp;
    QStringList entries;
    int reads = 0;
};

Cache& TheCache()
{
    static Cache cache;
    return cache;
}

long long Nanoseconds(const timespec& time)
{
    return (long long)time.tv_sec * 1000000000LL + time.tv_nsec;
}

bool SameFolder(const FolderStamp& a, const FolderStamp& b)
{
    return a.path == b.path && a.device == b.device && a.inode == b.inode && a.modified == b.modified;
}

// Whether the entry is a regular file of its own (a symbolic link is not followed).
bool IsPlainFile(int folder, const dirent* entry)
{
    if (entry->d_type == DT_REG)
        return true;
    if (entry->d_type != DT_UNKNOWN)
        return false;
    struct stat status;
    return ::fstatat(folder, entry->d_name, &status, AT_SYMLINK_NOFOLLOW) == 0 && S_ISREG(status.st_mode);
}

QStringList ReadFolder(const QByteArray& path)
{
    QStringList names;
    const std::unique_ptr<DIR, int (*)(DIR*)> folder(::opendir(path.constData()), ::closedir);
    if (!folder)
        return names;
    while (const dirent* entry = ::readdir(folder.get())) {
        if (IsPlainFile(::dirfd(folder.get()), entry))
            names << QFile::decodeName(entry->d_name);
    }
    // By name ignoring case; names equal but for case in their own order, whatever order the folder
    // gave them in.
    std::sort(names.begin(), names.end(), [](const QString& a, const QString& b) {
        const int folded = a.compare(b, Qt::CaseInsensitive);
        return folded != 0 ? folded < 0 : a < b;
    });
    for (int i = 0; i < names.size(); ++i) {
        if (names.at(i).contains(QLatin1String("xml"))) {
            names.removeAt(i);
            break;
        }
    }
    return names;
}

} // namespace

QStringList MacroFolderListing::Entries()
{
    Cache& cache = TheCache();
    FolderStamp stamp;
    stamp.path = QFile::encodeName(MacroBlocks::MacroFolder());
    struct stat status;
    if (::stat(stamp.path.constData(), &status) != 0 || !S_ISDIR(status.st_mode)) {
        cache.kept = false;
        cache.entries.clear();
        return cache.entries;
    }
    stamp.device = status.st_dev;
    stamp.inode = status.st_ino;
    stamp.modified = Nanoseconds(status.st_mtim);
    if (cache.kept && SameFolder(stamp, cache.stamp))
        return cache.entries;

    timespec now{};
    ::clock_gettime(CLOCK_REALTIME, &now);
    cache.entries = ReadFolder(stamp.path);
    ++cache.reads;
    cache.stamp = stamp;
    // A change within the same tick as the time read above would leave that time as it is.
    cache.kept = stamp.modified < Nanoseconds(now) - FreshNanoseconds;
    return cache.entries;
}

int MacroFolderListing::Reads()
{
    return TheCache().reads;
}

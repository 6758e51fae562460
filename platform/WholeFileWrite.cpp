#include "platform/WholeFileWrite.h"

#include <QFile>

#include <atomic>
#include <cerrno>
#include <cstring>
#include <ctime>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

FileWrite Result(FileWrite::Outcome outcome, int error = 0)
{
    FileWrite result;
    result.outcome = outcome;
    result.error = error;
    return result;
}

// The one decision every write makes, before it opens anything and once more before the file
// takes its place: what stands at path, seen without following a link. Written means the write
// may go ahead; *regular says whether a regular file is there now (its status in *found).
// System calls only: the crash handler decides through it too.
FileWrite Decide(const char* path, LinkRule links, struct stat* found, bool* regular)
{
    *regular = false;
    if (::lstat(path, found) != 0)
        return errno == ENOENT ? Result(FileWrite::Written) : Result(FileWrite::Failed, errno);
    if (S_ISLNK(found->st_mode))
        return links == LinkRule::ReplaceLink ? Result(FileWrite::Written) : Result(FileWrite::RefusedLink);
    if (!S_ISREG(found->st_mode))
        return Result(FileWrite::RefusedNotRegular);
    *regular = true;
    return Result(FileWrite::Written);
}

// What an open that did not follow a link or wait on a FIFO says about the path.
FileWrite OpenRefusal(int error)
{
    if (error == ELOOP)
        return Result(FileWrite::RefusedLink);
    // ENXIO: a FIFO without a reader (opened without waiting), or a device without its driver.
    if (error == ENXIO || error == EISDIR)
        return Result(FileWrite::RefusedNotRegular);
    return Result(FileWrite::Failed, error);
}

// Every byte, retried where the system took only part or was interrupted; false with errno set.
bool WriteAll(int descriptor, const void* bytes, size_t size)
{
    const char* at = static_cast<const char*>(bytes);
    while (size > 0) {
        const ssize_t written = ::write(descriptor, at, size);
        if (written < 0 && errno == EINTR)
            continue;
        if (written <= 0) {
            if (written == 0)
                errno = EIO;
            return false;
        }
        at += written;
        size -= size_t(written);
    }
    return true;
}

// path + "." + eight letters, different for every call of the process.
void TemporaryName(const char* path, char* out)
{
    static std::atomic<unsigned> counter{0};
    struct timespec now;
    clock_gettime(CLOCK_MONOTONIC, &now);
    unsigned long long mix = (static_cast<unsigned long long>(getpid()) << 32) ^ static_cast<unsigned long long>(now.tv_nsec)
                             ^ (static_cast<unsigned long long>(counter.fetch_add(1) + 1) * 0x9E3779B97F4A7C15ull);
    const size_t length = std::strlen(path);
    std::memcpy(out, path, length);
    out[length] = '.';
    static const char letters[] = "abcdefghijklmnopqrstuvwxyz0123456789";
    for (int i = 0; i < 8; ++i) {
        out[length + 1 + size_t(i)] = letters[mix % 36];
        mix /= 36;
    }
    out[length + 9] = 0;
}

// The system's bytes of a path; empty when the path cannot name a file.
QByteArray SystemName(const QString& path)
{
    const QByteArray name = QFile::encodeName(path);
    return name.contains('\0') ? QByteArray() : name;
}

} // namespace

WholeFileWriter::~WholeFileWriter()
{
    Abandon();
}

FileWrite WholeFileWriter::Begin(const char* path, LinkRule links, mode_t newMode)
{
    Abandon();
    writeError = 0;
    const size_t length = path ? std::strlen(path) : 0;
    if (length == 0)
        return Result(FileWrite::Failed, ENOENT);
    if (length >= PathRoom)
        return Result(FileWrite::Failed, ENAMETOOLONG);
    std::memcpy(finalPath, path, length + 1);
    linkRule = links;

    struct stat found;
    bool regular = false;
    const FileWrite decided = Decide(finalPath, links, &found, &regular);
    if (!decided)
        return decided;
    // A file its owner made read-only stays as it is (the administrator writes it all the same).
    if (regular && faccessat(AT_FDCWD, finalPath, W_OK, AT_EACCESS) != 0)
        return Result(FileWrite::Failed, errno);
    // A new name that nothing holds, not even a link: O_EXCL makes the file or fails.
    for (int attempt = 0; attempt < 64 && descriptor < 0; ++attempt) {
        TemporaryName(finalPath, temporaryPath);
        descriptor = ::open(temporaryPath, O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, regular ? 0600 : newMode);
        if (descriptor < 0 && errno != EEXIST) {
            const int error = errno;
            temporaryPath[0] = 0;
            return Result(FileWrite::Failed, error);
        }
    }
    if (descriptor < 0) {
        temporaryPath[0] = 0;
        return Result(FileWrite::Failed, EEXIST);
    }
    if (regular)
        fchmod(descriptor, found.st_mode & 07777);
    return Result(FileWrite::Written);
}

bool WholeFileWriter::Write(const void* bytes, size_t size)
{
    if (descriptor < 0)
        return false;
    if (WriteAll(descriptor, bytes, size))
        return true;
    writeError = errno;
    Abandon();
    return false;
}

FileWrite WholeFileWriter::Commit()
{
    if (descriptor < 0)
        return Result(FileWrite::Failed, writeError ? writeError : EBADF);
    // To the disk before it takes the old file's place; a file system that cannot sync is no failure.
    if (diskSync && fdatasync(descriptor) != 0 && (errno == EIO || errno == ENOSPC || errno == EDQUOT)) {
        const int error = errno;
        Abandon();
        return Result(FileWrite::Failed, error);
    }
    const int closed = ::close(descriptor);
    const int closeError = errno;
    descriptor = -1;
    if (closed != 0 && closeError != EINTR) {
        Abandon();
        return Result(FileWrite::Failed, closeError);
    }
    // Checked again: a link or a FIFO put there meanwhile is not replaced either. rename() itself
    // never follows a link; it replaces the name.
    struct stat found;
    bool regular = false;
    const FileWrite decided = Decide(finalPath, linkRule, &found, &regular);
    if (!decided) {
        Abandon();
        return decided;
    }
    if (::rename(temporaryPath, finalPath) != 0) {
        const int error = errno;
        Abandon();
        return Result(FileWrite::Failed, error);
    }
    temporaryPath[0] = 0;
    return Result(FileWrite::Written);
}

void WholeFileWriter::Abandon()
{
    if (descriptor >= 0)
        ::close(descriptor);
    descriptor = -1;
    if (temporaryPath[0])
        ::unlink(temporaryPath);
    temporaryPath[0] = 0;
}

FileWrite CheckWritePath(const QString& path, LinkRule links)
{
    const QByteArray name = SystemName(path);
    if (name.isEmpty())
        return Result(FileWrite::Failed, ENOENT);
    struct stat found;
    bool regular = false;
    return Decide(name.constData(), links, &found, &regular);
}

namespace {

FileWrite WriteWhole(const QString& path, const QByteArray& contents, LinkRule links, bool diskSync)
{
    const QByteArray name = SystemName(path);
    if (name.isEmpty())
        return Result(FileWrite::Failed, ENOENT);
    WholeFileWriter writer;
    if (!diskSync)
        writer.SkipDiskSync();
    const FileWrite begun = writer.Begin(name.constData(), links);
    if (!begun)
        return begun;
    writer.Write(contents.constData(), size_t(contents.size()));
    return writer.Commit();
}

} // namespace

FileWrite WriteWholeFile(const QString& path, const QByteArray& contents, LinkRule links)
{
    return WriteWhole(path, contents, links, true);
}

FileWrite WriteScratchFile(const QString& path, const QByteArray& contents)
{
    return WriteWhole(path, contents, LinkRule::Refuse, false);
}

FileWrite AppendToFile(const QString& path, const QByteArray& bytes)
{
    const QByteArray name = SystemName(path);
    if (name.isEmpty())
        return Result(FileWrite::Failed, ENOENT);
    struct stat found;
    bool regular = false;
    const FileWrite decided = Decide(name.constData(), LinkRule::Refuse, &found, &regular);
    if (!decided)
        return decided;
    // Whatever was put there since the look: a link is not followed, a FIFO not waited on, a
    // terminal not taken as the program's own.
    const int descriptor =
        ::open(name.constData(), O_WRONLY | O_APPEND | O_CREAT | O_NOFOLLOW | O_NONBLOCK | O_NOCTTY | O_CLOEXEC, 0666);
    if (descriptor < 0)
        return OpenRefusal(errno);
    FileWrite result = Result(FileWrite::Written);
    if (fstat(descriptor, &found) != 0) {
        result = Result(FileWrite::Failed, errno);
    } else if (!S_ISREG(found.st_mode)) {
        result = Result(FileWrite::RefusedNotRegular);
    } else if (!WriteAll(descriptor, bytes.constData(), size_t(bytes.size()))) {
        result = Result(FileWrite::Failed, errno);
        // The part that went in is taken back (appends of the program are serialised by its callers).
        if (ftruncate(descriptor, found.st_size) != 0)
            result.error = errno;
    }
    ::close(descriptor);
    return result;
}

FileWrite CreateNewFile(const QString& path)
{
    const QByteArray name = SystemName(path);
    if (name.isEmpty())
        return Result(FileWrite::Failed, ENOENT);
    const int descriptor = ::open(name.constData(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0666);
    if (descriptor >= 0) {
        ::close(descriptor);
        return Result(FileWrite::Written);
    }
    if (errno != EEXIST)
        return Result(FileWrite::Failed, errno);
    // Something is there: say what, so that a link or a FIFO is told as such.
    struct stat found;
    bool regular = false;
    const FileWrite decided = Decide(name.constData(), LinkRule::Refuse, &found, &regular);
    return decided ? Result(FileWrite::Failed, EEXIST) : decided;
}

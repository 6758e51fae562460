#pragma once
#include <QByteArray>
#include <QString>

#include <cstddef>
#include <sys/types.h>

// Every file the program writes goes through the functions of this file, which decide alike: the
// file named must be a regular file or not be there yet. A symbolic link in its place is never
// followed, so that nothing outside the folder changes, whoever runs the program; a folder, FIFO,
// socket or device node is never opened and never replaced, so that no write waits on a pipe or
// takes the place of a device. The folder a file lies in is taken as it is: the user's folders may
// well be links to another disk.

// What became of a write, so that the caller can say so.
struct FileWrite
{
    enum Outcome {
        Written,           // the file holds what was written
        RefusedLink,       // a symbolic link stands at the path: the link and its target are unchanged
        RefusedNotRegular, // a folder, FIFO, socket or device node stands at the path: left as it is
        Failed,            // the disk, a permission or the file system refused: the file is as it was
    };

    Outcome outcome = Failed;
    // The system's error number of a failure; 0 otherwise.
    int error = 0;

    bool Refused() const { return outcome == RefusedLink || outcome == RefusedNotRegular; }
    // Most callers only ask whether the write happened.
    operator bool() const { return outcome == Written; }
};

// What a write does about a symbolic link where its file should be.
enum class LinkRule {
    // The write is refused and the user told: for files the user may have put a link in place of
    // on purpose (the preferences, the registry stand-in, macro files, the autostart entry) and
    // for files the user chose (exports). Removing such a link would lose what the user set up.
    Refuse,
    // The link itself is replaced by the regular file, its target untouched: only for files that
    // nobody but the program makes and that are worth nothing outside it (the device caches).
    ReplaceLink,
};

// What a write at path would meet now: Written when nothing or a regular file stands there (or a
// link, when links may be replaced), otherwise the refusal.
FileWrite CheckWritePath(const QString& path, LinkRule links = LinkRule::Refuse);

// Writes contents as the whole of the file at path, or leaves the file as it was: the contents go
// to a new temporary file beside it, which takes the file's place only once every byte was
// written and the path was checked once more. A full disk or a file size limit gives Failed and no
// shortened file. An existing file keeps its permissions; a read-only one is not replaced.
FileWrite WriteWholeFile(const QString& path, const QByteArray& contents, LinkRule links = LinkRule::Refuse);

// The same for a scratch copy that lives for one call in a private temporary folder: it need not
// reach the disk before it is used, so the write does not wait for it.
FileWrite WriteScratchFile(const QString& path, const QByteArray& contents);

// Adds bytes at the end of the file at path (made when missing), for logs: the file is opened
// without following a link and without waiting on a FIFO, and checked to be a regular file before
// a byte goes in. A write that fails midway is taken back, so that no cut line is left.
FileWrite AppendToFile(const QString& path, const QByteArray& bytes);

// Makes an empty file at path only when nothing at all is there (not even a dangling link): an
// existing regular file gives Failed with EEXIST and keeps its content.
FileWrite CreateNewFile(const QString& path);

// The whole-file write in system calls only, for where nothing else may run (the crash handler,
// inside a signal handler): paths are the system's bytes, the buffers fixed. Begin() checks the
// path and opens the temporary file, the caller writes to Descriptor() (or through Write()), and
// Commit() puts the file in place. An unfinished write is abandoned by the destructor.
class WholeFileWriter
{
public:
    WholeFileWriter() = default;
    ~WholeFileWriter();
    WholeFileWriter(const WholeFileWriter&) = delete;
    WholeFileWriter& operator=(const WholeFileWriter&) = delete;

    // newMode: the permissions of a file that is not there yet (the umask applies).
    FileWrite Begin(const char* path, LinkRule links, mode_t newMode = 0666);
    int Descriptor() const { return descriptor; }
    // Every byte, or false and the write is abandoned.
    bool Write(const void* bytes, size_t size);
    // Without it Commit() waits until the contents are on the disk before the file takes its place.
    void SkipDiskSync() { diskSync = false; }
    FileWrite Commit();
    // Removes the temporary file; the file at the path stays as it was.
    void Abandon();

private:
    static constexpr size_t PathRoom = 4096;
    char finalPath[PathRoom] = {};
    char temporaryPath[PathRoom + 24] = {};
    int descriptor = -1;
    LinkRule linkRule = LinkRule::Refuse;
    int writeError = 0;
    bool diskSync = true;
};

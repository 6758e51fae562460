#pragma once
#include <QByteArray>
#include <QFile>
#include <QString>

#include <fcntl.h>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>

// A FIFO at a path the program reads, with a writer that hands `content` to whoever opens it for
// reading. A reader that opens the FIFO therefore reads the content instead of waiting for good, so a
// test sees an open that should not have happened as a wrong value, not as a hang. The destructor
// releases a writer that nobody read from and removes the FIFO.
class FifoFeeder
{
public:
    FifoFeeder(const QString& path, const QByteArray& content) : name(QFile::encodeName(path))
    {
        made = ::mkfifo(name.constData(), 0600) == 0;
        if (!made)
            return;
        writer = std::thread([this, content] {
            const int fd = ::open(name.constData(), O_WRONLY | O_CLOEXEC);
            if (fd < 0)
                return;
            const ssize_t written = ::write(fd, content.constData(), size_t(content.size()));
            (void)written;
            ::close(fd);
        });
    }
    ~FifoFeeder()
    {
        if (!made)
            return;
        const int reader = ::open(name.constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
        writer.join();
        if (reader >= 0)
            ::close(reader);
        ::unlink(name.constData());
    }
    bool Made() const { return made; }

    FifoFeeder(const FifoFeeder&) = delete;
    FifoFeeder& operator=(const FifoFeeder&) = delete;

private:
    QByteArray name;
    bool made = false;
    std::thread writer;
};

#include "common/TextFile.h"

#include "common/Cp1252.h"
#include "common/PlatformError.h"

#include <QFile>
#include <QFileInfo>
#include <cerrno>
#include <cstdlib>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace textfile {
namespace {

mode_t currentUmask()
{
    const mode_t mask = ::umask(0);
    ::umask(mask);
    return mask;
}

} // namespace

QByteArray readBytes(const QString& path)
{
    QFile file(path);
    // Only regular files: opening a pipe named like a class file would wait for a writer for ever.
    const QFileInfo info(path);
    if (path.isEmpty() || (info.exists() && !info.isFile()) || !file.open(QIODevice::ReadOnly))
        throw PlatformError::cannotOpen(path);
    QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError)
        throw PlatformError::cannotOpen(path);
    return bytes;
}

QStringList splitLines(const QByteArray& bytes)
{
    QStringList lines;
    qsizetype start = 0;
    const qsizetype n = bytes.size();
    for (qsizetype i = 0; i < n; ++i) {
        const char c = bytes[i];
        if (c != '\r' && c != '\n')
            continue;
        lines << cp1252::decode(bytes.mid(start, i - start));
        if (c == '\r' && i + 1 < n && bytes[i + 1] == '\n')
            ++i;
        start = i + 1;
    }
    if (start < n)
        lines << cp1252::decode(bytes.mid(start));
    return lines;
}

QStringList readLines(const QString& path)
{
    return splitLines(readBytes(path));
}

QByteArray joinLines(const QStringList& lines)
{
    QByteArray out;
    for (const QString& line : lines) {
        out += cp1252::encode(line);
        out += "\r\n";
    }
    return out;
}

void writeBytes(const QString& path, const QByteArray& bytes)
{
    if (path.isEmpty() || QFileInfo(path).isDir())
        throw PlatformError::cannotCreate(path);
    // Written whole into a temporary file beside the target, checked to the last byte, then renamed over it:
    // a full disk or a crash leaves the old file as it was. (A short write on a full disk is not reported
    // by buffered writers, so every write is checked here.)
    const QByteArray target = QFile::encodeName(path);
    QByteArray tempName = target + ".XXXXXX";
    const int fd = mkstemp(tempName.data());
    if (fd < 0)
        throw PlatformError::cannotCreate(path);
    auto fail = [&] {
        ::close(fd);
        ::unlink(tempName.constData());
        throw PlatformError::cannotCreate(path);
    };
    struct stat old{};
    const mode_t mode = ::stat(target.constData(), &old) == 0 ? (old.st_mode & 07777) : (0666 & ~currentUmask());
    if (::fchmod(fd, mode) != 0)
        fail();
    qsizetype done = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::write(fd, bytes.constData() + done, static_cast<size_t>(bytes.size() - done));
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            fail();
        done += n;
    }
    if (::fsync(fd) != 0)
        fail();
    if (::close(fd) != 0) {
        ::unlink(tempName.constData());
        throw PlatformError::cannotCreate(path);
    }
    if (::rename(tempName.constData(), target.constData()) != 0) {
        ::unlink(tempName.constData());
        throw PlatformError::cannotCreate(path);
    }
}

void writeLines(const QString& path, const QStringList& lines)
{
    writeBytes(path, joinLines(lines));
}

bool exists(const QString& path)
{
    return !path.isEmpty() && QFileInfo(path).isFile();
}

} // namespace textfile

#include "model/PhotoStore.h"

#include <QCryptographicHash>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <cstring>
#include <ctime>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <zlib.h>

namespace {

// The entry's bytes: this header, the photo's path in UTF-8, the colour table, the pixels as the picture holds them,
// then the CRC-32 of all that. Read back in the machine's own byte order: a cache never leaves its machine.
struct Header
{
    char magic[8];
    std::uint32_t version, pathBytes;
    std::uint64_t device, inode;
    std::int64_t size, modified, changed;
    // The frame and area the photo was fitted to: another frame is another entry.
    std::int32_t frameWidth, frameHeight, areaWidth, areaHeight;
    std::int32_t originalWidth, originalHeight;
    std::int32_t placeX, placeY, placeWidth, placeHeight, stretch;
    std::int32_t atX, atY;
    std::int32_t width, height, format, bytesPerLine, colours;
    std::uint32_t pixelBytes, reserved;
};
static_assert(sizeof(Header) == 136);

constexpr char Magic[8] = {'V', 'L', 'P', 'H', 'O', 'T', 'O', '\n'};
constexpr std::uint32_t Version = 1;
// Far above any entry: the pixels of the whole area at 8 bytes each, a path of 4,096 characters, 256 colours.
constexpr qint64 MaxEntryBytes = 1 << 20;
constexpr int MaxColours = 256;
// An entry read is dated again when its date is older than this: the folder keeps what is read, and a card read
// again and again does not write to the disk each time.
constexpr qint64 TouchAfterSeconds = 3600;
// A temporary file older than this was left by a run killed while writing.
constexpr qint64 StaleTemporarySeconds = 3600;
const QString EntrySuffix = QStringLiteral(".photo");
const QString TemporarySuffix = QStringLiteral(".tmp");

std::uint32_t checksum(const char* data, qsizetype size)
{
    uLong crc = crc32(0L, Z_NULL, 0);
    while (size > 0) {
        const uInt chunk = uInt(std::min<qsizetype>(size, 1 << 30));
        crc = crc32(crc, reinterpret_cast<const Bytef*>(data), chunk);
        data += chunk;
        size -= chunk;
    }
    return std::uint32_t(crc);
}

// The folder, readable by the user alone: made when missing, its rights narrowed when found wider.
bool makePrivateFolder(const QString& folder)
{
    if (folder.isEmpty() || !QDir().mkpath(QFileInfo(folder).absolutePath()))
        return false;
    const QByteArray name = QFile::encodeName(folder);
    if (::mkdir(name.constData(), 0700) != 0 && errno != EEXIST)
        return false;
    struct stat info;
    if (::lstat(name.constData(), &info) != 0 || !S_ISDIR(info.st_mode) || info.st_uid != ::geteuid())
        return false;
    if ((info.st_mode & 077) != 0 && ::chmod(name.constData(), 0700) != 0)
        return false;
    return ::access(name.constData(), W_OK | X_OK) == 0;
}

bool writeAll(int fd, const char* data, qsizetype size)
{
    while (size > 0) {
        const ssize_t written = ::write(fd, data, size_t(size));
        if (written < 0 && errno == EINTR)
            continue;
        if (written <= 0)
            return false;
        data += written;
        size -= written;
    }
    return true;
}

} // namespace

std::optional<PhotoKey> PhotoKey::of(const QString& path)
{
    struct stat info;
    if (path.isEmpty() || ::stat(QFile::encodeName(path).constData(), &info) != 0)
        return std::nullopt;
    PhotoKey key;
    key.path = path;
    key.device = std::uint64_t(info.st_dev);
    key.inode = std::uint64_t(info.st_ino);
    key.size = qint64(info.st_size);
    key.modified = qint64(info.st_mtim.tv_sec) * 1000000000 + info.st_mtim.tv_nsec;
    key.changed = qint64(info.st_ctim.tv_sec) * 1000000000 + info.st_ctim.tv_nsec;
    return key;
}

PhotoStore::PhotoStore(const QString& folder, qint64 boundBytes) : m_folder(folder), m_bound(boundBytes) {}

QString PhotoStore::entryPath(const PhotoKey& key) const
{
    QCryptographicHash hash(QCryptographicHash::Blake2b_160);
    const std::int64_t fields[] = {Version,
                                   photofit::FrameWidth,
                                   photofit::FrameHeight,
                                   photofit::ClientArea.width(),
                                   photofit::ClientArea.height(),
                                   std::int64_t(key.device),
                                   std::int64_t(key.inode),
                                   key.size,
                                   key.modified,
                                   key.changed};
    hash.addData(QByteArrayView(reinterpret_cast<const char*>(fields), sizeof(fields)));
    hash.addData(key.path.toUtf8());
    return m_folder + QLatin1Char('/') + QString::fromLatin1(hash.result().toHex()) + EntrySuffix;
}

QByteArray PhotoStore::encode(const PhotoKey& key, const photofit::Shown& shown)
{
    const QImage& picture = shown.picture;
    if (picture.isNull() || picture.width() > photofit::ClientArea.width() ||
        picture.height() > photofit::ClientArea.height() || picture.colorCount() > MaxColours)
        return {};
    const QByteArray path = key.path.toUtf8();
    Header header;
    std::memset(&header, 0, sizeof header);
    std::memcpy(header.magic, Magic, sizeof Magic);
    header.version = Version;
    header.pathBytes = std::uint32_t(path.size());
    header.device = key.device;
    header.inode = key.inode;
    header.size = key.size;
    header.modified = key.modified;
    header.changed = key.changed;
    header.frameWidth = photofit::FrameWidth;
    header.frameHeight = photofit::FrameHeight;
    header.areaWidth = photofit::ClientArea.width();
    header.areaHeight = photofit::ClientArea.height();
    header.originalWidth = shown.originalSize.width();
    header.originalHeight = shown.originalSize.height();
    header.placeX = shown.placement.area.x();
    header.placeY = shown.placement.area.y();
    header.placeWidth = shown.placement.area.width();
    header.placeHeight = shown.placement.area.height();
    header.stretch = shown.placement.stretch ? 1 : 0;
    header.atX = shown.at.x();
    header.atY = shown.at.y();
    header.width = picture.width();
    header.height = picture.height();
    header.format = int(picture.format());
    header.bytesPerLine = int(picture.bytesPerLine());
    header.colours = int(picture.colorCount());
    header.pixelBytes = std::uint32_t(picture.sizeInBytes());
    const QList<QRgb> colours = picture.colorTable();
    QByteArray bytes;
    bytes.reserve(qsizetype(sizeof header) + path.size() + colours.size() * 4 + picture.sizeInBytes() + 4);
    bytes.append(reinterpret_cast<const char*>(&header), sizeof header);
    bytes.append(path);
    bytes.append(reinterpret_cast<const char*>(colours.constData()), colours.size() * qsizetype(sizeof(QRgb)));
    bytes.append(reinterpret_cast<const char*>(picture.constBits()), picture.sizeInBytes());
    const std::uint32_t crc = checksum(bytes.constData(), bytes.size());
    bytes.append(reinterpret_cast<const char*>(&crc), sizeof crc);
    return bytes;
}

std::optional<photofit::Shown> PhotoStore::decode(const QByteArray& bytes, const PhotoKey& key)
{
    Header header;
    if (bytes.size() < qsizetype(sizeof header + 4) || bytes.size() > MaxEntryBytes)
        return std::nullopt;
    // The entry's last four bytes, as encode() appended them.
    const qsizetype checked = bytes.size() - 4;
    std::uint32_t crc = 0;
    for (int i = 0; i < 4; ++i)
        reinterpret_cast<unsigned char*>(&crc)[i] = static_cast<unsigned char>(bytes.at(checked + i));
    if (crc != checksum(bytes.constData(), checked))
        return std::nullopt;
    std::memcpy(&header, bytes.constData(), sizeof header);
    // Whole, and made by this program for this very photo and this frame.
    const QByteArray path = key.path.toUtf8();
    if (std::memcmp(header.magic, Magic, sizeof Magic) != 0 || header.version != Version ||
        header.pathBytes != std::uint32_t(path.size()) || header.device != key.device || header.inode != key.inode ||
        header.size != key.size || header.modified != key.modified || header.changed != key.changed ||
        header.frameWidth != photofit::FrameWidth || header.frameHeight != photofit::FrameHeight ||
        header.areaWidth != photofit::ClientArea.width() || header.areaHeight != photofit::ClientArea.height())
        return std::nullopt;
    if (header.width < 1 || header.width > photofit::ClientArea.width() || header.height < 1 ||
        header.height > photofit::ClientArea.height() || header.format <= int(QImage::Format_Invalid) ||
        header.format >= int(QImage::NImageFormats) || header.colours < 0 || header.colours > MaxColours)
        return std::nullopt;
    const qsizetype colourBytes = qsizetype(header.colours) * qsizetype(sizeof(QRgb));
    if (bytes.size() != qsizetype(sizeof header) + path.size() + colourBytes + qsizetype(header.pixelBytes) + 4 ||
        bytes.mid(sizeof header, path.size()) != path)
        return std::nullopt;
    photofit::Shown shown;
    shown.originalSize = QSize(header.originalWidth, header.originalHeight);
    shown.placement = {QRect(header.placeX, header.placeY, header.placeWidth, header.placeHeight), header.stretch != 0};
    shown.at = QPoint(header.atX, header.atY);
    // The placement follows from the photo's size; a picture that would not fit it was not made here.
    if (!(shown.placement == photofit::fit(shown.originalSize)) ||
        !QRect(QPoint(0, 0), shown.placement.area.size()).contains(QRect(shown.at, QSize(header.width, header.height))))
        return std::nullopt;
    QImage picture(header.width, header.height, QImage::Format(header.format));
    if (picture.isNull() || picture.bytesPerLine() != header.bytesPerLine ||
        picture.sizeInBytes() != qsizetype(header.pixelBytes))
        return std::nullopt;
    const char* data = bytes.constData() + sizeof header + path.size();
    if (header.colours > 0) {
        QList<QRgb> colours(header.colours);
        std::memcpy(colours.data(), data, size_t(colourBytes));
        picture.setColorTable(colours);
    }
    std::memcpy(picture.bits(), data + colourBytes, header.pixelBytes);
    shown.picture = std::move(picture);
    return shown;
}

std::optional<photofit::Shown> PhotoStore::read(const PhotoKey& key) const
{
    const int fd =
        ::open(QFile::encodeName(entryPath(key)).constData(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        return std::nullopt;
    struct stat info;
    QByteArray bytes;
    if (::fstat(fd, &info) == 0 && S_ISREG(info.st_mode) && info.st_size <= MaxEntryBytes) {
        bytes.resize(qsizetype(info.st_size));
        qsizetype got = 0;
        while (got < bytes.size()) {
            const ssize_t n = ::read(fd, bytes.data() + got, size_t(bytes.size() - got));
            if (n < 0 && errno == EINTR)
                continue;
            if (n <= 0)
                break;
            got += n;
        }
        bytes.resize(got);
    }
    std::optional<photofit::Shown> shown = decode(bytes, key);
    // Read now: among the last to go when the folder is over its bound.
    if (shown && std::time(nullptr) - info.st_mtim.tv_sec > TouchAfterSeconds)
        ::futimens(fd, nullptr);
    ::close(fd);
    return shown;
}

bool PhotoStore::has(const PhotoKey& key) const
{
    struct stat info;
    return ::lstat(QFile::encodeName(entryPath(key)).constData(), &info) == 0 && S_ISREG(info.st_mode) &&
           info.st_size > qint64(sizeof(Header));
}

bool PhotoStore::ready()
{
    std::lock_guard lock(m_mutex);
    if (!m_ready) {
        m_ready = makePrivateFolder(m_folder);
        if (*m_ready)
            m_total = m_bound + 1;
    }
    return *m_ready;
}

bool PhotoStore::write(const PhotoKey& key, const photofit::Shown& shown)
{
    const QByteArray bytes = encode(key, shown);
    if (bytes.isEmpty() || !ready())
        return false;
    static std::atomic<unsigned> written;
    const QString target = entryPath(key);
    const QByteArray temporary =
        QFile::encodeName(m_folder + QStringLiteral("/.") + QFileInfo(target).fileName() +
                          QStringLiteral(".%1-%2").arg(::getpid()).arg(++written) + TemporarySuffix);
    const int fd = ::open(temporary.constData(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600);
    if (fd < 0)
        return false;
    bool done = writeAll(fd, bytes.constData(), bytes.size());
    done = ::close(fd) == 0 && done;
    done = done && ::rename(temporary.constData(), QFile::encodeName(target).constData()) == 0;
    if (!done) {
        ::unlink(temporary.constData());
        return false;
    }
    m_written += std::uint64_t(bytes.size());
    trim();
    return true;
}

void PhotoStore::trim()
{
    std::lock_guard lock(m_mutex);
    // Counted again only when the bytes written may have taken the folder over its bound: another run may share it.
    if (m_total + qint64(m_written.load()) <= m_bound)
        return;
    const QFileInfoList files =
        QDir(m_folder).entryInfoList(QDir::Files | QDir::Hidden | QDir::NoDotAndDotDot, QDir::Time | QDir::Reversed);
    const QDateTime now = QDateTime::currentDateTimeUtc();
    qint64 total = 0;
    for (const QFileInfo& file : files) {
        if (file.fileName().endsWith(EntrySuffix))
            total += file.size();
        else if (file.fileName().endsWith(TemporarySuffix) && file.lastModified().secsTo(now) > StaleTemporarySeconds)
            QFile::remove(file.filePath());
    }
    // Over the bound, the entries read longest ago go first, down to seven eighths of it: a full folder is not
    // counted again at every entry written.
    if (total > m_bound) {
        for (const QFileInfo& file : files) {
            if (total <= m_bound - m_bound / 8)
                break;
            if (file.fileName().endsWith(EntrySuffix) && QFile::remove(file.filePath()))
                total -= file.size();
        }
    }
    m_total = total;
    m_written = 0;
}

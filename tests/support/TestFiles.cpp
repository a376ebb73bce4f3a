#include "TestFiles.h"

#include "core/PlatformError.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>
#include <QTest>
#include <algorithm>
#include <grp.h>
#include <unistd.h>
#include <zlib.h>

namespace {

struct FillingDisk : QIODevice
{
    FillingDisk(QIODevice& file, qint64 left) : file(file), left(left) { open(WriteOnly | Unbuffered); }
    qint64 readData(char*, qint64) override { return -1; }
    qint64 writeData(const char* data, qint64 length) override
    {
        const qint64 written = left > 0 ? file.write(data, std::min(length, left)) : -1;
        left -= std::max<qint64>(written, 0);
        return written;
    }
    QIODevice& file;
    qint64 left;
};

} // namespace

namespace testfiles {

std::unique_ptr<QIODevice> fillingDisk(QIODevice& file, qint64 left)
{
    return std::make_unique<FillingDisk>(file, left);
}

QByteArray readAll(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return QByteArray("<missing>");
    return file.readAll();
}

void writeAll(const QString& path, const QByteArray& bytes)
{
    QDir().mkpath(QFileInfo(path).path());
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    QCOMPARE(file.write(bytes), bytes.size());
}

QString errorOf(const std::function<void()>& operation)
{
    try {
        operation();
    } catch (const PlatformError& error) {
        return error.message();
    }
    return {};
}

QString run(const QString& program, const QStringList& arguments)
{
    QProcess process;
    process.start(program, arguments);
    process.waitForFinished(100000);
    return QString::fromUtf8(process.readAllStandardOutput());
}

QString missing(const QStringList& programs)
{
    for (const QString& program : programs)
        if (QStandardPaths::findExecutable(program).isEmpty())
            return program;
    return {};
}

void convertByOffice(const QStringList& files, const QString& format, const QString& folder, const QString& inputFilter)
{
    // A profile of its own: a LibreOffice already running elsewhere would take the files and convert nothing.
    const QStringList filter = inputFilter.isEmpty() ? QStringList() : QStringList{"--infilter=" + inputFilter};
    run("soffice", QStringList{"-env:UserInstallation=file://" + folder + "/profile", "--headless"} + filter +
                       QStringList{"--convert-to", format, "--outdir", folder} + files);
}

QByteArray zip(const QList<std::pair<QByteArray, QByteArray>>& files, bool deflated)
{
    const auto le = [](quint64 value, int bytes) {
        QByteArray out;
        for (int i = 0; i < bytes; ++i)
            out += char((value >> (8 * i)) & 0xFF);
        return out;
    };
    QByteArray archive, directory;
    for (const auto& [name, data] : files) {
        QByteArray packed = data;
        if (deflated) {
            z_stream s = {};
            deflateInit2(&s, 9, Z_DEFLATED, -MAX_WBITS, 8, Z_DEFAULT_STRATEGY);
            packed.resize(qsizetype(deflateBound(&s, uLong(data.size()))));
            s.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(data.constData()));
            s.avail_in = uInt(data.size());
            s.next_out = reinterpret_cast<Bytef*>(packed.data());
            s.avail_out = uInt(packed.size());
            deflate(&s, Z_FINISH);
            packed.resize(qsizetype(s.total_out));
            deflateEnd(&s);
        }
        const quint32 crc = quint32(crc32(0, reinterpret_cast<const Bytef*>(data.constData()), uInt(data.size())));
        const QByteArray common = le(20, 2) + le(0, 2) + le(deflated ? 8 : 0, 2) + le(0, 4) + le(crc, 4) +
                                  le(quint64(packed.size()), 4) + le(quint64(data.size()), 4) +
                                  le(quint64(name.size()), 2) + le(0, 2);
        directory += le(0x02014b50, 4) + le(20, 2) + common + le(0, 2) + le(0, 2) + le(0, 2) + le(0, 4) +
                     le(quint64(archive.size()), 4) + name;
        archive += le(0x04034b50, 4) + common + name + packed;
    }
    return archive + directory + le(0x06054b50, 4) + le(0, 4) + le(quint64(files.size()), 2) +
           le(quint64(files.size()), 2) + le(quint64(directory.size()), 4) + le(quint64(archive.size()), 4) + le(0, 2);
}

bool reranAsNobody()
{
    if (::geteuid() != 0)
        return false;
    const group* users = ::getgrnam("users");
    QProcess child;
    child.setProcessChannelMode(QProcess::MergedChannels);
    child.start(QStringLiteral("setpriv"),
                {QStringLiteral("--reuid=nobody"), QStringLiteral("--regid=nogroup"),
                 users ? QStringLiteral("--groups=%1").arg(users->gr_gid) : QStringLiteral("--clear-groups"),
                 QCoreApplication::applicationFilePath(),
                 QStringLiteral("%1:%2").arg(QTest::currentTestFunction(), QTest::currentDataTag())});
    child.waitForFinished(60000);
    if (child.exitStatus() != QProcess::NormalExit || child.exitCode() != 0)
        QTest::qFail(child.readAll().constData(), __FILE__, __LINE__);
    return true;
}

} // namespace testfiles

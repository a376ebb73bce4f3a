#include "TestFiles.h"

#include "core/PlatformError.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>
#include <QTest>
#include <grp.h>
#include <unistd.h>

namespace testfiles {

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

void convertByOffice(const QStringList& files, const QString& format, const QString& folder)
{
    // A profile of its own: a LibreOffice already running elsewhere would take the files and convert nothing.
    run("soffice", QStringList{"-env:UserInstallation=file://" + folder + "/profile", "--headless", "--convert-to",
                               format, "--outdir", folder} +
                       files);
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

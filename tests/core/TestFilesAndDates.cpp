#include "core/Cp1252.h"
#include "core/FileNames.h"
#include "core/FrenchDates.h"
#include "core/PlatformError.h"
#include "core/TextFile.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <csignal>
#include <sys/resource.h>

class TestFilesAndDates : public QObject
{
    Q_OBJECT

private slots:
    void names_data();
    void names();
    void splitLines_data();
    void splitLines();
    void writeIsCrLfWindows1252();
    void failedWriteKeepsTheOldFile();
    void missingFileCannotBeOpened();
    void dates();
    void readShortDate_data();
    void readShortDate();
};

void TestFilesAndDates::names_data()
{
    QTest::addColumn<QString>("path");
    QTest::addColumn<QString>("last");
    QTest::addColumn<QString>("base");
    QTest::addColumn<QString>("homework");
    QTest::newRow("class file") << "/home/prof/Classes/6A.prf" << "6A.prf" << "/home/prof/Classes/6A"
                                << "/home/prof/Classes/6A.prd";
    QTest::newRow("no dot") << "/home/prof/Classes/6A" << "6A" << "/home/prof/Classes/6A" << "/home/prof/Classes/6A.prd";
    QTest::newRow("folder with a dot") << "/home/prof/Cours.2001/6A.prf" << "6A.prf" << "/home/prof/Cours.2001/6A"
                                       << "/home/prof/Cours.2001/6A.prd";
    QTest::newRow("folder with a dot, no extension")
        << "/home/prof/Cours.2001/6A" << "6A" << "/home/prof/Cours.2001/6A" << "/home/prof/Cours.2001/6A.prd";
    QTest::newRow("two dots") << "/x/6A.old.txt" << "6A.old.txt" << "/x/6A" << "/x/6A.old.txt.prd";
    QTest::newRow("class with two dots") << "/x/6e.1.prf" << "6e.1.prf" << "/x/6e" << "/x/6e.1.prd";
    QTest::newRow("upper-case extension") << "/x/5C.PRF" << "5C.PRF" << "/x/5C" << "/x/5C.prd";
    QTest::newRow("bare name") << "6A.prf" << "6A.prf" << "6A" << "6A.prd";
    QTest::newRow("empty") << "" << "" << "" << ".prd";
    QTest::newRow("hidden file") << "/x/.prf" << ".prf" << "/x/" << "/x/.prd";
}

void TestFilesAndDates::names()
{
    QFETCH(QString, path);
    QFETCH(QString, last);
    QFETCH(QString, base);
    QFETCH(QString, homework);
    QCOMPARE(filenames::lastComponent(path), last);
    QCOMPARE(filenames::baseName(path), base);
    QCOMPARE(filenames::companionOnDisk(path, QStringLiteral(".prd")), homework);
}

void TestFilesAndDates::splitLines_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QStringList>("lines");
    QTest::newRow("crlf") << QByteArray("a\r\nb\r\n") << QStringList{"a", "b"};
    QTest::newRow("lf") << QByteArray("a\nb\n") << QStringList{"a", "b"};
    QTest::newRow("cr") << QByteArray("a\rb\r") << QStringList{"a", "b"};
    QTest::newRow("no final line end") << QByteArray("a\r\nb") << QStringList{"a", "b"};
    QTest::newRow("empty lines kept") << QByteArray("\r\n\r\nx\r\n") << QStringList{"", "", "x"};
    QTest::newRow("lf cr is two ends") << QByteArray("a\n\rb") << QStringList{"a", "", "b"};
    QTest::newRow("empty file") << QByteArray() << QStringList{};
    QTest::newRow("windows-1252") << QByteArray("\xC9l\xE8ve\r\n") << QStringList{QStringLiteral("Élève")};
    QTest::newRow("nul byte kept") << QByteArray("a\0b\n", 4) << QStringList{QString::fromLatin1("a\0b", 3)};
}

void TestFilesAndDates::splitLines()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QStringList, lines);
    QCOMPARE(textfile::splitLines(bytes), lines);
}

void TestFilesAndDates::writeIsCrLfWindows1252()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("out.txt"));
    textfile::writeLines(path, {QStringLiteral("Élève"), QString(), QStringLiteral("€")});
    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QByteArray bytes = file.readAll();
    QCOMPARE(bytes, QByteArray("\xC9l\xE8ve\r\n\r\n\x80\r\n"));
    QCOMPARE(textfile::splitLines(bytes), QStringList({QStringLiteral("Élève"), QString(), QStringLiteral("€")}));
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files), QStringList{QStringLiteral("out.txt")});
}

void TestFilesAndDates::failedWriteKeepsTheOldFile()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("keep.prf"));
    textfile::writeBytes(path, "old");
    // A disk that fills up half-way through the write: the file size limit stops it after 16 bytes.
    std::signal(SIGXFSZ, SIG_IGN);
    rlimit saved{};
    getrlimit(RLIMIT_FSIZE, &saved);
    rlimit small = saved;
    small.rlim_cur = 16;
    setrlimit(RLIMIT_FSIZE, &small);
    QString message;
    try {
        textfile::writeBytes(path, QByteArray(4096, 'x'));
    } catch (const PlatformError& e) {
        message = e.message();
    }
    setrlimit(RLIMIT_FSIZE, &saved);
    QCOMPARE(message, QStringLiteral("Ne peut créer le fichier ") + path);
    QCOMPARE(textfile::readBytes(path, {1024, u"un fichier"}), QByteArray("old"));
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files), QStringList{QStringLiteral("keep.prf")});
}

void TestFilesAndDates::missingFileCannotBeOpened()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("absent.txt"));
    QVERIFY(!textfile::exists(path));
    try {
        textfile::readBytes(path, {1024, u"un fichier"});
        QFAIL("no error");
    } catch (const PlatformError& e) {
        QCOMPARE(e.message(), QStringLiteral("Ne peut ouvrir le fichier ") + path);
    }
    QVERIFY(!textfile::exists(dir.path()));
}

void TestFilesAndDates::dates()
{
    QCOMPARE(frdate::shortDate(QDate(2001, 3, 5)), QStringLiteral("05/03/2001"));
    QCOMPARE(frdate::longTime(QTime(8, 4, 9)), QStringLiteral("08:04:09"));
    QCOMPARE(frdate::longTime(QTime(23, 59, 59)), QStringLiteral("23:59:59"));
    QCOMPARE(frdate::longMonthName(2), QStringLiteral("février"));
    QCOMPARE(frdate::longMonthName(8), QStringLiteral("août"));
    QCOMPARE(frdate::longMonthName(12), QStringLiteral("décembre"));
    QCOMPARE(frdate::longMonthName(13), QString());
    QCOMPARE(frdate::shortDayName(0), QStringLiteral("dim."));
    QCOMPARE(frdate::shortDayName(6), QStringLiteral("sam."));
}

void TestFilesAndDates::readShortDate_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QDate>("date");
    QTest::newRow("full") << "12/03/2001" << QDate(2001, 3, 12);
    QTest::newRow("unset date") << "01/01/1990" << QDate(1990, 1, 1);
    QTest::newRow("two-digit year") << "20/10/98" << QDate(1998, 10, 20);
    QTest::newRow("31 February") << "31/02/2001" << QDate();
    QTest::newRow("letters") << "ab/cd/efgh" << QDate();
    QTest::newRow("missing part") << "12/03" << QDate();
}

void TestFilesAndDates::readShortDate()
{
    QFETCH(QString, text);
    QFETCH(QDate, date);
    QCOMPARE(frdate::readShortDate(text), date);
}

QTEST_APPLESS_MAIN(TestFilesAndDates)
#include "TestFilesAndDates.moc"

#include "app/StartupFiles.h"

#include <QApplication>
#include <QTest>
#include <vector>

class TestStartupFiles : public QObject
{
    Q_OBJECT

private slots:
    void classFiles_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<QStringList>("files");
        const QString prog = QStringLiteral("/usr/bin/virelan");
        QTest::newRow("none") << QStringList{prog} << QStringList{};
        QTest::newRow("relative, from the start folder")
            << QStringList{prog, "6A.prf", "../Cours.2001/6B.PRF"}
            << QStringList{"/home/prof/classes/6A.prf", "/home/prof/Cours.2001/6B.PRF"};
        QTest::newRow("absolute") << QStringList{prog, "/tmp/./x/5C.prf"} << QStringList{"/tmp/x/5C.prf"};
        QTest::newRow("options left by Qt are not files")
            << QStringList{prog, "-sync", "6A.prf", "--unknown"} << QStringList{"/home/prof/classes/6A.prf"};
        QTest::newRow("after --, every argument is a file")
            << QStringList{prog, "--", "-x.prf", "--"}
            << QStringList{"/home/prof/classes/-x.prf", "/home/prof/classes/--"};
        QTest::newRow("an empty argument is no file") << QStringList{prog, ""} << QStringList{};
    }
    void classFiles()
    {
        QFETCH(QStringList, arguments);
        QFETCH(QStringList, files);
        QCOMPARE(startupfiles::classFiles(arguments, QStringLiteral("/home/prof/classes")), files);
    }
    void qtOptionsAreNoFiles()
    {
        // The application of this test was given Qt's options among the files (see main): Qt takes them,
        // values included, before the files are read.
        QCOMPARE(startupfiles::classFiles(QApplication::arguments(), QStringLiteral("/s")),
                 QStringList({"/s/6A.prf", "/s/B.prf"}));
    }
};

int main(int argc, char* argv[])
{
    char platform[] = "-platform", offscreen[] = "offscreen", style[] = "-style", fusion[] = "fusion",
         title[] = "-qwindowtitle", name[] = "Vire Lan", a[] = "6A.prf", b[] = "B.prf";
    std::vector<char*> command = {argv[0], platform, offscreen, a, style, fusion, title, name, b, nullptr};
    int count = static_cast<int>(command.size()) - 1;
    QApplication app(count, command.data());
    TestStartupFiles test;
    return QTest::qExec(&test, argc, argv);
}
#include "TestStartupFiles.moc"

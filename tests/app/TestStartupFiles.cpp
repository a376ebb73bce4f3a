#include "Rows.h"
#include "app/StartupFiles.h"

#include <QTest>

// The class files named on the command line, made absolute from the start-up folder /home/prof/classes.
class TestStartupFiles : public QObject
{
    Q_OBJECT

private slots:
    void classFiles_data()
    {
        rows::add(
            {"none |  | ",
             "relative | 6A.prf ../Cours.2001/6B.PRF | /home/prof/classes/6A.prf /home/prof/Cours.2001/6B.PRF",
             "absolute | /tmp/./x/5C.prf | /tmp/x/5C.prf",
             "options left by Qt are not files | -sync 6A.prf --unknown | /home/prof/classes/6A.prf",
             "after --, every argument is a file | -- -x.prf -- | /home/prof/classes/-x.prf /home/prof/classes/--"});
    }
    void classFiles()
    {
        const QStringList row = rows::fields();
        const QStringList arguments = QStringList{"/usr/bin/virelan"} + row[1].split(' ');
        QCOMPARE(startupfiles::classFiles(arguments, "/home/prof/classes"), row[2].split(' ', Qt::SkipEmptyParts));
    }
};

QTEST_APPLESS_MAIN(TestStartupFiles)
#include "TestStartupFiles.moc"

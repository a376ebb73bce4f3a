#include "TestFiles.h"

#include <QDir>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

// A save killed at any of its steps leaves the old file or the new one, whole, and the next save leaves nothing
// of it behind.
class TestFileWriter : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;

    // Runs the helper that saves a large class of that generation and is killed at the step; true if it ended.
    static bool save(const QString& file, const QString& generation, const QString& step = QStringLiteral("none"))
    {
        QProcess helper;
        helper.start(QStringLiteral(SAVE_AND_DIE), {file, generation, step});
        helper.waitForFinished(60000);
        return helper.exitStatus() == QProcess::NormalExit && helper.exitCode() == 0;
    }

private slots:
    void killedSave_data()
    {
        QTest::addColumn<QString>("step");
        QTest::addColumn<bool>("renamed");
        QTest::newRow("before the write") << "opened" << false;
        QTest::newRow("half-way through the write") << "half" << false;
        QTest::newRow("after the write") << "written" << false;
        QTest::newRow("before the rename") << "synced" << false;
        QTest::newRow("after the rename") << "renamed" << true;
    }

    void killedSave()
    {
        QFETCH(QString, step);
        QFETCH(bool, renamed);
        QDir folder(m_dir.filePath(QStringLiteral("classes")));
        folder.removeRecursively();
        QVERIFY(folder.mkpath(QStringLiteral(".")));
        const QString file = folder.filePath(QStringLiteral("5C.prf"));
        QVERIFY(save(file, QStringLiteral("old")));
        QVERIFY(save(m_dir.filePath(QStringLiteral("new.prf")), QStringLiteral("new")));
        const QByteArray oldBytes = testfiles::readAll(file);
        const QByteArray newBytes = testfiles::readAll(m_dir.filePath(QStringLiteral("new.prf")));
        QVERIFY(oldBytes.size() > 500000 && oldBytes != newBytes);

        QVERIFY(!save(file, QStringLiteral("new"), step));
        QVERIFY(testfiles::readAll(file) == (renamed ? newBytes : oldBytes));
        QVERIFY(save(file, QStringLiteral("old")));
        QVERIFY(testfiles::readAll(file) == oldBytes);
        QCOMPARE(folder.entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot), QStringList{"5C.prf"});
    }
};

QTEST_GUILESS_MAIN(TestFileWriter)
#include "TestFileWriter.moc"

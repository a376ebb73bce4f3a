#include "ClassWindows.h"
#include "FakeSeams.h"
#include "TestFiles.h"
#include "classbook/EarlierVersions.h"
#include "classbook/MDIChild.h"
#include "common/StringGrid.h"

#include <QDir>
#include <QTemporaryDir>
#include <QTest>

// The versions a save replaces: how many are kept and in which order, and a save that goes on when none can be.
class TestEarlierVersions : public QObject
{
    Q_OBJECT

    FakeSeams m_fake;
    QTemporaryDir m_dir;

private slots:
    void init() { QVERIFY(m_dir.isValid() && QDir(m_dir.path()).removeRecursively() && QDir().mkdir(m_dir.path())); }

    void saves_data()
    {
        QTest::addColumn<QByteArray>("saved"); // "v0" is the file before the first save, "-" no file
        QTest::addColumn<QByteArray>("kept");  // what .virelan/6A.prf.1 to .6 then hold
        QTest::newRow("a new file replaces nothing") << QByteArray("-1") << QByteArray("");
        QTest::newRow("five saves, five versions") << QByteArray("012345") << QByteArray("43210");
        QTest::newRow("the sixth drops the oldest") << QByteArray("0123456") << QByteArray("54321");
        QTest::newRow("the same bytes again keep nothing") << QByteArray("0011") << QByteArray("0");
    }
    void saves()
    {
        QFETCH(QByteArray, saved);
        QFETCH(QByteArray, kept);
        const QString classFile = m_dir.filePath("6A.prf");
        if (saved[0] != '-')
            testfiles::writeAll(classFile, saved.left(1));
        for (char bytes : saved.mid(1))
            QCOMPARE(versions::writeKeeping(classFile, QByteArray(1, bytes)), QString());
        QCOMPARE(testfiles::readAll(classFile), saved.right(1));
        QByteArray found;
        for (int n = 1; n <= 6; ++n)
            if (const QString path = m_dir.filePath(".virelan/6A.prf.%1").arg(n); QFile::exists(path))
                found += testfiles::readAll(path);
        QCOMPARE(found, kept);
        QCOMPARE(QFile::exists(m_dir.filePath(".virelan")), !kept.isEmpty());
    }

    // A version that cannot be kept is told on the status bar; the class is saved all the same.
    void versionFolderRefused_data()
    {
        QTest::addColumn<bool>("readOnly"); // else a plain file stands where the folder should be
        QTest::newRow("a file named .virelan") << false;
        QTest::newRow("a read-only .virelan") << true;
    }
    void versionFolderRefused()
    {
        QFETCH(bool, readOnly);
        if (readOnly && testfiles::reranAsNobody())
            return;
        const QString classFile = m_dir.filePath("6A.prf");
        const QString folder = m_dir.filePath(".virelan");
        testfiles::writeAll(classFile, "ancien\r\n");
        if (readOnly)
            QVERIFY(QDir().mkdir(folder) && QFile::setPermissions(folder, QFile::ReadOwner | QFile::ExeOwner));
        else
            testfiles::writeAll(folder, "un fichier");
        ClassWindows windows;
        TMDIChild* window = windows.open();
        window->Charge(classFile);
        window->StringGrid1->setCell(2, 2, "12");
        window->setModified(true);
        window->Sauve();
        QVERIFY(!window->isModified());
        QVERIFY(testfiles::readAll(classFile).contains("\r\n020212\r\n"));
        const QString why =
            readOnly ? "ne peut créer le fichier " + folder + "/6A.prf.1" : "ne peut créer le dossier " + folder;
        QCOMPARE(m_fake.statusMessages, QStringList{"Version précédente de 6A.prf non conservée : " + why});
    }
};

QTEST_MAIN(TestEarlierVersions)
#include "TestEarlierVersions.moc"

#include "ClassWindows.h"
#include "FailDevice.h"
#include "FakeSeams.h"
#include "TestFiles.h"
#include "classbook/MDIChild.h"
#include "common/PlatformError.h"
#include "common/StringGrid.h"
#include "companions/PhraseList.h"
#include "companions/Planning.h"
#include "tools/Blocnotes.h"

#include <QDir>
#include <QPointer>
#include <QScopeGuard>
#include <QTemporaryDir>
#include <QTest>
#include <memory>
#include <sys/stat.h>
#include <unistd.h>

// The class file, the homework file, the notes and the phrases in every situation a folder can hold, through
// the real operations; then every byte of a save failing in turn.
class TestFileSituations : public QObject
{
    Q_OBJECT

    FakeSeams m_fake;
    std::unique_ptr<ClassWindows> m_windows;
    QPointer<TMDIChild> m_window;

    template <typename F>
    static QString errorOf(F&& operation)
    {
        try {
            operation();
        } catch (const PlatformError& error) {
            return error.message();
        }
        return {};
    }

private slots:
    void init()
    {
        m_windows = std::make_unique<ClassWindows>();
        m_window = m_windows->open();
        m_fake.messages.clear();
    }
    void cleanup()
    {
        if (m_window)
            m_window->setModified(false);
        m_windows.reset();
    }

    void situations_data()
    {
        QTest::addColumn<QString>("file");      // prf, prd, nte or obs
        QTest::addColumn<QString>("situation"); // what the folder holds under the file's name
        QTest::addColumn<bool>("openFails");    // loading reports "Ne peut ouvrir le fichier"
        QTest::addColumn<bool>("createFails");  // saving reports "Ne peut créer le fichier"
        QTest::addColumn<bool>("written");      // the file then holds the change
        const auto row = [](const char* file, const char* situation, bool openFails, bool createFails, bool written) {
            QTest::addRow("%s %s", file, situation) << file << situation << openFails << createFails << written;
        };
        for (const char* file : {"prf", "prd", "nte", "obs"}) {
            row(file, "missing", false, false, true);
            row(file, "read-only", false, true, false);
            row(file, "read-only folder", false, false, true);
            row(file, "link", false, false, true);
            row(file, "group and mode", false, false, true);
            row(file, "stale temporary", false, false, true);
        }
        row("prf", "upper case", false, false, true);
        row("prd", "upper case", false, false, true);
        // A class file that cannot be read is forgotten: saving asks for a name (cancelled here).
        row("prf", "unreadable", true, false, false);
        for (const char* file : {"prd", "nte", "obs"})
            for (const char* situation : {"unreadable", "folder", "pipe"})
                row(file, situation, true, true, false);
    }

    void situations()
    {
        QFETCH(QString, file);
        QFETCH(QString, situation);
        QFETCH(bool, openFails);
        QFETCH(bool, createFails);
        QFETCH(bool, written);
        const auto is = [&](const char* s) { return situation == QLatin1String(s); };
        const std::map<QString, mode_t> modes = {{"read-only", 0444}, {"unreadable", 0200}, {"group and mode", 0640}};
        if ((modes.count(situation) || is("read-only folder")) && testfiles::reranAsNobody())
            return;
        gid_t groups[8];
        const int groupCount = ::getgroups(8, groups);
        const gid_t group = groupCount > 0 ? groups[groupCount - 1] : ::getegid();
        if (is("group and mode") && group == ::getegid() && ::geteuid() != 0)
            QSKIP("the user belongs to no second group");

        QTemporaryDir dir;
        const QString classFile = dir.filePath(is("upper case") ? "5C.PRF" : "5C.prf");
        const QString name = file == QLatin1String("prf")   ? classFile
                             : file == QLatin1String("prd") ? dir.filePath(is("upper case") ? "5C.PRD" : "5C.prd")
                                                            : dir.filePath(QStringLiteral("Virelan.") + file);
        const QString fileName = QFileInfo(name).fileName();
        const QByteArray bytes = QFile::encodeName(name);
        const QByteArray old = "ancien\r\n";
        if (name != classFile)
            testfiles::writeAll(classFile, old);
        // Names like the writer's temporaries that are not: they are the user's and stay.
        const QStringList lookalikes = {fileName + ".virelan-Ab3dE9", "." + fileName + ".virelan-Ab3dE",
                                        fileName + "~"};
        if (is("link")) {
            testfiles::writeAll(dir.filePath("real/" + fileName), old);
            QVERIFY(QFile::link("real/" + fileName, name));
        } else if (is("folder")) {
            QVERIFY(QDir().mkdir(name));
        } else if (is("pipe")) {
            QCOMPARE(::mkfifo(bytes.constData(), 0644), 0);
        } else if (!is("missing")) {
            testfiles::writeAll(name, old);
        }
        if (modes.count(situation))
            QCOMPARE(::chmod(bytes.constData(), modes.at(situation)), 0);
        if (is("group and mode"))
            QCOMPARE(::chown(bytes.constData(), static_cast<uid_t>(-1), group), 0);
        if (is("stale temporary"))
            for (const QString& made : lookalikes + QStringList{"." + fileName + ".virelan-Ab3dE9"})
                testfiles::writeAll(dir.filePath(made), "x");
        const QByteArray folder = QFile::encodeName(dir.path());
        QCOMPARE(::chmod(folder.constData(), is("read-only folder") ? 0555 : 0755), 0);
        const auto restoreFolder = qScopeGuard([&] { ::chmod(folder.constData(), 0755); });

        TBlocnotes notes;
        PhraseList phrases;
        const QString opened = errorOf([&] {
            if (file == QLatin1String("nte"))
                notes.Charge(name);
            else if (file == QLatin1String("obs"))
                phrases.load(name);
            else
                m_window->Charge(classFile);
        });
        const QString saved = errorOf([&] {
            if (file == QLatin1String("prf")) {
                m_window->StringGrid1->setCell(2, 2, QStringLiteral("nouveau"));
                m_window->setModified(true);
                m_window->Sauve();
            } else if (file == QLatin1String("prd")) {
                m_window->ListeDevoirs()[0] = QStringLiteral("12/03/2001nouveau");
                m_window->SauveTout();
            } else if (file == QLatin1String("nte")) {
                notes.setText(QStringLiteral("nouveau"));
                notes.setModified(true);
                notes.Sauve(name);
            } else {
                phrases.append(QStringLiteral("nouveau"));
                phrases.save(name);
            }
        });
        QCOMPARE(opened, openFails ? QStringLiteral("Ne peut ouvrir le fichier ") + name : QString());
        QCOMPARE(saved, createFails ? QStringLiteral("Ne peut créer le fichier ") + name : QString());

        if (is("unreadable"))
            QCOMPARE(::chmod(bytes.constData(), 0600), 0);
        struct stat st = {};
        QCOMPARE(::stat(bytes.constData(), &st), 0);
        const QByteArray now = S_ISREG(st.st_mode) ? testfiles::readAll(name) : QByteArray();
        QCOMPARE(now.contains("nouveau"), written);
        if (!written && S_ISREG(st.st_mode))
            QCOMPARE(now, old);
        if (modes.count(situation) && !is("unreadable"))
            QCOMPARE(st.st_mode & 07777, modes.at(situation));
        if (is("group and mode"))
            QCOMPARE(st.st_gid, group);
        QCOMPARE(QFileInfo(name).isSymLink(), is("link"));
        QCOMPARE(S_ISDIR(st.st_mode), is("folder"));
        QCOMPARE(S_ISFIFO(st.st_mode), is("pipe"));
        // Nothing else appears in the folder: no file under another case, no temporary file.
        QStringList expected = QStringList{fileName, QFileInfo(classFile).fileName()};
        if (is("link"))
            expected << "real";
        if (is("stale temporary"))
            expected << lookalikes;
        // A class file replaced by a save is kept as a version, with the class file's mode and group.
        if (file == QLatin1String("prf") && written && !is("missing") && !is("read-only folder")) {
            expected << ".virelan";
            QCOMPARE(::stat(QFile::encodeName(dir.filePath(".virelan/" + fileName + ".1")).constData(), &st), 0);
            if (is("group and mode"))
                QVERIFY((st.st_mode & 07777) == 0640 && st.st_gid == group);
        }
        expected.removeDuplicates();
        expected.sort();
        QCOMPARE(QDir(dir.path())
                     .entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot, QDir::Name),
                 expected);
    }

    void failingDisk_data()
    {
        QTest::addColumn<QString>("extension");
        QTest::addColumn<bool>("sharedFolder"); // written in place: the folder cannot be written
        QTest::newRow("class") << ".prf" << false;
        QTest::newRow("homework") << ".prd" << false;
        QTest::newRow("planning") << ".prp" << false;
        QTest::newRow("class in a shared folder") << ".prf" << true;
    }

    // A file the program wrote is replaced by a changed one through a disk that takes 0, 1, 2... bytes until the
    // write goes through: until then every close shows the error and keeps the window, its data and its flag.
    void failingDisk()
    {
        QFETCH(QString, extension);
        QFETCH(bool, sharedFolder);
        if (sharedFolder && testfiles::reranAsNobody())
            return;
        QTemporaryDir dir;
        const QString classFile = dir.filePath(QStringLiteral("5C.prf"));
        const QString target = dir.filePath(QStringLiteral("5C") + extension);
        QByteArray students;
        for (int n = 1; n <= 20; ++n)
            students +=
                QStringLiteral("%1%2\r\n%1%3\r\n").arg(n + 1, 2, 16, QChar('0')).arg("21Eleve", "0214,5").toLatin1();
        testfiles::writeAll(classFile, students);
        m_window->Charge(classFile);
        const bool classRow = extension == QLatin1String(".prf");
        const auto change = [&](const QString& text) {
            if (classRow) {
                m_window->StringGrid1->setCell(2, 2, text);
                m_window->setModified(true);
            } else if (extension == QLatin1String(".prd")) {
                m_window->ListeDevoirs().fill(QStringLiteral("01/01/1990") + text);
            } else {
                m_windows->shared().Planning->MajPrj(1, text);
            }
        };
        change(QStringLiteral("16"));
        m_window->Sauve();
        m_window->SauveTout();
        const QByteArray old = testfiles::readAll(target);
        const QByteArray folder = QFile::encodeName(dir.path());
        QCOMPARE(::chmod(folder.constData(), sharedFolder ? 0555 : 0755), 0);
        const auto restoreFolder = qScopeGuard([&] { ::chmod(folder.constData(), 0755); });
        change(QStringLiteral("17,5"));
        m_window->storeVisiblePage();
        const ClassTable table = m_window->table();
        const std::array<QString, 21> homework = m_window->ListeDevoirs();

        qint64 limit = 0;
        for (;; ++limit) {
            FailingWrites disk(limit);
            m_fake.messages.clear();
            // "&Oui" to saving a changed class, then "OK" to the error; or "OK", then "&Non" to leaving without a file.
            m_fake.messageAnswers = {0, classRow ? 0 : 1};
            if (m_window->close())
                break;
            QCOMPARE(testfiles::readAll(target), old);
            QCOMPARE(m_fake.messages.value(classRow ? 1 : 0).text,
                     QStringLiteral("Ne peut créer le fichier ") + target);
            QCOMPARE(m_window->table(), table);
            QCOMPARE(m_window->ListeDevoirs(), homework);
            QCOMPARE(m_window->isModified(), classRow);
            QCOMPARE(m_windows->shared().Planning->isModified(), extension == QLatin1String(".prp"));
        }
        // The write went through once the disk took every byte of the file.
        QCOMPARE(limit, testfiles::readAll(target).size());
        QVERIFY(testfiles::readAll(target) != old);
    }
};

QTEST_MAIN(TestFileSituations)
#include "TestFileSituations.moc"

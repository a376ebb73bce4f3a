#include "ClassWindows.h"
#include "FakeSeams.h"
#include "Rows.h"
#include "TestFiles.h"
#include "classbook/MDIChild.h"
#include "companions/Plan.h"
#include "companions/Planning.h"
#include "core/FileWriter.h"
#include "core/TextFile.h"
#include "model/EarlierVersions.h"
#include "model/PhraseList.h"
#include "tools/Blocnotes.h"
#include "widgets/StringGrid.h"

#include <QDir>
#include <QProcess>
#include <QSet>
#include <csignal>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// While it lives, every file the program writes goes to a disk that takes `limit` bytes (all when negative), and
// the process is killed at the step of the write named ("opened", "written", "synced", "renamed" or "linked"), or
// at the step of that number counting every write from 1.
struct Disk : filewriter::Probe
{
    Disk(qint64 limit, const QString& killAt = {}) : limit(limit), killAt(killAt) { filewriter::setProbe(this); }
    ~Disk() override { filewriter::setProbe(nullptr); }
    std::unique_ptr<QIODevice> device(QIODevice& file) override
    {
        return limit < 0 ? nullptr : testfiles::fillingDisk(file, limit);
    }
    void reached(filewriter::Step step) override
    {
        if (killAt == QStringList{"opened", "written", "synced", "renamed", "linked"}[int(step)] ||
            killAt == QString::number(++count))
            std::raise(SIGKILL);
    }
    qint64 limit;
    QString killAt;
    int count = 0;
};

// Runs the current test function and data row again in a child process with the variable set, which kills itself
// at some step; whether it was killed.
bool killedChild(const char* variable, const QString& value)
{
    QProcess child;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(variable, value);
    child.setProcessEnvironment(environment);
    child.setProcessChannelMode(QProcess::MergedChannels);
    child.start(QCoreApplication::applicationFilePath(),
                {QStringLiteral("%1:%2").arg(QTest::currentTestFunction(), QTest::currentDataTag())});
    child.waitForFinished(60000);
    if (child.exitStatus() == QProcess::CrashExit)
        return true;
    if (child.exitCode() != 0)
        QTest::qFail(child.readAll().constData(), __FILE__, __LINE__);
    return false;
}

} // namespace

// The class file, the homework file, the notes and the phrases in every situation a folder can hold, through the
// real operations; a save through a disk that fails at every byte or a process killed at every step; the versions
// a save keeps.
class TestFileSituations : public QObject
{
    Q_OBJECT

    // A folder for each case: a file this run could not read is never written.
    std::optional<ClassWindows> m_windows;
    QPointer<TMDIChild> m_window;
    QString path(const QString& name) const { return m_windows->path(name); }
    // A folder shared by a team, which the user may not write, until cleanup.
    void shareFolder() { QFile::setPermissions(m_windows->folder(), QFile::ReadOwner | QFile::ExeOwner); }

private slots:
    void init()
    {
        m_windows.emplace();
        m_window = m_windows->open();
    }
    void cleanup()
    {
        QFile::setPermissions(m_windows->folder(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        m_windows.reset();
    }

    // The file (prf, prd, nte or obs) and what the folder holds under its name.
    void situations_data()
    {
        QStringList list = {"prf upper case", "prd upper case"};
        for (const char* file : {"prf", "prd", "nte", "obs"})
            for (const char* situation :
                 {"missing", "read-only", "read-only folder", "link", "group and mode", "unreadable", "folder", "pipe"})
                list << QString(file) + ' ' + situation;
        rows::add(list);
    }
    void situations()
    {
        const QString file = rows::fields()[0].section(' ', 0, 0), situation = rows::fields()[0].section(' ', 1);
        const auto is = [&](const char* s) { return situation == QLatin1String(s); };
        const std::map<QString, mode_t> modes = {{"read-only", 0444}, {"unreadable", 0200}, {"group and mode", 0640}};
        if ((modes.count(situation) || is("read-only folder")) && testfiles::reranAsNobody())
            return;
        gid_t groups[8];
        const int groupCount = ::getgroups(8, groups);
        const gid_t group = groupCount > 0 ? groups[groupCount - 1] : ::getegid();
        if (is("group and mode") && group == ::getegid() && ::geteuid() != 0)
            QSKIP("the user belongs to no second group");
        const QString classFile = path(is("upper case") ? "5C.PRF" : "5C.prf");
        const QString name = file == "prf"   ? classFile
                             : file == "prd" ? path(is("upper case") ? "5C.PRD" : "5C.prd")
                                             : path("Virelan." + file);
        const QString fileName = QFileInfo(name).fileName();
        const QByteArray bytes = QFile::encodeName(name), old = "ancien\r\n";
        if (name != classFile)
            testfiles::writeAll(classFile, old);
        if (is("link")) {
            testfiles::writeAll(path("real/" + fileName), old);
            QVERIFY(QFile::link("real/" + fileName, name));
        } else if (is("folder") || is("pipe")) {
            QVERIFY(is("folder") ? QDir().mkdir(name) : ::mkfifo(bytes.constData(), 0644) == 0);
        } else if (!is("missing")) {
            testfiles::writeAll(name, old);
        }
        if (modes.count(situation))
            QCOMPARE(::chmod(bytes.constData(), modes.at(situation)), 0);
        if (is("group and mode"))
            QCOMPARE(::chown(bytes.constData(), static_cast<uid_t>(-1), group), 0);
        if (is("read-only folder"))
            shareFolder();

        TBlocnotes notes;
        PhraseList phrases;
        const QString opened = testfiles::errorOf([&] {
            file == "nte" ? notes.Charge(name) : file == "obs" ? phrases.load(name) : m_window->Charge(classFile);
        });
        m_window->grid()->setCell(2, 2, QStringLiteral("nouveau"));
        m_window->setModified(file == "prf");
        m_window->document().store([&](ClassContents& contents) {
            contents.homework[0] = file == "prd" ? QStringLiteral("12/03/2001nouveau") : QString();
        });
        notes.setText(QStringLiteral("nouveau"));
        notes.setModified(true);
        phrases.append(QStringLiteral("nouveau"));
        const QString saved = testfiles::errorOf([&] {
            file == "prf"   ? m_window->Sauve()
            : file == "prd" ? m_window->SauveTout()
            : file == "nte" ? notes.Sauve(name)
                            : phrases.save(name);
        });
        // A file that cannot be read is never written over; a class file that cannot be read is forgotten, and
        // saving it asks for a name (cancelled here).
        const bool unread = is("unreadable") || is("folder") || is("pipe"), written = !unread && !is("read-only");
        QCOMPARE(opened, unread ? "Ne peut ouvrir le fichier " + name : QString());
        QCOMPARE(saved, written || (unread && file == "prf") ? QString() : "Ne peut créer le fichier " + name);

        if (is("unreadable"))
            QCOMPARE(::chmod(bytes.constData(), 0600), 0);
        struct stat st = {};
        QCOMPARE(::stat(bytes.constData(), &st), 0);
        const QByteArray now = S_ISREG(st.st_mode) ? testfiles::readAll(name) : QByteArray();
        QCOMPARE(now.contains("nouveau"), written);
        QVERIFY(written || !S_ISREG(st.st_mode) || now == old);
        if (modes.count(situation) && !is("unreadable"))
            QCOMPARE(st.st_mode & 07777, modes.at(situation));
        if (is("group and mode"))
            QCOMPARE(st.st_gid, group);
        QCOMPARE(QFileInfo(name).isSymLink(), is("link"));
        // Nothing else appears in the folder: no file under another case, no temporary file; a class file replaced
        // by a save is kept as a version, with the class file's mode and group.
        QStringList expected = {fileName, QFileInfo(classFile).fileName()};
        if (is("link"))
            expected << "real";
        if (file == "prf" && written && !is("missing") && !is("read-only folder")) {
            expected << ".virelan";
            QCOMPARE(::stat(QFile::encodeName(path(".virelan/" + fileName + ".1")).constData(), &st), 0);
            QVERIFY(!is("group and mode") || ((st.st_mode & 07777) == 0640 && st.st_gid == group));
        }
        expected.removeDuplicates();
        expected.sort();
        QCOMPARE(QDir(m_windows->folder())
                     .entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot, QDir::Name),
                 expected);
    }

    // Classes whose names hold dots beside other classes, opened, changed (a mark, the homework, the planning) and
    // saved: the files in the folder, each holding its own name | the class opened | the files whose texts the
    // window then shows | the files written, every other file keeping its bytes.
    void dottedNames_data()
    {
        rows::add({
            "two dots, saved to its own name | 6e.1.prf 6e.2.prf 6e.prf 6e.prd 6e.prc 6e.prp | 6e.1.prf | 6e.1.prf"
            " | 6e.1.prf 6e.1.prd 6e.1.prp",
            "files older versions named after it are read | 6e.1.prf 6e.prd 6e.prc 6e.PRP | 6e.1.prf"
            " | 6e.1.prf 6e.prd 6e.prc 6e.PRP | 6e.1.prf 6e.1.prd 6e.1.prp",
            "its own files before older ones | 6e.1.prf 6e.1.PRD 6e.prd 6e.prp | 6e.1.prf | 6e.1.prf 6e.1.PRD 6e.prp"
            " | 6e.1.prf 6e.1.PRD 6e.1.prp",
            "older files of another class are not its | 6e.1.prf 6e.PRF 6e.prd | 6e.1.prf | 6e.1.prf"
            " | 6e.1.prf 6e.1.prd 6e.1.prp",
            "a name without .prf is kept whole | 6e.1.txt 6e.prd | 6e.1.txt | 6e.1.txt 6e.prd"
            " | 6e.1.txt 6e.1.txt.prd 6e.1.txt.prp",
        });
    }
    void dottedNames()
    {
        const QStringList files = rows::fields()[1].split(' '), written = rows::fields()[4].split(' ');
        const QString opened = path(rows::fields()[2]);
        const auto bytesOf = [](const QString& file) {
            const int kind = QStringList{".prd", ".prc", ".prp"}.indexOf(file.right(4).toLower()) + 1;
            return (QStringList{"\r\n0221%1", "01/01/2001%1", "%1,200,180,100,25", "PRJ1%1"}[kind].arg(file) + "\r\n")
                .toLatin1();
        };
        for (const QString& file : files)
            testfiles::writeAll(path(file), bytesOf(file));
        TPlanning& planning = *m_windows->shared().Planning;
        const SeatingPlan& plan = m_windows->shared().Plan->plan();
        m_window->Charge(opened);
        QStringList read = {m_window->table().at(1, ClassTable::Surname), m_window->ListeDevoirs()[0].mid(10),
                            plan.count() ? plan.desks()[0].name : "", planning.list().projectName(1).value_or("")};
        read.removeAll("");
        QCOMPARE(read, rows::fields()[3].split(' '));

        m_window->grid()->setCell(2, 2, "nouveau");
        m_window->setModified(true);
        m_window->document().store([](ClassContents& contents) { contents.homework[0] = "01/01/2001nouveau"; });
        planning.MajPrj(1, "nouveau");
        m_window->Sauve();
        m_window->SauveTout();
        QCOMPARE(m_window->fileName(), opened);
        for (const QString& file : files + written) {
            const QByteArray now = testfiles::readAll(path(file));
            QVERIFY2(written.contains(file) ? now.contains("nouveau") : now == bytesOf(file), qPrintable(file));
        }
        QStringList all = files + written + QStringList{".virelan"};
        all.removeDuplicates();
        all.sort();
        QCOMPARE(
            QDir(m_windows->folder()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot, QDir::Name),
            all);
    }

    // A file the program wrote is replaced by a changed one through a disk that takes 0, 1, 2... bytes until the
    // write goes through: until then every close shows the error and keeps the window, its data and its flag.
    void failingDisk_data()
    {
        rows::add({"class | 5C.prf", "homework | 5C.prd", "planning | 5C.prp", "class in a shared folder | 5C.prf"});
    }
    void failingDisk()
    {
        const bool shared = rows::fields()[0].contains("shared");
        if (shared && testfiles::reranAsNobody())
            return;
        const QString target = path(rows::fields()[1]);
        const bool classRow = target.endsWith(".prf");
        QByteArray students;
        for (int n = 1; n <= 20; ++n)
            students +=
                QStringLiteral("%1%2\r\n%1%3\r\n").arg(n + 1, 2, 16, QChar('0')).arg("21Eleve", "0214,5").toLatin1();
        testfiles::writeAll(path("5C.prf"), students);
        m_window->Charge(path("5C.prf"));
        const auto change = [&](const QString& text) {
            if (classRow) {
                m_window->grid()->setCell(2, 2, text);
                m_window->setModified(true);
            } else if (target.endsWith(".prd")) {
                m_window->document().store(
                    [&](ClassContents& contents) { contents.homework.fill("01/01/1990" + text); });
            } else {
                m_windows->shared().Planning->MajPrj(1, text);
            }
        };
        change("16");
        m_window->Sauve();
        m_window->SauveTout();
        const QByteArray old = testfiles::readAll(target);
        if (shared)
            shareFolder();
        change("17,5");
        m_window->storeVisiblePage();
        const ClassTable table = m_window->table();
        const std::array<QString, 21> homework = m_window->ListeDevoirs();
        qint64 limit = 0;
        for (;; ++limit) {
            Disk disk(limit);
            m_windows->fake().messages.clear();
            // "&Oui" to saving a changed class, then "OK" to the error; or "OK", then "&Non" to leaving without a file.
            m_windows->fake().messageAnswers = {0, classRow ? 0 : 1};
            if (m_window->close())
                break;
            QCOMPARE(testfiles::readAll(target), old);
            QCOMPARE(m_windows->fake().messages.value(classRow ? 1 : 0).text, "Ne peut créer le fichier " + target);
            QCOMPARE(m_window->table(), table);
            QCOMPARE(m_window->ListeDevoirs(), homework);
            QCOMPARE(m_window->isModified(), classRow);
            QCOMPARE(m_windows->shared().Planning->isModified(), target.endsWith(".prp"));
        }
        // The write went through once the disk took every byte of the file.
        QCOMPARE(limit, testfiles::readAll(target).size());
        QVERIFY(testfiles::readAll(target) != old);
    }

    // A save killed at any of its steps leaves the old file or the new one, whole, and the next save leaves nothing
    // of it behind; names like the writer's temporaries that are not its own stay.
    void killedSave_data() { rows::add({"opened", "written", "synced", "renamed"}); }
    void killedSave()
    {
        const QString step = rows::fields()[0];
        if (const QString file = qEnvironmentVariable("KILLED_SAVE"); !file.isEmpty()) {
            Disk disk(-1, step);
            textfile::writeBytes(file, QByteArray(500000, 'n'));
            return;
        }
        const QStringList names = {".5C.prf.virelan-Ab3dE", "5C.prf", "5C.prf.virelan-Ab3dE9", "5C.prf~"};
        for (const QString& name : names)
            testfiles::writeAll(path(name), "x");
        textfile::writeBytes(path("5C.prf"), QByteArray(500000, 'o'));
        QVERIFY(killedChild("KILLED_SAVE", path("5C.prf")));
        QVERIFY(testfiles::readAll(path("5C.prf")) == QByteArray(500000, step == "renamed" ? 'n' : 'o'));
        textfile::writeBytes(path("5C.prf"), QByteArray(500000, 'o'));
        QCOMPARE(QDir(m_windows->folder()).entryList(QDir::Files | QDir::Hidden), names);
    }

    // The bytes of each save ("0" the file before the first, "-" none), what .virelan/6A.prf.1 to .6 then hold,
    // and what they held before ("-" none, "_" an empty file).
    void versions_data()
    {
        rows::add({"a new file replaces nothing | -1 | ", "five saves, five versions | 012345 | 43210",
                   "the sixth drops the oldest | 0123456 | 54321", "the same bytes again keep nothing | 0011 | 0",
                   "holes and empty files left by older runs are mended | 01 | 0ac | a-_-c"});
    }
    void versions()
    {
        const QByteArray saved = rows::fields()[1].toLatin1(), kept = rows::fields()[2].toLatin1();
        const QByteArray before = rows::fields().value(3).toLatin1();
        for (int n = 1; n <= before.size(); ++n)
            if (before[n - 1] != '-')
                testfiles::writeAll(path(".virelan/6A.prf.%1").arg(n), QByteArray(1, before[n - 1]).replace('_', ""));
        if (saved[0] != '-')
            testfiles::writeAll(path("6A.prf"), saved.left(1));
        for (char bytes : saved.mid(1))
            QCOMPARE(versions::writeKeeping(path("6A.prf"), QByteArray(1, bytes)), QString());
        QCOMPARE(testfiles::readAll(path("6A.prf")), saved.right(1));
        QByteArray found;
        for (int n = 1; n <= 6; ++n) {
            const QByteArray version = testfiles::readAll(path(".virelan/6A.prf.%1").arg(n));
            found += version == "<missing>" ? "-" : version.isEmpty() ? "_" : version;
        }
        while (found.endsWith('-'))
            found.chop(1);
        QCOMPARE(found, kept);
        QCOMPARE(QFile::exists(path(".virelan")), !kept.isEmpty());
    }

    // A version that cannot be kept is told on the status bar; the class is saved all the same. The folder made for
    // a class root saves for another user is that user's.
    void versionFolder_data()
    {
        rows::add({"a file named .virelan", "a read-only .virelan", "a class of nobody's saved by root"});
    }
    void versionFolder()
    {
        const bool readOnly = rows::fields()[0].contains("read-only"), root = rows::fields()[0].contains("root");
        if (readOnly && testfiles::reranAsNobody())
            return;
        if (root && ::geteuid() != 0)
            QSKIP("only root saves another user's class");
        testfiles::writeAll(path("6A.prf"), "ancien\r\n");
        const passwd* nobody = ::getpwnam("nobody");
        if (root)
            QCOMPARE(::chown(QFile::encodeName(path("6A.prf")).constData(), nobody->pw_uid, nobody->pw_gid), 0);
        else if (readOnly)
            QVERIFY(QDir().mkdir(path(".virelan")) &&
                    QFile::setPermissions(path(".virelan"), QFile::ReadOwner | QFile::ExeOwner));
        else
            testfiles::writeAll(path(".virelan"), "un fichier");
        m_window->Charge(path("6A.prf"));
        m_window->grid()->setCell(2, 2, "12");
        m_window->setModified(true);
        m_window->Sauve();
        QVERIFY(!m_window->isModified());
        QVERIFY(testfiles::readAll(path("6A.prf")).contains("\r\n020212\r\n"));
        for (const char* made : {".virelan", ".virelan/6A.prf.1"})
            if (root)
                QCOMPARE(std::pair(QFileInfo(path(made)).ownerId(), QFileInfo(path(made)).groupId()),
                         std::pair(nobody->pw_uid, nobody->pw_gid));
        const QString why = readOnly ? "ne peut créer le fichier " + path(".virelan/6A.prf.1")
                                     : "ne peut créer le dossier " + path(".virelan");
        QCOMPARE(m_windows->fake().statusMessages,
                 root ? QStringList() : QStringList{"Version précédente de 6A.prf non conservée : " + why});
    }

    // A save killed at each of its steps in turn, over the class file "0" and versions 1, 2...: the class file is
    // whole, the class it replaces is the class file or version 1, and versions 1 to n are earlier saves, newest first, without a hole or an empty file, at worst two equal
    // neighbours; each of those states is met, and the next save leaves no temporary file behind.
    void killedVersions_data()
    {
        rows::add(
            {"five versions | 012345 | 01234 11234 12234 12334 12344 12345", "two versions | 012 | 012 112 122 12"});
    }
    void killedVersions()
    {
        const QByteArray history = rows::fields()[1].toLatin1();
        const auto bytes = [](char c) { return QByteArray(100000, c); };
        if (const QString step = qEnvironmentVariable("KILL_AT_STEP"); !step.isEmpty()) {
            Disk disk(-1, step.section(' ', 0, 0));
            versions::writeKeeping(step.section(' ', 1), bytes('n'));
            return;
        }
        const QDir folder(path(".virelan"));
        QStringList met;
        for (int kill = 1; kill < 50; ++kill) {
            QVERIFY(QDir(folder).removeRecursively());
            for (int n = 0; n < history.size(); ++n)
                testfiles::writeAll(n ? folder.filePath("6A.prf.%1").arg(n) : path("6A.prf"), bytes(history[n]));
            if (!killedChild("KILL_AT_STEP", QString::number(kill) + ' ' + path("6A.prf")))
                break;
            const QByteArray before = testfiles::readAll(path("6A.prf"));
            QVERIFY(before == bytes(history[0]) || before == bytes('n'));
            QString kept;
            for (const QString& name : folder.entryList(QDir::Files, QDir::Name)) {
                const QByteArray version = testfiles::readAll(folder.filePath(name));
                kept += version.isEmpty() ? '_' : version.front();
                QVERIFY(name == "6A.prf." + QString::number(kept.size()) && version == bytes(kept.back().toLatin1()));
            }
            met << kept;
            // The class the save replaces is never lost: still the class file, or version 1.
            QVERIFY(before == bytes(history[0]) || kept.startsWith(QLatin1Char(history[0])));
            QCOMPARE(versions::writeKeeping(path("6A.prf"), bytes('p')), QString());
            QCOMPARE(testfiles::readAll(folder.filePath("6A.prf.1")), before);
            QCOMPARE(folder.entryList(QDir::Files | QDir::Hidden), folder.entryList(QDir::Files));
        }
        const QStringList states = rows::fields()[2].split(' ');
        QCOMPARE(QSet<QString>(met.begin(), met.end()), QSet<QString>(states.begin(), states.end()));
    }
};

QTEST_MAIN(TestFileSituations)
#include "TestFileSituations.moc"

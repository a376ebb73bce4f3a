#include "TestFiles.h"
#include "core/FileWriter.h"
#include "model/ClassDocument.h"
#include "model/RecoverySlot.h"
#include "model/RecoveryStore.h"
#include "model/SeatingPlan.h"

#include <QDir>
#include <QProcess>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <csignal>

// Recovery after a crash: what a run did before it was killed (in a process of its own, killed for real), and
// what the next start is offered. Class files are written by hand from the layout.
namespace {

const QByteArray Header = "0C0" + QByteArray("020").repeated(30) + "\r\n";
// The class on disk before the run: student 1's first mark is 10.
const QByteArray OnDisk = Header + "020210\r\n";

// What a window holds: its caption.
struct Caption : ClassDocument::View
{
    void storeInto(ClassContents&) const override {}
    QString caption() const override { return QStringLiteral("6A.prf"); }
};

// Kills the process at the step of the nth write from the moment it is armed (0: never).
struct KillAt : filewriter::Probe
{
    filewriter::Step step = filewriter::Step::Synced;
    int writes = 0;
    bool firing = false;
    void reached(filewriter::Step s) override
    {
        if (s == filewriter::Step::Opened && writes > 0)
            firing = --writes == 0;
        if (firing && s == step)
            std::raise(SIGKILL);
    }
};

void settle(RecoveryStore& store)
{
    for (int i = 0; i < 5; ++i) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
        store.flush();
    }
}

void mark(ClassDocument& document, const QString& text)
{
    document.change([text](ClassContents& contents) { contents.table.at(1, 2) = text; });
}

// The run killed: a store of its own in the recovery folder, the class 6A in the class folder.
[[noreturn]] void killedRun(const QString& scenario, const QString& recoveryFolder, const QString& classes)
{
    RecoveryStore store(recoveryFolder);
    store.setDelayMs(0);
    SeatingPlan plan;
    SharedCompanion plans(".prc", plan, {});
    Caption caption;
    auto document = std::make_unique<ClassDocument>(SharedCompanions{nullptr, &plans});
    document->setView(&caption);
    document->keepRecoveryCopies(store);
    if (scenario != "never saved")
        document->load(classes + "/6A.prf");
    // Open elsewhere, or a kept version: its copy must never bring it back under its file's name.
    document->setReadOnly(scenario == "read-only");
    // Synced, the copy has not replaced the one before yet.
    KillAt kill;
    filewriter::setProbe(&kill);
    if (scenario == "killed writing the first")
        kill.writes = 1;
    if (scenario == "plan shown") {
        // The plan shown for the class, changed, and the run killed before the window closes.
        plans.showing(document.get(), classes + "/6A.prf");
        plan.add("Martin");
        plans.tellEdited();
    } else {
        mark(*document, "14");
    }
    settle(store);
    if (scenario == "saved")
        document->save();
    if (scenario == "closed")
        document.reset();
    if (scenario == "killed writing again") {
        kill.writes = 1;
        mark(*document, "15");
    }
    settle(store);
    std::raise(SIGKILL);
    std::abort();
}

// Each orphan as "<file>:<student 1's first mark>[:plan]"; "Sans nom" for a class never saved.
QString describe(const QList<RecoveryStore::Orphan>& orphans)
{
    QStringList out;
    for (const RecoveryStore::Orphan& orphan : orphans) {
        ClassTable table;
        classfile::read(orphan.copy.classFile, table);
        out << recovery::listed(orphan.copy).name + ":" + table.at(1, 2) + (orphan.copy.plan ? ":plan" : "");
    }
    return out.join(' ');
}

} // namespace

class TestRecovery : public QObject
{
    Q_OBJECT

    std::optional<QTemporaryDir> m_dir;
    QString recoveryFolder() const { return m_dir->filePath("recovery"); }
    QString classes() const { return m_dir->filePath("classes"); }
    QString copyOf(const QList<RecoveryStore::Orphan>& orphans, int i) { return orphans.value(i).path; }

    // Runs the scenario in a process of its own, killed at its end (or earlier, by the file writer's probe).
    void killed(const QString& scenario)
    {
        QProcess run;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("RECOVERY_SCENARIO", scenario);
        env.insert("RECOVERY_FOLDER", recoveryFolder());
        env.insert("RECOVERY_CLASSES", classes());
        run.setProcessEnvironment(env);
        run.start(QCoreApplication::applicationFilePath(), {});
        QVERIFY(run.waitForFinished(20000));
        QCOMPARE(run.exitStatus(), QProcess::CrashExit);
    }

    QStringList classFolder() const
    {
        return QDir(classes()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot);
    }

private slots:
    void init()
    {
        m_dir.emplace();
        testfiles::writeAll(classes() + "/6A.prf", OnDisk);
    }

    void whatTheNextStartIsOffered_data()
    {
        QTest::addColumn<QString>("scenario");
        QTest::addColumn<QString>("damage");
        QTest::addColumn<QString>("offered");
        QTest::newRow("typed") << "typed"
                               << ""
                               << "6A.prf:14";
        QTest::newRow("never saved") << "never saved"
                                     << ""
                                     << "Sans nom:14";
        QTest::newRow("read-only class") << "read-only"
                                         << ""
                                         << "Sans nom:14";
        QTest::newRow("saved") << "saved"
                               << ""
                               << "";
        QTest::newRow("closed without saving") << "closed"
                                               << ""
                                               << "";
        QTest::newRow("plan changed, class not") << "plan shown"
                                                 << ""
                                                 << "6A.prf:10:plan";
        QTest::newRow("killed writing the first copy") << "killed writing the first"
                                                       << ""
                                                       << "";
        QTest::newRow("killed writing a later copy") << "killed writing again"
                                                     << ""
                                                     << "6A.prf:14";
        QTest::newRow("copy cut short") << "typed"
                                        << "cut"
                                        << "";
        QTest::newRow("copy with a byte changed") << "typed"
                                                  << "byte"
                                                  << "";
    }

    void whatTheNextStartIsOffered()
    {
        QFETCH(QString, scenario);
        QFETCH(QString, damage);
        QFETCH(QString, offered);
        killed(scenario);
        const QStringList copies = QDir(recoveryFolder()).entryList({"*.vlr"}, QDir::Files);
        if (!damage.isEmpty()) {
            QCOMPARE(copies.size(), 1);
            const QString copy = QDir(recoveryFolder()).filePath(copies.first());
            QByteArray bytes = testfiles::readAll(copy);
            if (damage == "cut")
                bytes.chop(1);
            else
                bytes[bytes.size() / 2] = char(bytes.at(bytes.size() / 2) ^ 1);
            testfiles::writeAll(copy, bytes);
        }
        const QStringList classFolder = this->classFolder();
        const QByteArray classFile = testfiles::readAll(classes() + "/6A.prf");
        RecoveryStore next(recoveryFolder());
        const QList<RecoveryStore::Orphan> orphans = next.claimOrphans();
        QCOMPARE(describe(orphans), offered);
        // What cannot be offered is gone, temporary files of killed writes included.
        const QStringList left = QDir(recoveryFolder()).entryList(QDir::Files | QDir::Hidden);
        QCOMPARE(left.filter(".vlr").size(), orphans.size());
        // Brought back, the class is as it was at its last change, modified, and nothing is written beside it.
        for (const RecoveryStore::Orphan& orphan : orphans) {
            SeatingPlan plan;
            SharedCompanion plans(".prc", plan, {});
            ClassDocument document({nullptr, &plans});
            document.restore(orphan.copy);
            QVERIFY(document.isModified());
            QCOMPARE(document.fileName(), orphan.copy.fileName);
            QCOMPARE(plan.modified(), bool(orphan.copy.plan));
            QCOMPARE(plan.desks().value(0).name, orphan.copy.plan ? "Martin" : "");
        }
        QCOMPARE(this->classFolder(), classFolder);
        QCOMPARE(testfiles::readAll(classes() + "/6A.prf"), classFile);
    }

    // Names that only look like a copy, a copy's temporary or an instance's lock are neither offered nor removed.
    void strangersAreLeftAlone()
    {
        killed("typed");
        const QDir folder(recoveryFolder());
        const QByteArray copy = testfiles::readAll(folder.filePath(folder.entryList({"*.vlr"}).value(0)));
        const QStringList strangers = {"0123456789ABCDEF-1.vlr",
                                       "0123456789abcde-1.vlr",
                                       "0123456789abcdef0-1.vlr",
                                       "0123456789abcdef-.vlr",
                                       "0123456789abcdef-A.vlr",
                                       "0123456789abcdef-1.vlr.bak",
                                       ".0123456789abcdef-1.vlr.virelan-abc",
                                       ".0123456789abcdef-1.vlr.virelan-abcdef.x",
                                       ".0123456789abcdef-.vlr.virelan-abcdef",
                                       "0123456789abcdeg.lock"};
        for (const QString& name : strangers)
            testfiles::writeAll(folder.filePath(name), copy);
        RecoveryStore next(recoveryFolder());
        QCOMPARE(describe(next.claimOrphans()), "6A.prf:14");
        for (const QString& name : strangers)
            QVERIFY2(QFile::exists(folder.filePath(name)), qPrintable(name));
    }

    // A copy that cannot be written is told once, and once more when copies are written again.
    void failuresAreToldOnce()
    {
        RecoveryStore store(recoveryFolder());
        store.setDelayMs(0);
        QSignalSpy failed(&store, &RecoveryStore::failed);
        ClassDocument document;
        document.keepRecoveryCopies(store);
        mark(document, "1");
        settle(store);
        const QString copy = QDir(recoveryFolder()).filePath(QDir(recoveryFolder()).entryList({"*.vlr"}).value(0));
        QVERIFY(QFile::remove(copy) && QDir().mkdir(copy));
        for (const char* text : {"2", "3"}) {
            mark(document, text);
            settle(store);
        }
        QCOMPARE(failed.size(), 1);
        QCOMPARE(failed[0][0].toString(), "Ne peut créer le fichier " + copy);
        QVERIFY(QDir().rmdir(copy));
        mark(document, "4");
        settle(store);
        QCOMPARE(failed.size(), 2);
        QCOMPARE(failed[1][0].toString(), QString());
    }

    // The copies of a running instance are never offered; those of a killed one are offered to one start only,
    // until it lets them go.
    void ownership()
    {
        RecoveryStore running(recoveryFolder());
        ClassDocument document;
        document.keepRecoveryCopies(running);
        running.setDelayMs(0);
        mark(document, "12");
        settle(running);
        killed("typed");
        RecoveryStore first(recoveryFolder()), second(recoveryFolder());
        const QList<RecoveryStore::Orphan> orphans = first.claimOrphans();
        QCOMPARE(describe(orphans), "6A.prf:14");
        QCOMPARE(describe(second.claimOrphans()), "");
        first.releaseClaims();
        QCOMPARE(describe(second.claimOrphans()), "6A.prf:14");
        // Brought back by a start, a copy is that start's own.
        ClassDocument restored;
        restored.keepRecoveryCopies(second);
        restored.adoptRecoveryCopy(copyOf(orphans, 0), orphans.value(0).copy);
        second.releaseClaims();
        QCOMPARE(describe(first.claimOrphans()), "");
        // Saved, it has no copy left; the running instance's stays its own until its clean end.
        restored.rename(classes() + "/6A.prf");
        restored.save();
        second.flush();
        QCOMPARE(QDir(recoveryFolder()).entryList({"*.vlr"}).size(), 1);
    }
};

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    if (qEnvironmentVariableIsSet("RECOVERY_SCENARIO"))
        killedRun(qEnvironmentVariable("RECOVERY_SCENARIO"), qEnvironmentVariable("RECOVERY_FOLDER"),
                  qEnvironmentVariable("RECOVERY_CLASSES"));
    TestRecovery test;
    QTEST_SET_MAIN_SOURCE_PATH
    return QTest::qExec(&test, argc, argv);
}

#include "TestRecovery.moc"

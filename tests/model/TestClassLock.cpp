#include "Rows.h"
#include "TestFiles.h"
#include "model/ClassLock.h"

#include <QDir>
#include <QProcess>
#include <QTemporaryDir>
#include <csignal>
#include <iostream>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

// The lock of a class between real processes: this test program started again holds the lock of a class file, as
// another instance of the program would, while the test takes it through one name or another.
class TestClassLock : public QObject
{
    Q_OBJECT

    std::optional<QTemporaryDir> m_dir;
    QString path(const QString& name) const { return m_dir->filePath(name); }

    // Another process holding the lock of the class file until its input closes (or it is killed).
    static std::unique_ptr<QProcess> holder(const QString& classFile)
    {
        auto child = std::make_unique<QProcess>();
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert("VIRELAN_HOLD", classFile);
        child->setProcessEnvironment(environment);
        // It holds the lock from its initTestCase, which comes first whatever it is asked to run.
        child->start(QCoreApplication::applicationFilePath(), {QTest::currentTestFunction()});
        // After the test library's own lines.
        while (child->canReadLine() || child->waitForReadyRead(10000))
            if (child->canReadLine() && child->readLine() == "held\n")
                return child;
        return nullptr;
    }

private slots:
    void initTestCase()
    {
        // The other process: takes the lock, says so, and holds it until told to end.
        if (const QString held = qEnvironmentVariable("VIRELAN_HOLD"); !held.isEmpty()) {
            ClassLock lock;
            std::cout << (lock.take(held) == ClassLock::Outcome::Taken ? "held" : "not held") << std::endl;
            std::string line;
            std::getline(std::cin, line);
            lock.release();
            std::_Exit(0);
        }
    }
    void init() { m_dir.emplace(); }

    // Who holds the lock | the name the test opens the class by | what it gets.
    void situations_data()
    {
        rows::add({"nobody | 6A.prf | taken", "another process | 6A.prf | held",
                   "another process | sub/../6A.prf | held", "another process | lien.prf | held",
                   "another process killed | 6A.prf | taken", "another process ended | 6A.prf | taken",
                   "another host | 6A.prf | held", "nobody, folder refuses | 6A.prf | refused"},
                  2);
    }
    void situations()
    {
        const QStringList row = rows::fields();
        const QString who = row[0];
        testfiles::writeAll(path("6A.prf"), "");
        QVERIFY(QDir().mkpath(path("sub")));
        QVERIFY(QFile::link(path("6A.prf"), path("lien.prf")));
        const QString lockFile = path(".6A.prf.lock");
        QCOMPARE(ClassLock::lockFileOf(path(row[1])), lockFile);

        std::unique_ptr<QProcess> other;
        if (who.startsWith("another process")) {
            other = holder(path("6A.prf"));
            QVERIFY(other);
            if (who.endsWith("killed")) {
                ::kill(pid_t(other->processId()), SIGKILL);
                QVERIFY(other->waitForFinished(10000));
            } else if (who.endsWith("ended")) {
                other->closeWriteChannel();
                QVERIFY(other->waitForFinished(10000));
            }
        } else if (who == "another host") {
            testfiles::writeAll(lockFile, "4242\nvirelan\nsalle-12\n0f0f\n1e1e\nmarie\n2024-05-13T08:15:42\n");
        } else if (who.endsWith("folder refuses")) {
            if (testfiles::reranAsNobody())
                return;
            QVERIFY(QFile::setPermissions(m_dir->path(), QFile::ReadOwner | QFile::ExeOwner));
        }

        const QDateTime before = QDateTime::currentDateTime().addSecs(-1);
        ClassLock lock;
        const QMap<QString, ClassLock::Outcome> outcomes{{"taken", ClassLock::Outcome::Taken},
                                                         {"held", ClassLock::Outcome::HeldElsewhere},
                                                         {"refused", ClassLock::Outcome::Refused}};
        QCOMPARE(lock.take(path(row[1])), outcomes[row[2]]);
        QCOMPARE(lock.isHeld(), row[2] == "taken");
        QFile::setPermissions(m_dir->path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        const std::optional<ClassLock::Holder> holder = ClassLock::holderOf(path(row[1]));
        QCOMPARE(holder.has_value(), row[2] != "refused");
        if (who == "another host") {
            QCOMPARE(ClassLock::heldMessage(path("lien.prf"), *holder),
                     "lien.prf est ouvert par marie sur salle-12 depuis le 13/05/2024 à 08:15.");
        } else if (holder) {
            // Whoever holds it is this user on this host, since a moment ago: this process or the other one.
            QCOMPARE(holder->pid, row[2] == "taken" ? QCoreApplication::applicationPid() : other->processId());
            QCOMPARE(holder->user, QString::fromLocal8Bit(::getpwuid(::geteuid())->pw_name));
            char host[256] = {};
            QCOMPARE(::gethostname(host, sizeof host), 0);
            QCOMPARE(holder->host, QString::fromLocal8Bit(host));
            QVERIFY(holder->since >= before && holder->since <= QDateTime::currentDateTime());
            QCOMPARE(ClassLock::heldMessage(path("6A.prf"), *holder),
                     QString("6A.prf est ouvert par %1 sur %2 depuis le %3.")
                         .arg(holder->user, holder->host, holder->since.toString("dd/MM/yyyy 'à' HH:mm")));
        }
        // Hidden, never among the class files; gone with the lock, and only with it.
        QCOMPARE(QFileInfo::exists(lockFile), row[2] != "refused");
        QCOMPARE(QDir(m_dir->path()).entryList({"*.prf"}, QDir::Files), QStringList({"6A.prf", "lien.prf"}));
        lock.release();
        QCOMPARE(QFileInfo::exists(lockFile), row[2] == "held");
        if (other && other->state() == QProcess::Running) {
            other->closeWriteChannel();
            QVERIFY(other->waitForFinished(10000));
            QVERIFY(!QFileInfo::exists(lockFile));
        }
    }
};

QTEST_GUILESS_MAIN(TestClassLock)
#include "TestClassLock.moc"

#include "TestFiles.h"
#include "common/PlatformError.h"
#include "companions/SeatingPlan.h"
#include "companions/SharedCompanion.h"

#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>
#include <sys/stat.h>

namespace {

// Desks are named by capital letters; "E70" stands for E1 to E70. In a file each desk is the line the
// plan writes for a desk added under that name.
QStringList desks(const QString& names)
{
    QStringList out;
    static const QRegularExpression token(QStringLiteral("([A-Z])(\\d*)"));
    for (const QRegularExpressionMatch& m : token.globalMatch(names)) {
        if (m.captured(2).isEmpty())
            out << m.captured(1);
        for (int n = 1; n <= m.captured(2).toInt(); ++n)
            out << m.captured(1) + QString::number(n);
    }
    return out;
}

QByteArray fileOf(const QString& names)
{
    QByteArray bytes;
    for (const QString& name : desks(names))
        bytes += name.toLatin1() + ",200,180,100,25\r\n";
    return bytes;
}

// Class windows 1, 2... over one folder, sharing one plan (or planning), driven by steps such as
// "load 1 6A" (window 1 loads 6A.prf), "add 2 6B X" (desk X added while shown from window 2, of class
// 6B; "-" for a class never saved), "save 1 7A", "close 1", "file 6A.prc AB", "block 6A.prc" (a folder
// stands there), "unblock 6A.prc", "pipe 5C.prc", "mkdir F", "press" (desk 1 pressed).
struct World
{
    explicit World(bool planning)
        : owners(planning ? QStringLiteral(".prp") : QStringLiteral(".prc"), plan,
                 {.takenByLoading = planning, .unreadableGivesEmpty = !planning})
    {
    }

    QString classFile(const QString& name) const { return name == "-" ? QString() : dir.filePath(name + ".prf"); }
    void step(const QString& text)
    {
        const QStringList w = text.split(QLatin1Char(' '));
        const auto cls = reinterpret_cast<SharedCompanion::ClassKey>(quintptr(w.value(1).toInt()));
        const QString file = dir.filePath(w.value(1));
        try {
            if (w[0] == "file") {
                testfiles::writeAll(file, fileOf(w[2]));
            } else if (w[0] == "load") {
                owners.load(cls, classFile(w[2]));
            } else if (w[0] == "save") {
                owners.save(cls, classFile(w[2]));
            } else if (w[0] == "close") {
                owners.closed(cls);
            } else if (w[0] == "press") {
                plan.press(1, QPoint());
            } else if (w[0] == "add") {
                owners.showing(cls, classFile(w[2]));
                plan.add(w[3]);
                owners.shown(cls, classFile(w[2]));
            } else if (w[0] == "block") {
                QFile::remove(file);
                QVERIFY(QDir().mkpath(file));
            } else if (w[0] == "unblock") {
                QVERIFY(QDir().rmdir(file));
            } else if (w[0] == "pipe") {
                QVERIFY(::mkfifo(QFile::encodeName(file).constData(), 0600) == 0);
            } else {
                QCOMPARE(w[0], QStringLiteral("mkdir"));
                QVERIFY(QDir().mkpath(file));
            }
        } catch (const PlatformError& error) {
            reports << QString(error.message()).remove(dir.path() + QLatin1Char('/'));
        }
    }
    // "-" for no file, "|" for something that is not a file.
    QByteArray contentOf(const QString& name) const
    {
        const QFileInfo info(dir.filePath(name));
        return !info.exists() ? "-" : !info.isFile() ? "|" : testfiles::readAll(info.filePath());
    }

    QTemporaryDir dir;
    SeatingPlan plan;
    SharedCompanion owners;
    QStringList reports;
};

} // namespace

// Which class the one plan or planning belongs to, and which file receives it, as a teacher goes from class
// to class: every rule is a row, with the files as they end up, the failures reported and the desks shown.
class TestSharedCompanion : public QObject
{
    Q_OBJECT

private slots:
    void rules_data()
    {
        QTest::addColumn<bool>("planning");
        QTest::addColumn<QString>("steps");
        QTest::addColumn<QString>("files");
        QTest::addColumn<QString>("reports");
        QTest::addColumn<QString>("shown");
        const auto row = [](const char* name, bool planning, const char* steps, const char* files, const char* reports,
                            const char* shown) {
            QTest::newRow(name) << planning << steps << files << QString::fromUtf8(reports) << shown;
        };
        row("changes go to their class before another class's file replaces them", false,
            "file 6A.prc A; load 1 6A; add 1 6A X; file 5B.prc B; load 2 5B", "6A.prc=AX 5B.prc=B", "", "B");
        row("a class without its own file never receives the plan it shows", false,
            "file 6A.prc A; load 1 6A; load 2 5B; add 2 5B X; save 2 5B; save 1 6A", "5B.prc=- 6A.prc=AX", "", "AX");
        row("a class saved under another name takes its plan along", false, "file 6A.prc A; load 1 6A; save 1 7A",
            "6A.prc=A 7A.prc=A", "", "A");
        row("saved under another name while open twice, it stays with the other window", false,
            "file 6A.prc A; load 1 6A; load 2 6A; save 2 7A; add 1 6A X; save 2 7A; save 1 6A", "6A.prc=AX 7A.prc=-",
            "", "AX");
        row("a class closed leaves no plan to the next", false,
            "file 6A.prc A; load 1 6A; load 2 6B; close 1; add 2 6B N; save 2 6B", "6A.prc=A 6B.prc=N", "", "N");
        row("the same class open twice keeps its planning when the window that loaded it last closes", true,
            "file S.prp A; load 1 S; load 2 S; close 2; add 1 S X; save 1 S", "S.prp=AX", "", "AX");
        row("the same class open twice keeps its planning when the other window closes", true,
            "file S.prp A; load 1 S; load 2 S; close 1; add 2 S X; save 2 S", "S.prp=AX", "", "AX");
        row("a class never saved keeps its plan when another class loads its own", false,
            "add 1 - N; file 6A.prc A; load 2 6A; save 1 -; save 1 N", "N.prc=N 6A.prc=A", "", "A");
        row("a plan of 70 desks keeps every line", false, "file 6A.prc E70; load 1 6A; press; save 1 6A", "6A.prc=E70",
            "", "E60");
        row("a write that fails is reported, and the plan stays changed", false,
            "load 1 6A; add 1 6A X; block 6A.prc; save 1 6A; unblock 6A.prc; save 1 6A", "6A.prc=X",
            "Ne peut créer le fichier 6A.prc", "X");
        row("changes that cannot be written when another class loads wait for their class", false,
            "file 6A.prc A; load 1 6A; add 1 6A X; block 6A.prc; file 5B.prc B; load 2 5B; unblock 6A.prc; "
            "save 2 5B; save 1 6A",
            "6A.prc=AX 5B.prc=B", "Ne peut créer le fichier 6A.prc", "B");
        row("changes of a class closed unwritten come back with that class", false,
            "load 1 6A; add 1 6A X; block 6A.prc; close 1; unblock 6A.prc; load 2 6A; save 2 6A", "6A.prc=X", "", "X");
        row("a plan file that cannot be read is reported, shown empty, never written over; its changes are kept", false,
            "file 6A.prc A; load 1 6A; pipe 5C.prc; load 2 5C; add 2 5C X; save 2 5C; file 4D.prc B; load 3 4D; "
            "save 2 5C",
            "5C.prc=| 6A.prc=A",
            "Ne peut ouvrir le fichier 5C.prc; Ne peut créer le fichier 5C.prc; Ne peut créer le fichier 5C.prc; "
            "Ne peut créer le fichier 5C.prc",
            "B");
        row("a planning file that cannot be read leaves the planning shown as it was", true,
            "file 6A.prp A; load 1 6A; pipe 5C.prp; load 2 5C; save 2 5C", "5C.prp=| 6A.prp=A",
            "Ne peut ouvrir le fichier 5C.prp", "A");
        row("the same class loaded again reads its changes back", false,
            "file 6A.prc A; load 1 6A; add 1 6A X; mkdir Cours.2001; load 2 Cours.2001/../6A", "6A.prc=AX", "", "AX");
        row("a planning nobody owns goes to the first class loaded", true,
            "load 1 A; load 2 B; add 2 B X; save 2 B; save 1 A", "A.prp=X B.prp=-", "", "X");
        row("a plan nobody owns goes to the class it is changed for", false,
            "load 1 A; load 2 B; add 2 B X; save 2 B; save 1 A", "A.prc=- B.prc=X", "", "X");
    }

    void rules()
    {
        QFETCH(bool, planning);
        QFETCH(QString, steps);
        QFETCH(QString, files);
        QFETCH(QString, reports);
        QFETCH(QString, shown);
        World world(planning);
        QVERIFY(world.dir.isValid());
        for (const QString& step : steps.split(QStringLiteral("; ")))
            world.step(step);
        for (const QString& file : files.split(QLatin1Char(' '))) {
            const QString want = file.section(QLatin1Char('='), 1);
            QCOMPARE(world.contentOf(file.section(QLatin1Char('='), 0, 0)),
                     want == "-" || want == "|" ? want.toLatin1() : fileOf(want));
        }
        QCOMPARE(world.reports.join(QStringLiteral("; ")), reports);
        QStringList names;
        for (const Desk& desk : world.plan.desks())
            names << desk.name;
        QCOMPARE(names, desks(shown));
    }
};

QTEST_APPLESS_MAIN(TestSharedCompanion)
#include "TestSharedCompanion.moc"

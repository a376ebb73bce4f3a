#include "Rows.h"
#include "TestFiles.h"
#include "model/SeatingPlan.h"
#include "model/SharedCompanion.h"

#include <QDir>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <sys/stat.h>

// Which class the one plan or planning belongs to, and which file receives it, as a teacher goes from class to
// class: every rule is a row, with the files as they end up, the failures reported and the desks shown.
class TestSharedCompanion : public QObject
{
    Q_OBJECT

    std::optional<QTemporaryDir> m_dir;
    std::optional<SeatingPlan> m_plan;
    std::optional<SharedCompanion> m_owners;

    // Desks are named by capital letters; "E70" stands for E1 to E70. In a file each desk is the line the plan
    // writes for a desk added under that name.
    static QStringList desks(const QString& names)
    {
        QStringList out;
        for (const QRegularExpressionMatch& m : QRegularExpression("([A-Z])(\\d*)").globalMatch(names)) {
            if (m.captured(2).isEmpty())
                out << m.captured(1);
            for (int n = 1; n <= m.captured(2).toInt(); ++n)
                out << m.captured(1) + QString::number(n);
        }
        return out;
    }
    static QByteArray fileOf(const QString& names)
    {
        QByteArray bytes;
        for (const QString& name : desks(names))
            bytes += name.toLatin1() + ",200,180,100,25\r\n";
        return bytes;
    }
    QString classFile(const QString& name) const { return name == "-" ? QString() : m_dir->filePath(name + ".prf"); }
    // The answer to the question asked before a file changed elsewhere is written over, and the files asked about.
    bool m_answer = false;
    QStringList m_asked;
    MayReplace ask()
    {
        return [this](const QString& file) {
            m_asked << "asked " + QFileInfo(file).fileName();
            return m_answer;
        };
    }
    // Class windows 1, 2... over one folder, sharing the plan: "load 1 6A" (window 1 loads 6A.prf), "add 2 6B X"
    // (desk X added while shown from window 2, of class 6B; "-" for a class never saved), "save 1 7A", "close 1",
    // "file 6A.prc AB", "block 6A.prc" (a folder stands there), "unblock 6A.prc", "pipe 5C.prc", "mkdir F", "press"
    // (desk 1 pressed), "unnamed 1 yes" (window 1 holds changes that only a save under a name keeps), "readonly 1 6A"
    // (window 1 loads 6A.prf read-only), "answer yes" (to the question before writing over a change made elsewhere).
    void step(const QStringList& w)
    {
        const auto cls = reinterpret_cast<SharedCompanion::ClassKey>(quintptr(w.value(1).toInt()));
        const QString file = m_dir->filePath(w.value(1));
        if (w[0] == "file")
            testfiles::writeAll(file, fileOf(w[2]));
        else if (w[0] == "load" || w[0] == "readonly")
            m_owners->load(cls, classFile(w[2]), ask(), w[0] == "readonly");
        else if (w[0] == "save")
            m_owners->save(cls, classFile(w[2]), ask());
        else if (w[0] == "answer")
            m_answer = w[1] == "yes";
        else if (w[0] == "close")
            m_owners->closed(cls);
        else if (w[0] == "unnamed")
            QCOMPARE(m_owners->changesWithoutFile(cls), w[2] == "yes");
        else if (w[0] == "press")
            m_plan->press(1, QPoint());
        else if (w[0] == "add") {
            m_owners->showing(cls, classFile(w[2]));
            m_plan->add(w[3]);
            m_owners->shown(cls, classFile(w[2]));
        } else if (w[0] == "rm") {
            QVERIFY(QFile::remove(file));
        } else if (w[0] == "block") {
            QFile::remove(file);
            QVERIFY(QDir().mkpath(file));
        } else if (w[0] == "unblock")
            QVERIFY(QDir().rmdir(file));
        else if (w[0] == "pipe")
            QVERIFY(::mkfifo(QFile::encodeName(file).constData(), 0600) == 0);
        else
            QVERIFY(w[0] == "mkdir" && QDir().mkpath(file));
    }

private slots:
    // The rule | the steps | each file as it ends up ("-": none, "|": not a file) | the failures | the desks shown.
    void rules_data()
    {
        rows::add({
            "changes go to their class before another class's file replaces them"
            " | file 6A.prc A; load 1 6A; add 1 6A X; file 5B.prc B; load 2 5B | 6A.prc=AX 5B.prc=B |  | B",
            "a class without its own file never receives the plan it shows"
            " | file 6A.prc A; load 1 6A; load 2 5B; add 2 5B X; save 2 5B; save 1 6A | 5B.prc=- 6A.prc=AX |  | AX",
            "a class saved under another name takes its plan along"
            " | file 6A.prc A; load 1 6A; save 1 7A | 6A.prc=A 7A.prc=A |  | A",
            "saved under another name while open twice, it stays with the other window"
            " | file 6A.prc A; load 1 6A; load 2 6A; save 2 7A; add 1 6A X; save 2 7A; save 1 6A"
            " | 6A.prc=AX 7A.prc=- |  | AX",
            "a class closed leaves no plan to the next"
            " | file 6A.prc A; load 1 6A; load 2 6B; close 1; add 2 6B N; save 2 6B | 6A.prc=A 6B.prc=N |  | N",
            "the same class open twice keeps its planning when the window that loaded it last closes"
            " | file S.prp A; load 1 S; load 2 S; close 2; add 1 S X; save 1 S | S.prp=AX |  | AX",
            "the same class open twice keeps its planning when the other window closes"
            " | file S.prp A; load 1 S; load 2 S; close 1; add 2 S X; save 2 S | S.prp=AX |  | AX",
            "a class never saved keeps its plan when another class loads its own"
            " | add 1 - N; unnamed 1 yes; file 6A.prc A; load 2 6A; unnamed 1 yes; unnamed 2 no; save 1 -;"
            " unnamed 1 yes; save 1 N; unnamed 1 no | N.prc=N 6A.prc=A |  | A",
            "a plan of 70 desks keeps every line | file 6A.prc E70; load 1 6A; press; save 1 6A | 6A.prc=E70 |  | E60",
            "a write that fails is reported, and the plan stays changed"
            " | load 1 6A; add 1 6A X; block 6A.prc; save 1 6A; unblock 6A.prc; save 1 6A | 6A.prc=X"
            " | Ne peut créer le fichier 6A.prc | X",
            "changes that cannot be written when another class loads wait for their class"
            " | file 6A.prc A; load 1 6A; add 1 6A X; block 6A.prc; file 5B.prc B; load 2 5B; unblock 6A.prc;"
            " save 2 5B; answer yes; save 1 6A | 6A.prc=AX 5B.prc=B | Ne peut créer le fichier 6A.prc; asked 6A.prc | "
            "B",
            "changes of a class closed unwritten come back with that class"
            " | load 1 6A; add 1 6A X; block 6A.prc; close 1; unblock 6A.prc; load 2 6A; save 2 6A | 6A.prc=X |  | X",
            "a plan file that cannot be read is reported, shown empty, never written over; its changes are kept"
            " | file 6A.prc A; load 1 6A; pipe 5C.prc; load 2 5C; add 2 5C X; save 2 5C; file 4D.prc B; load 3 4D;"
            " save 2 5C | 5C.prc=| 6A.prc=A | Ne peut ouvrir le fichier 5C.prc; Ne peut créer le fichier 5C.prc;"
            " Ne peut créer le fichier 5C.prc; Ne peut créer le fichier 5C.prc | B",
            "a planning file that cannot be read leaves the planning shown as it was"
            " | file 6A.prp A; load 1 6A; pipe 5C.prp; load 2 5C; save 2 5C | 5C.prp=| 6A.prp=A"
            " | Ne peut ouvrir le fichier 5C.prp | A",
            "the same class loaded again reads its changes back"
            " | file 6A.prc A; load 1 6A; add 1 6A X; mkdir Cours.2001; load 2 Cours.2001/../6A | 6A.prc=AX |  | AX",
            "a planning nobody owns goes to the first class loaded"
            " | load 1 A; load 2 B; add 2 B X; save 2 B; save 1 A | A.prp=X B.prp=- |  | X",
            "a plan named as older versions named it is read, and written under the class's own name"
            " | file 6e.prc A; load 1 6e.1; add 1 6e.1 X; save 1 6e.1 | 6e.prc=A 6e.1.prc=AX |  | AX",
            "a plan nobody owns goes to the class it is changed for"
            " | load 1 A; load 2 B; add 2 B X; save 2 B; save 1 A | A.prc=- B.prc=X |  | X",
            "a plan changed elsewhere is written over only after a yes"
            " | file 6A.prc A; load 1 6A; add 1 6A X; file 6A.prc B; save 1 6A; answer yes; save 1 6A; add 1 6A Y;"
            " save 1 6A | 6A.prc=AXY | asked 6A.prc; asked 6A.prc | AXY",
            "changes another class displaces over a change made elsewhere wait for their class"
            " | file 6A.prc A; load 1 6A; add 1 6A X; file 6A.prc B; file 5B.prc C; load 2 5B; save 1 6A"
            " | 6A.prc=B 5B.prc=C | asked 6A.prc; asked 6A.prc | C",
            "a plan removed elsewhere is asked about before it is written again"
            " | file 6A.prc A; load 1 6A; add 1 6A X; rm 6A.prc; answer yes; save 1 6A | 6A.prc=AX | asked 6A.prc | AX",
            "a class read-only never writes its plan; saved under a name, it takes its changes along"
            " | file 6A.prc A; readonly 1 6A; add 1 - X; save 1 -; unnamed 1 yes; file 5B.prc C; load 2 5B;"
            " save 1 7A | 6A.prc=A 7A.prc=AX 5B.prc=C |  | C",
        });
    }
    void rules()
    {
        const QStringList row = rows::fields();
        const bool planning = row[2].contains(".prp");
        m_dir.emplace();
        m_plan.emplace();
        m_owners.emplace(planning ? ".prp" : ".prc", *m_plan,
                         SharedCompanion::Rules{.takenByLoading = planning, .unreadableGivesEmpty = !planning});
        QStringList reports;
        m_answer = false;
        for (const QString& step : row[1].split("; ")) {
            reports << testfiles::errorOf([&] { this->step(step.split(' ')); }).remove(m_dir->path() + '/');
            reports << std::exchange(m_asked, {});
        }
        reports.removeAll({});
        for (const QString& file : row[2].split(' ')) {
            const QFileInfo info(m_dir->filePath(file.section('=', 0, 0)));
            const QString want = file.section('=', 1);
            QCOMPARE(!info.exists()   ? "-"
                     : !info.isFile() ? "|"
                                      : testfiles::readAll(info.filePath()),
                     want == "-" || want == "|" ? want.toLatin1() : fileOf(want));
        }
        QCOMPARE(reports.join("; "), row[3]);
        QStringList names;
        for (const Desk& desk : m_plan->desks())
            names << desk.name;
        QCOMPARE(names, desks(row[4]));
    }
};

QTEST_APPLESS_MAIN(TestSharedCompanion)
#include "TestSharedCompanion.moc"

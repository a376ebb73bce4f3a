#include "TestFiles.h"
#include "model/ClassDocument.h"
#include "model/EarlierVersions.h"
#include "model/SeatingPlan.h"

#include <QDir>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

// The class as a document, without any window: what it reads, how it changes and says so, what it writes, and its
// companions' save-all step. Files are written by hand from the layout.
class TestClassDocument : public QObject
{
    Q_OBJECT

    std::optional<QTemporaryDir> m_dir;
    QString path(const QString& name) const { return m_dir->filePath(name); }

    // What a window holds that the class does not hold yet: a mark of student 1 in rubric 1 being typed.
    struct View : ClassDocument::View
    {
        QString mark;
        void storeInto(ClassContents& contents) const override { contents.table.at(1, 2) = mark; }
    };

    // The header of columns 1 to 31 that a class never shown is written with: the names 192 pixels, the rubrics 32.
    static QByteArray newHeader() { return "0C0" + QByteArray("020").repeated(30) + "\r\n"; }

private slots:
    void init() { m_dir.emplace(); }

    void loadChangeSave()
    {
        // Column 3's width is no hexadecimal number: the column keeps its own.
        const QByteArray file = "0C00400G0\r\n0221Dupont\r\n0202 12,5\r\n";
        testfiles::writeAll(path("6A.prf"), file);
        testfiles::writeAll(path("6A.prd"), "12/03/2001Maths\r\n");
        testfiles::writeAll(path("6A.prc"), "Dupont,10,20,100,25\r\n");
        SeatingPlan plan;
        SharedCompanion plans(".prc", plan, {});
        ClassDocument document({nullptr, &plans});
        QSignalSpy loaded(&document, &ClassDocument::loaded), changed(&document, &ClassDocument::changed),
            modified(&document, &ClassDocument::modifiedChanged);

        document.load(path("6A.prf"));
        QCOMPARE(loaded.size(), 1);
        QCOMPARE(document.table().at(1, ClassTable::Surname), "Dupont");
        QCOMPARE(document.table().at(1, 2), " 12,5");
        QCOMPARE(document.ListeDevoirs()[0], "12/03/2001Maths");
        QCOMPARE(plan.desks().value(0).name, "Dupont");
        const int noWidth = classfile::NoWidth;
        QCOMPARE(QList<int>(document.contents().widths.begin(), document.contents().widths.begin() + 4),
                 QList<int>({192, 64, noWidth, noWidth}));
        QVERIFY(!document.isModified() && changed.isEmpty() && modified.isEmpty());

        // Every change says so; the flag says it once.
        document.change([](ClassContents& contents) { contents.table.at(2, ClassTable::Surname) = "Martin"; });
        document.change();
        QCOMPARE(changed.size(), 2);
        QCOMPARE(modified.size(), 1);
        QVERIFY(document.isModified());

        QCOMPARE(document.save(), QString());
        QCOMPARE(modified.size(), 2);
        QVERIFY(!document.isModified());
        QCOMPARE(testfiles::readAll(path("6A.prf")),
                 "0C0040" + QByteArray("020").repeated(29) + "\r\n0202 12,5\r\n0221Dupont\r\n0321Martin\r\n");
        QCOMPARE(testfiles::readAll(versions::folderOf(path("6A.prf")) + "/6A.prf.1"), file);
        // Unchanged, the class is not written again.
        QVERIFY(QFile::remove(path("6A.prf")));
        QCOMPARE(document.save(), QString());
        QVERIFY(!QFile::exists(path("6A.prf")));
    }

    // The window's part is in what a save writes, and in a snapshot that leaves the document as it is.
    void classReadOnceIsWhatASaveChecks()
    {
        // The opener read the class, then the file was replaced before the class was loaded from what was read: the
        // class is what was read, and the file replaced counts as changed elsewhere.
        const QByteArray read = newHeader() + "0221Dupont\r\n";
        const QByteArray replaced = newHeader() + "0221Martin\r\n";
        testfiles::writeAll(path("6A.prf"), replaced);
        ClassDocument document;
        int asked = 0;
        document.setMayReplace([&asked](const QString&) { return ++asked == 0; });
        document.load(path("6A.prf"), read);
        QCOMPARE(document.table().at(1, ClassTable::Surname), QStringLiteral("Dupont"));
        QVERIFY(document.changedOnDisk());
        document.change([](ClassContents& contents) { contents.table.at(1, 2) = QStringLiteral("12"); });
        document.save();
        QCOMPARE(asked, 1);
        QCOMPARE(testfiles::readAll(path("6A.prf")), replaced);
        // The very bytes read back in place: nothing changed elsewhere.
        testfiles::writeAll(path("6A.prf"), read);
        QVERIFY(!document.changedOnDisk());
        // Once hashed, the bytes handed over are kept by nothing of the class: only the opener holds them.
        QVERIFY(read.isDetached());
    }

    void viewIsStoredBySaveAndSnapshot()
    {
        View view;
        view.mark = "15";
        ClassDocument document;
        document.setView(&view);
        document.rename(path("5B.prf"));
        QVERIFY(document.isModified());
        QCOMPARE(document.currentTable().at(1, 2), "15");
        QCOMPARE(document.table().at(1, 2), QString());
        document.save();
        QCOMPARE(document.table().at(1, 2), "15");
        QCOMPARE(testfiles::readAll(path("5B.prf")), newHeader() + "020215\r\n");
    }

    void storeAndRaisingEditChangeNothing()
    {
        ClassDocument document;
        QSignalSpy changed(&document, &ClassDocument::changed);
        document.store([](ClassContents& contents) { contents.homework[0] = "01/01/2001x"; });
        QVERIFY_THROWS_EXCEPTION(PlatformError,
                                 document.change([](ClassContents&) { throw PlatformError::notADate("x"); }));
        QVERIFY(!document.isModified() && changed.isEmpty());
        QCOMPARE(document.ListeDevoirs()[0], "01/01/2001x");
    }

    // A class file that exists but cannot be read is told after the class is shown, and loses its name, so that a
    // save asks for another rather than write the empty class over it.
    void unreadableClassFileLosesItsName()
    {
        QVERIFY(QDir().mkdir(path("6A.prf")));
        ClassDocument document;
        QSignalSpy loaded(&document, &ClassDocument::loaded);
        QCOMPARE(testfiles::errorOf([&] { document.load(path("6A.prf")); }),
                 "Ne peut ouvrir le fichier " + path("6A.prf"));
        QCOMPARE(loaded.size(), 1);
        QCOMPARE(document.fileName(), QString());
    }

    // The history holds what its budget allows, the newest steps first; the class as saved stays where it was, and
    // once its step is forgotten no undo claims the class unmodified.
    void historyForgetsItsOldestSteps()
    {
        ClassDocument document;
        document.history().setBudget(100'000);
        // A mark of 20,000 characters takes 40 KB: two such steps fit, not three.
        const auto type = [&](int student) {
            ClassChanges changes;
            changes.texts.append({student, 2, {}, QString(20'000, QChar('0' + student))});
            document.store([&](ClassContents& contents) { changes.apply(contents, true); });
            document.record("la saisie", {}, changes);
        };
        for (int student = 1; student <= 3; ++student)
            type(student);
        document.setModified(false);
        type(4);
        QCOMPARE(document.history().count(), 2);
        QVERIFY(document.history().cost() <= 100'000);
        document.undo();
        QVERIFY(!document.isModified());
        document.undo();
        QVERIFY(document.isModified() && !document.history().canUndo());
        QCOMPARE(document.table().at(2, 2).size(), 20'000);
        QCOMPARE(document.table().at(3, 2), QString());
        document.redo();
        document.redo();
        type(5);
        type(6);
        while (document.history().canUndo())
            document.undo();
        QVERIFY(document.isModified());
        // A step larger than the whole budget is kept, alone.
        document.history().setBudget(10'000);
        type(7);
        QCOMPARE(document.history().count(), 1);
    }

    // Homework, planning and plan are each attempted whatever became of the one before; the failures come together.
    void saveAllAttemptsEveryCompanion()
    {
        SeatingPlan plan, planning;
        SharedCompanion plans(".prc", plan, {}), plannings(".prp", planning, {.takenByLoading = true});
        ClassDocument document({&plannings, &plans});
        document.rename(path("6A.prf"));
        document.store([](ClassContents& contents) { contents.homework[0] = "12/03/2001Maths"; });
        plan.add("A");
        planning.add("B");
        plan.setModified(true);
        planning.setModified(true);
        QVERIFY(QDir().mkdir(path("6A.prd")) && QDir().mkdir(path("6A.prc")));
        QCOMPARE(testfiles::errorOf([&] { document.SauveTout(); }),
                 "Ne peut créer le fichier " + path("6A.prd") + "\nNe peut créer le fichier " + path("6A.prc"));
        QCOMPARE(testfiles::readAll(path("6A.prp")), "B,200,180,100,25\r\n");
        QVERIFY(plan.modified() && !planning.modified());
    }
};

QTEST_GUILESS_MAIN(TestClassDocument)
#include "TestClassDocument.moc"

#include "FakeSeams.h"
#include "Rows.h"
#include "TestFiles.h"
#include "app/MainForm.h"
#include "app/RecoveryDialog.h"
#include "app/ToolWindows.h"
#include "classbook/MDIChild.h"
#include "companions/Obs.h"
#include "companions/Plan.h"
#include "model/RecoveryStore.h"
#include "tools/Blocnotes.h"
#include "widgets/Fonts.h"
#include "widgets/StringGrid.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QLineEdit>
#include <QTemporaryDir>
#include <QTest>
#include <QTreeWidget>

// What a start offers of what a run killed before it saved left, and what each answer in "Récupération" does.
class TestRecoveryStart : public QObject
{
    Q_OBJECT

    std::optional<QTemporaryDir> m_dir;
    QString path(const QString& name) const { return m_dir->filePath(name); }
    // The copies of a run gone without its lock, as its store wrote them.
    QStringList leftByTheKilledRun() const
    {
        return QDir(path("recovery")).entryList({"0123456789abcdef-*.vlr"}, QDir::Files);
    }
    void leave(const QString& slot, recovery::Kind kind, const QString& file, const QDateTime& changed,
               const QString& text, const QByteArray& plan = {})
    {
        recovery::Copy copy;
        copy.kind = kind;
        copy.fileName = path(file);
        copy.caption = QFileInfo(file).fileName();
        copy.changed = changed;
        copy.text = text;
        copy.classFile = "\r\n0221Dupont\r\n020214\r\n";
        if (!plan.isEmpty())
            copy.plan = plan;
        homework::List homework;
        homework[0] = "12/03/2001Maths";
        copy.homework = homework::write(homework);
        testfiles::writeAll(path("recovery/0123456789abcdef-" + slot + ".vlr"), recovery::encode(copy));
    }

private slots:
    void initTestCase()
    {
        fonts::install();
        QApplication::setApplicationName(QStringLiteral("Vire Lan"));
    }

    void answers_data()
    {
        // The dialog's answers, the confirmation's, then what the start did.
        rows::add({"récupérer | 1 | - | restored", "ignorer, non, récupérer | 2 1 | 1 | restored",
                   "ignorer, oui | 2 | 0 | deleted", "fermé | 0 | - | kept"});
    }

    void answers()
    {
        const QStringList row = rows::fields();
        m_dir.emplace();
        const QByteArray onDisk = "0221Dupont\r\n";
        testfiles::writeAll(path("classes/6A.prf"), onDisk);
        testfiles::writeAll(path("classes/6B.prf"), onDisk);
        QDir().mkpath(path("start"));
        // Two classes, each with the plan it owned: the one changed last comes back last.
        const QDateTime before(QDate(2001, 3, 5), QTime(8, 4, 9));
        leave("classe1", recovery::Kind::Class, "classes/6B.prf", before.addSecs(30), {}, "Petit,1,2,100,25\r\n");
        leave("classe2", recovery::Kind::Class, "classes/6A.prf", before, {}, "Martin,1,2,100,25\r\n");
        leave("notes2", recovery::Kind::Notes, "start/Virelan.nte", before.addSecs(60), "à garder");
        // The notes of a start from another folder wait for a start from there.
        leave("notes3", recovery::Kind::Notes, "other/Virelan.nte", before, "ailleurs");

        FakeSeams fake;
        QList<int> dialogAnswers;
        for (const QString& answer : row[1].split(' '))
            dialogAnswers << answer.toInt();
        for (const QString& answer : row[2].split(' '))
            if (answer != "-")
                fake.messageAnswers << answer.toInt();
        QStringList listed;
        fake.onModal = [&](QDialog* dialog) {
            const auto* list = dialog->findChild<QTreeWidget*>("ListView1");
            listed.clear();
            for (int i = 0; list && i < list->topLevelItemCount(); ++i)
                for (int c = 0; c < 3; ++c)
                    listed << list->topLevelItem(i)->text(c);
            return dialogAnswers.takeFirst();
        };
        QDir::setCurrent(path("start"));
        RecoveryStore store(path("recovery"));
        TMainForm form;
        form.setRecovery(&store);
        form.show();
        QVERIFY(QTest::qWaitForWindowExposed(&form));
        form.offerRecovery();

        QVERIFY(dialogAnswers.isEmpty() && fake.messageAnswers.isEmpty());
        const QString classes = QDir::toNativeSeparators(path("classes"));
        QCOMPARE(listed,
                 QStringList({"6A.prf", classes, "05/03/2001 08:04:09", "6B.prf", classes, "05/03/2001 08:04:39",
                              "Virelan.nte", QDir::toNativeSeparators(path("start")), "05/03/2001 08:05:09"}));
        if (!fake.messages.isEmpty())
            QCOMPARE(fake.messages[0].text,
                     "Supprimer ces copies ? Les modifications qu'elles gardent seront perdues.");
        const QList<TMDIChild*> windows = form.classWindows();
        QCOMPARE(windows.size(), row[3] == "restored" ? 2 : 0);
        QCOMPARE(leftByTheKilledRun().size(), row[3] == "kept" ? 4 : 1);
        if (row[3] == "restored") {
            // The window in front first.
            QCOMPARE(windows[0]->windowTitle(), "6B.prf");
            TMDIChild* restored = windows[1];
            QCOMPARE(restored->windowTitle(), "6A.prf");
            QVERIFY(restored->isModified() && windows[0]->isModified());
            QCOMPARE(restored->fileName(), path("classes/6A.prf"));
            QCOMPARE(restored->grid()->cell(2, 2), "14,00");
            QCOMPARE(restored->grid()->cell(1, 2), "Dupont ");
            QCOMPARE(restored->ListeDevoirs()[0], "12/03/2001Maths");
            QCOMPARE(form.toolWindows().plan()->plan().desks().value(0).name, "Petit");
            QCOMPARE(form.toolWindows().blocnotes()->text(), "à garder");
            QVERIFY(form.toolWindows().blocnotes()->isModified());
            // Every copy is this run's own now, and nothing is written beside the classes but the locks of the
            // classes open.
            store.flush();
            QCOMPARE(QDir(path("recovery")).entryList({"*.vlr"}).size(), 4);
            const QStringList both = {".6A.prf.lock", ".6B.prf.lock", "6A.prf", "6B.prf"};
            QCOMPARE(QDir(path("classes")).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot), both);
            QCOMPARE(testfiles::readAll(path("classes/6A.prf")), onDisk);
            // The plan of the class brought back first waits for its save.
            restored->Sauve();
            restored->SauveTout();
            QCOMPARE(testfiles::readAll(path("classes/6A.prc")), "Martin,1,2,100,25\r\n");
            windows[0]->setModified(false);
        }
        form.toolWindows().blocnotes()->setModified(false);
    }

    // The notepad and the phrases window, first opened after start-up, keep a copy of their changes.
    void notesAndPhrasesOpenedLater()
    {
        m_dir.emplace();
        QDir().mkpath(path("start"));
        QDir::setCurrent(path("start"));
        FakeSeams fake;
        RecoveryStore store(path("recovery"));
        store.setDelayMs(20);
        TMainForm form;
        form.setRecovery(&store);
        form.show();
        const auto copies = [&] {
            QTest::qWait(store.delayMs() + 50);
            store.flush();
            return QDir(path("recovery")).entryList({"*.vlr"}, QDir::Files);
        };
        QCOMPARE(copies().size(), 0);
        form.toolWindows().blocnotes()->Memo1->insertPlainText("à garder");
        QCOMPARE(copies().size(), 1);
        QChar enter = QLatin1Char('\r');
        form.toolWindows().obs()->Edit1->setText(QStringLiteral("Assidu"));
        form.toolWindows().obs()->Edit1KeyPress(enter);
        QCOMPARE(copies().size(), 2);
        form.toolWindows().blocnotes()->setModified(false);
        QCOMPARE(copies().size(), 1);
    }
};

QTEST_MAIN(TestRecoveryStart)
#include "TestRecoveryStart.moc"

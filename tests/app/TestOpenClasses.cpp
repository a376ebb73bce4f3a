#include "FakeSeams.h"
#include "Rows.h"
#include "TestFiles.h"
#include "app/MainForm.h"
#include "classbook/MDIChild.h"
#include "classbook/VersionsDialog.h"
#include "model/ClassLock.h"
#include "widgets/Fonts.h"
#include "widgets/StringGrid.h"

#include <QAction>
#include <QApplication>
#include <QMdiArea>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTreeWidget>

// The frame opening classes that are open already, here or elsewhere, and bringing earlier versions back.
class TestOpenClasses : public QObject
{
    Q_OBJECT

    std::optional<QTemporaryDir> m_dir;
    std::optional<FakeSeams> m_fake;
    TMainForm* m_form = nullptr;
    QString path(const QString& name) const { return m_dir->filePath(name); }
    static QByteArray classOf(const char* name)
    {
        return "0C0" + QByteArray("020").repeated(30) + "\r\n0221" + name + "\r\n";
    }

private slots:
    void initTestCase()
    {
        fonts::install();
        QApplication::setApplicationName("Vire Lan");
    }
    void init()
    {
        m_dir.emplace();
        m_fake.emplace();
        m_form = new TMainForm;
        testfiles::writeAll(path("6A.prf"), classOf("Carle"));
        testfiles::writeAll(path(".virelan/6A.prf.1"), classOf("Bernard"));
        testfiles::writeAll(path(".virelan/6A.prf.2"), classOf("Aubert"));
        QVERIFY(QDir().mkpath(path("sub")));
        QVERIFY(QFile::link(path("6A.prf"), path("lien.prf")));
    }
    void cleanup()
    {
        for (TMDIChild* child : m_form->classWindows())
            child->setModified(false);
        delete m_form;
        m_fake.reset();
    }

    // The names the class is opened by | who holds it meanwhile | the answer | the captions of the windows then | what
    // is said: a question (?) or a note on the status bar.
    void openings_data()
    {
        rows::add({"6A.prf 6A.prf | - | - | 6A.prf | -", "6A.prf sub/../6A.prf | - | - | 6A.prf | -",
                   "6A.prf lien.prf | - | - | 6A.prf | -",
                   "6A.prf | elsewhere | 0 | 6A.prf (lecture seule) | ? 6A.prf est ouvert par",
                   "6A.prf | elsewhere | 1 | 6A.prf | ? 6A.prf est ouvert par", "6A.prf | elsewhere | 2 |  | ? 6A.prf",
                   ".virelan/6A.prf.1 | - | - | 6A.prf.1 (lecture seule) | 6A.prf.1 est une version conservée : elle "
                   "est ouverte en lecture seule.",
                   "6A.prf | a folder that refuses it | - | 6A.prf | 6A.prf est ouvert sans verrou : le dossier ne "
                   "permet pas d'en créer un."},
                  3);
    }
    void openings()
    {
        const QStringList row = rows::fields();
        if (row[1] == "a folder that refuses it") {
            if (testfiles::reranAsNobody())
                return;
            QFile::setPermissions(m_dir->path(), QFile::ReadOwner | QFile::ExeOwner);
        }
        ClassLock other;
        if (row[1] == "elsewhere")
            QCOMPARE(other.take(path("lien.prf")), ClassLock::Outcome::Taken);
        m_fake->messageAnswers << row[2].toInt();
        QStringList names = row[0].split(' ');
        for (QString& name : names)
            name = path(name);
        m_form->OpenClassFiles(names);
        QFile::setPermissions(m_dir->path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);

        QStringList captions;
        for (TMDIChild* child : m_form->classWindows())
            captions << child->windowTitle();
        QCOMPARE(captions.join(", "), row[3]);
        QStringList said = m_fake->statusMessages;
        for (const FakeSeams::Message& message : m_fake->messages)
            said << "? " + message.text;
        QCOMPARE(said.size(), row[4] == "-" ? 0 : 1);
        QVERIFY2(row[4] == "-" || said[0].startsWith(row[4]), qPrintable(said.value(0)));
        if (row[4].startsWith('?')) {
            QCOMPARE(m_fake->messages[0].text, ClassLock::heldMessage(path("6A.prf"), *ClassLock::holderOf(path("6A.prf"))));
            QCOMPARE(m_fake->messages[0].buttons, QStringList({"Ouvrir en &lecture seule", "Ouvrir &quand même", "&Annuler"}));
            QCOMPARE(m_fake->messages[0].defaultButton, 0);
        }
        TMDIChild* child = m_form->activeChild();
        if (!child)
            return;
        // The class's own lock while its window is open, and only then; none for a class read-only or opened
        // anyway.
        const QString lockFile = ClassLock::lockFileOf(child->fileName());
        QCOMPARE(child->document().lock().isHeld(), row[1] == "-" && !child->isReadOnly());
        other.release();
        // "&Enregistrer" on a class read-only asks for another name and writes nothing where the class was read.
        const QByteArray read = testfiles::readAll(child->fileName());
        child->document().change([](ClassContents& c) { c.table.at(1, ClassTable::Surname) = "Martin"; });
        m_form->FileSaveItemClick();
        QCOMPARE(testfiles::readAll(child->fileName()) == read, child->isReadOnly());
        QCOMPARE(m_fake->saveFilters.size(), child->isReadOnly() ? 1 : 0);
        if (child->document().lock().isHeld()) {
            // Saved under another name, the class takes that file's lock and leaves its own.
            m_fake->saveAnswers << Seams::SaveChoice{path("6B")};
            m_form->FileSaveAsItemClick();
            QVERIFY(!QFileInfo::exists(lockFile) && QFileInfo::exists(path(".6B.prf.lock")));
            m_form->FileCloseItemClick();
            QVERIFY(!QFileInfo::exists(path(".6B.prf.lock")));
        }
    }

    // What is chosen in the list, on which version | the answer to "Sauver modifications" when the class was changed
    // first | the surname the window then holds | the class file, then versions 1, 2 and 3, once "&Enregistrer" has
    // been chosen ("-" for none) | the windows.
    void versions_data()
    {
        rows::add({"Restaurer 2 | - | Aubert | Aubert Carle Bernard Aubert | 6A.prf",
                   "Restaurer 0 | Non | Carle | Carle Bernard Aubert - | 6A.prf",
                   "Restaurer 2 | Oui | Aubert | Aubert Martin Carle Bernard | 6A.prf",
                   "Restaurer 1 | Annuler | Martin | Martin Carle Bernard Aubert | 6A.prf",
                   "Ouvrir une copie 1 | - | Bernard | Carle Bernard Aubert - | Copie de 6A.prf.1, 6A.prf"});
    }
    void versions()
    {
        const QStringList row = rows::fields();
        const QString choice = row[0].chopped(2);
        const int chosen = row[0].back().digitValue();
        QFile file(path(".virelan/6A.prf.1"));
        QVERIFY(file.open(QIODevice::ReadWrite) &&
                file.setFileTime(QDateTime(QDate(2024, 5, 13), QTime(8, 15, 42)), QFileDevice::FileModificationTime));
        m_form->OpenClassFiles({path("6A.prf")});
        TMDIChild* child = m_form->activeChild();
        if (row[1] != "-") {
            child->document().change([](ClassContents& c) { c.table.at(1, ClassTable::Surname) = "Martin"; });
            m_fake->messageAnswers << QStringList{"Oui", "Non", "Annuler"}.indexOf(row[1]);
        }
        QStringList listed;
        m_fake->onModal = [&](QDialog* dialog) {
            auto* versions = qobject_cast<VersionsDialog*>(dialog);
            for (int r = 0; r < versions->List->topLevelItemCount(); ++r) {
                const QTreeWidgetItem* item = versions->List->topLevelItem(r);
                listed << item->text(0) + " | " + item->text(2) + " | " + item->text(3);
            }
            listed << versions->List->topLevelItem(1)->text(1);
            versions->List->setCurrentItem(versions->List->topLevelItem(chosen));
            (choice == "Restaurer" ? versions->RestoreButton : versions->CopyButton)->click();
            return dialog->result();
        };
        m_form->action("Versionsprcdentes1")->trigger();
        const auto size = [](const char* name) { return QString::number(classOf(name).size()) + " octets"; };
        QCOMPARE(listed, QStringList({"Fichier actuel | 1 | " + size("Carle"), "Version 1 | 1 | " + size("Bernard"),
                                      "Version 2 | 1 | " + size("Aubert"), "13/05/2024 à 08:15:42"}));
        QStringList captions;
        for (TMDIChild* window : m_form->classWindows())
            captions << window->windowTitle();
        QCOMPARE(captions.join(", "), row[4]);
        // The class shown is the one brought back, to be saved; a copy is a class never saved.
        TMDIChild* shown = m_form->activeChild();
        QCOMPARE(shown->document().currentTable().at(1, ClassTable::Surname).trimmed(), row[2]);
        QCOMPARE(shown->fileName().isEmpty(), choice != "Restaurer");
        QVERIFY(shown->isModified());
        if (choice == "Restaurer")
            m_form->FileSaveItemClick();
        QStringList files;
        for (const char* name : {"6A.prf", ".virelan/6A.prf.1", ".virelan/6A.prf.2", ".virelan/6A.prf.3"}) {
            const QByteArray bytes = testfiles::readAll(path(name));
            files << (bytes == "<missing>" ? QString("-") : QString(bytes).section("0221", 1).trimmed());
        }
        QCOMPARE(files.join(' '), row[3]);
    }
};

QTEST_MAIN(TestOpenClasses)
#include "TestOpenClasses.moc"

#include "ClassWindows.h"
#include "Rows.h"
#include "TestFiles.h"
#include "classbook/MDIChild.h"
#include "companions/Obs.h"
#include "model/EarlierVersions.h"
#include "tools/Blocnotes.h"

#include <QDir>
#include <QLineEdit>

// A file the program read, changed by someone else before the program writes it again: the class file, its
// homework, the notes and the phrases, each through the teacher's own save, and the teacher's answer.
class TestChangedElsewhere : public QObject
{
    Q_OBJECT

    std::optional<ClassWindows> m_windows;

private slots:
    void init() { m_windows.emplace(); }
    void cleanup()
    {
        QDir::setCurrent(QDir::tempPath());
        m_windows.reset();
    }

    // The file | what was done to it meanwhile | the answer (Oui, Non, or "-" when nothing is asked) | what the
    // file holds at the end.
    void situations_data()
    {
        rows::add({"6A.prf | changed, same size, same second | Non | theirs", "6A.prf | changed | Oui | ours",
                   "6A.prf | removed | Oui | ours", "6A.prf | replaced | Non | theirs",
                   "6A.prf | touched | - | ours", "6A.prd | changed | Non | theirs",
                   "6A.prd | changed, nothing of ours | - | theirs", "Virelan.nte | changed | Non | theirs",
                   "Virelan.nte | changed, same size, same second | Oui | ours", "Virelan.obs | removed | Non | none",
                   "Virelan.obs | replaced | Oui | ours"},
                  3);
    }
    void situations()
    {
        const QStringList row = rows::fields();
        const QString file = m_windows->path(row[0]), change = row[1];
        QDir::setCurrent(m_windows->folder());
        testfiles::writeAll(m_windows->path("6A.prf"), "0C0" + QByteArray("020").repeated(30) + "\r\n0221Dupont\r\n");
        testfiles::writeAll(m_windows->path("6A.prd"), "12/03/2001Maths\r\n");
        testfiles::writeAll(m_windows->path("Virelan.nte"), "nos notes");
        testfiles::writeAll(m_windows->path("Virelan.obs"), "Bon travail\r\n");
        TMDIChild* window = m_windows->open();
        window->Charge(m_windows->path("6A.prf"));
        TBlocnotes* notes = m_windows->tools().blocnotes();
        TObs* obs = m_windows->tools().obs();
        notes->Charge(m_windows->path("Virelan.nte"));
        obs->Charge();

        // The teacher's change, then someone else's.
        const QByteArray before = testfiles::readAll(file);
        QByteArray theirs = before;
        theirs[theirs.size() - 3] = 'X';
        if (row[0] == "6A.prf")
            window->document().change([](ClassContents& c) { c.table.at(2, ClassTable::Surname) = "Martin"; });
        else if (row[0] == "6A.prd" && !change.endsWith("nothing of ours"))
            window->document().change([](ClassContents& c) { c.homework[1] = "13/03/2001Calcul"; });
        else if (row[0] == "Virelan.nte")
            notes->setText("nos notes, Martin"), notes->setModified(true);
        obs->Edit1->setText("Martin progresse");
        QChar enter('\r');
        obs->Edit1KeyPress(enter);
        const QDateTime stamp = QFileInfo(file).lastModified();
        if (change == "removed") {
            QVERIFY(QFile::remove(file));
        } else if (change == "replaced") {
            testfiles::writeAll(file + ".new", theirs + "et plus");
            QVERIFY(std::rename(qPrintable(file + ".new"), qPrintable(file)) == 0);
        } else {
            testfiles::writeAll(file, change == "touched" ? before : theirs);
            QFile touched(file);
            QVERIFY(touched.open(QIODevice::ReadWrite) &&
                    touched.setFileTime(change == "touched" ? stamp.addSecs(3600) : stamp, QFileDevice::FileModificationTime));
        }
        theirs = testfiles::readAll(file);
        m_windows->fake().messageAnswers << (row[2] == "Oui" ? 0 : 1);

        window->Sauve();
        window->SauveTout();
        notes->Sauve(m_windows->path("Virelan.nte"));
        obs->Sauve();

        const QList<FakeSeams::Message>& asked = m_windows->fake().messages;
        QCOMPARE(asked.size(), row[2] == "-" ? 0 : 1);
        if (!asked.isEmpty()) {
            QCOMPARE(asked[0].text, "Le fichier " + row[0] +
                                        " a été modifié par un autre programme depuis son ouverture. Le remplacer "
                                        "par cette version ?");
            QCOMPARE(asked[0].buttons, QStringList({"&Oui", "&Non"}));
            QCOMPARE(asked[0].defaultButton, 1);
        }
        const QByteArray now = testfiles::readAll(file);
        if (row[3] == "theirs")
            QCOMPARE(now, theirs);
        else if (row[3] == "none")
            QCOMPARE(now, "<missing>");
        else
            QVERIFY2(now.contains("Martin"), now.constData());
        // The class refused stays modified; the one written over keeps what it replaced as a version.
        if (row[0] == "6A.prf") {
            QCOMPARE(window->isModified(), row[3] == "theirs");
            if (row[3] == "ours" && change != "removed")
                QCOMPARE(testfiles::readAll(versions::folderOf(file) + "/6A.prf.1"), theirs);
        }
        notes->setModified(false);
    }
};

QTEST_MAIN(TestChangedElsewhere)
#include "TestChangedElsewhere.moc"

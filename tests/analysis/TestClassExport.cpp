#include "ClassWindows.h"
#include "FakeSeams.h"
#include "TestFiles.h"
#include "classbook/MDIChild.h"
#include "common/StringGrid.h"

#include <QDir>
#include <QLineEdit>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <memory>

// A class exported as the teacher sees it, in both formats; the workbook read back by LibreOffice.
class TestClassExport : public QObject
{
    Q_OBJECT

    FakeSeams m_fake;
    std::unique_ptr<ClassWindows> m_windows;
    std::unique_ptr<QTemporaryDir> m_dir;

    // Rubrics "Dev 1" (coefficient 1) and "Oral" (0,5), the 28 others off. Worked by hand: Dupont
    // (12 + 15 x 0,5) / 2 = 9,75; Martin, abs left out, 18 x 0,5 = 9; Zoé 0; Du"rand has no rubric that counts.
    // Class average (9,75 + 9 + 0) / 3 = 6,25. The marks are in the grid only, Zoé on the card being typed or
    // in the class table; student 4 is an empty row.
    QString exportClass(bool onCard, const QString& name, int filterIndex)
    {
        TMDIChild* window = m_windows->open();
        window->setWindowTitle("6A");
        StringGrid& grid = *window->StringGrid1;
        grid.setCell(2, 0, "Dev 1");
        grid.setCell(3, 0, "Oral");
        grid.setCell(3, 1, "0,5");
        for (int c = 4; c <= 31; ++c)
            grid.setCell(c, 1, "");
        const QStringList marks = {"12", "15", "abs", "18,00", "", "", "", "", "abs", "abs"};
        for (int i = 0; i < marks.size(); ++i)
            grid.setCell(2 + i % 2, 2 + i / 2, marks[i]);
        ClassTable& table = window->table();
        table.at(1, ClassTable::Surname) = "Dupont";
        table.at(1, ClassTable::FirstName) = "Léa";
        table.at(1, ClassTable::Remarks) = "Sérieuse\r\nBavarde";
        table.at(2, ClassTable::Surname) = "Martin";
        table.at(2, ClassTable::FirstName) = "Noé";
        table.at(5, ClassTable::Surname) = "Du\"rand; Jr";
        if (onCard) {
            grid.setCurrent(2, 4);
            window->Fiche();
            window->Edit2->setText("Zoé");
        } else {
            table.at(3, ClassTable::FirstName) = "Zoé";
        }
        const ClassTable before = table;
        m_fake.saveAnswers << Seams::SaveChoice{m_dir->filePath(name), filterIndex};
        window->Exporter();
        [&] { QCOMPARE(window->table(), before); }();
        [&] { QVERIFY(!window->isModified()); }();
        return m_dir->filePath(name);
    }

    // The marks sheet with the decimal point, as LibreOffice writes cells as shown.
    static QString marksSheet()
    {
        const QString off = QString(";").repeated(28);
        return QStringList{
            "N°;Nom;Prénom;Dev 1;Oral;3;4;5;6;7;8;9;10;11;12;13;14;15;16;17;18;19;20;21;22;23;24;25;26;27;"
            "28;29;30;Moyenne;Rang",
            ";Coefficients;;1.00;0.50" + off + ";;",
            "1;Dupont;Léa;12.00;15.00" + off + ";9.75;1",
            "2;Martin;Noé;abs;18.00" + off + ";9.00;2",
            "3;;Zoé;;" + off + ";0.00;3",
            "5;\"Du\"\"rand; Jr\";;abs;abs" + off + ";-;non classé",
            QString(";").repeated(34),
            ";Moyenne de la classe;;;" + off + ";6.25;",
            ""}
            .join("\r\n");
    }

private slots:
    void init()
    {
        m_windows = std::make_unique<ClassWindows>();
        m_dir = std::make_unique<QTemporaryDir>();
    }
    void cleanup() { m_windows.reset(); }

    void bothFormats_data()
    {
        QTest::addColumn<bool>("onCard");
        QTest::newRow("grid page") << false;
        QTest::newRow("card page") << true;
    }
    void bothFormats()
    {
        QFETCH(bool, onCard);
        exportClass(onCard, "6A", 2);
        // "9.75" in a text would be a fault of this test.
        const QString expected = marksSheet().replace(QRegularExpression("(\\d)\\.(\\d\\d)"), "\\1,\\2");
        QCOMPARE(testfiles::readAll(m_dir->filePath("6A.csv")), "\xEF\xBB\xBF" + expected.toUtf8());
        const QString book = exportClass(onCard, "6A.xlsx", 2);
        QCOMPARE(QDir(m_dir->path()).entryList(QDir::Files | QDir::Hidden), QStringList({"6A.csv", "6A.xlsx"}));
        if (QStandardPaths::findExecutable("unzip").isEmpty() || QStandardPaths::findExecutable("soffice").isEmpty())
            QSKIP("LibreOffice or unzip is not installed");
        QProcess unzip;
        unzip.start("unzip", {"-p", book, "xl/worksheets/sheet1.xml"});
        QVERIFY(unzip.waitForFinished());
        QVERIFY(unzip.readAll().contains(R"(<pane xSplit="3" ySplit="2" topLeftCell="D3")"));
        QProcess office;
        office.start("soffice", {"-env:UserInstallation=file://" + m_dir->filePath("profile"), "--headless",
                                 "--convert-to", "csv:Text - txt - csv (StarCalc):59,34,76,1,,1033,,,true,,,-1",
                                 "--outdir", m_dir->filePath("out"), book});
        QVERIFY(office.waitForFinished(100000));
        const auto sheet = [&](const QString& name) {
            return QString::fromUtf8(testfiles::readAll(m_dir->filePath("out/6A-" + name + ".csv")))
                .replace(QRegularExpression("\r?\n"), "\r\n");
        };
        QCOMPARE(sheet("6A"), marksSheet());
        const QString off = QString(";").repeated(13);
        QCOMPARE(sheet("Fiches élèves"), "N°;Nom;Prénom;Né(e) le;Classe;Adresse;Adresse 2;C.P.;Ville;Tél 1;Tél 2;"
                                         "Métier envisagé;Prof. père;Prof. mère;Remarques;Photo\r\n1;Dupont;Léa" +
                                             QString(";").repeated(12) + "\"Sérieuse\r\nBavarde\";\r\n2;Martin;Noé" +
                                             off + "\r\n3;;Zoé" + off + "\r\n5;\"Du\"\"rand; Jr\";" + off + "\r\n");
    }
};

QTEST_MAIN(TestClassExport)
#include "TestClassExport.moc"

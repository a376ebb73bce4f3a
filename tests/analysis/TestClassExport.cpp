#include "ClassWindows.h"
#include "FakeSeams.h"
#include "TestFiles.h"
#include "classbook/CardPage.h"
#include "classbook/CardPhoto.h"
#include "classbook/MDIChild.h"
#include "core/Spreadsheet.h"
#include "widgets/StringGrid.h"

#include <QDir>
#include <QLineEdit>
#include <QRegularExpression>
#include <QTest>
#include <sys/stat.h>

namespace {

mode_t currentUmask()
{
    const mode_t mask = ::umask(0);
    ::umask(mask);
    return mask;
}

} // namespace

// A class exported as the teacher sees it, in both formats; the workbook read back by LibreOffice.
class TestClassExport : public QObject
{
    Q_OBJECT

    std::optional<ClassWindows> m_windows;

private slots:
    void init() { m_windows.emplace(); }
    void cleanup() { m_windows.reset(); }
    // The workbook goes into place as every file the program writes: a link followed, the old file's mode kept, a
    // folder of that name refused, no temporary file left beside it.
    void workbookTakesThePlaceOfTheOld_data()
    {
        QTest::addColumn<QString>("situation");
        for (const char* situation : {"missing", "old workbook", "link", "folder"})
            QTest::newRow(situation) << situation;
    }
    void workbookTakesThePlaceOfTheOld()
    {
        QFETCH(QString, situation);
        const QString name = m_windows->path("6A.xlsx"), real = m_windows->path("real.xlsx");
        const QByteArray bytes = QFile::encodeName(name);
        if (situation == "old workbook") {
            testfiles::writeAll(name, "ancien");
            QCOMPARE(::chmod(bytes.constData(), 0640), 0);
        } else if (situation == "link") {
            testfiles::writeAll(real, "ancien");
            QVERIFY(QFile::link("real.xlsx", name));
        } else if (situation == "folder") {
            QVERIFY(QDir().mkdir(name));
        }
        spreadsheet::Sheet sheet;
        sheet.name = "6A";
        sheet.rows = {{spreadsheet::Cell::ofText("Dupont")}};
        const QString error = testfiles::errorOf([&] { spreadsheet::writeXlsx(name, {sheet}); });
        QCOMPARE(error, situation == "folder" ? "Ne peut créer le fichier " + name : QString());
        QStringList expected = {situation == "link" ? "real.xlsx" : "6A.xlsx"};
        if (situation == "link")
            expected.prepend("6A.xlsx");
        QCOMPARE(QDir(m_windows->folder()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot), expected);
        QCOMPARE(QFileInfo(name).isSymLink(), situation == "link");
        if (situation == "folder")
            return;
        QVERIFY(testfiles::readAll(name).startsWith("PK\x03\x04"));
        struct stat st = {};
        QCOMPARE(::stat(bytes.constData(), &st), 0);
        QCOMPARE(st.st_mode & 0777, situation == "old workbook" ? 0640u : 0666u & ~currentUmask());
    }

    void bothFormats_data()
    {
        QTest::addColumn<bool>("onCard");
        QTest::newRow("grid page") << false;
        QTest::newRow("card page") << true;
    }
    // Rubrics "Dev 1" (coefficient 1) and "Oral" (0,5), the 28 others off. Worked by hand: Dupont (12 + 15 x 0,5)
    // / 2 = 9,75; Martin, abs left out, 18 x 0,5 = 9; Zoé 0; Du"rand has no rubric that counts. Class average
    // (9,75 + 9 + 0) / 3 = 6,25. The marks are in the grid only, Zoé on the card being typed or in the class table;
    // student 4 is an empty row.
    void bothFormats()
    {
        QFETCH(bool, onCard);
        TMDIChild* window = m_windows->open();
        window->setWindowTitle("6A");
        StringGrid& grid = *window->grid();
        for (int c = 4; c <= 31; ++c)
            grid.setCell(c, 1, "");
        const QStringList cells = {"Dev 1", "Oral", "1", "0,5", "12", "15",  "abs",
                                   "18,00", "",     "",  "",    "",   "abs", "abs"};
        for (int i = 0; i < cells.size(); ++i)
            grid.setCell(2 + i % 2, i / 2, cells[i]); // headings, coefficients, then marks
        window->document().store([](ClassContents& contents) {
            for (const auto& [row, slot, text] : {std::tuple(1, ClassTable::Surname, "Dupont"),
                                                  {1, ClassTable::FirstName, "Léa"},
                                                  {1, ClassTable::Remarks, "Sérieuse\r\nBavarde"},
                                                  {2, ClassTable::Surname, "Martin"},
                                                  {2, ClassTable::FirstName, "Noé"},
                                                  {5, ClassTable::Surname, "Du\"rand; Jr"}})
                contents.table.at(row, slot) = text;
        });
        grid.setCurrent(2, 4);
        if (onCard) {
            window->Fiche();
            window->card()->field(2)->setText("Zoé");
        } else {
            window->document().store(
                [](ClassContents& contents) { contents.table.at(3, ClassTable::FirstName) = "Zoé"; });
        }
        const ClassTable before = window->table();
        for (const char* name : {"6A", "6A.xlsx"}) {
            m_windows->fake().saveAnswers << Seams::SaveChoice{m_windows->path(name), 2};
            window->Exporter();
        }
        QCOMPARE(window->table(), before);
        QVERIFY(!window->isModified());

        // The marks sheet with the decimal point, as LibreOffice writes cells as shown; "9.75" in a text would be a
        // fault of this test.
        const QString off = QString(";").repeated(28);
        const QString marks =
            QStringList{"N°;Nom;Prénom;Dev 1;Oral;3;4;5;6;7;8;9;10;11;12;13;14;15;16;17;18;19;20;21;22;"
                        "23;24;25;26;27;28;29;30;Moyenne;Rang",
                        ";Coefficients;;1.00;0.50" + off + ";;",
                        "1;Dupont;Léa;12.00;15.00" + off + ";9.75;1",
                        "2;Martin;Noé;abs;18.00" + off + ";9.00;2",
                        "3;;Zoé;;" + off + ";0.00;3",
                        "5;\"Du\"\"rand; Jr\";;abs;abs" + off + ";-;non classé",
                        QString(";").repeated(34),
                        ";Moyenne de la classe;;;" + off + ";6.25;",
                        ""}
                .join("\r\n");
        QCOMPARE(testfiles::readAll(m_windows->path("6A.csv")),
                 "\xEF\xBB\xBF" + QString(marks).replace(QRegularExpression("(\\d)\\.(\\d\\d)"), "\\1,\\2").toUtf8());
        QCOMPARE(QDir(m_windows->folder()).entryList(QDir::Files | QDir::Hidden), QStringList({"6A.csv", "6A.xlsx"}));
        SKIP_UNLESS_INSTALLED("soffice", "unzip");
        const QString book = m_windows->path("6A.xlsx");
        QVERIFY(testfiles::run("unzip", {"-p", book, "xl/worksheets/sheet1.xml"})
                    .contains(R"(<pane xSplit="3" ySplit="2" topLeftCell="D3")"));
        testfiles::convertByOffice({book}, "csv:Text - txt - csv (StarCalc):59,34,76,1,,1033,,,true,,,-1",
                                   m_windows->path("out"));
        const auto sheet = [&](const QString& name) {
            return QString::fromUtf8(testfiles::readAll(m_windows->path("out/6A-" + name + ".csv")))
                .replace(QRegularExpression("\r?\n"), "\r\n");
        };
        QCOMPARE(sheet("6A"), marks);
        const QString none = QString(";").repeated(13);
        QCOMPARE(sheet("Fiches élèves"), "N°;Nom;Prénom;Né(e) le;Classe;Adresse;Adresse 2;C.P.;Ville;Tél 1;Tél 2;"
                                         "Métier envisagé;Prof. père;Prof. mère;Remarques;Photo\r\n1;Dupont;Léa" +
                                             QString(";").repeated(12) + "\"Sérieuse\r\nBavarde\";\r\n2;Martin;Noé" +
                                             none + "\r\n3;;Zoé" + none + "\r\n5;\"Du\"\"rand; Jr\";" + none + "\r\n");
    }
};

QTEST_MAIN(TestClassExport)
#include "TestClassExport.moc"

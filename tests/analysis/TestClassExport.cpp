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

    void faults_data()
    {
        QTest::addColumn<QStringList>("cells");       // "row slot text" of the class table; marks go through the grid
        QTest::addColumn<bool>("existing");           // 6A.csv is there before
        QTest::addColumn<QList<int>>("answers");      // to the question of replacing it
        QTest::addColumn<QStringList>("suggestions"); // %1: the folder
        QTest::addColumn<QStringList>("lines"); // from the first student on: number, names, two marks, average, rank
        const QStringList two = {"-1 2 R1", "-1 3 R2", "0 2 1", "0 3 1"};
        QTest::newRow("a file there is replaced only once the teacher says so")
            << two + QStringList{"1 33 Roux", "1 2 12"} << true << QList<int>{1, 0}
            << QStringList{"%1/6A.xlsx", "%1/6A.csv"} << QStringList{"1;Roux;;12,00;;6,00;1"};
        // Worked by hand: the report counts students 1 to 5 (5 is the last whose first mark is filled), averaging
        // 13, 9, 7,5, 16 and 8: class average 53,5 / 5 = 10,70. R1 reads 12, 8, 15, 10 (abs left out), R2 14, 10,
        // 0, 16, 6. Roux, after student 5, and Zoé, a first name only, have neither average nor rank.
        QTest::newRow("the report's averages, ranks and figures")
            << two + QStringList{"1 33 A", "1 2 12", "1 3 14",    "2 33 B",   "2 2 8",  "2 3 10",
                                 "3 33 C", "3 2 15", "4 33 D",    "4 2 abs",  "4 3 16", "5 33 E",
                                 "5 2 10", "5 3 6",  "6 33 Roux", "6 34 Ana", "6 3 18", "7 34 Zoé"}
            << false << QList<int>{} << QStringList{"%1/6A.xlsx"}
            << QStringList{"1;A;;12,00;14,00;13,00;2",
                           "2;B;;8,00;10,00;9,00;3",
                           "3;C;;15,00;;7,50;5",
                           "4;D;;abs;16,00;16,00;1",
                           "5;E;;10,00;6,00;8,00;4",
                           "6;Roux;Ana;;18,00;;",
                           "7;;Zoé;;;;",
                           ";;;;;;",
                           ";Moyenne de la rubrique;;11,25;9,20;;",
                           ";Note la plus haute;;15,00;16,00;;",
                           ";Note la plus basse;;8,00;0,00;;",
                           ";;;;;;",
                           ";Moyenne de la classe;;;;10,70;",
                           ";Moyenne la plus haute;;;;16,00;",
                           ";Moyenne la plus basse;;;;7,50;",
                           ";;;;;;",
                           ";Elèves < moy. de la classe;;;;3;",
                           ";Elèves >= moy. de la classe;;;;2;",
                           ";;;;;;",
                           ";Elèves < 10;;;;3;",
                           ";Elèves >= 10;;;;2;",
                           ";;;;;;",
                           ";Elèves < 8;;;;1;",
                           ";Elèves >= 8 et < 12;;;;2;",
                           ";Elèves >= 12;;;;2;"};
        QTest::newRow("texts a spreadsheet would run as formulas")
            << two + QStringList{"1 33 =HYPERLINK(\"http://x\",\"clic\")",
                                 "1 34 +33 6",
                                 "1 2 -2,5",
                                 "1 3 -",
                                 "2 33 @SUM(A1)",
                                 "2 34 \tTab",
                                 "2 2 -abs",
                                 "2 3 +5"}
            << false << QList<int>{} << QStringList{"%1/6A.xlsx"}
            << QStringList{"1;\"'=HYPERLINK(\"\"http://x\"\",\"\"clic\"\")\";'+33 6;-2,50;-;-2,50;2",
                           "2;'@SUM(A1);'\tTab;'-abs;5,00;5,00;1"};
    }
    void faults()
    {
        QFETCH(QStringList, cells);
        QFETCH(bool, existing);
        QFETCH(QList<int>, answers);
        QFETCH(QStringList, suggestions);
        QFETCH(QStringList, lines);
        FakeSeams& fake = m_windows->fake();
        TMDIChild* window = m_windows->open();
        window->Charge(m_windows->path("6A.prf"));
        for (const QString& cell : cells) {
            const int row = cell.section(' ', 0, 0).toInt(), slot = cell.section(' ', 1, 1).toInt();
            if (slot <= ClassTable::LastMarkSlot)
                window->grid()->setCell(slot, row + 1, cell.section(' ', 2));
            else
                window->document().store(
                    [&](ClassContents& contents) { contents.table.at(row, slot) = cell.section(' ', 2); });
        }
        const QString path = m_windows->path("6A.csv");
        if (existing)
            testfiles::writeAll(path, "ancien");
        fake.saveAnswers << Seams::SaveChoice{m_windows->path("6A"), 2} << Seams::SaveChoice{m_windows->path("6A"), 2};
        fake.messageAnswers = answers;
        window->Exporter();

        QCOMPARE(fake.saveSuggestions, suggestions.replaceInStrings("%1", m_windows->folder()));
        QCOMPARE(fake.messages.size(), answers.size());
        for (const FakeSeams::Message& asked : fake.messages)
            QCOMPARE(asked.text, "Le fichier " + path + " existe déjà.\nVoulez-vous le remplacer ?");
        QStringList written;
        for (const QString& line : QString::fromUtf8(testfiles::readAll(path)).split("\r\n").mid(2, lines.size())) {
            const QStringList fields = line.split(';');
            written << (fields.mid(0, 5) + fields.mid(33)).join(';');
        }
        QCOMPARE(written, lines);
        const int students = lines.filter(QRegularExpression("^\\d")).size();
        QCOMPARE(fake.statusMessages, QStringList{QString("Classe exportée dans %1 : %2 élève%3.")
                                                      .arg(path, QString::number(students), students > 1 ? "s" : "")});
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
        // fault of this test. Student 4, an empty row above the last one whose first mark is filled, is counted with
        // 0, as the report counts it. Over the four ranked: Dev 1 reads 12, 0, 0 (abs left out), Oral 15, 18, 0, 0.
        const QString off = QString(";").repeated(28);
        const auto figure = [&](const QString& label, const QString& value) {
            return ";" + label + ";;;" + off + ";" + value + ";";
        };
        const QString empty = QString(";").repeated(34);
        const QString marks =
            QStringList{"N°;Nom;Prénom;Dev 1;Oral;3;4;5;6;7;8;9;10;11;12;13;14;15;16;17;18;19;20;21;22;"
                        "23;24;25;26;27;28;29;30;Moyenne;Rang",
                        ";Coefficients;;1.00;0.50" + off + ";;",
                        "1;Dupont;Léa;12.00;15.00" + off + ";9.75;1",
                        "2;Martin;Noé;abs;18.00" + off + ";9.00;2",
                        "3;;Zoé;;" + off + ";0.00;3",
                        "4;;;;" + off + ";0.00;4",
                        "5;\"Du\"\"rand; Jr\";;abs;abs" + off + ";-;non classé",
                        empty,
                        ";Moyenne de la rubrique;;4.00;8.25" + off + ";;",
                        ";Note la plus haute;;12.00;18.00" + off + ";;",
                        ";Note la plus basse;;0.00;0.00" + off + ";;",
                        empty,
                        figure("Moyenne de la classe", "4.69"),
                        figure("Moyenne la plus haute", "9.75"),
                        figure("Moyenne la plus basse", "0.00"),
                        empty,
                        figure("Elèves < moy. de la classe", "2"),
                        figure("Elèves >= moy. de la classe", "2"),
                        empty,
                        figure("Elèves < 10", "4"),
                        figure("Elèves >= 10", "0"),
                        empty,
                        figure("Elèves < 8", "2"),
                        figure("Elèves >= 8 et < 12", "2"),
                        figure("Elèves >= 12", "0"),
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
                                             none + "\r\n3;;Zoé" + none + "\r\n4;;" + none +
                                             "\r\n5;\"Du\"\"rand; Jr\";" + none + "\r\n");
    }
};

QTEST_MAIN(TestClassExport)
#include "TestClassExport.moc"

#include "ClassWindows.h"
#include "TestFiles.h"
#include "classbook/MDIChild.h"
#include "core/Csv.h"
#include "model/ImportPreview.h"
#include "model/StudentImport.h"
#include "widgets/StringGrid.h"

#include <QCheckBox>
#include <QDialog>
#include <QPushButton>
#include <QStringEncoder>
#include <QTest>

namespace {

// The fields a test names, in its own words.
const QHash<QString, int> Slot = {{"nom", ClassTable::Surname},      {"prénom", ClassTable::FirstName},
                                  {"né", ClassTable::BirthDate},     {"classe", ClassTable::ClassName},
                                  {"adresse", ClassTable::Address1}, {"cp", ClassTable::Postcode},
                                  {"ville", ClassTable::Town},       {"tél1", ClassTable::Phone1},
                                  {"tél2", ClassTable::Phone2},      {"remarques", ClassTable::Remarks}};

// What the preview tells beyond the students added: its summary, the columns ignored or read in another's stead,
// and every line not added ("line name: outcome").
QStringList told(const ImportPreview& preview)
{
    QStringList out{preview.summary()};
    for (const ImportPreview::Line& column : preview.columns())
        if (column.second.startsWith("ignorée") || column.second.contains(" où "))
            out << column.first + " -> " + column.second;
    for (const ImportPreview::Group& group : preview.groups())
        if (!group.title.startsWith("Élèves ajoutés"))
            for (const ImportPreview::Line& line : group.lines)
                out << (line.first + ' ' + line.second).trimmed() + ": " + line.third;
    return out;
}

QByteArray utf16(const QString& text, QStringEncoder::Encoding encoding, bool mark)
{
    QStringEncoder encoder(encoding, mark ? QStringEncoder::Flag::WriteBom : QStringEncoder::Flag::Default);
    return encoder(text);
}

} // namespace

// Lists of students from school systems and spreadsheets: the files they save, the columns they hold, the students
// already in the class, and the lines the class cannot take.
class TestStudentImport : public QObject
{
    Q_OBJECT

private slots:
    void lists_data()
    {
        QTest::addColumn<QByteArray>("file");
        QTest::addColumn<int>("used");            // students already in the class besides rows 1, 3 and 62
        QTest::addColumn<QStringList>("changed"); // "row|field=text|..." the rows filled or completed
        QTest::addColumn<QStringList>("told");
        const QString top = "liste.csv : intitulés des colonnes à la ligne 1 ; ";
        QTest::newRow("semicolons, UTF-8 with a byte-order mark")
            << QByteArray("\xEF\xBB\xBFNom;Prénom;Ville\r\nDupont;Léa;Lyon\r\n;;\r\nMartin;Léo;Caen\r\n") << 0
            << QStringList{"2|nom=Dupont|prénom=Léa|ville=Lyon", "4|nom=Martin|prénom=Léo|ville=Caen"}
            << QStringList{top + "2 élèves à ajouter."};
        QTest::newRow("commas, Windows-1252, headings in any case and without accents")
            << QByteArray("NOM,prenom,Tel 1\nC\x9Cur,Ana\xEFs,01 02\n") << 0
            << QStringList{"2|nom=Cœur|prénom=Anaïs|tél1=01 02"} << QStringList{top + "1 élève à ajouter."};
        QTest::newRow("tabs, quotes around tabs, quotes and line breaks")
            << QByteArray("Nom\tPrénom\tRemarques\n\"Du\tPont\"\t \"Jean \"\"Jo\"\"\" \t\"un\ndeux\"\nPetit\tZoé\t\n")
            << 0 << QStringList{"2|nom=Du Pont|prénom=Jean \"Jo\"|remarques=un\r\ndeux", "4|nom=Petit|prénom=Zoé"}
            << QStringList{top + "2 élèves à ajouter."};
        QTest::newRow("unknown columns listed")
            << QByteArray("N°;Nom;Option\n1;Étienne;latin\n") << 0 << QStringList{"2|nom=Étienne"}
            << QStringList{top + "1 élève à ajouter.", "N° -> ignorée", "Option -> ignorée"};
        QTest::newRow("lines refused")
            << ("Nom;Prénom;Ville\nA;B;" + QByteArray(252, 'x') + "\nΩmega;C;\n;;Lyon\n\"D;E\";F;" +
                QByteArray(251, 'y') + "\nG\x01;H;\n")
            << 0 << QStringList{"2|nom=D;E|prénom=F|ville=" + QString(251, 'y')}
            << QStringList{
                   top + "1 élève à ajouter, 4 lignes refusées.", "2 A B: « Ville » trop long (251 caractères au plus)",
                   "3 Ωmega C: le caractère « Ω » ne peut pas être gardé dans le fichier classe", "4: ni nom ni prénom",
                   "6 G\x01 H: le caractère « \x01 » ne peut pas être gardé dans le fichier classe"};
        QTest::newRow("more than 62 students")
            << QByteArray("Nom\nUn\nDeux\nTrois\n") << 57 << QStringList{"2|nom=Un", "4|nom=Deux"}
            << QStringList{top + "2 élèves à ajouter, 1 ligne refusée.", "4 Trois: la classe a déjà 62 élèves"};
        QByteArray unknown = "Nom;" + QByteArray(100, 'L');
        for (int c = 1; c < 10000; ++c)
            unknown += ";c" + QByteArray::number(c);
        QStringList listed = {top + "1 élève à ajouter.", QString(79, 'L') + "… -> ignorée"};
        for (int c = 1; c < 15; ++c)
            listed << "c" + QString::number(c) + " -> ignorée";
        QTest::newRow("10 000 unknown columns, one long")
            << unknown + "\nA\n"
            << 0 << QStringList{"2|nom=A"} << listed + QStringList{"... et 9\u00A0985 autres colonnes. -> ignorées"};
        QTest::newRow("no heading names a name")
            << QByteArray("Ville;Classe\nLyon;6A\n") << 0 << QStringList{}
            << QStringList{"Aucun élève ajouté : aucune des 10 premières lignes du fichier ne nomme les colonnes de la "
                           "liste, dont « Nom »."};
        QTest::newRow("school system headings under a title line, ISO dates")
            << QByteArray("Élèves de 6A;;\n\nNom élève;Prénom élève;Date naissance;CP;Commune;Téléphone;Portable;"
                          "Division;Adresse;Nom d'usage élève\nDURAND;Léo;2012-04-01;01000;Lyon;04 78;06 12;6A;1 rue "
                          "Haute;\nROUX;Ana;1/2/2013;;;;;;;VIAL\n")
            << 0
            << QStringList{"2|nom=DURAND|prénom=Léo|né=01/04/2012|cp=01000|ville=Lyon|tél1=04 78|tél2=06 12|classe=6A|"
                           "adresse=1 rue Haute",
                           "4|nom=VIAL|prénom=Ana|né=01/02/2013"}
            << QStringList{"liste.csv : intitulés des colonnes à la ligne 3 ; 2 élèves à ajouter.",
                           "Nom élève -> Nom, où « Nom d'usage élève » est vide"};
        QTest::newRow("first names without surnames refused whole")
            << QByteArray("Prénom;Ville\nLéa;Lyon\n") << 0 << QStringList{}
            << QStringList{
                   "Aucun élève ajouté : la liste a une colonne « Prénom » mais aucune colonne de nom (« Nom », "
                   "« Nom élève », « Nom de famille »...) ; chaque élève n'y aurait que son prénom."};
        QTest::newRow("students already there completed, never changed; twice in the list; a twin")
            << QByteArray("Nom;Prénom;Né(e) le;Ville;Tél 1\nMARTIN;Noé;2012-04-01;Lyon;09 09\nMartin;Noe;;Caen;\n"
                          "Martin;Noé;02/02/2013;Brest;\n")
            << 0 << QStringList{"2|nom=Martin|prénom=Noé|né=02/02/2013|ville=Brest", "62|ville=Lyon"}
            << QStringList{top + "1 élève à ajouter, 1 déjà dans la classe, 1 en double.",
                           "2 MARTIN Noé: n° 62, pas ajouté ; fiche à compléter : Ville",
                           "3 Martin Noe: déjà à la ligne 2 de la liste"};
        QTest::newRow("UTF-16 with its byte-order mark, as a spreadsheet saves Unicode text")
            << utf16("Nom\tPrénom\r\nÉtienne\tZoé\r\n", QStringEncoder::Utf16LE, true) << 0
            << QStringList{"2|nom=Étienne|prénom=Zoé"} << QStringList{top + "1 élève à ajouter."};
        QTest::newRow("UTF-16 with a surrogate alone, and a character in two")
            << utf16(QString("Nom\tPrénom\r\nLé") + QChar(0xD800) + "a\tZoé\r\nRoux\t" + QChar(0xD83D) + QChar(0xDE00) +
                         "\r\n",
                     QStringEncoder::Utf16LE, true)
            << 0 << QStringList{}
            << QStringList{top + "0 élèves à ajouter, 2 lignes refusées.",
                           "2 Lé\uFFFDa Zoé: le caractère « \uFFFD » ne peut pas être gardé dans le fichier classe",
                           "3 Roux \U0001F600: le caractère « \U0001F600 » ne peut pas être gardé dans le fichier classe"};
        QTest::newRow("UTF-16 without its mark")
            << utf16("Nom\tPrénom\r\n", QStringEncoder::Utf16LE, false) << 0 << QStringList{}
            << QStringList{"Le fichier liste.csv n'est ni un classeur ni un texte que le programme sait lire (UTF-8, "
                           "UTF-16 avec sa marque d'ordre, Windows-1252) : enregistrez la liste en CSV, en texte "
                           "Unicode, en .xlsx ou en .ods."};
    }
    void lists()
    {
        QFETCH(QByteArray, file);
        QFETCH(int, used);
        QFETCH(QStringList, changed);
        QFETCH(QStringList, told);
        // Row 1 has only a mark, row 3 only a town; Martin Noé in row 62; rows 5 onwards as many students as said.
        ClassTable table;
        table.at(1, 2) = "12,5";
        table.at(3, ClassTable::Town) = "Paris";
        table.at(62, ClassTable::Surname) = "Martin";
        table.at(62, ClassTable::FirstName) = "Noé";
        table.at(62, ClassTable::BirthDate) = "01/04/2012";
        table.at(62, ClassTable::Phone1) = "01 02";
        for (int n = 0; n < used; ++n)
            table.at(5 + n, ClassTable::Surname) = "Déjà";
        ClassTable expected = table;
        for (const QString& row : changed)
            for (const QString& field : row.split('|').mid(1))
                expected.at(row.section('|', 0, 0).toInt(), Slot.value(field.section('=', 0, 0))) =
                    field.section('=', 1);
        std::optional<ImportPreview> preview;
        const QString error = testfiles::errorOf(
            [&] { preview.emplace("/tmp/liste.csv", studentimport::planOf(file, "liste.csv", table)); });
        QCOMPARE(error.isEmpty()
                     ? (preview->plan().refused.isEmpty() ? ::told(*preview) : QStringList{preview->plan().refused})
                     : QStringList{error},
                 told);
        if (preview) {
            preview->setComplete(true);
            preview->apply(table);
        }
        QVERIFY(table == expected);
    }

    // A spreadsheet's list, with a title line, a date typed as a date, a postcode typed as text and a remark of two
    // lines, saved by LibreOffice as .xlsx, .ods and Unicode text, imports as the CSV it was made from.
    void listsSavedByASpreadsheet()
    {
        SKIP_UNLESS_INSTALLED("soffice");
        QTemporaryDir dir;
        const QByteArray csv = "Liste de la classe 6A\r\n\r\nNom élève;Prénom élève;Date naissance;Code postal;"
                               "Remarques\r\nD'ALEMBERT;Léo;01/04/2012;01000;\"un\r\ndeux\"\r\nMartin;Noé;29/02/2012;"
                               "69001;\r\n";
        testfiles::writeAll(dir.filePath("liste.csv"), csv);
        const QString types = "CSV:59,34,76,1,1/2/2/2/3/4/4/2/5/2";
        testfiles::convertByOffice({dir.filePath("liste.csv")}, "xlsx", dir.filePath("out"), types);
        testfiles::convertByOffice({dir.filePath("liste.csv")}, "ods", dir.filePath("out"), types);
        // As text, the date stays as it was typed, whatever the date form of the spreadsheet.
        testfiles::convertByOffice({dir.filePath("liste.csv")}, "txt:Text - txt - csv (StarCalc):9,34,65535,1",
                                   dir.filePath("out"), "CSV:59,34,76,1,1/2/2/2/3/2/4/2/5/2");
        ClassTable fromCsv;
        studentimport::apply(studentimport::planOf(csv, "liste.csv", fromCsv), fromCsv, false);
        QCOMPARE(fromCsv.at(1, ClassTable::Remarks), "un\r\ndeux");
        QCOMPARE(fromCsv.at(2, ClassTable::BirthDate), "29/02/2012");
        for (const char* saved : {"liste.xlsx", "liste.ods", "liste.txt"}) {
            ClassTable table;
            const studentimport::Plan plan = studentimport::planFrom(dir.filePath("out/") + saved, table);
            QCOMPARE(plan.headerLine, 3);
            studentimport::apply(plan, table, false);
            QVERIFY2(table == fromCsv, saved);
        }
    }

    // The CSV writer's file reads back field for field, a text that begins with U+FEFF (no byte-order mark) too.
    void csvReadsBackWhatItWrites()
    {
        const QList<QStringList> rows = {{QString(QChar(0xFEFF)), ""}, {" \"a\" ", "b;c", "d\r\ne"}};
        csv::Reader reader(csv::decode(csv::utf8File(rows)), u';');
        csv::Record record;
        for (const QStringList& row : rows) {
            QVERIFY(reader.next(record));
            QCOMPARE(record.fields, row);
        }
        QVERIFY(!reader.next(record));
    }

    // Through the menu's operation and the preview's buttons: "&Annuler" changes nothing; "&Importer" shows the new
    // names, completes the card when asked and keeps every mark as it was typed.
    void importIntoTheWindow()
    {
        ClassWindows windows;
        testfiles::writeAll(windows.path("liste.csv"), "Nom;Prénom;Ville\r\nDupont;Léa;Lyon\r\nBrun;Noé;Caen\r\n");
        TMDIChild* window = windows.open();
        window->grid()->setCell(2, 2, "12,5");
        window->document().store([](ClassContents& contents) {
            contents.table.at(2, ClassTable::Surname) = "Brun";
            contents.table.at(2, ClassTable::FirstName) = "Noé";
        });
        for (const char* button : {"cancel", "import"}) {
            windows.fake().openAnswers << windows.path("liste.csv");
            windows.fake().onModal = [button](QDialog* dialog) {
                dialog->findChild<QCheckBox*>("complete")->click();
                dialog->findChild<QPushButton*>(button)->click();
                return dialog->result();
            };
            window->Importer();
        }
        QCOMPARE(window->grid()->cell(1, 4), QString("Dupont Léa"));
        QCOMPARE(window->grid()->cell(2, 2), QString("12,5"));
        QCOMPARE(window->table().at(2, ClassTable::Town), "Caen");
        QVERIFY(window->isModified());
        QCOMPARE(windows.fake().statusMessages, QStringList{"1 élève ajouté, 1 fiche complétée depuis liste.csv."});
    }
};

QTEST_MAIN(TestStudentImport)
#include "TestStudentImport.moc"

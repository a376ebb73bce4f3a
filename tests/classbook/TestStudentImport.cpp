#include "ClassWindows.h"
#include "TestFiles.h"
#include "classbook/MDIChild.h"
#include "core/Csv.h"
#include "model/StudentImport.h"
#include "widgets/StringGrid.h"

#include <QTest>

// Lists of students from spreadsheets: the separators, encodings and quotes they write, the columns they
// hold, and the lines the class cannot take.
class TestStudentImport : public QObject
{
    Q_OBJECT

private slots:
    void lists_data()
    {
        QTest::addColumn<QByteArray>("file");
        QTest::addColumn<int>("used");          // students already in the class besides rows 1 and 3
        QTest::addColumn<QStringList>("added"); // "row surname|first name|other field"
        QTest::addColumn<QString>("message");
        const QString two = "2 élèves ajoutés.";
        QTest::newRow("semicolons, UTF-8 with a byte-order mark")
            << QByteArray("\xEF\xBB\xBFNom;Prénom;Ville\r\nDupont;Léa;Lyon\r\n;;\r\nMartin;Noé;Caen\r\n") << 0
            << QStringList{"2 Dupont|Léa|Lyon", "4 Martin|Noé|Caen"} << two;
        QTest::newRow("commas, Windows-1252, headings in any case and without accents")
            << QByteArray("NOM,prenom,Tel 1\nC\x9Cur,Ana\xEFs,01 02\n") << 0 << QStringList{"2 Cœur|Anaïs|01 02"}
            << "1 élève ajouté.";
        QTest::newRow("tabs, quotes around tabs, quotes and line breaks")
            << QByteArray("Nom\tPrénom\tRemarques\n\"Du\tPont\"\t \"Jean \"\"Jo\"\"\" \t\"un\ndeux\"\nPetit\tZoé\t\n")
            << 0 << QStringList{"2 Du Pont|Jean \"Jo\"|un\r\ndeux", "4 Petit|Zoé|"} << two;
        QTest::newRow("UTF-8 without a byte-order mark, other names of the fields, unknown columns listed")
            << QByteArray("N°;Nom;Option;Date de naissance\n1;Étienne;latin;01/02/2012\n") << 0
            << QStringList{"2 Étienne||01/02/2012"} << "1 élève ajouté.\n\nColonnes ignorées : N°, Option";
        QTest::newRow("lines refused")
            << ("Nom;Prénom;Ville\nA;B;" + QByteArray(252, 'x') + "\nΩmega;C;\n;;Lyon\n\"D;E\";F;" +
                QByteArray(251, 'y') + "\nG\x01;H;\n")
            << 0 << QStringList{"2 D;E|F|" + QString(251, 'y')}
            << "1 élève ajouté.\n\nLignes refusées :\nligne 2 : « Ville » trop long (251 caractères au plus)\n"
               "ligne 3 : le caractère « Ω » ne peut pas être gardé dans le fichier classe\n"
               "ligne 4 : ni nom ni prénom\n"
               "ligne 6 : le caractère « \x01 » ne peut pas être gardé dans le fichier classe";
        QTest::newRow("more than 62 students")
            << QByteArray("Prénom\nUn\nDeux\nTrois\n") << 58 << QStringList{"2 |Un|", "4 |Deux|"}
            << "2 élèves ajoutés.\n\nLignes refusées :\nligne 4 : la classe a déjà 62 élèves";
        QByteArray unknown = "Nom;" + QByteArray(100, 'L');
        QString listed = "1 élève ajouté.\n\nColonnes ignorées : " + QString(79, 'L') + "…";
        for (int c = 1; c < 10000; ++c)
            unknown += ";c" + QByteArray::number(c);
        for (int c = 1; c < 15; ++c)
            listed += ", c" + QString::number(c);
        QTest::newRow("10 000 unknown columns, one long")
            << unknown + "\nA\n"
            << 0 << QStringList{"2 A||"} << listed + ", ... et 9\u00A0985 autres colonnes.";
        QTest::newRow("no heading names a name") << QByteArray("Ville;Classe\nLyon;6A\n") << 0 << QStringList{}
                                                 << "Aucun élève ajouté : la première ligne du fichier doit nommer les "
                                                    "colonnes, dont « Nom » ou « Prénom ».";
    }
    void lists()
    {
        QFETCH(QByteArray, file);
        QFETCH(int, used);
        QFETCH(QStringList, added);
        QFETCH(QString, message);
        // Row 1 has only a mark, row 3 only a town; rows 5 onwards as many students as the row says.
        ClassTable table;
        table.at(1, 2) = "12,5";
        table.at(3, ClassTable::Town) = "Paris";
        for (int n = 0; n < used; ++n)
            table.at(5 + n, ClassTable::Surname) = "Déjà";
        ClassTable expected = table;
        for (const QString& student : added) {
            const int row = student.section(' ', 0, 0).toInt();
            const QStringList fields = student.section(' ', 1).split('|');
            expected.at(row, ClassTable::Surname) = fields[0];
            expected.at(row, ClassTable::FirstName) = fields[1];
            const int other = file.contains("Ville")  ? ClassTable::Town
                              : file.contains("Tel")  ? ClassTable::Phone1
                              : file.contains("Date") ? ClassTable::BirthDate
                                                      : ClassTable::Remarks;
            expected.at(row, other) = fields[2];
        }
        const studentimport::Result result = studentimport::fill(file, table);
        QCOMPARE(studentimport::summary(result), message);
        QVERIFY(table == expected);
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

    // Through the menu's operation: the grid in view shows the new names and keeps every mark as it was typed.
    void importIntoTheWindow()
    {
        ClassWindows windows;
        testfiles::writeAll(windows.path("liste.csv"), "Nom;Prénom\r\nDupont;Léa\r\n");
        windows.fake().openAnswers << windows.path("liste.csv");
        TMDIChild* window = windows.open();
        window->grid()->setCell(2, 2, "12,5");
        window->Importer();
        QCOMPARE(window->grid()->cell(1, 3), QString("Dupont Léa"));
        QCOMPARE(window->grid()->cell(2, 2), QString("12,5"));
        QVERIFY(window->isModified());
        QCOMPARE(windows.fake().messages.constLast().text, QString("1 élève ajouté."));
    }
};

QTEST_MAIN(TestStudentImport)
#include "TestStudentImport.moc"

#include "FakeSeams.h"
#include "TestFiles.h"
#include "app/HelpFile.h"
#include "companions/Plan.h"
#include "companions/Planning.h"
#include "core/TextFile.h"
#include "model/ClassDocument.h"
#include "model/ClassFile.h"
#include "model/PhraseList.h"
#include "model/StudentImport.h"

#include <QTemporaryDir>
#include <QTest>

// Files far larger than any the program writes are refused before they are read, each reader with a message
// naming the file, and are then never written over; a file at the bound is read.
class TestOversizedFiles : public QObject
{
    Q_OBJECT

    static constexpr qint64 Mo = 1024 * 1024;

    // The message with which the reader refused the file; empty when it read it.
    static QString refusal(const QString& reader, const QString& path)
    {
        const QString classFile = QFileInfo(path).path() + "/6A.prf";
        if (reader == "help")
            return HelpFile::load(path).refusal();
        return testfiles::errorOf([&] {
            if (reader == "class") {
                ClassDocument().load(classFile);
            } else if (reader == "plan") {
                TPlan().Charge(classFile);
            } else if (reader == "planning") {
                TPlanning().Charge(classFile);
            } else if (reader == "phrases") {
                PhraseList().load(path);
            } else {
                ClassTable table;
                studentimport::planFrom(path, table);
            }
        });
    }

private slots:
    void readers_data()
    {
        QTest::addColumn<QString>("reader");
        QTest::addColumn<QString>("name");
        QTest::addColumn<qint64>("size");        // the file's size
        QTest::addColumn<QByteArray>("content"); // its first bytes; then a hole, or line feeds after "\n"
        QTest::addColumn<QString>("message");    // %1: the file
        const auto row = [](const char* name, const char* reader, const char* file, qint64 size, QByteArray content,
                            const char* message) {
            QTest::newRow(name) << reader << file << size << content << QString::fromUtf8(message);
        };
        const QByteArray text = "\r\n0221" + QByteArray(8192, 'x');
        row("class file over 32 Mo", "class", "6A.prf", 32 * Mo + 1, {},
            "Le fichier %1 est trop grand (plus de 32 Mo) : ce n'est pas un fichier de classe.");
        row("class file of 32 Mo", "class", "6A.prf", 32 * Mo, "\n", "");
        row("class text of 8 192 characters", "class", "6A.prf", text.size(), text, "");
        row("class text of 8 193 characters", "class", "6A.prf", text.size() + 1, text + "x",
            "Le fichier %1 a un texte trop long à la ligne 2 (plus de 8\u00A0192 caractères) : ce n'est pas un fichier "
            "de classe.");
        row("homework over 1 Mo", "class", "6A.prd", Mo + 1, {},
            "Le fichier %1 est trop grand (plus de 1 Mo) : ce n'est pas un fichier de devoirs.");
        row("homework of 1 Mo", "class", "6A.prd", Mo, {}, "");
        row("seating plan over 1 Mo", "plan", "6A.prc", Mo + 1, {},
            "Le fichier %1 est trop grand (plus de 1 Mo) : ce n'est pas un plan de classe.");
        row("planning over 1 Mo", "planning", "6A.prp", Mo + 1, {},
            "Le fichier %1 est trop grand (plus de 1 Mo) : ce n'est pas un fichier de planning.");
        row("planning of 1 Mo", "planning", "6A.prp", Mo, "\n", "");
        row("phrases over 1 Mo", "phrases", "Virelan.obs", Mo + 1, {},
            "Le fichier %1 est trop grand (plus de 1 Mo) : ce n'est pas un fichier d'appréciations.");
        row("phrases of 1 Mo", "phrases", "Virelan.obs", Mo, "\n", "");
        row("help over 1 Mo", "help", "Virelan.hlp", Mo + 1, {},
            "Le fichier %1 est trop grand (plus de 1 Mo) : ce n'est pas un fichier d'aide.");
        row("help of 1 Mo", "help", "Virelan.hlp", Mo, {}, "");
        row("list over 16 Mo", "list", "liste.csv", 16 * Mo + 1, {},
            "Le fichier %1 est trop grand (plus de 16 Mo) : ce n'est pas une liste d'élèves.");
        const QByteArray columns = "Nom" + QByteArray(";x").repeated(16383);
        row("list of 16 384 columns", "list", "liste.csv", columns.size() + 3, columns + "\nA\n", "");
        // A workbook unpacking beyond, whatever its archive says, or repeating one cell beyond.
        QByteArray hidden = testfiles::zip({{"xl/workbook.xml", QByteArray(16 * Mo + 1, ' ')}});
        hidden.replace(hidden.size() - 22 - 61 + 24, 4, QByteArray("\x10\0\0\0", 4));
        row("workbook unpacking beyond 16 Mo", "list", "liste.xlsx", hidden.size(), hidden,
            "Le fichier %1 est trop grand une fois décompressé (plus de 16 Mo) : ce n'est pas une liste d'élèves.");
        const QByteArray repeated = testfiles::zip(
            {{"mimetype", "application/vnd.oasis.opendocument.spreadsheet"},
             {"content.xml", "<d xmlns:t='urn:t' xmlns:x='urn:x'><t:table><t:table-row t:number-rows-repeated='999999'>"
                             "<t:table-cell t:number-columns-repeated='100'><x:p>Nom</x:p></t:table-cell>"
                             "</t:table-row></t:table></d>"}});
        row("workbook repeating a cell beyond 16 Mo", "list", "liste.ods", repeated.size(), repeated,
            "Le fichier %1 est trop grand une fois décompressé (plus de 16 Mo) : ce n'est pas une liste d'élèves.");
        row("list of 16 385 columns", "list", "liste.csv", columns.size() + 6, "Nom\n" + columns + ";x",
            "Le fichier %1 a trop de colonnes à la ligne 2 (plus de 16\u00A0384) : ce n'est pas une liste d'élèves.");
    }
    void readers()
    {
        QFETCH(QString, reader);
        QFETCH(QString, name);
        QFETCH(qint64, size);
        QFETCH(QByteArray, content);
        QFETCH(QString, message);
        FakeSeams fake;
        QTemporaryDir dir;
        const QString path = dir.filePath(name);
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(content);
        if (content.endsWith('\n'))
            file.write(QByteArray(size - content.size(), '\n'));
        QVERIFY(file.resize(size));
        file.close();
        QCOMPARE(refusal(reader, path), message.isEmpty() ? message : message.arg(path));
        // A file of the program refused is, like one that cannot be read, never replaced by what it holds instead.
        if (!message.isEmpty() && reader != "help" && reader != "list")
            QCOMPARE(testfiles::errorOf([&] { textfile::writeBytes(path, "x"); }), "Ne peut créer le fichier " + path);
    }

    // Every slot of the class full: what the program writes always reads back.
    void largestClassReadsBack()
    {
        QTemporaryDir dir;
        ClassTable table;
        for (int row = ClassTable::FirstRow; row <= ClassTable::LastRow; ++row)
            for (int slot = 0; slot < ClassTable::SlotCount; ++slot)
                table.at(row, slot) = QString(classfile::MaxText - 1, QChar(u'é')) + "\r\n";
        testfiles::writeAll(dir.filePath("6A.prf"), classfile::write(table, {}));
        ClassTable back;
        classfile::read(classfile::readFile(dir.filePath("6A.prf")), back);
        for (int row = ClassTable::FirstRow; row <= ClassTable::LastRow; ++row)
            table.at(row, 0).clear();
        QVERIFY(back == table);
    }
};

QTEST_MAIN(TestOversizedFiles)
#include "TestOversizedFiles.moc"

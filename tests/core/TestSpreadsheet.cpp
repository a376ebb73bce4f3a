#include "TestFiles.h"
#include "core/FileWriter.h"
#include "core/Spreadsheet.h"

#include <QDir>
#include <QTemporaryDir>
#include <QTest>
#include <cmath>

using spreadsheet::Cell;
using spreadsheet::Sheet;

Q_DECLARE_METATYPE(Cell)
Q_DECLARE_METATYPE(Sheet)

namespace {

// The workbook as python's own zip and XML readers read it (see ReadWorkbook.py).
QStringList readBack(const QString& path)
{
    return testfiles::run("python3", {QStringLiteral(WORKBOOK_READER), path}).split('\n', Qt::SkipEmptyParts);
}

// A disk that takes `left` bytes of the workbook and then fails, like one that fills up.
struct FullDisk : filewriter::Probe
{
    explicit FullDisk(qint64 left) : left(left) { filewriter::setProbe(this); }
    ~FullDisk() override { filewriter::setProbe(nullptr); }
    std::unique_ptr<QIODevice> device(QIODevice& file) override { return testfiles::fillingDisk(file, left); }
    qint64 left;
};

Sheet sheetOf(const QString& name, const QList<QList<Cell>>& rows = {})
{
    Sheet sheet;
    sheet.name = name;
    sheet.rows = rows;
    return sheet;
}

} // namespace

// The .xlsx workbook as another program reads it: cells, kinds, formats, names, panes and widths; workbooks that
// cannot be made leave the old one in place.
class TestSpreadsheet : public QObject
{
    Q_OBJECT

    std::optional<QTemporaryDir> m_dir;

private slots:
    void init()
    {
        m_dir.emplace();
        SKIP_UNLESS_INSTALLED("python3");
    }

    void cells_data()
    {
        QTest::addColumn<Cell>("cell");
        QTest::addColumn<QString>("read"); // B2 as read back, empty for no cell
        const QString emoji = QString::fromUtf8("\xF0\x9F\x98\x80");
        const auto text = [](const QString& t) { return Cell::ofText(t); };
        QTest::newRow("text") << text("Dupont") << R"(text General "Dupont")";
        QTest::newRow("markup") << text("A & B <c> \"d\" 'e' ]]>") << "text General \"A & B <c> \\\"d\\\" 'e' ]]>\"";
        QTest::newRow("control characters, carriage return and tab")
            << text(QString("a") + QChar(1) + "b" + QChar(0x1F) + "c\td\re" + QChar(0x7F))
            << "text General \"a\\u0001b\\u001fc\\td\\re\x7F\"";
        QTest::newRow("a text in the escapes' form")
            << text("_x0041_ et _x00e9_") << R"(text General "_x0041_ et _x00e9_")";
        QTest::newRow("lines") << text("Sérieuse\r\nBavarde") << "text General wrap \"Sérieuse\\r\\nBavarde\"";
        QTest::newRow("blanks at the ends") << text(" a\n") << "text General wrap \" a\\n\"";
        QTest::newRow("not a character") << text(QString("a") + QChar(0xFFFE) + emoji)
                                         << "text General \"a\uFFFE" + emoji + '"';
        QTest::newRow("half a character") << text(QString("a") + QChar(0xD800) + "b") << R"(text General "a?b")";
        QTest::newRow("longer than a cell") << text(QString(40000, 'x')) << "text General <32767 characters>";
        QTest::newRow("cut before a character in two halves")
            << text(QString(32766, 'y') + emoji) << "text General <32766 characters>";
        QTest::newRow("empty text") << text("") << "";
        QTest::newRow("decimal") << Cell::ofDecimal(9.75) << "number 0.00 9.75";
        QTest::newRow("decimal to its last digit") << Cell::ofDecimal(0.1 + 0.2) << "number 0.00 0.30000000000000004";
        QTest::newRow("small decimal") << Cell::ofDecimal(-1.5e-7) << "number 0.00 -1.5e-07";
        QTest::newRow("whole") << Cell::ofWhole(-2147483647) << "number 0 -2147483647.0";
        QTest::newRow("not a number") << Cell::ofDecimal(std::nan("")) << R"(error 0.00 "#NUM!")";
    }
    void cells()
    {
        QFETCH(Cell, cell);
        QFETCH(QString, read);
        const QString path = m_dir->filePath("cells.xlsx");
        spreadsheet::writeXlsx(path, {sheetOf("Notes", {{}, {Cell(), cell}})});
        QStringList expected = {R"(sheet "Notes" pane none widths )"};
        if (!read.isEmpty())
            expected << "B2 " + read;
        QCOMPARE(readBack(path), expected);
    }

    // Worked by hand: a width of w characters is stored as w characters of 7 pixels and the cell's 5 pixels of
    // padding, in 256ths of a character: 5 gives 40 / 7 = 5.714..., 1462 / 256 = 5.7109375.
    void sheets_data()
    {
        QTest::addColumn<Sheet>("sheet");
        QTest::addColumn<QString>("read");
        Sheet both = sheetOf("6A", {{Cell::ofText("N°")}, {}, {}, {Cell(), Cell::ofWhole(1)}});
        both.frozenRows = 2;
        both.frozenCols = 3;
        both.columnWidths = {5, 26, 16};
        QTest::newRow("rows and columns") << both
                                          << "sheet \"6A\" pane 3 2 D3 bottomRight frozen widths 1:5.7109375 "
                                             "2:26.7109375 3:16.7109375\nA1 text General \"N°\"\nB4 number 0 1.0";
        Sheet rows = sheetOf(R"(Notes & "bilan" <6e>)");
        rows.frozenRows = 1;
        rows.columnWidths = {0.5, 12.5};
        QTest::newRow("rows, a name to escape")
            << rows
            << "sheet \"Notes & \\\"bilan\\\" <6e>\" pane - 1 A2 bottomLeft frozen widths 1:0.85546875 2:13.28515625";
        Sheet columns = sheetOf("Fiches élèves");
        columns.frozenCols = 1;
        QTest::newRow("columns") << columns << R"(sheet "Fiches élèves" pane 1 - B1 topRight frozen widths )";
    }
    void sheets()
    {
        QFETCH(Sheet, sheet);
        QFETCH(QString, read);
        const QString path = m_dir->filePath("sheets.xlsx");
        spreadsheet::writeXlsx(path, {sheet, sheetOf("Autre", {{Cell::ofDecimal(2)}})});
        const QStringList other = {R"(sheet "Autre" pane none widths )", "A1 number 0.00 2.0"};
        QCOMPARE(readBack(path), read.split('\n') + other);
    }

    // Sheets no workbook holds, and a disk that fills up: the old workbook stays as it was, and nothing beside it.
    void oldWorkbookKept_data()
    {
        QTest::addColumn<QList<Sheet>>("sheets");
        QTest::addColumn<qint64>("diskTakes"); // bytes, all when negative
        const QList<Sheet> good = {sheetOf("6A", {{Cell::ofText("Dupont"), Cell::ofDecimal(12)}})};
        QTest::newRow("no sheet") << QList<Sheet>{} << qint64(-1);
        QTest::newRow("same name in another case") << QList<Sheet>{sheetOf("6A"), sheetOf("6a")} << qint64(-1);
        QTest::newRow("empty name") << QList<Sheet>{sheetOf("")} << qint64(-1);
        QTest::newRow("name of 32 characters") << QList<Sheet>{sheetOf(QString(32, 'n'))} << qint64(-1);
        QTest::newRow("slash in the name") << QList<Sheet>{sheetOf("6A/6B")} << qint64(-1);
        QTest::newRow("apostrophe ending the name") << QList<Sheet>{sheetOf("6A'")} << qint64(-1);
        QTest::newRow("more columns than a sheet") << QList<Sheet>{sheetOf("6A", {QList<Cell>(16385)})} << qint64(-1);
        for (const qint64 bytes : {0, 1, 100, 1000})
            QTest::addRow("disk full after %lld bytes", bytes) << good << bytes;
    }
    void oldWorkbookKept()
    {
        QFETCH(QList<Sheet>, sheets);
        QFETCH(qint64, diskTakes);
        const QString path = m_dir->filePath("kept.xlsx");
        testfiles::writeAll(path, "ancien classeur");
        QString error;
        {
            std::optional<FullDisk> disk;
            if (diskTakes >= 0)
                disk.emplace(diskTakes);
            error = testfiles::errorOf([&] { spreadsheet::writeXlsx(path, sheets); });
        }
        QCOMPARE(error, "Ne peut créer le fichier " + path);
        QCOMPARE(testfiles::readAll(path), "ancien classeur");
        QCOMPARE(QDir(m_dir->path()).entryList(QDir::Files | QDir::Hidden), QStringList{"kept.xlsx"});
    }
};

QTEST_GUILESS_MAIN(TestSpreadsheet)
#include "TestSpreadsheet.moc"

// Student lists: the CSV reader reads any text; a record has no more fields than its lines have separators,
// plus one, and keeps no more than it is asked to; the records read, written by the CSV writer, read back the
// same. The import, of a text or of a workbook, fills only empty rows and empty fields, within the class, with
// texts a class file takes back, refuses at most every line, and shows it in a preview of a few lines.
#include "FuzzCheck.h"
#include "core/Csv.h"
#include "core/PlatformError.h"
#include "model/ClassFile.h"
#include "model/ImportPreview.h"
#include "model/StudentImport.h"

#include <memory>

namespace {

QList<csv::Record> readAll(const QString& text, QChar separator, qsizetype maxFields)
{
    QList<csv::Record> records;
    csv::Reader reader(text, separator, maxFields);
    csv::Record record;
    while (reader.next(record))
        records << record;
    return records;
}

// The separators on each line of the text, lines ending as the reader ends them (inside quotes too).
QList<qsizetype> separatorsPerLine(const QString& text, QChar separator)
{
    QList<qsizetype> lines{0};
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text[i] == separator)
            ++lines.last();
        if (text[i] == u'\r' && i + 1 < text.size() && text[i + 1] == u'\n')
            ++i;
        if (text[i] == u'\r' || text[i] == u'\n')
            lines << 0;
    }
    return lines;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const QByteArray bytes = fuzz::bytes(data, size);
    const QString text = csv::decode(bytes);
    const QChar separator = csv::detectSeparator(text);
    const qsizetype maxFields = size > 0 ? 1 + data[0] % 8 : 1;

    const QList<csv::Record> records = readAll(text, separator, std::numeric_limits<qsizetype>::max());
    const QList<qsizetype> separators = separatorsPerLine(text, separator);
    for (qsizetype r = 0; r < records.size(); ++r) {
        const csv::Record& record = records[r];
        const int end = r + 1 < records.size() ? records[r + 1].line : int(separators.size()) + 1;
        FUZZ_REQUIRE(record.line >= 1 && record.line < end);
        qsizetype most = 1;
        for (int line = record.line; line < end && line <= separators.size(); ++line)
            most += separators[line - 1];
        FUZZ_REQUIRE(record.fieldCount == record.fields.size() && record.fieldCount <= most);
    }
    const QList<csv::Record> cut = readAll(text, separator, maxFields);
    FUZZ_REQUIRE(cut.size() == records.size());
    for (qsizetype r = 0; r < cut.size(); ++r) {
        FUZZ_REQUIRE(cut[r].line == records[r].line && cut[r].fieldCount == records[r].fieldCount);
        FUZZ_REQUIRE(cut[r].fields == records[r].fields.mid(0, maxFields));
    }
    QList<QStringList> rows;
    for (const csv::Record& record : records)
        rows << record.fields;
    const QList<csv::Record> back =
        readAll(csv::decode(csv::utf8File(rows)), u';', std::numeric_limits<qsizetype>::max());
    FUZZ_REQUIRE(back.size() == rows.size());
    for (qsizetype r = 0; r < back.size(); ++r)
        FUZZ_REQUIRE(back[r].fields == rows[r]);

    // Row 1 holds a mark, row 3 a town, row 5 a student: only the student's empty fields may be completed.
    auto table = std::make_unique<ClassTable>();
    table->at(1, 2) = QStringLiteral("12");
    table->at(3, ClassTable::Town) = QStringLiteral("Lyon");
    table->at(5, ClassTable::Surname) = QStringLiteral("Dupont");
    const ClassTable before = *table;
    studentimport::Plan plan;
    try {
        // Read as a text, or as a workbook when the bytes are an archive.
        plan = studentimport::planOf(bytes, QStringLiteral("liste.csv"), *table);
    } catch (const PlatformError&) {
        return 0;
    }
    FUZZ_REQUIRE(plan.added.size() <= 59 && plan.present.size() <= 1);
    FUZZ_REQUIRE(plan.rejected.size() <= 15 && plan.rejectedCount >= plan.rejected.size());
    FUZZ_REQUIRE(plan.doubles.size() <= 15 && plan.doubleCount >= plan.doubles.size());
    FUZZ_REQUIRE(plan.ignoredColumns.size() <= 15 && plan.ignoredCount >= plan.ignoredColumns.size());
    const QList<int> changed = studentimport::apply(plan, *table, true);
    for (int row = ClassTable::FirstRow; row <= ClassTable::LastRow; ++row) {
        const bool filled = changed.contains(row);
        FUZZ_REQUIRE(!filled || row > 0);
        for (int slot = 0; slot < ClassTable::SlotCount; ++slot) {
            const QString& now = table->at(row, slot);
            if (!filled || (!before.at(row, slot).isEmpty())) {
                FUZZ_REQUIRE(now == before.at(row, slot));
                continue;
            }
            FUZZ_REQUIRE(slot >= ClassTable::Surname || now.isEmpty());
            FUZZ_REQUIRE(classfile::textLength(now) <=
                         (slot == ClassTable::Remarks ? classfile::MaxText : studentimport::MaxText));
        }
        FUZZ_REQUIRE(!filled || !table->at(row, ClassTable::Surname).isEmpty() ||
                     !table->at(row, ClassTable::FirstName).isEmpty());
    }
    // What the class file then holds is read back whole.
    const QString written = fuzz::fileHolding(classfile::write(*table, {}), "classe.prf");
    auto back2 = std::make_unique<ClassTable>();
    classfile::read(classfile::readFile(written), *back2);
    // What the teacher is shown stays a few lines long, whatever the list.
    const ImportPreview preview(QStringLiteral("liste.csv"), plan);
    FUZZ_REQUIRE(preview.columns().size() <= 4 * 15 + 15 + 1);
    for (const ImportPreview::Group& group : preview.groups())
        FUZZ_REQUIRE(group.lines.size() <= 62 && group.title.size() <= 40);
    return 0;
}

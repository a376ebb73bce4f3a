#include "core/Spreadsheet.h"

#include "core/Csv.h"
#include "core/FileWriter.h"
#include "core/FrenchNumbers.h"
#include "core/PlatformError.h"

#include <QDir>
#include <QFile>
#include <QLibrary>
#include <algorithm>
#include <future>
#include <optional>
#include <xlsxwriter.h>

namespace spreadsheet {
namespace {

// The most characters a cell of a workbook holds.
constexpr qsizetype MaxCellText = 32767;
constexpr qsizetype MaxSheetName = 31;

QString cellText(const Cell& cell)
{
    switch (cell.kind) {
    case Cell::Kind::Decimal:
        return frnum::format00(cell.number);
    case Cell::Kind::Whole:
        return QString::number(qint64(cell.number));
    case Cell::Kind::Text:
        break;
    }
    return cell.text;
}

// The workbook library, opened once the program is idle after start-up (preload) or at the first export, rather
// than with the program: it brings a cryptography library whose loading would cost every start-up its time.
struct Xlsx
{
    decltype(&::workbook_new_opt) workbook_new_opt = nullptr;
    decltype(&::workbook_close) workbook_close = nullptr;
    decltype(&::workbook_add_format) workbook_add_format = nullptr;
    decltype(&::workbook_add_worksheet) workbook_add_worksheet = nullptr;
    decltype(&::format_set_num_format) format_set_num_format = nullptr;
    decltype(&::format_set_text_wrap) format_set_text_wrap = nullptr;
    decltype(&::format_set_align) format_set_align = nullptr;
    decltype(&::worksheet_write_string) worksheet_write_string = nullptr;
    decltype(&::worksheet_write_number) worksheet_write_number = nullptr;
    decltype(&::worksheet_set_column) worksheet_set_column = nullptr;
    decltype(&::worksheet_freeze_panes) worksheet_freeze_panes = nullptr;
};

template<typename F>
bool resolve(QLibrary& library, F& function, const char* name)
{
    function = reinterpret_cast<F>(library.resolve(name));
    return function != nullptr;
}

// Null when the library cannot be opened (the export then fails as any file that cannot be made).
const Xlsx* xlsx()
{
    static const std::optional<Xlsx> loaded = []() -> std::optional<Xlsx> {
        QLibrary library(QStringLiteral(VIRELAN_XLSXWRITER));
        Xlsx x;
        if (!library.load() || !resolve(library, x.workbook_new_opt, "workbook_new_opt")
            || !resolve(library, x.workbook_close, "workbook_close")
            || !resolve(library, x.workbook_add_format, "workbook_add_format")
            || !resolve(library, x.workbook_add_worksheet, "workbook_add_worksheet")
            || !resolve(library, x.format_set_num_format, "format_set_num_format")
            || !resolve(library, x.format_set_text_wrap, "format_set_text_wrap")
            || !resolve(library, x.format_set_align, "format_set_align")
            || !resolve(library, x.worksheet_write_string, "worksheet_write_string")
            || !resolve(library, x.worksheet_write_number, "worksheet_write_number")
            || !resolve(library, x.worksheet_set_column, "worksheet_set_column")
            || !resolve(library, x.worksheet_freeze_panes, "worksheet_freeze_panes"))
            return std::nullopt;
        // Kept loaded for the rest of the run.
        return x;
    }();
    return loaded ? &*loaded : nullptr;
}

// Fills the workbook; false at the first cell or sheet the library refuses.
bool fill(const Xlsx& x, lxw_workbook* book, const QList<Sheet>& sheets)
{
    lxw_format* decimal = x.workbook_add_format(book);
    x.format_set_num_format(decimal, "0.00");
    lxw_format* whole = x.workbook_add_format(book);
    x.format_set_num_format(whole, "0");
    lxw_format* text = x.workbook_add_format(book);
    x.format_set_text_wrap(text);
    x.format_set_align(text, LXW_ALIGN_VERTICAL_TOP);
    for (const Sheet& sheet : sheets) {
        lxw_worksheet* ws = x.workbook_add_worksheet(book, sheet.name.toUtf8().constData());
        if (!ws)
            return false;
        for (lxw_row_t r = 0; r < lxw_row_t(sheet.rows.size()); ++r) {
            const QList<Cell>& row = sheet.rows[r];
            for (lxw_col_t c = 0; c < lxw_col_t(row.size()); ++c) {
                const Cell& cell = row[c];
                lxw_error error = LXW_NO_ERROR;
                if (cell.kind == Cell::Kind::Text && !cell.text.isEmpty()) {
                    // Line breaks (a remark of several lines) show as such; a longer text than a cell holds is cut.
                    const QString shown = cell.text.left(MaxCellText);
                    error = x.worksheet_write_string(ws, r, c, shown.toUtf8().constData(),
                                                   shown.contains(u'\n') ? text : nullptr);
                } else if (cell.kind != Cell::Kind::Text) {
                    error = x.worksheet_write_number(ws, r, c, cell.number,
                                                   cell.kind == Cell::Kind::Decimal ? decimal : whole);
                }
                if (error != LXW_NO_ERROR)
                    return false;
            }
        }
        for (lxw_col_t c = 0; c < lxw_col_t(sheet.columnWidths.size()); ++c)
            x.worksheet_set_column(ws, c, c, sheet.columnWidths[c], nullptr);
        if (sheet.frozenRows > 0 || sheet.frozenCols > 0)
            x.worksheet_freeze_panes(ws, lxw_row_t(sheet.frozenRows), lxw_col_t(sheet.frozenCols));
    }
    return true;
}

} // namespace

QString sheetName(const QString& wanted, const QString& fallback)
{
    QString name = wanted;
    for (QChar& c : name)
        if (QStringLiteral("[]:*?/\\").contains(c) || c.unicode() < 0x20)
            c = u'_';
    name = name.left(MaxSheetName);
    while (name.startsWith(u'\'') || name.endsWith(u'\''))
        name = name.startsWith(u'\'') ? name.mid(1) : name.chopped(1);
    name = name.trimmed();
    if (name.isEmpty() || name.compare(QStringLiteral("History"), Qt::CaseInsensitive) == 0)
        return fallback;
    return name;
}

void writeXlsx(const QString& path, const QList<Sheet>& sheets)
{
    const Xlsx* library = xlsx();
    if (!library)
        throw PlatformError::cannotCreate(path);
    const Xlsx& x = *library;
    filewriter::writeMade(path, [&x, &sheets](const QString& made) {
        const QByteArray madeName = QFile::encodeName(made);
        // The library's own working files go where temporary files go, removed as soon as opened.
        QByteArray tmpdir = QFile::encodeName(QDir::tempPath());
        lxw_workbook_options options = {};
        options.tmpdir = tmpdir.data();
        lxw_workbook* book = x.workbook_new_opt(madeName.constData(), &options);
        if (!book)
            return false;
        const bool filled = fill(x, book, sheets);
        // Closing writes the file and frees the workbook, whatever became of the filling.
        return x.workbook_close(book) == LXW_NO_ERROR && filled;
    });
}

void preload()
{
    // Kept until the end of the run, which waits for it.
    static std::future<void> loading = std::async(std::launch::async, [] { xlsx(); });
}

QByteArray csvBytes(const Sheet& sheet)
{
    // Every line as wide as the widest, as the programs that read CSV files expect.
    qsizetype width = 0;
    for (const QList<Cell>& row : sheet.rows)
        width = std::max(width, row.size());
    QList<QStringList> rows;
    for (const QList<Cell>& row : sheet.rows) {
        QStringList texts;
        for (const Cell& cell : row)
            texts << (cell.kind == Cell::Kind::Text ? csv::plainText(cell.text) : cellText(cell));
        while (texts.size() < width)
            texts << QString();
        rows << texts;
    }
    return csv::utf8File(rows);
}

} // namespace spreadsheet

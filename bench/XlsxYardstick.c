/* The yardstick of the export: a plain C program writing the cells of the class's workbook with libxlsxwriter,
 * with the formats the program gives them. bench/run.sh times the whole process, from its start to its end.
 *
 *     xlsx_yardstick <cells file> <workbook.xlsx>
 *
 * The cells file (written by virelan_bench --make), one line each, fields separated by tabs:
 *     sheet <frozen rows> <frozen columns> <name>
 *     width <column> <width in characters>
 *     text <row> <column> <text>        (a backslash, line end, carriage return or tab written \\ \n \r \t)
 *     decimal <row> <column> <number>   (shown with two decimals)
 *     whole <row> <column> <number>     (shown without decimals)
 */
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <xlsxwriter.h>

static char* readAll(const char* path)
{
    FILE* file = fopen(path, "rb");
    if (!file)
        return NULL;
    fseek(file, 0, SEEK_END);
    const long size = ftell(file);
    fseek(file, 0, SEEK_SET);
    char* bytes = malloc((size_t)size + 1);
    if (!bytes || fread(bytes, 1, (size_t)size, file) != (size_t)size) {
        fclose(file);
        free(bytes);
        return NULL;
    }
    bytes[size] = '\0';
    fclose(file);
    return bytes;
}

/* Undoes the escapes in place. */
static void unescape(char* text)
{
    char* out = text;
    for (const char* in = text; *in; ++in) {
        if (*in == '\\' && in[1]) {
            ++in;
            *out++ = *in == 'n' ? '\n' : *in == 'r' ? '\r' : *in == 't' ? '\t' : *in;
        } else {
            *out++ = *in;
        }
    }
    *out = '\0';
}

/* The next tab-separated field of the line, moving the line on. */
static char* field(char** line)
{
    char* start = *line;
    char* tab = strchr(start, '\t');
    if (tab) {
        *tab = '\0';
        *line = tab + 1;
    } else {
        *line = start + strlen(start);
    }
    return start;
}

int main(int argc, char** argv)
{
    if (argc != 3) {
        fprintf(stderr, "usage: %s <cells file> <workbook.xlsx>\n", argv[0]);
        return 2;
    }
    char* cells = readAll(argv[1]);
    if (!cells)
        return 1;
    lxw_workbook* book = workbook_new(argv[2]);
    if (!book)
        return 1;
    lxw_format* decimal = workbook_add_format(book);
    format_set_num_format(decimal, "0.00");
    lxw_format* whole = workbook_add_format(book);
    format_set_num_format(whole, "0");
    lxw_format* wrapped = workbook_add_format(book);
    format_set_text_wrap(wrapped);
    format_set_align(wrapped, LXW_ALIGN_VERTICAL_TOP);

    lxw_worksheet* sheet = NULL;
    int frozenRows = 0, frozenCols = 0;
    for (char* line = strtok(cells, "\n"); line; line = strtok(NULL, "\n")) {
        char* rest = line;
        const char* kind = field(&rest);
        if (strcmp(kind, "sheet") == 0) {
            if (sheet && (frozenRows > 0 || frozenCols > 0))
                worksheet_freeze_panes(sheet, (lxw_row_t)frozenRows, (lxw_col_t)frozenCols);
            frozenRows = atoi(field(&rest));
            frozenCols = atoi(field(&rest));
            char* name = field(&rest);
            unescape(name);
            sheet = workbook_add_worksheet(book, name);
            continue;
        }
        if (!sheet)
            return 1;
        const int a = atoi(field(&rest));
        if (strcmp(kind, "width") == 0) {
            worksheet_set_column(sheet, (lxw_col_t)a, (lxw_col_t)a, strtod(field(&rest), NULL), NULL);
            continue;
        }
        const int b = atoi(field(&rest));
        char* value = field(&rest);
        if (strcmp(kind, "text") == 0) {
            unescape(value);
            worksheet_write_string(sheet, (lxw_row_t)a, (lxw_col_t)b, value, strchr(value, '\n') ? wrapped : NULL);
        } else {
            worksheet_write_number(sheet, (lxw_row_t)a, (lxw_col_t)b, strtod(value, NULL),
                                   strcmp(kind, "decimal") == 0 ? decimal : whole);
        }
    }
    if (sheet && (frozenRows > 0 || frozenCols > 0))
        worksheet_freeze_panes(sheet, (lxw_row_t)frozenRows, (lxw_col_t)frozenCols);
    free(cells);
    return workbook_close(book) == LXW_NO_ERROR ? 0 : 1;
}

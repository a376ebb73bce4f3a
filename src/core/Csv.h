#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>
#include <limits>

// Comma-separated files as spreadsheets write and read them: fields between separators, a field that holds
// the separator, a quote or a line break between double quotes, a quote inside doubled.
namespace csv {

// The field as it stands on its line: quoted only when it has to be.
QString field(const QString& text, QChar separator);
// The rows as a file that French spreadsheets open without a question: UTF-8 with a byte-order mark,
// fields separated by ";", every line ending in CR LF.
QByteArray utf8File(const QList<QStringList>& rows);

// A text a spreadsheet would run as a formula (one that begins with "=", "+", "-", "@", a tab or a carriage
// return) made plain text the way spreadsheets advise: an apostrophe before it. A number, a negative one too, and
// a sign alone are no formula and stay as they are.
QString plainText(const QString& text);

// A file's text: UTF-16 after its byte-order mark; UTF-8 after a byte-order mark, or when every byte reads as
// UTF-8; Windows-1252 otherwise. A text holding a character U+0000 was none of these (UTF-16 without its mark,
// UTF-32, a binary file).
QString decode(const QByteArray& bytes);
// Of ";", "," and a tab, the one found most often outside quotes on the first line that holds anything;
// ";" when none is.
QChar detectSeparator(const QString& text);

struct Record
{
    int line = 0;             // the line of the file the record starts on, from 1
    QStringList fields;       // its fields, at most as many as the reader keeps
    qsizetype fieldCount = 0; // how many fields it has, kept or not
};

// Every record in turn, line breaks inside quotes kept; lines with nothing on them give no record. The text
// is read once, character after character, whatever its quotes. Fields beyond maxFields are counted but not
// kept, so that a line of a million separators costs no more memory than the file.
class Reader
{
public:
    Reader(const QString& text, QChar separator, qsizetype maxFields = std::numeric_limits<qsizetype>::max());
    // The next record; false at the end of the text.
    bool next(Record& record);

private:
    void append(QStringView text);
    void endField();
    // Ends the record being read; true, with the record, when it holds anything.
    bool endRecord(Record& record);

    QString m_text;
    QChar m_separator;
    qsizetype m_maxFields;
    qsizetype m_pos = 0;
    int m_line = 1;
    bool m_done = false;
    Record m_record{1, {}, 0};
    QString m_field;
    bool m_blankField = true;  // the field so far holds only blanks
    bool m_blankRecord = true; // so does every field of the record before it
};

} // namespace csv

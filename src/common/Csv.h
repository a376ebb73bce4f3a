#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

// Comma-separated files as spreadsheets write and read them: fields between separators, a field that holds
// the separator, a quote or a line break between double quotes, a quote inside doubled.
namespace csv {

// The field as it stands on its line: quoted only when it has to be.
QString field(const QString& text, QChar separator);
// The rows as a file that French spreadsheets open without a question: UTF-8 with a byte-order mark,
// fields separated by ";", every line ending in CR LF.
QByteArray utf8File(const QList<QStringList>& rows);

// A file's text: UTF-8 after a byte-order mark, or when every byte reads as UTF-8; Windows-1252 otherwise.
QString decode(const QByteArray& bytes);
// Of ";", "," and a tab, the one found most often outside quotes on the first line that holds anything;
// ";" when none is.
QChar detectSeparator(const QString& text);

struct Record
{
    int line = 0; // the line of the file the record starts on, from 1
    QStringList fields;
};
// Every record, line breaks inside quotes kept; lines with nothing on them give no record.
QList<Record> parse(const QString& text, QChar separator);

} // namespace csv

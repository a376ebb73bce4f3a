#pragma once

#include <QStringList>
#include <QTest>

// Table-driven tests whose rows are short texts: fields that " | " separates, the first naming the row.
namespace rows {

inline void add(const QStringList& rows)
{
    QTest::addColumn<QString>("row");
    for (const QString& row : rows)
        QTest::newRow(row.section(QStringLiteral(" | "), 0, 0).toUtf8().constData()) << row;
}

inline QStringList fields()
{
    QFETCH(QString, row);
    return row.split(QStringLiteral(" | "));
}

} // namespace rows

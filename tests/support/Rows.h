#pragma once

#include <QStringList>
#include <QTest>

// Table-driven tests whose rows are short texts: fields that " | " separates, the first ones naming the row.
namespace rows {

inline void add(const QStringList& rows, int naming = 1)
{
    QTest::addColumn<QString>("row");
    for (const QString& row : rows)
        QTest::newRow(row.section(QStringLiteral(" | "), 0, naming - 1).toUtf8().constData()) << row;
}

inline QStringList fields()
{
    QFETCH(QString, row);
    return row.split(QStringLiteral(" | "));
}

} // namespace rows

#pragma once

#include <QStringList>
#include <QTest>

// Table-driven tests whose rows are short texts, each the name of its row, with fields that " | " separates.
namespace rows {

inline void add(const QStringList& rows)
{
    QTest::addColumn<QString>("row");
    for (const QString& row : rows)
        QTest::newRow(row.toUtf8().constData()) << row;
}

inline QStringList fields()
{
    return QString::fromUtf8(QTest::currentDataTag()).split(QStringLiteral(" | "));
}

} // namespace rows

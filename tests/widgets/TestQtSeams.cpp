#include "widgets/QtSeams.h"

#include <QRegularExpression>
#include <QTest>

class TestQtSeams : public QObject
{
    Q_OBJECT

private slots:
    void filters_data();
    void filters();
};

void TestQtSeams::filters_data()
{
    QTest::addColumn<QString>("filter");
    QTest::addColumn<QStringList>("qt");
    QTest::newRow("class files") << "Fichiers classes (*.prf)|*.prf" << QStringList{"Fichiers classes (*.prf)"};
    QTest::newRow("pictures") << "Tout (*.bmp;*.ico;*.jpg)|*.bmp;*.ico;*.jpg|Bitmaps (*.bmp)|*.bmp|Icônes (*.ico)|*.ico"
                              << QStringList{"Tout (*.bmp *.ico *.jpg)", "Bitmaps (*.bmp)", "Icônes (*.ico)"};
    QTest::newRow("no parentheses") << "Texte|*.txt" << QStringList{"Texte (*.txt)"};
    QTest::newRow("odd count") << "Texte|*.txt|Seul" << QStringList{"Texte (*.txt)"};
}

void TestQtSeams::filters()
{
    QFETCH(QString, filter);
    QFETCH(QStringList, qt);
    const QStringList out = QtSeams::qtFilters(filter);
    QCOMPARE(out, qt);
    // Qt finds every pattern of each entry.
    for (const QString& entry : out) {
        const QRegularExpression inParentheses(QStringLiteral("\\(([^)]*)\\)$"));
        QVERIFY(inParentheses.match(entry).hasMatch());
        QVERIFY(!inParentheses.match(entry).captured(1).contains(QLatin1Char(';')));
    }
}

QTEST_APPLESS_MAIN(TestQtSeams)
#include "TestQtSeams.moc"

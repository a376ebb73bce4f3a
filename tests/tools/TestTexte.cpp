#include "tools/Texte.h"

#include <QTextBlock>
#include <QTextDocument>
#include <QTextEdit>
#include <QtTest>

class TestTexte : public QObject
{
    Q_OBJECT

private slots:
    void ajoutAppendsOneParagraphPerLine_data();
    void ajoutAppendsOneParagraphPerLine();
    void initEmptiesPreviousReport();
};

void TestTexte::ajoutAppendsOneParagraphPerLine_data()
{
    QTest::addColumn<QStringList>("lines");
    QTest::newRow("three") << QStringList{"6A.\t(25 élèves)", "Résultats au 07/12/2026", ""};
    QTest::newRow("empty first") << QStringList{"", "x"};
    QTest::newRow("only empty") << QStringList{""};
    QTest::newRow("two empty") << QStringList{"", ""};
    QTest::newRow("tabs kept") << QStringList{"Dupont\t\t12,50\t\t(1°)"};
}

void TestTexte::ajoutAppendsOneParagraphPerLine()
{
    QFETCH(QStringList, lines);
    TTexte texte;
    texte.Ajout(QStringLiteral("old"));
    texte.Init();
    for (const QString& line : lines)
        texte.Ajout(line);
    QTextDocument* doc = texte.RichEdit1->document();
    QCOMPARE(doc->blockCount(), lines.size());
    for (int i = 0; i < lines.size(); ++i)
        QCOMPARE(doc->findBlockByNumber(i).text(), lines.at(i));
}

void TestTexte::initEmptiesPreviousReport()
{
    TTexte texte;
    texte.Ajout(QStringLiteral("a"));
    texte.Ajout(QStringLiteral("b"));
    texte.Init();
    QVERIFY(texte.RichEdit1->document()->isEmpty());
    texte.Ajout(QStringLiteral("c"));
    QCOMPARE(texte.RichEdit1->toPlainText(), QStringLiteral("c"));
}

QTEST_MAIN(TestTexte)
#include "TestTexte.moc"

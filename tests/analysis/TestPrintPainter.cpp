#include "analysis/PrintPainter.h"

#include "widgets/Fonts.h"

#include <QFontInfo>
#include <QGuiApplication>
#include <QPainter>
#include <QTest>

namespace {

QImage blankPage()
{
    QImage page(800, 300, QImage::Format_RGB32);
    page.fill(Qt::white);
    return page;
}

// The leftmost and rightmost columns holding ink between two heights; -1 when there is none.
std::pair<int, int> inkColumns(const QImage& image, int fromX, int toX, int top, int bottom)
{
    int first = -1, last = -1;
    for (int x = fromX; x < toX; ++x)
        for (int y = top; y < bottom; ++y)
            if (image.pixel(x, y) != qRgb(255, 255, 255)) {
                if (first < 0)
                    first = x;
                last = x;
                break;
            }
    return {first, last};
}

QImage paint(const printlayout::Page& page, const QImage& photo = {})
{
    QImage image = blankPage();
    QPainter painter(&image);
    painter.setFont(fonts::pixelFont(QStringLiteral("Arial"), 20));
    printpainter::paintPage(painter, page, photo);
    return image;
}

} // namespace

class TestPrintPainter : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { fonts::install(); }
    void textTopAtItsLine();
    void tabGoesToTheNextStop_data();
    void tabGoesToTheNextStop();
    void rightAlignedCellEndsBeforeTheEdge();
    void cellTextCutToItsCell();
    void cellTextAsIfCut_data();
    void cellTextAsIfCut();
    void shapedAsDrawText_data();
    void shapedAsDrawText();
    void photoStretchedOverTheText();
    void noPhotoNoPicture();
    void printerFontNamesTheFaceItPrints();
};

void TestPrintPainter::textTopAtItsLine()
{
    printlayout::Page page;
    page.texts << printlayout::Text{100, 50, QStringLiteral("Élève")};
    const QImage image = paint(page);
    // Nothing above the line's top, ink within the font's height below it, starting at x = 100.
    QCOMPARE(inkColumns(image, 0, 800, 0, 50).first, -1);
    QFontMetrics metrics(fonts::pixelFont(QStringLiteral("Arial"), 20));
    const auto [first, last] = inkColumns(image, 0, 800, 50, 50 + metrics.height());
    QVERIFY(first >= 100 && first <= 103);
    QVERIFY(last <= 100 + metrics.horizontalAdvance(QStringLiteral("Élève")));
}

void TestPrintPainter::tabGoesToTheNextStop_data()
{
    QTest::addColumn<QString>("label");
    QTest::addColumn<int>("valueX");
    // Stops every 250 pixels from the start of the text at x = 20.
    QTest::newRow("short label") << "Nom \t" << 270;
    QTest::newRow("long label") << "Métier envisagé \t" << 270;
    QTest::newRow("label past the first stop") << "Métier envisagé envisagé envisagé \t" << 520;
}

void TestPrintPainter::tabGoesToTheNextStop()
{
    QFETCH(QString, label);
    QFETCH(int, valueX);
    printlayout::Page page;
    page.tabStop = 250;
    page.texts << printlayout::Text{20, 10, label + QStringLiteral("Dupont")};
    const QImage image = paint(page);
    QFontMetrics metrics(fonts::pixelFont(QStringLiteral("Arial"), 20));
    QVERIFY(metrics.horizontalAdvance(label) < valueX - 20);
    // Between the label and the value: no ink.
    const int labelEnd = 20 + metrics.horizontalAdvance(label);
    QCOMPARE(inkColumns(image, labelEnd, valueX, 0, 60).first, -1);
    const auto [first, last] = inkColumns(image, valueX, 800, 0, 60);
    QVERIFY2(first >= valueX && first <= valueX + 3, qPrintable(QString::number(first)));
    QVERIFY(last <= valueX + metrics.horizontalAdvance(QStringLiteral("Dupont")));
}

void TestPrintPainter::rightAlignedCellEndsBeforeTheEdge()
{
    // A sheet cell: the layout put it at right edge - width - 2 with the printer's metrics.
    QFontMetrics metrics(fonts::pixelFont(QStringLiteral("Arial"), 20));
    const int rightEdge = 400;
    const QString mark = QStringLiteral("12,50");
    printlayout::Page page;
    page.texts << printlayout::Text{rightEdge - metrics.horizontalAdvance(mark) - 2, 0, mark};
    const QImage image = paint(page);
    const auto [first, last] = inkColumns(image, 0, 800, 0, 40);
    QVERIFY(first > 300);
    QVERIFY2(last < rightEdge - 2 && last >= rightEdge - 6, qPrintable(QString::number(last)));
}

void TestPrintPainter::cellTextCutToItsCell()
{
    // A heading longer than its column, right-aligned in the cell from 300 to 340 as the sheet places it.
    const QString heading = QStringLiteral("Interrogation écrite 1");
    QFontMetrics metrics(fonts::pixelFont(QStringLiteral("Arial"), 20));
    printlayout::Page page;
    page.texts << printlayout::Text{340 - metrics.horizontalAdvance(heading) - 2, 10, heading};
    QVERIFY(inkColumns(paint(page), 0, 800, 0, 60).first < 250);
    page.texts.last().clip = QRect(300, 10, 40, 24);
    const QImage image = paint(page);
    QCOMPARE(inkColumns(image, 0, 300, 0, 300).first, -1);
    QCOMPARE(inkColumns(image, 340, 800, 0, 300).first, -1);
    QCOMPARE(inkColumns(image, 300, 340, 0, 10).first, -1);
    QVERIFY(inkColumns(image, 300, 340, 10, 34).first >= 300);
}

// A text in its cell, the layout's measure of it known, comes out exactly as the same text cut to the cell by hand,
// whether its ink stays inside or not.
void TestPrintPainter::cellTextAsIfCut_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("rightAligned");
    QTest::addColumn<QRect>("cell");
    QTest::newRow("mark at the right edge") << "12,50" << true << QRect(300, 10, 100, 24);
    QTest::newRow("name at the left edge") << "Martin" << false << QRect(300, 10, 100, 24);
    QTest::newRow("j reaching left of its cell") << "jour" << false << QRect(300, 10, 100, 24);
    QTest::newRow("f at the right edge") << "Prof" << true << QRect(300, 10, 100, 24);
    QTest::newRow("accented capital at the top") << "École" << false << QRect(300, 10, 100, 24);
    QTest::newRow("wider than its cell") << "Interrogation écrite" << true << QRect(300, 10, 100, 24);
    QTest::newRow("taller than its cell") << "Moyenne" << false << QRect(300, 10, 100, 12);
    QTest::newRow("ligature") << "fiche" << false << QRect(300, 10, 100, 24);
}

void TestPrintPainter::cellTextAsIfCut()
{
    QFETCH(QString, text);
    QFETCH(bool, rightAligned);
    QFETCH(QRect, cell);
    const QFont font = fonts::pixelFont(QStringLiteral("Arial"), 20);
    const QFontMetrics metrics(font);
    const int width = metrics.horizontalAdvance(text);
    const int x = rightAligned ? cell.left() + cell.width() - width - 2 : cell.left();
    printlayout::Page page;
    page.texts << printlayout::Text{x, cell.top(), text, cell};
    page.widths.insert(text, width);
    QImage cut = blankPage();
    QPainter painter(&cut);
    painter.setFont(font);
    painter.setClipRect(cell);
    painter.drawText(x, cell.top() + metrics.ascent(), text);
    painter.end();
    QCOMPARE(paint(page), cut);
}

// A text shaped once is measured as QFontMetrics measures it and drawn as QPainter::drawText draws it.
void TestPrintPainter::shapedAsDrawText_data()
{
    QTest::addColumn<QString>("text");
    for (const char* text : {"12,50", "                 Rubriques", "Prénom  ", "fiche officielle", "AVATAR Tête",
                             "a\tb", "\xce\xb1\xce\xb2 \xd8\xb9\xd8\xb1\xd8\xa8\xd9\x8a"})
        QTest::newRow(text) << QString::fromUtf8(text);
}

void TestPrintPainter::shapedAsDrawText()
{
    QFETCH(QString, text);
    QImage byQt = blankPage(), shaped = blankPage();
    const QFont font = fonts::pixelFont(QStringLiteral("Arial"), 20);
    QPainter painter(&byQt);
    painter.setFont(font);
    painter.drawText(30, 40, text);
    painter.end();
    printpainter::Shapes shapes(font, &shaped);
    QCOMPARE(shapes.width(text), QFontMetrics(font, &shaped).horizontalAdvance(text));
    painter.begin(&shaped);
    painter.setFont(font);
    if (printpainter::Shapes::drawable(text))
        shapes.draw(painter, 30, 40, text);
    else
        painter.drawText(30, 40, text);
    painter.end();
    QCOMPARE(shaped, byQt);
}

void TestPrintPainter::photoStretchedOverTheText()
{
    QImage photo(3, 2, QImage::Format_RGB32);
    photo.fill(qRgb(0, 0, 255));
    printlayout::Page page;
    page.image = QRect(50, 40, 120, 90);
    page.texts << printlayout::Text{40, 60, QStringLiteral("remarque cachée sous la photo")};
    const QImage image = paint(page, photo);
    for (int y = 40; y < 130; ++y)
        for (int x = 50; x < 170; ++x)
            QCOMPARE(image.pixel(x, y), qRgb(0, 0, 255));
    QCOMPARE(image.pixel(49, 39), qRgb(255, 255, 255));
    QVERIFY(image.pixel(100, 130) != qRgb(0, 0, 255));
    QVERIFY(image.pixel(170, 120) != qRgb(0, 0, 255));
    // The text still shows where the photo does not cover it.
    QVERIFY(inkColumns(image, 170, 800, 60, 90).first >= 170);
}

void TestPrintPainter::noPhotoNoPicture()
{
    QImage photo(3, 2, QImage::Format_RGB32);
    photo.fill(qRgb(0, 0, 255));
    printlayout::Page page; // no rectangle: a card without photo
    const QImage image = paint(page, photo);
    QCOMPARE(inkColumns(image, 0, 800, 0, 300).first, -1);
    page.image = QRect(10, 10, 20, 20);
    const QImage none = paint(page, QImage());
    QCOMPARE(inkColumns(none, 0, 800, 0, 300).first, -1);
}

// Arial's face asked by its installed name: under "Arial", which no installed font bears, the first printing
// searched the fallbacks of every font before taking the substitute.
void TestPrintPainter::printerFontNamesTheFaceItPrints()
{
    const QString arialFace = QFontInfo(QFont(QStringLiteral("Arial"))).family();
    QCOMPARE(printpainter::printerFont(8).family().toCaseFolded(), arialFace.toCaseFolded());
}

QTEST_MAIN(TestPrintPainter)
#include "TestPrintPainter.moc"

#include "tools/RtfWriter.h"

#include "RtfShelf.h"

#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextList>
#include <QtTest>

// Every RTF written here, read back at the end.
RtfShelf g_shelf;

// The RTF written for the report editor's documents.
class TestRtfWriter : public QObject
{
    Q_OBJECT

private slots:
    void plainDocumentWhole();
    void paragraphsSeparated();
    void characterAttributes_data();
    void characterAttributes();
    void textEscapes_data();
    void textEscapes();
    void alignment_data();
    void alignment();
    void indents_data();
    void indents();
    void bullets();
    void numberedListFromElsewhere();
    void defaultAttributesReachEveryRun();
    void emptyLineKeepsItsSize();
    void everyRtfReadBackByLibreOffice() { g_shelf.check(); } // last: every RTF written above
};

namespace {

// A document as the editor holds one: Times New Roman 10 points by default, lists indented 15 points.
std::unique_ptr<QTextDocument> newDocument()
{
    auto doc = std::make_unique<QTextDocument>();
    doc->setDefaultFont(QFont(QStringLiteral("Times New Roman"), 10));
    doc->setIndentWidth(20);
    return doc;
}

QByteArray written(const QTextDocument& doc)
{
    const QByteArray out = rtf::write(doc);
    g_shelf.keep(out, doc.toPlainText());
    return out;
}

QByteArray rtfOf(const QString& text, const QTextCharFormat& format = QTextCharFormat())
{
    auto doc = newDocument();
    QTextCursor(doc.get()).insertText(text, format);
    return written(*doc);
}

const QByteArray Head = "{\\rtf1\\ansi\\ansicpg1252\\deff0\\deflang1036\\deftab720\r\n"
                        "{\\fonttbl{\\f0\\fnil\\fcharset0 Times New Roman;}}\r\n";

} // namespace

void TestRtfWriter::plainDocumentWhole()
{
    QCOMPARE(rtfOf(QStringLiteral("Bonjour")),
             Head + "\\viewkind4\\uc1\r\n\\pard\\ql\\fi0\\li0\\ri0\\plain\\f0\\fs20 {\\plain\\f0\\fs20 Bonjour}}\r\n");
}

void TestRtfWriter::paragraphsSeparated()
{
    auto doc = newDocument();
    QTextCursor cursor(doc.get());
    cursor.insertText(QStringLiteral("un"));
    cursor.insertBlock();
    cursor.insertBlock();
    cursor.insertText(QStringLiteral("trois"));
    const QByteArray out = written(*doc);
    QCOMPARE(out.count("\\par\r\n"), 2);
    QCOMPARE(out.count("\\pard"), 3);
    QVERIFY(out.contains("{\\plain\\f0\\fs20 un}\\par\r\n\\pard\\ql\\fi0\\li0\\ri0\\plain\\f0\\fs20 \\par\r\n"));
    QVERIFY(out.endsWith("{\\plain\\f0\\fs20 trois}}\r\n"));
}

void TestRtfWriter::characterAttributes_data()
{
    QTest::addColumn<QTextCharFormat>("format");
    QTest::addColumn<QByteArray>("run");
    QTest::addColumn<QByteArray>("fonts");

    QTextCharFormat bold;
    bold.setFontWeight(QFont::Bold);
    QTest::newRow("bold") << bold << QByteArray("{\\plain\\f0\\fs20\\b x}") << QByteArray();
    QTextCharFormat italic;
    italic.setFontItalic(true);
    QTest::newRow("italic") << italic << QByteArray("{\\plain\\f0\\fs20\\i x}") << QByteArray();
    QTextCharFormat underline;
    underline.setFontUnderline(true);
    QTest::newRow("underline") << underline << QByteArray("{\\plain\\f0\\fs20\\ul x}") << QByteArray();
    QTextCharFormat all;
    all.setFontWeight(QFont::Bold);
    all.setFontItalic(true);
    all.setFontUnderline(true);
    all.setFontStrikeOut(true);
    QTest::newRow("all styles") << all << QByteArray("{\\plain\\f0\\fs20\\b\\i\\ul\\strike x}") << QByteArray();
    QTextCharFormat arial;
    arial.setFontFamilies({QStringLiteral("Arial")});
    arial.setFontPointSize(14);
    QTest::newRow("font and size") << arial << QByteArray("{\\plain\\f1\\fs28 x}")
                                   << QByteArray("{\\f1\\fnil\\fcharset0 Arial;}");
    QTextCharFormat foundry;
    foundry.setFontFamilies({QStringLiteral("C059 [urw]")});
    QTest::newRow("family without its foundry")
        << foundry << QByteArray("{\\plain\\f1\\fs20 x}") << QByteArray("{\\f1\\fnil\\fcharset0 C059;}");
    QTextCharFormat half;
    half.setFontPointSize(10.5);
    QTest::newRow("half point") << half << QByteArray("{\\plain\\f0\\fs21 x}") << QByteArray();
    QTextCharFormat red;
    red.setForeground(QColor(200, 0, 10));
    QTest::newRow("colour") << red << QByteArray("{\\plain\\f0\\fs20\\cf1 x}")
                            << QByteArray("{\\colortbl ;\\red200\\green0\\blue10;}");
}

void TestRtfWriter::characterAttributes()
{
    QFETCH(QTextCharFormat, format);
    QFETCH(QByteArray, run);
    QFETCH(QByteArray, fonts);
    const QByteArray out = rtfOf(QStringLiteral("x"), format);
    QVERIFY2(out.contains(run), out.constData());
    if (!fonts.isEmpty())
        QVERIFY2(out.contains(fonts), out.constData());
    // The paragraph mark keeps the plain default: only the run carries the attribute.
    QVERIFY(out.contains("\\ri0\\plain\\f0\\fs20 {"));
}

void TestRtfWriter::textEscapes_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QByteArray>("escaped");
    QTest::newRow("ascii") << "Moyenne 12,50 (1)" << QByteArray("Moyenne 12,50 (1)");
    QTest::newRow("windows-1252 accents") << "élèves ç à" << QByteArray("\\'e9l\\'e8ves \\'e7 \\'e0");
    QTest::newRow("degree and euro") << "(1°) 5€" << QByteArray("(1\\'b0) 5\\'80");
    QTest::newRow("not windows-1252") << "a≠b" << QByteArray("a\\u8800?b");
    QTest::newRow("ligature above 32767 is signed") << QString(QChar(0xFB01)) << QByteArray("\\u-1279?");
    QTest::newRow("beyond the first plane")
        << QString::fromUtf8("\xF0\x9F\x98\x80") << QByteArray("\\u-10179?\\u-8704?");
    QTest::newRow("braces and backslash") << "{a}\\b" << QByteArray("\\{a\\}\\\\b");
    QTest::newRow("tabs") << "Nom\t\t12,50" << QByteArray("Nom\\tab \\tab 12,50");
    QTest::newRow("line break in a paragraph") << QString("a") + QChar(0x2028) + "b" << QByteArray("a\\line b");
    QTest::newRow("control characters dropped") << QString("a") + QChar(0x01) + QChar(0x1B) + "b" << QByteArray("ab");
}

void TestRtfWriter::textEscapes()
{
    QFETCH(QString, text);
    QFETCH(QByteArray, escaped);
    const QByteArray out = rtfOf(text);
    QVERIFY2(out.contains("{\\plain\\f0\\fs20 " + escaped + "}}"), out.constData());
    // Whatever the text, the file stays 7-bit.
    for (const char c : out)
        QVERIFY(static_cast<unsigned char>(c) < 0x80);
}

void TestRtfWriter::alignment_data()
{
    QTest::addColumn<int>("alignment");
    QTest::addColumn<QByteArray>("control");
    QTest::newRow("left") << int(Qt::AlignLeft) << QByteArray("\\pard\\ql\\");
    QTest::newRow("centred") << int(Qt::AlignHCenter) << QByteArray("\\pard\\qc\\");
    QTest::newRow("right") << int(Qt::AlignRight | Qt::AlignAbsolute) << QByteArray("\\pard\\qr\\");
    QTest::newRow("justified") << int(Qt::AlignJustify) << QByteArray("\\pard\\qj\\");
}

void TestRtfWriter::alignment()
{
    QFETCH(int, alignment);
    QFETCH(QByteArray, control);
    auto doc = newDocument();
    QTextCursor cursor(doc.get());
    cursor.insertText(QStringLiteral("a"));
    QTextBlockFormat format;
    format.setAlignment(Qt::Alignment(alignment));
    cursor.insertBlock(format);
    cursor.insertText(QStringLiteral("b"));
    const QByteArray out = written(*doc);
    // Only the second paragraph takes it.
    QVERIFY(out.contains("\\viewkind4\\uc1\r\n\\pard\\ql\\"));
    QVERIFY2(out.contains("\\par\r\n" + control), out.constData());
}

void TestRtfWriter::indents_data()
{
    QTest::addColumn<double>("leftMargin");
    QTest::addColumn<double>("textIndent");
    QTest::addColumn<double>("rightMargin");
    QTest::addColumn<QByteArray>("controls");
    // Pixels of 3/4 point; a twip is a twentieth of a point.
    QTest::newRow("none") << 0.0 << 0.0 << 0.0 << QByteArray("\\fi0\\li0\\ri0");
    QTest::newRow("first line 15 pt") << 20.0 << 0.0 << 0.0 << QByteArray("\\fi0\\li300\\ri0");
    QTest::newRow("hanging 5 pt") << 20.0 << -20.0 / 3 << 0.0 << QByteArray("\\fi-100\\li300\\ri0");
    QTest::newRow("first further in") << 0.0 << 48.0 << 0.0 << QByteArray("\\fi720\\li0\\ri0");
    QTest::newRow("right 20 pt") << 0.0 << 0.0 << 80.0 / 3 << QByteArray("\\fi0\\li0\\ri400");
}

void TestRtfWriter::indents()
{
    QFETCH(double, leftMargin);
    QFETCH(double, textIndent);
    QFETCH(double, rightMargin);
    QFETCH(QByteArray, controls);
    auto doc = newDocument();
    QTextCursor cursor(doc.get());
    QTextBlockFormat format;
    format.setLeftMargin(leftMargin);
    format.setTextIndent(textIndent);
    format.setRightMargin(rightMargin);
    cursor.setBlockFormat(format);
    cursor.insertText(QStringLiteral("x"));
    const QByteArray out = written(*doc);
    QVERIFY2(out.contains("\\pard\\ql" + controls + "\\plain"), out.constData());
}

void TestRtfWriter::bullets()
{
    auto doc = newDocument();
    QTextCursor cursor(doc.get());
    cursor.insertText(QStringLiteral("avant"));
    cursor.insertBlock();
    cursor.insertText(QStringLiteral("un"));
    QTextListFormat list;
    list.setStyle(QTextListFormat::ListDisc);
    list.setIndent(1);
    cursor.createList(list);
    cursor.insertBlock();
    cursor.insertText(QStringLiteral("deux"));
    const QByteArray out = written(*doc);
    // One bullet list declared, each bulleted paragraph in it, the bullet hanging 15 points before its text.
    QVERIFY2(out.contains("{\\*\\listtable{\\list\\listtemplateid1\\listsimple{\\listlevel\\levelnfc23"),
             out.constData());
    QVERIFY(out.contains("{\\leveltext\\'01\\'95;}"));
    QVERIFY(out.contains("{\\*\\listoverridetable{\\listoverride\\listid1\\listoverridecount0\\ls1}"));
    QCOMPARE(out.count("\\pard\\ql\\fi-300\\li300\\ri0{\\listtext\\plain\\f0 \\'95\\tab}\\ls1\\ilvl0"), 2);
    QVERIFY(out.contains("\\pard\\ql\\fi0\\li0\\ri0\\plain\\f0\\fs20 {\\plain\\f0\\fs20 avant}"));
    // The tables come before the text.
    QVERIFY(out.indexOf("\\listtable") < out.indexOf("\\viewkind4"));
}

void TestRtfWriter::numberedListFromElsewhere()
{
    auto doc = newDocument();
    QTextCursor cursor(doc.get());
    QTextListFormat list;
    list.setStyle(QTextListFormat::ListDecimal);
    list.setIndent(1);
    cursor.createList(list);
    cursor.insertText(QStringLiteral("un"));
    cursor.insertBlock();
    cursor.insertText(QStringLiteral("deux"));
    const QByteArray out = written(*doc);
    QVERIFY2(out.contains("{\\listtext\\plain\\f0 1.\\tab}\\ls2\\ilvl0"), out.constData());
    QVERIFY(out.contains("{\\listtext\\plain\\f0 2.\\tab}\\ls2\\ilvl0"));
}

void TestRtfWriter::defaultAttributesReachEveryRun()
{
    auto doc = newDocument();
    QFont font(QStringLiteral("Arial"), 12);
    font.setBold(true);
    doc->setDefaultFont(font);
    QTextCursor cursor(doc.get());
    cursor.insertText(QStringLiteral("a"));
    QTextCharFormat italic;
    italic.setFontItalic(true);
    cursor.insertText(QStringLiteral("b"), italic);
    const QByteArray out = written(*doc);
    QVERIFY2(out.contains("{\\fonttbl{\\f0\\fnil\\fcharset0 Arial;}}"), out.constData());
    QVERIFY(out.contains("{\\plain\\f0\\fs24\\b a}{\\plain\\f0\\fs24\\b\\i b}"));
}

void TestRtfWriter::emptyLineKeepsItsSize()
{
    auto doc = newDocument();
    QTextCursor cursor(doc.get());
    QTextCharFormat big;
    big.setFontPointSize(18);
    cursor.insertText(QStringLiteral("a"));
    cursor.insertBlock(QTextBlockFormat(), big);
    const QByteArray out = written(*doc);
    QVERIFY2(out.endsWith("\\par\r\n\\pard\\ql\\fi0\\li0\\ri0\\plain\\f0\\fs36 }\r\n"), out.constData());
}

QTEST_MAIN(TestRtfWriter)
#include "TestRtfWriter.moc"

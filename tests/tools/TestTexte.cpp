#include "tools/Texte.h"

#include "FakeSeams.h"
#include "RtfShelf.h"
#include "TestFiles.h"
#include "tools/IndentMarker.h"
#include "tools/ReportPrint.h"
#include "tools/RulerPanel.h"
#include "tools/SizeSpinBox.h"
#include "widgets/Fonts.h"

#include <QAbstractTextDocumentLayout>
#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QFile>
#include <QFontDatabase>
#include <QFrame>
#include <QLineEdit>
#include <QPrinter>
#include <QPrinterInfo>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextEdit>
#include <QTextLayout>
#include <QTextList>
#include <QToolButton>
#include <QtTest>

// The report editor driven as the teacher drives it: keys and clicks on the real widgets.
class TestTexte : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void ajoutAppendsOneParagraphPerLine_data();
    void ajoutAppendsOneParagraphPerLine();
    void initEmptiesPreviousReport();
    void reportShownWithCaretAtStart();
    void toolBar_data();
    void toolBar();
    void fontListSortedAndShort();
    void layoutFollowsSize();
    void rulerCaptionAndMarkers();
    void markersAreArrows_data();
    void markersAreArrows();
    void sizeTyped_data();
    void sizeTyped();
    void sizeArrowsStayWithinBounds();
    void sizeAppliesToSelectionOnly();
    void boldWithoutSelectionChangesDefault();
    void nextReportStartsFromTheEditorsFont();
    void styleButtonsOnSelection_data();
    void styleButtonsOnSelection();
    void caretIntoFormattedParagraphAppliesNothing();
    void fontPickedFromList();
    void fontTypedChangesNothing();
    void fontNamesWithoutFoundry();
    void fontDialog();
    void fontDialogCancelled();
    void alignmentButtonsFollowParagraph_data();
    void alignmentButtonsFollowParagraph();
    void alignmentButtonsAlignSelection();
    void bulletsToggle();
    void firstIndentDragKeepsLeftEdge();
    void leftIndentDrag();
    void rightIndentDrag();
    void indentsApplyToSelectedParagraphsOnly();
    void indentsNeverLeaveTheMargins();
    void copyAndPasteThroughClipboard();
    void saveAsText_data();
    void saveAsText();
    void saveAsRtf();
    void saveNames_data();
    void saveNames();
    void saveCancelled();
    void saveRemembersFormat();
    void saveCannotCreate();
    void printWholeText();
    void printCannotStart();
    void printedIndentsFollowPrinterResolution();
    void closeKeepsText();
    void keysInTheEditor();
    void everyRtfReadBackByLibreOffice() { m_written.check(); } // last: every RTF file written above

private:
    void keepForReading(const QString& rtfFile, TTexte& texte, const QString& fonts = {})
    {
        m_written.keep(testfiles::readAll(rtfFile), texte.RichEdit1->toPlainText(), fonts);
    }

    RtfShelf m_written;
};

namespace {

// Records the filter index the save dialog is opened with.
class RecordingSeams : public FakeSeams
{
public:
    QList<int> filterIndexes;
    std::optional<SaveChoice> saveFileName(QWidget* parent, const QString& filter, int filterIndex,
                                           const QString& suggested) override
    {
        filterIndexes << filterIndex;
        return FakeSeams::saveFileName(parent, filter, filterIndex, suggested);
    }
};

void fill(TTexte& texte, const QStringList& lines)
{
    texte.Init();
    for (const QString& line : lines)
        texte.Ajout(line);
}

void select(TTexte& texte, int from, int to)
{
    QTextCursor cursor(texte.RichEdit1->document());
    cursor.setPosition(from);
    cursor.setPosition(to, QTextCursor::KeepAnchor);
    texte.RichEdit1->setTextCursor(cursor);
}

void caretAt(TTexte& texte, int position)
{
    select(texte, position, position);
}

QTextCharFormat formatAt(TTexte& texte, int position)
{
    QTextCursor cursor(texte.RichEdit1->document());
    cursor.setPosition(position + 1);
    return cursor.charFormat();
}

void sendMouse(QWidget* widget, QEvent::Type type, int x)
{
    const QPointF local(x, widget->height() / 2);
    const Qt::MouseButtons buttons = type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::LeftButton;
    QMouseEvent event(type, local, widget->mapToGlobal(local), Qt::LeftButton, buttons, Qt::NoModifier);
    QApplication::sendEvent(widget, &event);
}

// Presses a marker at x (its middle jumps under the pointer), moves the pointer dx further and releases it.
void drag(IndentMarker* marker, int x, int dx)
{
    const int middle = marker->width() / 2;
    sendMouse(marker, QEvent::MouseButtonPress, x);
    sendMouse(marker, QEvent::MouseMove, middle + dx);
    sendMouse(marker, QEvent::MouseButtonRelease, middle);
}

void showActive(TTexte& texte)
{
    texte.show();
    QApplication::setActiveWindow(&texte);
    QVERIFY(QTest::qWaitForWindowActive(&texte));
}

using testfiles::readAll;

const QStringList Report = {QStringLiteral("6A.\t(25 élèves)"), QStringLiteral("Résultats au 07/12/2026"), QString(),
                            QStringLiteral("DUPONT Jean\t\t12,50\t\t(1°)")};

} // namespace

void TestTexte::initTestCase()
{
    fonts::install();
}

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
    QTextCursor cursor(texte.RichEdit1->document());
    QTextBlockFormat centred;
    centred.setAlignment(Qt::AlignHCenter);
    cursor.setBlockFormat(centred);
    texte.Ajout(QStringLiteral("b"));
    texte.Init();
    QVERIFY(texte.RichEdit1->document()->isEmpty());
    texte.Ajout(QStringLiteral("c"));
    QCOMPARE(texte.RichEdit1->toPlainText(), QStringLiteral("c"));
    QCOMPARE(texte.RichEdit1->document()->firstBlock().blockFormat().alignment() & Qt::AlignHorizontal_Mask,
             Qt::AlignLeft);
    // Report lines are laid out on stops every half inch.
    QCOMPARE(texte.RichEdit1->tabStopDistance(), 48.0);
}

void TestTexte::reportShownWithCaretAtStart()
{
    FakeSeams fake;
    TTexte texte;
    fill(texte, {QStringLiteral("un"), QStringLiteral("deux"), QStringLiteral("trois")});
    caretAt(texte, 8);
    int caretWhenShown = -1;
    int lines = -1;
    fake.onModal = [&](QDialog* dialog) {
        dialog->show();
        caretWhenShown = texte.RichEdit1->textCursor().position();
        lines = texte.RichEdit1->document()->blockCount();
        dialog->close();
        return 0;
    };
    seams().execModal(&texte);
    QCOMPARE(lines, 3);
    QCOMPARE(caretWhenShown, 0);
}

void TestTexte::toolBar_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<int>("left");
    QTest::addColumn<QString>("hint");
    QTest::addColumn<bool>("toggle");
    QTest::newRow("save") << "SpeedButton2" << 6 << "Enregistrer" << false;
    QTest::newRow("print") << "SpeedButton3" << 31 << "Imprimer" << false;
    QTest::newRow("copy") << "SpeedButton4" << 63 << "Copier" << false;
    QTest::newRow("paste") << "SpeedButton5" << 88 << "Coller" << false;
    QTest::newRow("font dialog") << "SpeedButton18" << 360 << "Police" << false;
    QTest::newRow("bold") << "SpeedButton6" << 390 << "Gras" << true;
    QTest::newRow("italic") << "SpeedButton7" << 415 << "Italique" << true;
    QTest::newRow("underline") << "SpeedButton8" << 440 << "Souligné" << true;
    QTest::newRow("left") << "SpeedButton9" << 470 << "Gauche" << true;
    QTest::newRow("centre") << "SpeedButton10" << 495 << "Centré" << true;
    QTest::newRow("right") << "SpeedButton11" << 520 << "Droite" << true;
    QTest::newRow("bullets") << "SpeedButton12" << 550 << "Puces" << true;
}

void TestTexte::toolBar()
{
    QFETCH(QString, name);
    QFETCH(int, left);
    QFETCH(QString, hint);
    QFETCH(bool, toggle);
    TTexte texte;
    QCOMPARE(texte.windowTitle(), QStringLiteral("Texte"));
    auto* button = texte.Panel1->findChild<QToolButton*>(name);
    QVERIFY(button);
    QCOMPARE(button->geometry(), QRect(left, 4, 25, 25));
    QCOMPARE(button->toolTip(), hint);
    QCOMPARE(button->isCheckable(), toggle);
    QVERIFY(button->autoRaise());
    QVERIFY(!button->icon().isNull());
}

void TestTexte::fontListSortedAndShort()
{
    TTexte texte;
    QCOMPARE(texte.ComboBox1->geometry().left(), 120);
    QCOMPARE(texte.ComboBox1->width(), 181);
    QCOMPARE(texte.ComboBox1->toolTip(), QStringLiteral("Police"));
    QCOMPARE(texte.ComboBox1->currentText(), QStringLiteral("Times New Roman"));
    QVERIFY(texte.ComboBox1->isEditable());
    QCOMPARE(texte.SpinEdit1->geometry().left(), 306);
    QCOMPARE(texte.SpinEdit1->width(), 49);
    QCOMPARE(texte.SpinEdit1->toolTip(), QStringLiteral("Taille"));
    QCOMPARE(texte.SpinEdit1->text(), QStringLiteral("10"));

    // Qt's names without the foundry it adds to a family that several foundries provide ("C059 [urw]"), once each.
    QStringList expected;
    for (const QString& family : QFontDatabase::families()) {
        const QString name = family.section(QStringLiteral(" ["), 0, 0);
        if (name.size() <= 32 && !expected.contains(name))
            expected << name;
    }
    QVERIFY(!expected.isEmpty());
    QStringList listed;
    for (int i = 0; i < texte.ComboBox1->count(); ++i)
        listed << texte.ComboBox1->itemText(i);
    QCOMPARE(listed.size(), expected.size());
    for (int i = 1; i < listed.size(); ++i)
        QVERIFY2(QString::compare(listed.at(i - 1), listed.at(i), Qt::CaseInsensitive) <= 0,
                 qPrintable(listed.at(i - 1) + " / " + listed.at(i)));
    std::sort(expected.begin(), expected.end());
    std::sort(listed.begin(), listed.end());
    QCOMPARE(listed, expected);
}

void TestTexte::layoutFollowsSize()
{
    TTexte texte;
    texte.show();
    texte.resize(800, 500);
    QCOMPARE(texte.Panel1->geometry(), QRect(0, 0, 800, 33));
    QCOMPARE(texte.Ruler->geometry(), QRect(0, 33, 800, 32));
    QCOMPARE(texte.RichEdit1->geometry(), QRect(0, 65, 800, 435));
    // "Fermer" stands 96 pixels from the outer right edge of a window framed 4 pixels a side.
    QCOMPARE(texte.Button1->text(), QStringLiteral("Fermer"));
    QCOMPARE(texte.Button1->geometry(), QRect(712, 4, 75, 25));
    QCOMPARE(texte.RulerLine->geometry(), QRect(5, 15, 790, 2));
    QCOMPARE(texte.RightInd->x(), 800 - 14);
    texte.resize(600, 300);
    QCOMPARE(texte.Button1->x(), 512);
    QCOMPARE(texte.RulerLine->width(), 590);
    QCOMPARE(texte.RightInd->x(), 600 - 14);
    // The text is formatted between gutters of 6 pixels.
    const QTextFrameFormat frame = texte.RichEdit1->document()->rootFrame()->frameFormat();
    QCOMPARE(frame.leftMargin(), 6.0);
    QCOMPARE(frame.rightMargin(), 6.0);
    QCOMPARE(frame.topMargin(), 0.0);
}

void TestTexte::rulerCaptionAndMarkers()
{
    TTexte texte;
    const QString caption = texte.Ruler->caption();
    QCOMPARE(caption.size(), 200);
    QCOMPARE(caption.count(QLatin1Char('\t')), 100);
    QCOMPARE(caption.left(4), QStringLiteral("\t|\t|"));
    QCOMPARE(texte.Ruler->font().family(), QStringLiteral("Arial"));
    QCOMPARE(texte.Ruler->font().pixelSize(), 15);
    QCOMPARE(texte.FirstInd->geometry(), QRect(2, 2, 13, 12));
    QCOMPARE(texte.LeftInd->geometry(), QRect(2, 15, 13, 13));
    QCOMPARE(texte.RightInd->geometry(), QRect(texte.Ruler->width() - 14, 17, 12, 16));
}

void TestTexte::markersAreArrows_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<bool>("pointsDown");
    QTest::addColumn<bool>("hollow");
    QTest::newRow("first line") << "FirstInd" << true << false;
    QTest::newRow("left") << "LeftInd" << false << false;
    QTest::newRow("right") << "RightInd" << false << true;
}

void TestTexte::markersAreArrows()
{
    QFETCH(QString, name);
    QFETCH(bool, pointsDown);
    QFETCH(bool, hollow);
    TTexte texte;
    auto* marker = texte.Ruler->findChild<IndentMarker*>(name);
    QVERIFY(marker);
    QImage image(marker->size(), QImage::Format_ARGB32);
    image.fill(Qt::transparent);
    marker->render(&image, QPoint(), QRegion(), QWidget::DrawChildren);
    const int mid = marker->width() / 2;
    const int tipRow = pointsDown ? marker->height() - 1 : 0;
    const int baseRow = pointsDown ? 0 : marker->height() - 1;
    // The tip is one pixel on the middle column; the wide head and the narrow shaft leave the corners clear.
    QCOMPARE(image.pixelColor(mid, tipRow), QColor(Qt::black));
    QCOMPARE(image.pixelColor(0, tipRow).alpha(), 0);
    QCOMPARE(image.pixelColor(marker->width() - 1, tipRow).alpha(), 0);
    QCOMPARE(image.pixelColor(0, baseRow).alpha(), 0);
    QCOMPARE(image.pixelColor(mid, baseRow), QColor(Qt::black));
    const int headRow = pointsDown ? marker->height() - 1 - mid : mid;
    QCOMPARE(image.pixelColor(1, headRow), QColor(Qt::black));
    // The right marker is an outlined arrow.
    const QColor inside = image.pixelColor(mid, marker->height() / 2 + 2);
    QCOMPARE(inside, hollow ? QColor(Qt::white) : QColor(Qt::black));
}

void TestTexte::sizeTyped_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QList<int>>("appliedWhileTyping");
    QTest::addColumn<int>("appliedOnLeaving");
    QTest::addColumn<QString>("shownOnLeaving");
    QTest::newRow("100 beyond the bounds") << "100" << QList<int>{1, 10, 100} << 72 << "72";
    QTest::newRow("within") << "14" << QList<int>{1, 14} << 14 << "14";
    QTest::newRow("below") << "2" << QList<int>{2} << 4 << "4";
    QTest::newRow("zero counts as 4") << "0" << QList<int>{4} << 4 << "4";
    QTest::newRow("letters refused") << "1a2" << QList<int>{1, 12} << 12 << "12";
    QTest::newRow("four digits at most") << "99999" << QList<int>{9, 99, 999, 1638} << 72 << "72";
}

void TestTexte::sizeTyped()
{
    QFETCH(QString, typed);
    QFETCH(QList<int>, appliedWhileTyping);
    QFETCH(int, appliedOnLeaving);
    QFETCH(QString, shownOnLeaving);
    TTexte texte;
    fill(texte, Report);
    showActive(texte);
    QList<int> applied;
    connect(texte.SpinEdit1, &SizeSpinBox::textChanged, &texte,
            [&] { applied << texte.RichEdit1->document()->defaultFont().pointSize(); });
    texte.SpinEdit1->setFocus();
    QTest::keyClick(texte.SpinEdit1, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClick(texte.SpinEdit1, Qt::Key_Delete);
    // An empty box counts as the smallest size.
    QCOMPARE(applied, QList<int>{4});
    applied.clear();
    QTest::keyClicks(texte.SpinEdit1, typed);
    QCOMPARE(applied, appliedWhileTyping);
    QTest::mouseClick(texte.RichEdit1->viewport(), Qt::LeftButton, {}, QPoint(50, 10));
    QVERIFY(!texte.SpinEdit1->hasFocus());
    QCOMPARE(texte.SpinEdit1->text(), shownOnLeaving);
    QCOMPARE(texte.RichEdit1->document()->defaultFont().pointSize(), appliedOnLeaving);
}

void TestTexte::sizeArrowsStayWithinBounds()
{
    TTexte texte;
    showActive(texte);
    texte.SpinEdit1->setFocus();
    for (int i = 0; i < 8; ++i)
        QTest::keyClick(texte.SpinEdit1, Qt::Key_Down);
    QCOMPARE(texte.SpinEdit1->text(), QStringLiteral("4"));
    QCOMPARE(texte.RichEdit1->document()->defaultFont().pointSize(), 4);
    QTest::keyClick(texte.SpinEdit1, Qt::Key_Up);
    QCOMPARE(texte.SpinEdit1->text(), QStringLiteral("5"));
    QCOMPARE(texte.RichEdit1->document()->defaultFont().pointSize(), 5);
    QTest::keyClick(texte.SpinEdit1, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClicks(texte.SpinEdit1, QStringLiteral("71"));
    QTest::keyClick(texte.SpinEdit1, Qt::Key_Up);
    QTest::keyClick(texte.SpinEdit1, Qt::Key_Up);
    QCOMPARE(texte.SpinEdit1->text(), QStringLiteral("72"));
    QCOMPARE(texte.RichEdit1->document()->defaultFont().pointSize(), 72);
    QTest::keyClick(texte.SpinEdit1, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClicks(texte.SpinEdit1, QStringLiteral("90"));
    QTest::keyClick(texte.SpinEdit1, Qt::Key_Down);
    QCOMPARE(texte.SpinEdit1->text(), QStringLiteral("72"));
}

void TestTexte::sizeAppliesToSelectionOnly()
{
    TTexte texte;
    fill(texte, Report);
    showActive(texte);
    select(texte, 0, 3); // "6A."
    texte.SpinEdit1->setFocus();
    QTest::keyClick(texte.SpinEdit1, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClicks(texte.SpinEdit1, QStringLiteral("18"));
    QCOMPARE(formatAt(texte, 0).fontPointSize(), 18.0);
    QCOMPARE(formatAt(texte, 2).fontPointSize(), 18.0);
    QVERIFY(!formatAt(texte, 3).hasProperty(QTextFormat::FontPointSize));
    QCOMPARE(texte.RichEdit1->document()->defaultFont().pointSize(), 10);
}

void TestTexte::boldWithoutSelectionChangesDefault()
{
    TTexte texte;
    fill(texte, Report);
    caretAt(texte, 5);
    QTest::mouseClick(texte.SpeedButton6, Qt::LeftButton);
    QVERIFY(texte.SpeedButton6->isChecked());
    QVERIFY(texte.RichEdit1->document()->defaultFont().bold());
    // Every line of the report follows the default attributes; none got attributes of its own.
    QVERIFY(!formatAt(texte, 0).hasProperty(QTextFormat::FontWeight));
    QVERIFY(texte.selectionFont().bold());
    QTest::mouseClick(texte.SpeedButton6, Qt::LeftButton);
    QVERIFY(!texte.SpeedButton6->isChecked());
    QVERIFY(!texte.RichEdit1->document()->defaultFont().bold());
}

void TestTexte::nextReportStartsFromTheEditorsFont()
{
    TTexte texte;
    fill(texte, Report);
    showActive(texte);
    caretAt(texte, 5);
    QTest::mouseClick(texte.SpeedButton6, Qt::LeftButton);
    QTest::mouseClick(texte.SpeedButton8, Qt::LeftButton);
    texte.SpinEdit1->setValue(14);
    QVERIFY(texte.RichEdit1->document()->defaultFont().bold());
    QTest::mouseClick(texte.Button1, Qt::LeftButton);
    // The averages again: a new report, in Times New Roman 10 points and nothing else.
    fill(texte, Report);
    showActive(texte);
    QCOMPARE(texte.RichEdit1->document()->defaultFont(), QFont(QStringLiteral("Times New Roman"), 10));
    QVERIFY(!texte.SpeedButton6->isChecked() && !texte.SpeedButton8->isChecked());
    QCOMPARE(texte.SpinEdit1->text(), QStringLiteral("10"));
}

void TestTexte::styleButtonsOnSelection_data()
{
    QTest::addColumn<QString>("button");
    QTest::addColumn<int>("property");
    QTest::newRow("Gras") << "SpeedButton6" << int(QTextFormat::FontWeight);
    QTest::newRow("Italique") << "SpeedButton7" << int(QTextFormat::FontItalic);
    QTest::newRow("Souligné") << "SpeedButton8" << int(QTextFormat::TextUnderlineStyle);
}

void TestTexte::styleButtonsOnSelection()
{
    QFETCH(QString, button);
    QFETCH(int, property);
    TTexte texte;
    fill(texte, Report);
    auto* toggle = texte.Panel1->findChild<QToolButton*>(button);
    const QTextBlock second = texte.RichEdit1->document()->findBlockByNumber(1);
    select(texte, second.position(), second.position() + 9); // "Résultats"
    QTest::mouseClick(toggle, Qt::LeftButton);
    QVERIFY(toggle->isChecked());
    const QFont selected = formatAt(texte, second.position()).font();
    QVERIFY(selected.bold() || selected.italic() || selected.underline());
    QVERIFY(formatAt(texte, second.position() + 8).hasProperty(property));
    QVERIFY(!formatAt(texte, second.position() + 9).hasProperty(property));
    QVERIFY(!formatAt(texte, 0).hasProperty(property));
    const QFont def = texte.RichEdit1->document()->defaultFont();
    QVERIFY(!def.bold() && !def.italic() && !def.underline());
    // Released again, the selection loses it and keeps the other styles.
    QTest::mouseClick(toggle, Qt::LeftButton);
    const QFont after = formatAt(texte, second.position()).font().resolve(def);
    QVERIFY(!after.bold() && !after.italic() && !after.underline());
}

void TestTexte::caretIntoFormattedParagraphAppliesNothing()
{
    TTexte texte;
    fill(texte, {QStringLiteral("simple"), QStringLiteral("titre"), QStringLiteral("fin")});
    QTextCursor cursor(texte.RichEdit1->document()->findBlockByNumber(1));
    cursor.select(QTextCursor::BlockUnderCursor);
    QTextCharFormat title;
    title.setFontWeight(QFont::Bold);
    title.setFontPointSize(14);
    title.setFontFamilies({QStringLiteral("Arial")});
    cursor.mergeCharFormat(title);
    showActive(texte);
    caretAt(texte, 0);
    QVERIFY(!texte.SpeedButton6->isChecked());
    QCOMPARE(texte.SpinEdit1->text(), QStringLiteral("10"));
    QCOMPARE(texte.ComboBox1->currentText(), QStringLiteral("Times New Roman"));
    const QString before = texte.RichEdit1->document()->toHtml();
    texte.RichEdit1->setFocus();
    QTest::keyClick(texte.RichEdit1, Qt::Key_Down);
    QTest::keyClick(texte.RichEdit1, Qt::Key_Right);
    QVERIFY(texte.SpeedButton6->isChecked());
    QVERIFY(!texte.SpeedButton7->isChecked());
    QCOMPARE(texte.SpinEdit1->text(), QStringLiteral("14"));
    QCOMPARE(texte.ComboBox1->currentText(), QStringLiteral("Arial"));
    QCOMPARE(texte.RichEdit1->document()->toHtml(), before);
    QCOMPARE(texte.RichEdit1->document()->defaultFont().pointSize(), 10);
    QVERIFY(!texte.RichEdit1->document()->defaultFont().bold());
    // And back: the buttons follow, the text stays.
    QTest::keyClick(texte.RichEdit1, Qt::Key_Down);
    QVERIFY(!texte.SpeedButton6->isChecked());
    QCOMPARE(texte.SpinEdit1->text(), QStringLiteral("10"));
    QCOMPARE(texte.RichEdit1->document()->toHtml(), before);
}

void TestTexte::fontPickedFromList()
{
    TTexte texte;
    fill(texte, Report);
    const int index = texte.ComboBox1->findText(QStringLiteral("Liberation Sans"));
    if (index < 0)
        QSKIP("Liberation Sans is not installed");
    showActive(texte);
    select(texte, 0, 3);
    texte.ComboBox1->setFocus();
    texte.ComboBox1->lineEdit()->selectAll();
    QTest::keyClicks(texte.ComboBox1, QStringLiteral("Liberation Sans"));
    QTest::keyClick(texte.ComboBox1, Qt::Key_Return);
    QVERIFY(texte.isVisible());
    QCOMPARE(formatAt(texte, 0).fontFamilies().toStringList(), QStringList{QStringLiteral("Liberation Sans")});
    QVERIFY(!formatAt(texte, 3).hasProperty(QTextFormat::FontFamilies));
}

void TestTexte::fontTypedChangesNothing()
{
    TTexte texte;
    fill(texte, Report);
    showActive(texte);
    select(texte, 0, 3);
    const QString before = texte.RichEdit1->document()->toHtml();
    texte.ComboBox1->setFocus();
    texte.ComboBox1->lineEdit()->selectAll();
    QTest::keyClicks(texte.ComboBox1, QStringLiteral("Pas une police"));
    QTest::keyClick(texte.ComboBox1, Qt::Key_Return);
    QCOMPARE(texte.RichEdit1->document()->toHtml(), before);
    QCOMPARE(texte.RichEdit1->document()->defaultFont().family(), QStringLiteral("Times New Roman"));
}

// The font dialog gives Qt's name, with the foundry of a family that several provide; the tool bar shows the family's.
void TestTexte::fontNamesWithoutFoundry()
{
    FakeSeams fake;
    TTexte texte;
    fill(texte, Report);
    fake.onFontDialog = [](QFont& font) {
        font.setFamily(QStringLiteral("C059 [urw]"));
        return true;
    };
    select(texte, 0, 3);
    QTest::mouseClick(texte.SpeedButton18, Qt::LeftButton);
    QCOMPARE(texte.ComboBox1->currentText(), QStringLiteral("C059"));
}

void TestTexte::fontDialog()
{
    FakeSeams fake;
    TTexte texte;
    fill(texte, Report);
    select(texte, 0, 3);
    QFont offered;
    fake.onFontDialog = [&](QFont& font) {
        offered = font;
        font = QFont(QStringLiteral("Arial"), 16);
        font.setItalic(true);
        return true;
    };
    QTest::mouseClick(texte.SpeedButton18, Qt::LeftButton);
    QCOMPARE(offered.family(), QStringLiteral("Times New Roman"));
    QCOMPARE(offered.pointSize(), 10);
    const QFont got = formatAt(texte, 1).font();
    QCOMPARE(got.family(), QStringLiteral("Arial"));
    QCOMPARE(got.pointSize(), 16);
    QVERIFY(got.italic());
    QVERIFY(!formatAt(texte, 3).hasProperty(QTextFormat::FontPointSize));
    // The tool bar shows the new attributes of the selection.
    QCOMPARE(texte.SpinEdit1->text(), QStringLiteral("16"));
    QVERIFY(texte.SpeedButton7->isChecked());
}

void TestTexte::fontDialogCancelled()
{
    FakeSeams fake;
    TTexte texte;
    fill(texte, Report);
    select(texte, 0, 3);
    const QString before = texte.RichEdit1->document()->toHtml();
    fake.onFontDialog = [](QFont& font) {
        font = QFont(QStringLiteral("Arial"), 30);
        return false;
    };
    QTest::mouseClick(texte.SpeedButton18, Qt::LeftButton);
    QCOMPARE(texte.RichEdit1->document()->toHtml(), before);
}

void TestTexte::alignmentButtonsFollowParagraph_data()
{
    QTest::addColumn<int>("alignment");
    QTest::addColumn<QString>("down");
    QTest::newRow("left") << int(Qt::AlignLeft) << "SpeedButton9";
    QTest::newRow("centred") << int(Qt::AlignHCenter) << "SpeedButton10";
    QTest::newRow("right") << int(Qt::AlignRight) << "SpeedButton11";
    QTest::newRow("justified") << int(Qt::AlignJustify) << "";
}

void TestTexte::alignmentButtonsFollowParagraph()
{
    QFETCH(int, alignment);
    QFETCH(QString, down);
    TTexte texte;
    fill(texte, Report);
    QTextCursor cursor(texte.RichEdit1->document()->findBlockByNumber(3));
    QTextBlockFormat format;
    format.setAlignment(Qt::Alignment(alignment));
    cursor.mergeBlockFormat(format);
    caretAt(texte, 0);
    QVERIFY(texte.SpeedButton9->isChecked());
    caretAt(texte, texte.RichEdit1->document()->findBlockByNumber(3).position() + 2);
    for (QToolButton* button : {texte.SpeedButton9, texte.SpeedButton10, texte.SpeedButton11})
        QCOMPARE(button->isChecked(), button->objectName() == down);
}

void TestTexte::alignmentButtonsAlignSelection()
{
    TTexte texte;
    fill(texte, Report);
    QTextDocument* doc = texte.RichEdit1->document();
    select(texte, doc->findBlockByNumber(1).position() + 3, doc->findBlockByNumber(2).position());
    QTest::mouseClick(texte.SpeedButton10, Qt::LeftButton);
    auto align = [&](int block) {
        return doc->findBlockByNumber(block).blockFormat().alignment() & Qt::AlignHorizontal_Mask;
    };
    QCOMPARE(align(0), Qt::AlignLeft);
    QCOMPARE(align(1), Qt::AlignHCenter);
    QCOMPARE(align(2), Qt::AlignHCenter);
    QCOMPARE(align(3), Qt::AlignLeft);
    QVERIFY(texte.SpeedButton10->isChecked());
    QVERIFY(!texte.SpeedButton9->isChecked());
    QTest::mouseClick(texte.SpeedButton11, Qt::LeftButton);
    QCOMPARE(align(1), Qt::AlignRight);
    QVERIFY(texte.SpeedButton11->isChecked());
    QVERIFY(!texte.SpeedButton10->isChecked());
    // Pressing the button that is down changes nothing: one of the three stays down.
    QTest::mouseClick(texte.SpeedButton11, Qt::LeftButton);
    QVERIFY(texte.SpeedButton11->isChecked());
    QCOMPARE(align(1), Qt::AlignRight);
}

void TestTexte::bulletsToggle()
{
    TTexte texte;
    fill(texte, Report);
    QTextDocument* doc = texte.RichEdit1->document();
    select(texte, doc->findBlockByNumber(0).position() + 1, doc->findBlockByNumber(1).position() + 1);
    QTest::mouseClick(texte.SpeedButton12, Qt::LeftButton);
    QVERIFY(texte.SpeedButton12->isChecked());
    QTextList* list = doc->findBlockByNumber(0).textList();
    QVERIFY(list);
    QCOMPARE(list->format().style(), QTextListFormat::ListDisc);
    QCOMPARE(doc->findBlockByNumber(1).textList(), list);
    QVERIFY(!doc->findBlockByNumber(2).textList());
    caretAt(texte, doc->findBlockByNumber(3).position());
    QVERIFY(!texte.SpeedButton12->isChecked());
    caretAt(texte, doc->findBlockByNumber(1).position());
    QVERIFY(texte.SpeedButton12->isChecked());
    QTest::mouseClick(texte.SpeedButton12, Qt::LeftButton);
    QVERIFY(!texte.SpeedButton12->isChecked());
    QVERIFY(!doc->findBlockByNumber(1).textList());
    QVERIFY(doc->findBlockByNumber(0).textList());
    QCOMPARE(doc->findBlockByNumber(1).blockFormat().indent(), 0);
}

void TestTexte::firstIndentDragKeepsLeftEdge()
{
    TTexte texte;
    fill(texte, Report);
    caretAt(texte, 2);
    QCOMPARE(texte.FirstInd->x(), 2);
    // Pressed 4 pixels right of its middle, the marker jumps 4 pixels; dragged 14 more.
    drag(texte.FirstInd, 10, 14);
    // First indent (20 + 6 - 6) x 0.75 = 15 points; the left marker still at 2 gives (2 + 6 - 6) x 0.75 = 1,
    // so the other lines are 1 - 15 = -14 points from the first one.
    const TTexte::Indents indents = texte.indentsOf(texte.RichEdit1->document()->firstBlock());
    QCOMPARE(indents.first, 15);
    QCOMPARE(indents.left, -14);
    QCOMPARE(indents.right, 0);
    QCOMPARE(texte.RichEdit1->document()->firstBlock().blockFormat().leftMargin(), 4.0 / 3);
    QCOMPARE(texte.FirstInd->x(), 22);
    QCOMPARE(texte.LeftInd->x(), 3);
}

void TestTexte::leftIndentDrag()
{
    TTexte texte;
    fill(texte, Report);
    caretAt(texte, 2);
    drag(texte.LeftInd, 6, 30);
    const TTexte::Indents indents = texte.indentsOf(texte.RichEdit1->document()->firstBlock());
    QCOMPARE(indents.first, 0);
    QCOMPARE(indents.left, 24);
    QCOMPARE(texte.LeftInd->x(), 34);
    QCOMPARE(texte.FirstInd->x(), 2);
}

void TestTexte::rightIndentDrag()
{
    TTexte texte;
    fill(texte, Report);
    texte.resize(676, 402);
    caretAt(texte, 2);
    QCOMPARE(texte.RightInd->x(), 662);
    drag(texte.RightInd, 6, -30);
    // (676 - 632 + 6 - 2) x 0.75 - 12 = 24 points.
    QCOMPARE(texte.indentsOf(texte.RichEdit1->document()->firstBlock()).right, 24);
    QCOMPARE(texte.RichEdit1->document()->firstBlock().blockFormat().rightMargin(), 32.0);
    QCOMPARE(texte.RightInd->x(), 676 - 6 - 40);
}

void TestTexte::indentsApplyToSelectedParagraphsOnly()
{
    TTexte texte;
    fill(texte, Report);
    QTextDocument* doc = texte.RichEdit1->document();
    select(texte, doc->findBlockByNumber(1).position() + 2, doc->findBlockByNumber(3).position() + 1);
    drag(texte.LeftInd, 6, 30);
    QCOMPARE(texte.indentsOf(doc->findBlockByNumber(0)).left, 0);
    for (int i = 1; i <= 3; ++i)
        QCOMPARE(texte.indentsOf(doc->findBlockByNumber(i)).left, 24);
    // Moving the caret back shows the first paragraph's indents.
    caretAt(texte, 0);
    QCOMPARE(texte.LeftInd->x(), 2);
    caretAt(texte, doc->findBlockByNumber(2).position());
    QCOMPARE(texte.LeftInd->x(), 34);
}

void TestTexte::indentsNeverLeaveTheMargins()
{
    TTexte texte;
    fill(texte, Report);
    caretAt(texte, 0);
    drag(texte.FirstInd, 6, -40);
    drag(texte.RightInd, 6, 200);
    const TTexte::Indents indents = texte.indentsOf(texte.RichEdit1->document()->firstBlock());
    QCOMPARE(indents.first, 0);
    QVERIFY(indents.first + indents.left >= 0);
    QCOMPARE(indents.right, 0);
    drag(texte.LeftInd, 6, -40);
    QCOMPARE(texte.indentsOf(texte.RichEdit1->document()->firstBlock()).left, 0);
}

void TestTexte::copyAndPasteThroughClipboard()
{
    TTexte texte;
    fill(texte, Report);
    QApplication::clipboard()->clear();
    const QTextBlock second = texte.RichEdit1->document()->findBlockByNumber(1);
    select(texte, second.position(), second.position() + 9);
    QTest::mouseClick(texte.SpeedButton4, Qt::LeftButton);
    QCOMPARE(QApplication::clipboard()->text(), QStringLiteral("Résultats"));
    QApplication::clipboard()->setText(QStringLiteral("Bilan "));
    caretAt(texte, second.position());
    QTest::mouseClick(texte.SpeedButton5, Qt::LeftButton);
    QCOMPARE(texte.RichEdit1->document()->findBlockByNumber(1).text(), QStringLiteral("Bilan Résultats au 07/12/2026"));
}

// A report holding characters a text file cannot hold: the teacher is told which, and chooses the rtf file that
// keeps them (0), the text file with "?" in their place (1), or nothing (2).
void TestTexte::saveAsText_data()
{
    QTest::addColumn<int>("answer");
    QTest::addColumn<QString>("written");
    QTest::newRow("rtf") << 0 << "rapport.rtf";
    QTest::newRow("text") << 1 << "rapport.txt";
    QTest::newRow("cancel") << 2 << "";
}

void TestTexte::saveAsText()
{
    QFETCH(int, answer);
    QFETCH(QString, written);
    FakeSeams fake;
    QTemporaryDir dir;
    TTexte texte;
    fill(texte, {QStringLiteral("6A.\t(25 élèves)"), QString(), QStringLiteral("Łukasz a≠b 5€ Ω≠Ł")});
    // A line break typed with Shift+Return, and a picture pasted in.
    QTextCursor cursor(texte.RichEdit1->document());
    cursor.movePosition(QTextCursor::End);
    cursor.insertText(QString(QChar::LineSeparator) + QStringLiteral("x") + QChar(QChar::ObjectReplacementCharacter));
    fake.saveAnswers << Seams::SaveChoice{dir.filePath(QStringLiteral("rapport")), 1};
    fake.messageAnswers << answer;
    QTest::mouseClick(texte.SpeedButton2, Qt::LeftButton);
    QCOMPARE(fake.saveFilters, QStringList{QStringLiteral("Format texte (*.txt)|*.txt|Format rtf (*.rtf)|*.rtf")});
    QCOMPARE(fake.messages.size(), 1);
    QCOMPARE(fake.messages[0].text, QStringLiteral("Le format texte ne peut pas enregistrer ces caractères, qui y "
                                                   "deviendraient des « ? » ; le format rtf les conserve : "
                                                   "Ł (U+0141), ≠ (U+2260), Ω (U+03A9)"));
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files), written.isEmpty() ? QStringList() : QStringList{written});
    if (answer == 1)
        QCOMPARE(readAll(dir.filePath(written)),
                 QByteArray("6A.\t(25 \xE9l\xE8ves)\r\n\r\n?ukasz a?b 5\x80 ??\?\r\nx\r\n"));
    if (answer == 0)
        keepForReading(dir.filePath(written), texte);
    QCOMPARE(texte.PlainText, answer == 1);
}

void TestTexte::saveAsRtf()
{
    FakeSeams fake;
    QTemporaryDir dir;
    TTexte texte;
    fill(texte, Report);
    QTextDocument* doc = texte.RichEdit1->document();
    select(texte, 0, 3);
    QTest::mouseClick(texte.SpeedButton6, Qt::LeftButton);
    caretAt(texte, doc->findBlockByNumber(1).position());
    QTest::mouseClick(texte.SpeedButton10, Qt::LeftButton);
    fake.saveAnswers << Seams::SaveChoice{dir.filePath(QStringLiteral("rapport.doc")), 2};
    QTest::mouseClick(texte.SpeedButton2, Qt::LeftButton);
    const QByteArray rtf = readAll(dir.filePath(QStringLiteral("rapport.rtf")));
    QVERIFY2(rtf.startsWith("{\\rtf1\\ansi\\ansicpg1252"), rtf.constData());
    QVERIFY(rtf.contains("{\\plain\\f0\\fs20\\b 6A.}{\\plain\\f0\\fs20 \\tab (25 \\'e9l\\'e8ves)}\\par\r\n"));
    QVERIFY(rtf.contains(
        "\\par\r\n\\pard\\qc\\fi0\\li0\\ri0\\plain\\f0\\fs20 {\\plain\\f0\\fs20 R\\'e9sultats au 07/12/2026}"));
    QVERIFY(rtf.contains("DUPONT Jean\\tab \\tab 12,50\\tab \\tab (1\\'b0)"));
    QVERIFY(!texte.PlainText);
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files), QStringList{QStringLiteral("rapport.rtf")});
    keepForReading(dir.filePath(QStringLiteral("rapport.rtf")), texte, QStringLiteral("+LiberationSerif-Bold"));
}

void TestTexte::saveNames_data()
{
    QTest::addColumn<QString>("folder");
    QTest::addColumn<QString>("chosen");
    QTest::addColumn<int>("filter");
    QTest::addColumn<QString>("written");
    QTest::newRow("text") << ""
                          << "rapport" << 1 << "rapport.txt";
    QTest::newRow("rtf over doc") << ""
                                  << "rapport.doc" << 2 << "rapport.rtf";
    QTest::newRow("folder with a dot") << "classes.2026"
                                       << "bilan" << 1 << "bilan.txt";
    QTest::newRow("folder with a dot, dotted name") << "classes.2026"
                                                    << "bilan.1er.trimestre" << 2 << "bilan.rtf";
}

void TestTexte::saveNames()
{
    QFETCH(QString, folder);
    QFETCH(QString, chosen);
    QFETCH(int, filter);
    QFETCH(QString, written);
    FakeSeams fake;
    QTemporaryDir dir;
    QDir(dir.path()).mkpath(folder.isEmpty() ? QStringLiteral(".") : folder);
    const QString where = folder.isEmpty() ? dir.path() : dir.filePath(folder);
    TTexte texte;
    fill(texte, Report);
    fake.saveAnswers << Seams::SaveChoice{where + QLatin1Char('/') + chosen, filter};
    texte.SpeedButton2Click();
    QVERIFY(fake.messages.isEmpty());
    QCOMPARE(QDir(where).entryList(QDir::Files), QStringList{written});
    if (written.endsWith(QStringLiteral(".rtf")))
        keepForReading(where + QLatin1Char('/') + written, texte);
}

void TestTexte::saveCancelled()
{
    FakeSeams fake;
    TTexte texte;
    fill(texte, Report);
    texte.SpeedButton2Click();
    QCOMPARE(fake.saveFilters.size(), 1);
    QVERIFY(fake.messages.isEmpty());
    QVERIFY(!texte.PlainText);
}

void TestTexte::saveRemembersFormat()
{
    RecordingSeams fake;
    QTemporaryDir dir;
    TTexte texte;
    fill(texte, Report);
    // Replaces the file of that name without asking.
    QFile old(dir.filePath(QStringLiteral("r.rtf")));
    QVERIFY(old.open(QIODevice::WriteOnly));
    old.write("old");
    old.close();
    fake.saveAnswers << Seams::SaveChoice{dir.filePath(QStringLiteral("r")), 2};
    texte.SpeedButton2Click();
    texte.SpeedButton2Click();
    QCOMPARE(fake.filterIndexes, (QList<int>{1, 2}));
    QVERIFY(readAll(dir.filePath(QStringLiteral("r.rtf"))).startsWith("{\\rtf1"));
    keepForReading(dir.filePath(QStringLiteral("r.rtf")), texte);
    QVERIFY(fake.messages.isEmpty());
}

void TestTexte::saveCannotCreate()
{
    FakeSeams fake;
    TTexte texte;
    fill(texte, Report);
    fake.saveAnswers << Seams::SaveChoice{QStringLiteral("/nonexistent.dir/sub/rapport.doc"), 1};
    texte.SpeedButton2Click();
    QCOMPARE(fake.messages.size(), 1);
    QCOMPARE(fake.messages.first().text, QStringLiteral("Ne peut créer le fichier /nonexistent.dir/sub/rapport.txt"));
    QCOMPARE(fake.messages.first().kind, Seams::MessageKind::Error);
}

void TestTexte::printWholeText()
{
    FakeSeams fake;
    TTexte texte;
    fill(texte, Report);
    QTest::mouseClick(texte.SpeedButton3, Qt::LeftButton);
    QVERIFY(fake.messages.isEmpty());
    QCOMPARE(fake.printDialogs, 0);
    const QByteArray onePage = readAll(fake.printerOutput());
    QCOMPARE(onePage.count("/Type /Page\n"), 1);

    QStringList many;
    for (int i = 1; i <= 200; ++i)
        many << QStringLiteral("Ligne %1\t\t12,50").arg(i);
    fill(texte, many);
    texte.SpeedButton3Click();
    const QByteArray pages = readAll(fake.printerOutput());
    // 200 lines of 10 points do not hold on one page, nor on two; each page goes on where the last stopped.
    QVERIFY(pages.count("/Type /Page\n") >= 3);
    QVERIFY(pages.count("/Type /Page\n") <= 6);
    QCOMPARE(fake.pdfPrinter().docName(), QString());
}

void TestTexte::printCannotStart()
{
    FakeSeams fake;
    TTexte texte;
    fill(texte, Report);
    fake.pdfPrinter().setOutputFileName(QStringLiteral("/nonexistent.dir/sortie.pdf"));
    texte.SpeedButton3Click();
    QCOMPARE(fake.messages.size(), 1);
    QCOMPARE(fake.messages.first().text, QStringLiteral("Ne peut créer le fichier /nonexistent.dir/sortie.pdf"));

    if (!QPrinterInfo::availablePrinters().isEmpty())
        QSKIP("a printer is installed here");
    // Without a printer and without a file to print into, the painter cannot start.
    fake.pdfPrinter().setOutputFileName(QString());
    texte.SpeedButton3Click();
    QCOMPARE(fake.messages.size(), 2);
    QCOMPARE(fake.messages.last().text, QStringLiteral("Aucune imprimante par défaut sélectionnée"));
}

void TestTexte::printedIndentsFollowPrinterResolution()
{
    TTexte texte;
    fill(texte, {QStringLiteral("mot ").repeated(400), QStringLiteral("court")});
    // First line 36 points in, the others 18 points further, 72 points kept free on the right.
    QTextCursor cursor(texte.RichEdit1->document());
    QTextBlockFormat format;
    format.setLeftMargin(72);
    format.setTextIndent(-24);
    format.setRightMargin(96);
    cursor.mergeBlockFormat(format);
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    QCOMPARE(printer.logicalDpiX(), 1200);
    const auto doc = reportprint::layoutFor(*texte.RichEdit1->document(), printer, QSizeF(9600, 14000));
    QCOMPARE(doc->pageCount(), 1);
    const QTextBlock first = doc->firstBlock();
    QTextLayout* layout = first.layout();
    QVERIFY(layout->lineCount() > 2);
    // Half an inch, three quarters of an inch, at 1200 dots per inch; the page has no margin of its own.
    QCOMPARE(layout->lineAt(0).x(), 600.0);
    QCOMPARE(layout->lineAt(1).x(), 900.0);
    QVERIFY(layout->lineAt(1).x() + layout->lineAt(1).width() <= 9600 - 1200 + 0.5);
    QVERIFY(layout->lineAt(1).x() + layout->lineAt(1).width() > 9600 - 1200 - 1);
    QCOMPARE(doc->documentLayout()->blockBoundingRect(first).top(), 0.0);
    QTextLayout* second = first.next().layout();
    QCOMPARE(second->lineCount(), 1);
    QCOMPARE(second->lineAt(0).x(), 0.0);
    // The editor's own text is left as it was.
    QCOMPARE(texte.RichEdit1->document()->firstBlock().blockFormat().leftMargin(), 72.0);
}

void TestTexte::closeKeepsText()
{
    TTexte texte;
    fill(texte, Report);
    texte.show();
    QTest::mouseClick(texte.Button1, Qt::LeftButton);
    QVERIFY(!texte.isVisible());
    QCOMPARE(texte.RichEdit1->document()->blockCount(), 4);
    QCOMPARE(texte.RichEdit1->document()->firstBlock().text(), QStringLiteral("6A.\t(25 élèves)"));
}

void TestTexte::keysInTheEditor()
{
    TTexte texte;
    fill(texte, {QStringLiteral("Nom"), QStringLiteral("fin")});
    showActive(texte);
    texte.RichEdit1->setFocus();
    QTest::keyClick(texte.RichEdit1, Qt::Key_End);
    // Tab inserts a tab instead of leaving the editor; Return starts a paragraph; Escape keeps the window open.
    QTest::keyClick(texte.RichEdit1, Qt::Key_Tab);
    QTest::keyClicks(texte.RichEdit1, QStringLiteral("12,50"));
    QTest::keyClick(texte.RichEdit1, Qt::Key_Return);
    QTest::keyClick(texte.RichEdit1, Qt::Key_Escape);
    QVERIFY(texte.isVisible());
    QVERIFY(texte.RichEdit1->hasFocus());
    QCOMPARE(texte.RichEdit1->toPlainText(), QStringLiteral("Nom\t12,50\n\nfin"));
    texte.SpinEdit1->setFocus();
    QTest::keyClick(texte.SpinEdit1, Qt::Key_Return);
    QVERIFY(texte.isVisible());
}

QTEST_MAIN(TestTexte)
#include "TestTexte.moc"

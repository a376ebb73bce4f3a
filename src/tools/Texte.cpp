#include "tools/Texte.h"

#include "core/Cp1252.h"
#include "core/TextFile.h"
#include "tools/IndentMarker.h"
#include "tools/ReportFileName.h"
#include "tools/ReportPrint.h"
#include "tools/RtfWriter.h"
#include "tools/RulerMath.h"
#include "tools/RulerPanel.h"
#include "tools/SizeSpinBox.h"
#include "widgets/ErrorHandler.h"
#include "widgets/Fonts.h"
#include "widgets/Glyphs.h"
#include "widgets/Seams.h"

#include <QButtonGroup>
#include <QComboBox>
#include <QCoreApplication>
#include <QFontDatabase>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPushButton>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextEdit>
#include <QTextList>
#include <QToolButton>
#include <algorithm>
#include <cmath>

const QString TTexte::SaveFilter = QStringLiteral("Format texte (*.txt)|*.txt|Format rtf (*.rtf)|*.rtf");

namespace {

constexpr int ToolBarHeight = 33;
constexpr int RulerHeight = 32;
// Tabs of the report stand every half inch, as word processors place them by default.
constexpr double DefaultTabStop = 48.0;
// A bulleted paragraph's text moves right by 15 points to leave room for its bullet.
constexpr int BulletIndent = 20;

// The tool bar and ruler follow the text without touching it; the format handlers stay idle meanwhile.
class UpdatingScope
{
public:
    explicit UpdatingScope(bool& flag) : m_flag(flag) { m_flag = true; }
    ~UpdatingScope() { m_flag = false; }
    UpdatingScope(const UpdatingScope&) = delete;
    UpdatingScope& operator=(const UpdatingScope&) = delete;

private:
    bool& m_flag;
};

// The editor's own font, from which every report starts.
QFont editorFont()
{
    return QFont(QStringLiteral("Times New Roman"), 10);
}

int toPoints(double pixels)
{
    return static_cast<int>(std::lround(ruler::pixelsToPoints(pixels)));
}

int fontPoints(const QFont& font)
{
    if (font.pointSizeF() > 0)
        return static_cast<int>(std::lround(font.pointSizeF()));
    return static_cast<int>(std::lround(font.pixelSize() * 0.75));
}

} // namespace

TTexte::TTexte(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("Texte"));
    setWindowTitle(QStringLiteral("Texte"));
    setFont(fonts::pixelFont(QStringLiteral("Times New Roman"), 17));
    resize(676, 402);

    createToolBar();
    createRuler();

    RichEdit1 = new QTextEdit(this);
    RichEdit1->setObjectName(QStringLiteral("RichEdit1"));
    RichEdit1->setFont(editorFont());
    RichEdit1->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    RichEdit1->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    RichEdit1->setTabChangesFocus(false);
    RichEdit1->setAcceptRichText(true);
    // The selection stays as visible when the focus is elsewhere (on the tool bar, typically).
    QPalette palette = RichEdit1->palette();
    palette.setColor(QPalette::Inactive, QPalette::Highlight, palette.color(QPalette::Active, QPalette::Highlight));
    palette.setColor(QPalette::Inactive, QPalette::HighlightedText,
                     palette.color(QPalette::Active, QPalette::HighlightedText));
    RichEdit1->setPalette(palette);
    connect(RichEdit1, &QTextEdit::cursorPositionChanged, this, &TTexte::SelectionChange);
    connect(RichEdit1, &QTextEdit::selectionChanged, this, &TTexte::SelectionChange);

    FormCreate();
}

QToolButton* TTexte::makeButton(int left, const QString& hint, int glyph, bool checkable)
{
    auto* button = new QToolButton(Panel1);
    button->setGeometry(left, 4, 25, 25);
    button->setAutoRaise(true);
    button->setToolTip(hint);
    button->setIcon(glyphs::icon(static_cast<glyphs::Glyph>(glyph)));
    button->setIconSize(QSize(16, 16));
    button->setCheckable(checkable);
    button->setFocusPolicy(Qt::NoFocus);
    return button;
}

void TTexte::createToolBar()
{
    using glyphs::Glyph;
    Panel1 = new QFrame(this);
    Panel1->setObjectName(QStringLiteral("Panel1"));
    Panel1->setFrameStyle(QFrame::Panel | QFrame::Raised);

    SpeedButton2 = makeButton(6, QStringLiteral("Enregistrer"), int(Glyph::Save), false);
    SpeedButton3 = makeButton(31, QStringLiteral("Imprimer"), int(Glyph::Print), false);
    SpeedButton4 = makeButton(63, QStringLiteral("Copier"), int(Glyph::Copy), false);
    SpeedButton5 = makeButton(88, QStringLiteral("Coller"), int(Glyph::Paste), false);

    ComboBox1 = new QComboBox(Panel1);
    ComboBox1->setGeometry(120, 4, 181, 25);
    ComboBox1->setEditable(true);
    ComboBox1->setInsertPolicy(QComboBox::NoInsert);
    ComboBox1->setToolTip(QStringLiteral("Police"));

    SpinEdit1 = new SizeSpinBox(4, 72, Panel1);
    SpinEdit1->setGeometry(306, 4, 49, 25);
    SpinEdit1->setToolTip(QStringLiteral("Taille"));
    SpinEdit1->setValue(10);

    SpeedButton18 = makeButton(360, QStringLiteral("Police"), int(Glyph::Font), false);
    SpeedButton6 = makeButton(390, QStringLiteral("Gras"), int(Glyph::Bold), true);
    SpeedButton7 = makeButton(415, QStringLiteral("Italique"), int(Glyph::Italic), true);
    SpeedButton8 = makeButton(440, QStringLiteral("Souligné"), int(Glyph::Underline), true);
    SpeedButton9 = makeButton(470, QStringLiteral("Gauche"), int(Glyph::AlignLeft), true);
    SpeedButton10 = makeButton(495, QStringLiteral("Centré"), int(Glyph::AlignCenter), true);
    SpeedButton11 = makeButton(520, QStringLiteral("Droite"), int(Glyph::AlignRight), true);
    SpeedButton12 = makeButton(550, QStringLiteral("Puces"), int(Glyph::Bullets), true);
    m_alignGroup = new QButtonGroup(this);
    m_alignGroup->setExclusive(true);
    m_alignGroup->addButton(SpeedButton9);
    m_alignGroup->addButton(SpeedButton10);
    m_alignGroup->addButton(SpeedButton11);
    SpeedButton9->setChecked(true);

    Button1 = new QPushButton(QStringLiteral("Fermer"), Panel1);
    // Return picks a font or a size in the tool bar; it must not close the window.
    Button1->setAutoDefault(false);
    Button1->setGeometry(width() - 88, 4, 75, 25);

    const std::pair<QWidget*, const char*> names[] = {
        {SpeedButton2, "SpeedButton2"},   {SpeedButton3, "SpeedButton3"},   {SpeedButton4, "SpeedButton4"},
        {SpeedButton5, "SpeedButton5"},   {ComboBox1, "ComboBox1"},         {SpinEdit1, "SpinEdit1"},
        {SpeedButton18, "SpeedButton18"}, {SpeedButton6, "SpeedButton6"},   {SpeedButton7, "SpeedButton7"},
        {SpeedButton8, "SpeedButton8"},   {SpeedButton9, "SpeedButton9"},   {SpeedButton10, "SpeedButton10"},
        {SpeedButton11, "SpeedButton11"}, {SpeedButton12, "SpeedButton12"}, {Button1, "Button1"},
    };
    for (const auto& [widget, name] : names)
        widget->setObjectName(QLatin1String(name));

    connect(SpeedButton2, &QToolButton::clicked, this, &TTexte::SpeedButton2Click);
    connect(SpeedButton3, &QToolButton::clicked, this, &TTexte::SpeedButton3Click);
    connect(SpeedButton4, &QToolButton::clicked, this, &TTexte::SpeedButton4Click);
    connect(SpeedButton5, &QToolButton::clicked, this, &TTexte::SpeedButton5Click);
    connect(ComboBox1, &QComboBox::activated, this, &TTexte::ComboBox1Change);
    connect(SpinEdit1, &SizeSpinBox::textChanged, this, &TTexte::SpinEdit1Change);
    connect(SpeedButton18, &QToolButton::clicked, this, &TTexte::SpeedButton18Click);
    connect(SpeedButton6, &QToolButton::toggled, this, &TTexte::BoldClick);
    connect(SpeedButton7, &QToolButton::toggled, this, &TTexte::ItalicClick);
    connect(SpeedButton8, &QToolButton::toggled, this, &TTexte::UnderlineClick);
    connect(SpeedButton9, &QToolButton::clicked, this, [this] { AlignClick(Qt::AlignLeft); });
    connect(SpeedButton10, &QToolButton::clicked, this, [this] { AlignClick(Qt::AlignHCenter); });
    connect(SpeedButton11, &QToolButton::clicked, this, [this] { AlignClick(Qt::AlignRight); });
    connect(SpeedButton12, &QToolButton::toggled, this, &TTexte::BulletsClick);
    connect(Button1, &QPushButton::clicked, this, &TTexte::Button1Click);
}

void TTexte::createRuler()
{
    Ruler = new RulerPanel(this);
    Ruler->setObjectName(QStringLiteral("Ruler"));
    Ruler->setFont(fonts::pixelFont(QStringLiteral("Arial"), 15));

    RulerLine = new QFrame(Ruler);
    RulerLine->setObjectName(QStringLiteral("RulerLine"));
    RulerLine->setFrameStyle(QFrame::HLine | QFrame::Sunken);
    RulerLine->setGeometry(5, 15, 100, 2);

    FirstInd = new IndentMarker(IndentMarker::Shape::DownArrow, Ruler);
    FirstInd->setObjectName(QStringLiteral("FirstInd"));
    FirstInd->setGeometry(0, 2, 13, 12);
    LeftInd = new IndentMarker(IndentMarker::Shape::UpArrow, Ruler);
    LeftInd->setObjectName(QStringLiteral("LeftInd"));
    LeftInd->setGeometry(0, 15, 13, 13);
    RightInd = new IndentMarker(IndentMarker::Shape::HollowUpArrow, Ruler);
    RightInd->setObjectName(QStringLiteral("RightInd"));
    RightInd->setGeometry(0, 17, 12, 16);

    for (IndentMarker* marker : {FirstInd, LeftInd, RightInd}) {
        connect(marker, &IndentMarker::mouseDown, this, [this, marker](int x) { RulerItemMouseDown(marker, x); });
        connect(marker, &IndentMarker::mouseMove, this, [this, marker](int x) { RulerItemMouseMove(marker, x); });
    }
    connect(FirstInd, &IndentMarker::mouseUp, this, &TTexte::FirstIndMouseUp);
    connect(LeftInd, &IndentMarker::mouseUp, this, &TTexte::LeftIndMouseUp);
    connect(RightInd, &IndentMarker::mouseUp, this, &TTexte::RightIndMouseUp);
    connect(Ruler, &RulerPanel::resized, this, &TTexte::RulerResize);
}

// --- creation, showing, sizing ----------------------------------------------------------

void TTexte::FormCreate()
{
    GetFontName();
    SetupRuler();
    QTextDocument* doc = RichEdit1->document();
    doc->setIndentWidth(BulletIndent);
    RichEdit1->setTabStopDistance(DefaultTabStop);
    layoutChildren();
    SelectionChange();
}

void TTexte::GetFontName()
{
    QStringList names;
    for (const QString& family : QFontDatabase::families()) {
        // Only the face names a font record of the system holds (32 characters at most) are offered, once
        // each whatever foundries provide them.
        const QString name = fonts::plainFamily(family);
        if (name.size() <= 32 && !names.contains(name))
            names << name;
    }
    std::sort(names.begin(), names.end(),
              [](const QString& a, const QString& b) { return QString::compare(a, b, Qt::CaseInsensitive) < 0; });
    ComboBox1->clear();
    ComboBox1->addItems(names);
    ComboBox1->setCurrentIndex(-1);
    ComboBox1->setEditText(QStringLiteral("Times New Roman"));
}

void TTexte::SetupRuler()
{
    Ruler->setCaption(QStringLiteral("\t|").repeated(100));
}

void TTexte::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    FormShow();
}

void TTexte::FormShow()
{
    QTextCursor cursor = RichEdit1->textCursor();
    cursor.setPosition(0);
    RichEdit1->setTextCursor(cursor);
    RichEdit1->setFocus();
}

void TTexte::keyPressEvent(QKeyEvent* event)
{
    // Escape would close the window, and nothing but a new report shows it again: the edits would be
    // out of reach. "Fermer" closes it.
    if (event->key() == Qt::Key_Escape) {
        event->accept();
        return;
    }
    QDialog::keyPressEvent(event);
}

void TTexte::resizeEvent(QResizeEvent* event)
{
    QDialog::resizeEvent(event);
    layoutChildren();
    FormResize();
}

void TTexte::layoutChildren()
{
    Panel1->setGeometry(0, 0, width(), ToolBarHeight);
    Ruler->setGeometry(0, ToolBarHeight, width(), RulerHeight);
    RichEdit1->setGeometry(0, ToolBarHeight + RulerHeight, width(),
                           std::max(0, height() - ToolBarHeight - RulerHeight));
    RulerResize();
}

void TTexte::FormResize()
{
    // "Fermer" keeps 96 pixels from the window's outer right edge; the frame is 4 pixels a side as designed.
    Button1->move(width() + 8 - 96, Button1->y());
    SetEditRect();
    SelectionChange();
}

void TTexte::SetEditRect()
{
    QTextDocument* doc = RichEdit1->document();
    QTextFrameFormat frame = doc->rootFrame()->frameFormat();
    frame.setLeftMargin(ruler::Gutter);
    frame.setRightMargin(ruler::Gutter);
    frame.setTopMargin(0);
    frame.setBottomMargin(0);
    doc->rootFrame()->setFrameFormat(frame);
}

void TTexte::RulerResize()
{
    RulerLine->resize(Ruler->width() - 2 * RulerLine->x(), RulerLine->height());
}

// --- the report ---------------------------------------------------------------------------

void TTexte::Init()
{
    QTextDocument* doc = RichEdit1->document();
    doc->clear();
    // The attributes chosen without a selection for the previous report are not those of the next one.
    RichEdit1->setFont(editorFont());
    RichEdit1->setCurrentCharFormat(QTextCharFormat());
    doc->setIndentWidth(BulletIndent);
    RichEdit1->setTabStopDistance(DefaultTabStop);
    SetEditRect();
    m_hasLines = false;
}

void TTexte::Ajout(const QString& line)
{
    QTextCursor cursor(RichEdit1->document());
    cursor.movePosition(QTextCursor::End);
    if (m_hasLines || !RichEdit1->document()->isEmpty())
        cursor.insertBlock(QTextBlockFormat(), QTextCharFormat());
    cursor.insertText(line, QTextCharFormat());
    m_hasLines = true;
}

// --- following the selection --------------------------------------------------------------

TTexte::Indents TTexte::indentsOf(const QTextBlock& block) const
{
    const QTextBlockFormat format = block.blockFormat();
    Indents indents;
    indents.first = toPoints(format.leftMargin() + format.textIndent());
    indents.left = toPoints(-format.textIndent());
    indents.right = toPoints(format.rightMargin());
    return indents;
}

QFont TTexte::selectionFont() const
{
    const QTextCursor selection = RichEdit1->textCursor();
    QTextCharFormat format;
    if (selection.hasSelection()) {
        QTextCursor first(RichEdit1->document());
        first.setPosition(selection.selectionStart());
        first.movePosition(QTextCursor::NextCharacter);
        format = first.charFormat();
    } else {
        format = RichEdit1->currentCharFormat();
    }
    return format.font().resolve(RichEdit1->document()->defaultFont());
}

void TTexte::SelectionChange()
{
    UpdatingScope updating(FUpdating);
    const QTextCursor cursor = RichEdit1->textCursor();
    const QTextBlock block = RichEdit1->document()->findBlock(cursor.selectionStart());
    const Indents indents = indentsOf(block);
    FirstInd->move(ruler::firstIndLeft(indents.first), FirstInd->y());
    LeftInd->move(ruler::leftIndLeft(indents.left, indents.first), LeftInd->y());
    RightInd->move(ruler::rightIndLeft(Ruler->width(), indents.right), RightInd->y());

    const QFont font = selectionFont();
    SpeedButton6->setChecked(font.bold());
    SpeedButton7->setChecked(font.italic());
    SpeedButton8->setChecked(font.underline());
    SpeedButton12->setChecked(block.textList() != nullptr);
    SpinEdit1->setValue(fontPoints(font));
    ComboBox1->setEditText(fonts::plainFamily(font.family()));

    const Qt::Alignment align = block.blockFormat().alignment() & Qt::AlignHorizontal_Mask;
    QToolButton* down = nullptr;
    if (align & Qt::AlignHCenter)
        down = SpeedButton10;
    else if (align & (Qt::AlignRight | Qt::AlignTrailing))
        down = SpeedButton11;
    else if (!(align & Qt::AlignJustify))
        down = SpeedButton9;
    if (down) {
        down->setChecked(true);
    } else {
        // A justified paragraph (pasted in) shows none of the three.
        m_alignGroup->setExclusive(false);
        for (QAbstractButton* button : m_alignGroup->buttons())
            button->setChecked(false);
        m_alignGroup->setExclusive(true);
    }
}

// --- character attributes -------------------------------------------------------------------

void TTexte::changeCurrText(const QTextCharFormat& change, const std::function<void(QFont&)>& changeDefault)
{
    QTextCursor cursor = RichEdit1->textCursor();
    if (cursor.hasSelection()) {
        cursor.mergeCharFormat(change);
        return;
    }
    // Without a selection the default attributes change: every piece of text that has none of its own
    // follows them, and so does what is typed next.
    QFont font = RichEdit1->document()->defaultFont();
    changeDefault(font);
    RichEdit1->setFont(font);
}

void TTexte::BoldClick()
{
    if (FUpdating)
        return;
    const bool bold = SpeedButton6->isChecked();
    QTextCharFormat change;
    change.setFontWeight(bold ? QFont::Bold : QFont::Normal);
    changeCurrText(change, [bold](QFont& font) { font.setBold(bold); });
}

void TTexte::ItalicClick()
{
    if (FUpdating)
        return;
    const bool italic = SpeedButton7->isChecked();
    QTextCharFormat change;
    change.setFontItalic(italic);
    changeCurrText(change, [italic](QFont& font) { font.setItalic(italic); });
}

void TTexte::UnderlineClick()
{
    if (FUpdating)
        return;
    const bool underline = SpeedButton8->isChecked();
    QTextCharFormat change;
    change.setFontUnderline(underline);
    changeCurrText(change, [underline](QFont& font) { font.setUnderline(underline); });
}

void TTexte::ComboBox1Change(int index)
{
    if (FUpdating || index < 0)
        return;
    const QString family = ComboBox1->itemText(index);
    QTextCharFormat change;
    change.setFontFamilies({family});
    changeCurrText(change, [&family](QFont& font) { font.setFamilies({family}); });
}

void TTexte::SpinEdit1Change()
{
    if (FUpdating)
        return;
    const int size = SpinEdit1->value();
    QTextCharFormat change;
    change.setFontPointSize(size);
    changeCurrText(change, [size](QFont& font) { font.setPointSize(size); });
}

void TTexte::SpeedButton18Click()
{
    if (FUpdating)
        return;
    QFont font = selectionFont();
    if (!seams().fontDialog(this, font))
        return;
    QTextCharFormat change;
    change.setFont(font, QTextCharFormat::FontPropertiesAll);
    // The selection takes the font; without one it is what the caret types next.
    RichEdit1->mergeCurrentCharFormat(change);
    SelectionChange();
}

void TTexte::SpeedButton4Click()
{
    RichEdit1->copy();
}

void TTexte::SpeedButton5Click()
{
    RichEdit1->paste();
}

// --- paragraphs -------------------------------------------------------------------------------

void TTexte::changeParagraphs(const std::function<void(QTextCursor&, const QTextBlock&)>& change)
{
    const QTextCursor selection = RichEdit1->textCursor();
    QTextDocument* doc = RichEdit1->document();
    const QTextBlock last = doc->findBlock(selection.selectionEnd());
    QTextCursor cursor(doc);
    cursor.beginEditBlock();
    for (QTextBlock block = doc->findBlock(selection.selectionStart()); block.isValid(); block = block.next()) {
        cursor.setPosition(block.position());
        change(cursor, block);
        if (block == last)
            break;
    }
    cursor.endEditBlock();
}

void TTexte::AlignClick(Qt::Alignment alignment)
{
    if (FUpdating)
        return;
    // The three buttons align the paragraphs of the selection, as their names promise.
    changeParagraphs([alignment](QTextCursor& cursor, const QTextBlock&) {
        QTextBlockFormat format;
        format.setAlignment(alignment);
        cursor.mergeBlockFormat(format);
    });
    SelectionChange();
}

void TTexte::BulletsClick()
{
    if (FUpdating)
        return;
    if (SpeedButton12->isChecked()) {
        QTextCursor cursor = RichEdit1->textCursor();
        QTextListFormat format;
        format.setStyle(QTextListFormat::ListDisc);
        format.setIndent(1);
        cursor.createList(format);
    } else {
        changeParagraphs([](QTextCursor& cursor, const QTextBlock& block) {
            if (QTextList* list = block.textList())
                list->remove(block);
            QTextBlockFormat format;
            format.setIndent(0);
            format.setObjectIndex(-1);
            cursor.mergeBlockFormat(format);
        });
    }
    SelectionChange();
}

void TTexte::setIndents(const Indents& wanted, bool first, bool left, bool right)
{
    changeParagraphs([&](QTextCursor& cursor, const QTextBlock& block) {
        Indents indents = indentsOf(block);
        if (first)
            indents.first = wanted.first;
        if (left)
            indents.left = wanted.left;
        if (right)
            indents.right = wanted.right;
        // No line may start left of the margin or end beyond the right one: its text would be cut off.
        indents.first = std::max(0, indents.first);
        indents.left = std::max(-indents.first, indents.left);
        indents.right = std::max(0, indents.right);
        QTextBlockFormat format;
        format.setLeftMargin(ruler::pointsToPixels(indents.first + indents.left));
        format.setTextIndent(ruler::pointsToPixels(-indents.left));
        format.setRightMargin(ruler::pointsToPixels(indents.right));
        cursor.mergeBlockFormat(format);
    });
}

// --- indent markers ---------------------------------------------------------------------------

void TTexte::RulerItemMouseDown(IndentMarker* item, int x)
{
    FDragOfs = item->width() / 2;
    item->move(item->x() + x - FDragOfs, item->y());
    FDragging = true;
}

void TTexte::RulerItemMouseMove(IndentMarker* item, int x)
{
    if (FDragging)
        item->move(item->x() + x - FDragOfs, item->y());
}

void TTexte::FirstIndMouseUp()
{
    FDragging = false;
    Indents indents;
    indents.first = ruler::firstIndentAt(FirstInd->x(), FDragOfs);
    setIndents(indents, true, false, false);
    // The left marker stays where it is: the other lines keep their left edge under it.
    LeftIndMouseUp();
}

void TTexte::LeftIndMouseUp()
{
    FDragging = false;
    const QTextBlock block = RichEdit1->document()->findBlock(RichEdit1->textCursor().selectionStart());
    Indents indents;
    indents.left = ruler::leftIndentAt(LeftInd->x(), FDragOfs, indentsOf(block).first);
    setIndents(indents, false, true, false);
    SelectionChange();
}

void TTexte::RightIndMouseUp()
{
    FDragging = false;
    Indents indents;
    indents.right = ruler::rightIndentAt(Ruler->width(), RightInd->x(), FDragOfs);
    setIndents(indents, false, false, true);
    SelectionChange();
}

// --- save, print, close -------------------------------------------------------------------------

QByteArray TTexte::plainTextBytes() const
{
    return textfile::joinLines(plainTextLines());
}

QStringList TTexte::plainTextLines() const
{
    const QTextDocument* doc = RichEdit1->document();
    if (doc->isEmpty())
        return {};
    QStringList lines;
    for (QTextBlock block = doc->begin(); block.isValid(); block = block.next()) {
        // A line break inside a paragraph ends a line of the file too; pictures pasted in have no text.
        QString text = block.text();
        text.remove(QChar::ObjectReplacementCharacter);
        lines << text.split(QChar::LineSeparator);
    }
    return lines;
}

void TTexte::SpeedButton2Click()
{
    errors::guarded(this, [&] {
        const std::optional<Seams::SaveChoice> choice = seams().saveFileName(this, SaveFilter, m_saveFilterIndex);
        if (!choice || choice->fileName.isEmpty())
            return;
        m_saveFilterIndex = choice->filterIndex;
        reportfile::Format format = reportfile::formatOfFilter(choice->filterIndex);
        if (format == reportfile::Format::Text) {
            // A text file holds only what Windows-1252 holds; anything else would become "?" without a word.
            const QString refused = cp1252::refusedCharacters(plainTextLines().join(QLatin1Char('\n')));
            if (!refused.isEmpty()) {
                const int answer = seams().message(
                    this, Seams::MessageKind::Warning, QCoreApplication::applicationName(),
                    QStringLiteral("Le format texte ne peut pas enregistrer ces caractères, qui y deviendraient "
                                   "des « ? » ; le format rtf les conserve : ") +
                        refused,
                    {QStringLiteral("Enregistrer en &rtf"), QStringLiteral("Enregistrer en &texte"),
                     QStringLiteral("Annuler")},
                    0, 2);
                if (answer == 2)
                    return;
                if (answer == 0)
                    format = reportfile::Format::Rtf;
            }
        }
        const QString fileName = reportfile::nameFor(choice->fileName, format);
        PlainText = format == reportfile::Format::Text;
        textfile::writeBytes(fileName, PlainText ? plainTextBytes() : rtf::write(*RichEdit1->document()));
    });
}

void TTexte::SpeedButton3Click()
{
    errors::guarded(this, [&] { reportprint::print(*RichEdit1->document(), seams().printer()); });
}

void TTexte::Button1Click()
{
    close();
}

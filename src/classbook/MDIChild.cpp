#include "classbook/MDIChild.h"

#include "classbook/PhotoView.h"
#include "companions/Plan.h"
#include "companions/Planning.h"
#include "core/FrenchNumbers.h"
#include "model/ClassFile.h"
#include "model/PhotoCache.h"
#include "widgets/Cp1252Guard.h"
#include "widgets/ErrorHandler.h"
#include "widgets/FirstShow.h"
#include "widgets/Fonts.h"
#include "widgets/Glyphs.h"
#include "widgets/StringGrid.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QFrame>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMdiSubWindow>
#include <QScrollArea>
#include <QStackedWidget>
#include <QToolButton>
#include <QVBoxLayout>
#include <limits>
#include <optional>

namespace {

// Blanks and control characters at both ends, as the number normaliser trims them.
QStringView trimBlanks(const QString& text)
{
    qsizetype start = 0, end = text.size();
    while (start < end && text[start].unicode() <= ' ')
        ++start;
    while (end > start && text[end - 1].unicode() <= ' ')
        --end;
    return QStringView(text).mid(start, end - start);
}

} // namespace

TMDIChild::TMDIChild(const SharedWindows& shared, QWidget* parent) : QWidget(parent), m_shared(shared)
{
    setFont(fonts::system(16));
    resize(620, 402);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    Notebook1 = new QStackedWidget(this);
    layout->addWidget(Notebook1);
    buildGridPage();
    buildCardPage();
    FormCreate();
}

TMDIChild::~TMDIChild()
{
    if (m_photoTicket && m_shared.Photos)
        m_shared.Photos->cancel(m_photoTicket);
    // The plan and the planning this class held are not left to the next class.
    if (m_shared.Planning)
        m_shared.Planning->classClosed(this);
    if (m_shared.Plan)
        m_shared.Plan->classClosed(this);
}

void TMDIChild::buildGridPage()
{
    StringGrid1 = new StringGrid(GridCols, GridRows, 2, 2);
    StringGrid1->setObjectName(QStringLiteral("StringGrid1"));
    StringGrid1->setDefaultColWidth(32);
    StringGrid1->setDefaultRowHeight(24);
    StringGrid1->setOptions(StringGrid::RangeSelect | StringGrid::Editing | StringGrid::ColSizing |
                            StringGrid::ColMoving | StringGrid::Tabs);
    StringGrid1->setCp1252Only(true);
    StringGrid1->setMaxEditLength(classfile::MaxText);
    StringGrid1->editMask = [](int, int) { return QStringLiteral("00,00"); };
    StringGrid1->keyPressHook = [this](QChar& key) { StringGrid1KeyPress(key); };
    connect(StringGrid1, &StringGrid::columnMoved, this, &TMDIChild::StringGrid1ColumnMoved);
    // Deleting or pasting in the cell editor changes the class as typing does.
    connect(StringGrid1, &StringGrid::editorChanged, this, &TMDIChild::markModified);
    Notebook1->addWidget(StringGrid1);
}

void TMDIChild::buildCardPage()
{
    // In the window from the start: every control then takes the window's font as it is created, once.
    CardPage = new QWidget;
    Notebook1->addWidget(CardPage);
    auto* layout = new QVBoxLayout(CardPage);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);

    Panel1 = new QFrame;
    Panel1->setFixedHeight(33);
    Panel1->setFrameShape(QFrame::Panel);
    Panel1->setFrameShadow(QFrame::Raised);
    Panel1Caption = new QLabel(QStringLiteral("Fiche élève"), Panel1);
    Panel1Caption->setAlignment(Qt::AlignCenter);
    auto* captionLayout = new QHBoxLayout(Panel1);
    captionLayout->setContentsMargins(70, 0, 0, 0);
    captionLayout->addWidget(Panel1Caption);
    SpeedButton1 = new QToolButton(Panel1);
    SpeedButton1->setObjectName(QStringLiteral("SpeedButton1"));
    SpeedButton1->setGeometry(16, 4, 25, 25);
    SpeedButton1->setAutoRaise(true);
    SpeedButton1->setIcon(glyphs::icon(glyphs::Glyph::ArrowLeft));
    SpeedButton1->setToolTip(QStringLiteral("Précédent"));
    SpeedButton1->setStatusTip(QStringLiteral("Précédent"));
    SpeedButton2 = new QToolButton(Panel1);
    SpeedButton2->setObjectName(QStringLiteral("SpeedButton2"));
    SpeedButton2->setGeometry(41, 4, 25, 25);
    SpeedButton2->setAutoRaise(true);
    SpeedButton2->setIcon(glyphs::icon(glyphs::Glyph::ArrowRight));
    SpeedButton2->setToolTip(QStringLiteral("Suivant"));
    SpeedButton2->setStatusTip(QStringLiteral("Suivant"));
    connect(SpeedButton1, &QToolButton::clicked, this,
            [this] { errors::guarded(this, [this] { SpeedButton1Click(); }); });
    connect(SpeedButton2, &QToolButton::clicked, this,
            [this] { errors::guarded(this, [this] { SpeedButton2Click(); }); });
    layout->addWidget(Panel1);

    ScrollBox1 = new QScrollArea;
    ScrollBox1->setFocusPolicy(Qt::NoFocus);
    ScrollBox1->installEventFilter(this);
    auto* box = new QWidget;
    box->setFixedSize(577, 390);
    ScrollBox1->setWidget(box);
    ScrollBox1->setWidgetResizable(false);
    layout->addWidget(ScrollBox1);

    struct Field
    {
        QLineEdit** edit;
        int x, y, width;
        const char16_t* label;
        int labelX, labelY;
    };
    const Field fields[] = {
        {&Edit1, 96, 8, 193, u"Nom", 16, 8},
        {&Edit2, 376, 8, 193, u"Prénom", 304, 8},
        {&Edit3, 96, 40, 193, u"Né(e) le", 16, 44},
        {&Edit4, 376, 40, 193, u"Classe", 304, 44},
        {&Edit5, 96, 72, 305, u"Adresse", 16, 76},
        {&Edit6, 96, 104, 305, u"Adresse", 16, 108},
        {&Edit7, 96, 136, 89, u"C.P.", 16, 140},
        {&Edit8, 96, 168, 305, u"Ville", 16, 172},
        {&Edit9, 96, 200, 169, u"Tél 1", 16, 204},
        {&Edit10, 368, 200, 169, u"Tél 2", 312, 204},
        {&Edit12, 96, 232, 169, u"Prof. père", 16, 236},
        {&Edit13, 368, 232, 169, u"Prof. mère", 280, 236},
        {&Edit11, 160, 264, 401, u"Métier envisagé", 16, 268},
    };
    QWidget* previous = nullptr;
    for (const Field& f : fields) {
        auto* label = new QLabel(QString::fromUtf16(f.label), box);
        label->move(f.labelX, f.labelY);
        auto* edit = new QLineEdit(box);
        edit->setGeometry(f.x, f.y, f.width, 28);
        // A field shows the whole of what the class holds; what the teacher types or pastes stays within what
        // a line of the class file holds, so that every class saved reads back.
        edit->setMaxLength(std::numeric_limits<int>::max());
        *f.edit = edit;
        edit->installEventFilter(this);
        Cp1252Guard::protect(edit, classfile::MaxText);
        connect(edit, &QLineEdit::textEdited, this, [this] { m_modified = true; });
        if (previous)
            QWidget::setTabOrder(previous, edit);
        previous = edit;
    }
    const QList<QLineEdit*> edits = cardEdits();
    for (int i = 0; i < edits.size(); ++i)
        edits[i]->setObjectName(QStringLiteral("Edit%1").arg(i + 1));

    Memo1 = new CrlfTextEdit(box);
    Memo1->setObjectName(QStringLiteral("Memo1"));
    Memo1->setGeometry(16, 296, 553, 89);
    Memo1->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    Memo1->setTabChangesFocus(true);
    Memo1->installEventFilter(this);
    Cp1252Guard::protect(Memo1, classfile::MaxText);
    connect(Memo1, &QPlainTextEdit::textChanged, this, [this] {
        if (!m_filling)
            m_modified = true;
    });
    QWidget::setTabOrder(previous, Memo1);

    Panel2 = new QFrame(box);
    Panel2->setGeometry(448, 72, 120, 121);
    Panel2->setFrameShape(QFrame::Box);
    Panel2->setLineWidth(1);
    Panel2->setFocusPolicy(Qt::TabFocus);
    Panel2->installEventFilter(this);
    QWidget::setTabOrder(Memo1, Panel2);
    Image1 = new PhotoView(Panel2);
    Image1->setGeometry(1, 1, 118, 119);
    connect(Image1, &PhotoView::clicked, this, [this] { errors::guarded(this, [this] { Image1Click(); }); });

    CardPage->installEventFilter(this);
    // The labels take the size of their text in the window's font when the card is first shown.
    for (QLabel* label : box->findChildren<QLabel*>())
        firstshow::fitText(label);
}

QList<QLineEdit*> TMDIChild::cardEdits() const
{
    return {Edit1, Edit2, Edit3, Edit4, Edit5, Edit6, Edit7, Edit8, Edit9, Edit10, Edit11, Edit12, Edit13};
}

void TMDIChild::FormCreate()
{
    m_fileName.clear();
    m_modified = false;
    Notebook1->setCurrentWidget(StringGrid1);
    for (int c = 2; c < StringGrid1->colCount(); ++c)
        StringGrid1->setCell(c, 0, QString::number(c - 1));
    for (int c = 2; c < StringGrid1->colCount(); ++c)
        StringGrid1->setCell(c, 1, QStringLiteral("1"));
    for (int g = 2; g < StringGrid1->rowCount(); ++g)
        StringGrid1->setCell(0, g, QString::number(g - 1));
    StringGrid1->setColWidth(1, 192);
    StringGrid1->setCell(1, 0, QStringLiteral("                 Rubriques"));
    StringGrid1->setCell(1, 1, QStringLiteral("Elèves \\ Coefficients"));
}

bool TMDIChild::isCardPage() const
{
    return Notebook1->currentWidget() == CardPage;
}

// --- transfers ----------------------------------------------------------------

void TMDIChild::EcritGrille()
{
    // A mark still in the cell editor (a save chosen from the menu while typing) belongs to the class.
    if (StringGrid1->isEditing())
        StringGrid1->commitEdit();
    gridInto(m_table);
}

void TMDIChild::gridInto(ClassTable& table) const
{
    for (int r = -1; r <= 62; ++r)
        for (int c = 2; c <= 31; ++c)
            table.at(r, c) = StringGrid1->cell(c, r + 1);
}

void TMDIChild::LitGrille()
{
    for (int r = -1; r <= 62; ++r)
        for (int c = 2; c <= 31; ++c)
            StringGrid1->setCell(c, r + 1, FormatNbr(m_table.at(r, c)));
    for (int n = 1; n <= StudentCount; ++n)
        showName(n);
}

void TMDIChild::showName(int n)
{
    StringGrid1->setCell(1, n + 1,
                         m_table.at(n, ClassTable::Surname) + QLatin1Char(' ') + m_table.at(n, ClassTable::FirstName));
}

void TMDIChild::EcritFiche()
{
    settlePhotoChoice();
    cardInto(m_table);
}

void TMDIChild::cardInto(ClassTable& table) const
{
    const int r = m_currentCard;
    if (r < 1 || r > StudentCount)
        return;
    const QList<QLineEdit*> edits = cardEdits();
    for (int i = 0; i < 11; ++i)
        table.at(r, ClassTable::Surname + i) = edits[i]->text();
    table.at(r, ClassTable::Remarks) = Memo1->crlfText();
    table.at(r, ClassTable::Photo) = m_photoPath;
    table.at(r, ClassTable::FatherJob) = Edit12->text();
    table.at(r, ClassTable::MotherJob) = Edit13->text();
}

void TMDIChild::LitFiche()
{
    const int r = m_currentCard;
    if (r < 1 || r > StudentCount)
        return;
    m_filling = true;
    const QList<QLineEdit*> edits = cardEdits();
    for (int i = 0; i < 11; ++i)
        edits[i]->setText(m_table.at(r, ClassTable::Surname + i));
    Memo1->setCrlfText(m_table.at(r, ClassTable::Remarks));
    Panel1Caption->setText(QStringLiteral("Fiche élève - ") + QString::number(r));
    m_photoPath = m_table.at(r, ClassTable::Photo);
    forgetPhoto();
    // The occupations come from this card's own row even when its photo fails to load.
    Edit12->setText(m_table.at(r, ClassTable::FatherJob));
    Edit13->setText(m_table.at(r, ClassTable::MotherJob));
    m_filling = false;
    if (!m_photoPath.isEmpty())
        LitPhoto();
}

QString TMDIChild::FormatNbr(const QString& text)
{
    const QStringView number = trimBlanks(text);
    if (number.isEmpty() || number[0].unicode() < '0' || number[0].unicode() > '9')
        return text;
    // A full stop typed for the comma counts as the comma.
    const qsizetype dot = number.indexOf(QLatin1Char('.'));
    QString withComma;
    if (dot >= 0) {
        withComma = number.toString();
        withComma[dot] = QLatin1Char(',');
    }
    const QStringView digits = dot >= 0 ? QStringView(withComma) : number;
    // The marks and coefficients a teacher types take the short way.
    if (QString plain = frnum::plainHash00(digits); !plain.isEmpty())
        return plain;
    const QString trimmed = digits.toString();
    if (const auto value = frnum::read(trimmed))
        return frnum::formatHash00(*value);
    return trimmed;
}

// --- pages and cards ------------------------------------------------------------

void TMDIChild::Fiche()
{
    if (isCardPage())
        return;
    EcritGrille();
    if (StringGrid1->row() < 2)
        StringGrid1->setCurrent(StringGrid1->col(), 2);
    m_currentCard = StringGrid1->row() - 1;
    showCard();
}

void TMDIChild::showCard()
{
    // A photo that fails to load is reported once the card is in view with every other field of its own
    // row; stopping earlier would keep the card page out of reach for as long as the photo is missing. (Read by
    // the cache, it comes later, and its failure with it.)
    std::optional<PlatformError> photoFailure;
    try {
        LitFiche();
    } catch (const PlatformError& error) {
        photoFailure = error;
    }
    Notebook1->setCurrentWidget(CardPage);
    Edit1->setFocus();
    // The photos around are decoded ahead once the card's own has come: the teacher then stays on the card.
    if (!photoPending())
        readAhead();
    if (photoFailure)
        throw *photoFailure;
}

void TMDIChild::Classe()
{
    if (!isCardPage())
        return;
    EcritFiche();
    forgetPhoto();
    LitGrille();
    Notebook1->setCurrentWidget(StringGrid1);
    StringGrid1->setCurrent(StringGrid1->col(), m_currentCard + 1);
    StringGrid1->setFocus();
}

void TMDIChild::SpeedButton1Click()
{
    EcritFiche();
    if (m_currentCard > 1)
        --m_currentCard;
    showCard();
}

void TMDIChild::SpeedButton2Click()
{
    EcritFiche();
    if (m_currentCard < StudentCount)
        ++m_currentCard;
    showCard();
}

void TMDIChild::StringGrid1KeyPress(QChar& key)
{
    if (key == QLatin1Char('.'))
        key = QLatin1Char(',');
    m_modified = true;
}

void TMDIChild::Edit1KeyPress(QChar&)
{
    m_modified = true;
}

void TMDIChild::FormKeyDown(int key)
{
    if (!isCardPage())
        return;
    if (key == Qt::Key_PageUp)
        SpeedButton1Click();
    else if (key == Qt::Key_PageDown)
        SpeedButton2Click();
}

void TMDIChild::StringGrid1ColumnMoved(int, int)
{
    m_modified = true;
}

bool TMDIChild::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() != QEvent::KeyPress)
        return QWidget::eventFilter(watched, event);
    auto* key = static_cast<QKeyEvent*>(event);
    const bool paging = key->key() == Qt::Key_PageUp || key->key() == Qt::Key_PageDown;
    if (watched == ScrollBox1) {
        // The card's scroll box never pages: these keys move between cards.
        return paging;
    }
    if (paging) {
        // The key also reaches the control that has the focus.
        errors::guarded(this, [&] { FormKeyDown(key->key()); });
        return false;
    }
    auto* field = qobject_cast<QWidget*>(watched);
    if (field != Memo1 && !cardEdits().contains(field))
        return QWidget::eventFilter(watched, event);
    const QString text = key->text();
    if (text.size() != 1 || (key->modifiers() & (Qt::ControlModifier | Qt::AltModifier)) ||
        !(text[0].isPrint() || key->key() == Qt::Key_Backspace))
        return false;
    // A character that the class file cannot hold is refused by the field's guard and changes nothing.
    if (!Cp1252Guard::refusedCharacters(text).isEmpty())
        return false;
    QChar typed = text[0];
    if (field == Edit3)
        StringGrid1KeyPress(typed);
    else
        Edit1KeyPress(typed);
    if (typed == text[0])
        return false;
    QKeyEvent replaced(QEvent::KeyPress, 0, key->modifiers(), QString(typed));
    field->removeEventFilter(this);
    QCoreApplication::sendEvent(field, &replaced);
    field->installEventFilter(this);
    return true;
}

void TMDIChild::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    // Inside the frame the window opens 620 x 402 pixels, its border and caption included.
    if (!m_framed) {
        if (auto* frame = qobject_cast<QMdiSubWindow*>(parentWidget())) {
            m_framed = true;
            frame->resize(620, 402);
        }
    }
}

void TMDIChild::closeEvent(QCloseEvent* event)
{
    if (!m_closeAsked) {
        // A failure while saving keeps the window open: its changes are not on disk.
        bool mayClose = false;
        errors::guarded(this, [&] { mayClose = FormCloseQuery(); });
        if (!mayClose) {
            event->ignore();
            return;
        }
    }
    FormClose();
    event->accept();
}

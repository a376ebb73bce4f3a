#include "classbook/CardPage.h"

#include "classbook/CardPhoto.h"
#include "model/ClassFile.h"
#include "model/ClassTable.h"
#include "widgets/Cp1252Guard.h"
#include "widgets/CrlfTextEdit.h"
#include "widgets/FirstShow.h"
#include "widgets/Glyphs.h"

#include <QCoreApplication>
#include <QFrame>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QScrollArea>
#include <QTextCursor>
#include <QTextDocument>
#include <QToolButton>
#include <QVBoxLayout>
#include <limits>

CardPage::CardPage(FrameOnly, QWidget* parent) : QWidget(parent)
{
    buildFrame();
}

CardPage::CardPage(PhotoCache* photos, QWidget* parent) : QWidget(parent)
{
    QWidget* box = buildFrame();
    buildFields(box);
    m_photo = new CardPhoto(photos, box);
    m_photo->setGeometry(448, 72, 120, 121);
    m_photo->installEventFilter(this);
    QWidget::setTabOrder(m_remarks, m_photo);
    connect(m_photo, &CardPhoto::clicked, this, &CardPage::photoClicked);

    installEventFilter(this);
    connect(this, &CardPage::edited, this, [this] { m_typed = true; });
    // The labels take the size of their text in the window's font when the card is first shown.
    for (QLabel* label : box->findChildren<QLabel*>())
        firstshow::fitText(label);
}

QWidget* CardPage::buildFrame()
{
    setObjectName(QStringLiteral("CardPage"));
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    buildTitle();

    m_scrollBox = new QScrollArea;
    m_scrollBox->setObjectName(QStringLiteral("ScrollBox1"));
    m_scrollBox->setFocusPolicy(Qt::NoFocus);
    m_scrollBox->installEventFilter(this);
    auto* box = new QWidget;
    box->setFixedSize(577, 390);
    m_scrollBox->setWidget(box);
    m_scrollBox->setWidgetResizable(false);
    layout->addWidget(m_scrollBox);
    return box;
}

void CardPage::buildTitle()
{
    auto* panel = new QFrame;
    panel->setObjectName(QStringLiteral("Panel1"));
    panel->setFixedHeight(33);
    panel->setFrameShape(QFrame::Panel);
    panel->setFrameShadow(QFrame::Raised);
    m_caption = new QLabel(QStringLiteral("Fiche élève"), panel);
    m_caption->setObjectName(QStringLiteral("Panel1Caption"));
    m_caption->setAlignment(Qt::AlignCenter);
    auto* captionLayout = new QHBoxLayout(panel);
    captionLayout->setContentsMargins(70, 0, 0, 0);
    captionLayout->addWidget(m_caption);
    const auto button = [this, panel](const char* name, int left, glyphs::Glyph glyph, const QString& hint,
                                      void (CardPage::*clicked)()) {
        auto* b = new QToolButton(panel);
        b->setObjectName(QLatin1String(name));
        b->setGeometry(left, 4, 25, 25);
        b->setAutoRaise(true);
        b->setIcon(glyphs::icon(glyph));
        b->setToolTip(hint);
        b->setStatusTip(hint);
        connect(b, &QToolButton::clicked, this, clicked);
    };
    button("SpeedButton1", 16, glyphs::Glyph::ArrowLeft, QStringLiteral("Précédent"), &CardPage::previous);
    button("SpeedButton2", 41, glyphs::Glyph::ArrowRight, QStringLiteral("Suivant"), &CardPage::next);
    layout()->addWidget(panel);
}

void CardPage::buildFields(QWidget* box)
{
    // In tab order; Edit11, the career, comes after the parents' occupations.
    struct Field
    {
        int number;
        int x, y, width;
        const char16_t* label;
        int labelX, labelY;
    };
    const Field fields[] = {
        {1, 96, 8, 193, u"Nom", 16, 8},
        {2, 376, 8, 193, u"Prénom", 304, 8},
        {3, 96, 40, 193, u"Né(e) le", 16, 44},
        {4, 376, 40, 193, u"Classe", 304, 44},
        {5, 96, 72, 305, u"Adresse", 16, 76},
        {6, 96, 104, 305, u"Adresse", 16, 108},
        {7, 96, 136, 89, u"C.P.", 16, 140},
        {8, 96, 168, 305, u"Ville", 16, 172},
        {9, 96, 200, 169, u"Tél 1", 16, 204},
        {10, 368, 200, 169, u"Tél 2", 312, 204},
        {12, 96, 232, 169, u"Prof. père", 16, 236},
        {13, 368, 232, 169, u"Prof. mère", 280, 236},
        {11, 160, 264, 401, u"Métier envisagé", 16, 268},
    };
    QWidget* previous = nullptr;
    for (const Field& f : fields) {
        auto* label = new QLabel(QString::fromUtf16(f.label), box);
        label->move(f.labelX, f.labelY);
        auto* edit = new QLineEdit(box);
        edit->setObjectName(QStringLiteral("Edit%1").arg(f.number));
        edit->setGeometry(f.x, f.y, f.width, 28);
        // A field shows the whole of what the class holds; what the teacher types or pastes stays within what
        // a line of the class file holds, so that every class saved reads back.
        edit->setMaxLength(std::numeric_limits<int>::max());
        m_fields[f.number - 1] = edit;
        edit->installEventFilter(this);
        Cp1252Guard::protect(edit, classfile::MaxText);
        connect(edit, &QLineEdit::textEdited, this, &CardPage::edited);
        if (previous)
            QWidget::setTabOrder(previous, edit);
        previous = edit;
    }

    m_remarks = new CrlfTextEdit(box);
    m_remarks->setObjectName(QStringLiteral("Memo1"));
    m_remarks->setGeometry(16, 296, 553, 89);
    m_remarks->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    m_remarks->setTabChangesFocus(true);
    m_remarks->installEventFilter(this);
    Cp1252Guard::protect(m_remarks, classfile::MaxText);
    connect(m_remarks, &QPlainTextEdit::textChanged, this, [this] {
        if (!m_filling)
            emit edited();
    });
    QWidget::setTabOrder(previous, m_remarks);
}

QString CardPage::title() const
{
    return m_caption->text();
}

void CardPage::LitFiche(const ClassTable& table, int r)
{
    m_filling = true;
    for (int n = 1; n <= CopiedFields; ++n)
        field(n)->setText(table.at(r, ClassTable::Surname + n - 1));
    m_remarks->setCrlfText(table.at(r, ClassTable::Remarks));
    m_caption->setText(QStringLiteral("Fiche élève - ") + QString::number(r));
    m_photo->show(table.at(r, ClassTable::Photo));
    // The occupations come from this card's own row even when its photo fails to load.
    field(12)->setText(table.at(r, ClassTable::FatherJob));
    field(13)->setText(table.at(r, ClassTable::MotherJob));
    m_filling = false;
    m_typed = false;
    m_settled.clear();
    for (int slot = ClassTable::Surname; slot <= ClassTable::MotherJob; ++slot)
        m_settled << slotText(slot);
    if (!m_photo->path().isEmpty())
        m_photo->LitPhoto();
}

QString CardPage::slotText(int slot) const
{
    switch (slot) {
    case ClassTable::Remarks:
        return m_remarks->crlfText();
    case ClassTable::Photo:
        return m_photo->path();
    case ClassTable::FatherJob:
        return field(12)->text();
    case ClassTable::MotherJob:
        return field(13)->text();
    default:
        return field(slot - ClassTable::Surname + 1)->text();
    }
}

void CardPage::storeInto(ClassTable& table, int r) const
{
    for (int slot = ClassTable::Surname; slot <= ClassTable::MotherJob; ++slot)
        table.at(r, slot) = slotText(slot);
}

void CardPage::settleTyping()
{
    m_typed = false;
    m_settled.clear();
    for (int slot = ClassTable::Surname; slot <= ClassTable::MotherJob; ++slot)
        m_settled << slotText(slot);
    // A line edit forgets its undo steps only when its text is set.
    for (QLineEdit* edit : m_fields) {
        if (!edit->isUndoAvailable() && !edit->isRedoAvailable())
            continue;
        const int caret = edit->cursorPosition();
        edit->setText(edit->text());
        edit->setCursorPosition(caret);
    }
    m_remarks->document()->clearUndoRedoStacks();
}

QStringList CardPage::copiedTexts() const
{
    QStringList texts;
    for (int n = 1; n <= CopiedFields; ++n)
        texts << field(n)->text();
    texts << m_remarks->crlfText();
    return texts;
}

void CardPage::pasteTexts(const QStringList& texts, int count)
{
    for (int i = 0; i < count && i < CopiedFields; ++i)
        field(i + 1)->setText(texts[i]);
    if (count > CopiedFields)
        m_remarks->setCrlfText(texts.at(CopiedFields));
}

bool CardPage::insertIntoRemarks(const QString& phrase)
{
    if (!Cp1252Guard::acceptInsertion(m_remarks, phrase))
        return false;
    QTextCursor cursor = m_remarks->textCursor();
    cursor.clearSelection();
    cursor.insertText(phrase);
    m_remarks->setTextCursor(cursor);
    m_scrollBox->ensureWidgetVisible(m_remarks);
    m_remarks->setFocus();
    return true;
}

int CardPage::fieldNumber(const QObject* watched) const
{
    if (watched == m_remarks)
        return 0;
    for (int n = 1; n <= FieldCount; ++n)
        if (watched == field(n))
            return n;
    return -1;
}

bool CardPage::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::FocusOut && m_typed && fieldNumber(watched) >= 0)
        emit typingLeft();
    if (event->type() != QEvent::KeyPress)
        return QWidget::eventFilter(watched, event);
    auto* key = static_cast<QKeyEvent*>(event);
    const bool paging = key->key() == Qt::Key_PageUp || key->key() == Qt::Key_PageDown;
    // The card's scroll box never pages: these keys move between cards.
    if (watched == m_scrollBox)
        return paging;
    if (paging) {
        // The key also reaches the control that has the focus.
        emit pageKey(key->key());
        return false;
    }
    const int number = fieldNumber(watched);
    if (number < 0)
        return QWidget::eventFilter(watched, event);
    const QString text = key->text();
    if (text.size() != 1 || (key->modifiers() & (Qt::ControlModifier | Qt::AltModifier)) ||
        !(text[0].isPrint() || key->key() == Qt::Key_Backspace))
        return false;
    // A character that the class file cannot hold is refused by the field's guard and changes nothing.
    if (!Cp1252Guard::refusedCharacters(text).isEmpty())
        return false;
    QChar typed = text[0];
    if (keyPressHook)
        keyPressHook(number, typed);
    if (typed == text[0])
        return false;
    auto* field = static_cast<QWidget*>(watched);
    QKeyEvent replaced(QEvent::KeyPress, 0, key->modifiers(), QString(typed));
    field->removeEventFilter(this);
    QCoreApplication::sendEvent(field, &replaced);
    field->installEventFilter(this);
    return true;
}

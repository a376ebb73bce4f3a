#include "companions/Devoirs.h"

#include "widgets/Cp1252Guard.h"
#include "widgets/FirstShow.h"
#include "widgets/Fonts.h"

#include <QApplication>
#include <QCalendarWidget>
#include <QDateEdit>
#include <QFrame>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <algorithm>

namespace {

constexpr int ClientWidth = 531;
constexpr int ClientHeight = 319;
constexpr int PanelHeight = 33;
const QColor Silver(192, 192, 192);

// The normal window colour again: the widget takes the palette it inherits.
void paintWindowColour(QWidget* widget)
{
    widget->setPalette(QPalette());
}

void paintSilver(QWidget* widget)
{
    QPalette palette = widget->palette();
    palette.setColor(QPalette::Base, Silver);
    widget->setPalette(palette);
}

} // namespace

TDevoirs::TDevoirs(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                          Qt::WindowCloseButtonHint)
{
    setObjectName(QStringLiteral("Devoirs"));
    setWindowTitle(QStringLiteral("Dates des devoirs"));
    setFont(fonts::msSansSerif(13));
    setFixedSize(ClientWidth, ClientHeight);
    // The drop-down month calendar names its months and days in French like the rest of the program.
    setLocale(QLocale(QLocale::French, QLocale::France));

    Panel1 = new QFrame(this);
    Panel1->setObjectName(QStringLiteral("Panel1"));
    Panel1->setFrameShape(QFrame::Panel);
    Panel1->setFrameShadow(QFrame::Raised);
    Panel1->setGeometry(0, 0, ClientWidth, PanelHeight);

    Button1 = new QPushButton(QStringLiteral("Fermer"), Panel1);
    Button1->setObjectName(QStringLiteral("Button1"));
    Button1->setGeometry(436, 4, 75, 25);
    // Enter in a title box must not close the dialog behind the user's back.
    Button1->setAutoDefault(false);
    Button1->setDefault(false);
    connect(Button1, &QPushButton::clicked, this, &TDevoirs::Button1Click);

    const auto heading = [this](const char* name, const QString& text, int left) {
        auto* label = new QLabel(text, this);
        label->setObjectName(QLatin1String(name));
        label->setFont(fonts::msSansSerif(17));
        label->move(left, 40);
        firstshow::fitText(label);
        return label;
    };
    Label1 = heading("Label1", QStringLiteral("Date"), 8);
    Label2 = heading("Label2", QStringLiteral("Intitulé"), 120);
    Label3 = heading("Label3", QStringLiteral("Date"), 272);
    Label4 = heading("Label4", QStringLiteral("Intitulé"), 384);

    // The twenty rows are built when first needed (filled, read or shown): most sessions never open the dialog.
}

void TDevoirs::buildRows() const
{
    if (m_pickers[0])
        return;
    auto* self = const_cast<TDevoirs*>(this);
    for (int row = 1; row <= homework::RowCount; ++row) {
        auto* picker = new QDateEdit(self);
        picker->setObjectName(QStringLiteral("DateTimePicker%1").arg(row));
        picker->setDisplayFormat(QStringLiteral("dd/MM/yyyy"));
        picker->setCalendarPopup(true);
        picker->setDateRange(QDate(100, 1, 1), QDate(9999, 12, 31));
        picker->setGeometry(homework::pickerRect(row));
        // The drop-down calendar is built when it first opens; it then takes its colours (see eventFilter).
        picker->installEventFilter(self);
        QObject::connect(picker, &QDateEdit::dateChanged, self, [self, row] { self->DateTimePickerChange(row); });
        m_pickers[row - 1] = picker;

        auto* edit = new QLineEdit(self);
        edit->setObjectName(QStringLiteral("Edit%1").arg(row));
        edit->setGeometry(homework::titleRect(row));
        Cp1252Guard::protect(edit);
        QObject::connect(edit, &QLineEdit::textChanged, self, [self, row] { self->EditChange(row); });
        m_edits[row - 1] = edit;
        // Built while the dialog is being shown, they show with it.
        if (isVisible()) {
            picker->show();
            edit->show();
        }
    }

    // Tab goes down the left column, then down the right one, date before title, as the rows are seen.
    QWidget* previous = Button1;
    for (int column = 0; column < 2; ++column)
        for (int line = 0; line < 10; ++line)
            for (int row = 1; row <= homework::RowCount; ++row) {
                const homework::Place p = homework::place(row);
                if (p.column != column || p.line != line)
                    continue;
                self->setTabOrder(previous, m_pickers[row - 1]);
                self->setTabOrder(m_pickers[row - 1], m_edits[row - 1]);
                previous = m_edits[row - 1];
            }
}

QDateEdit* TDevoirs::DateTimePicker(int row) const
{
    buildRows();
    return m_pickers[row - 1];
}

QLineEdit* TDevoirs::Edit(int row) const
{
    buildRows();
    return m_edits[row - 1];
}

void TDevoirs::Init(const homework::List& list)
{
    buildRows();
    for (int i = 0; i < homework::RowCount; ++i)
        Lit(list[i], m_pickers[i], m_edits[i]);
}

void TDevoirs::Lit(const QString& entry, QDateEdit* picker, QLineEdit* edit)
{
    const homework::Shown shown = homework::show(entry);
    const bool wasFilling = m_filling;
    m_filling = true;
    paintWindowColour(picker);
    paintWindowColour(edit);
    if (shown.unset) {
        paintSilver(picker);
        paintSilver(edit);
    }
    picker->setDate(shown.date);
    edit->setText(shown.title);
    m_filling = wasFilling;
    const int index = static_cast<int>(std::find(m_edits.begin(), m_edits.end(), edit) - m_edits.begin());
    if (index < homework::RowCount)
        m_titles[index] = shown.title;
}

void TDevoirs::Result(homework::List& list) const
{
    buildRows();
    for (int i = 0; i < homework::RowCount; ++i) {
        const QLineEdit* edit = m_edits[i];
        const QString title = edit->isModified() ? edit->text() : m_titles[i];
        list[i] = homework::entry(m_pickers[i]->date(), title);
    }
}

void TDevoirs::Button1Click()
{
    close();
}

void TDevoirs::DateTimePickerChange(int row)
{
    if (!m_filling)
        paintWindowColour(m_pickers[row - 1]);
}

void TDevoirs::EditChange(int row)
{
    QLineEdit* edit = m_edits[row - 1];
    if (!m_filling && edit->isModified())
        paintWindowColour(edit);
}

// Opened from the frame or from a class window, the dialog always comes up in the middle of the screen.
void TDevoirs::showEvent(QShowEvent* event)
{
    buildRows();
    if (const QScreen* shown = screen()) {
        QRect frame = frameGeometry();
        frame.moveCenter(shown->availableGeometry().center());
        move(frame.topLeft());
    }
    QDialog::showEvent(event);
}

bool TDevoirs::eventFilter(QObject* watched, QEvent* event)
{
    // A picker builds its drop-down calendar, in a popup of its own, the first time the calendar is asked
    // for. The calendar keeps the window colour when its picker shows silver: it takes it as soon as it
    // exists, from the next event its popup receives.
    const auto isPicker = [this](QObject* object) {
        return object && std::find(m_pickers.begin(), m_pickers.end(), object) != m_pickers.end();
    };
    if (event->type() == QEvent::ChildAdded && isPicker(watched)) {
        QObject* child = static_cast<QChildEvent*>(event)->child();
        if (child->isWidgetType())
            child->installEventFilter(this);
    } else if (auto* picker = qobject_cast<QDateEdit*>(watched->parent()); isPicker(picker)) {
        if (auto* calendar = watched->findChild<QCalendarWidget*>(QString(), Qt::FindDirectChildrenOnly)) {
            watched->removeEventFilter(this);
            QPalette colours = calendar->palette();
            colours.setColor(QPalette::Base, QApplication::palette(picker).color(QPalette::Base));
            calendar->setPalette(colours);
        }
    }
    return QDialog::eventFilter(watched, event);
}

void TDevoirs::keyPressEvent(QKeyEvent* event)
{
    // Escape would look like a way to cancel, which this dialog does not have: closing always applies.
    if (event->key() == Qt::Key_Escape) {
        event->accept();
        return;
    }
    QDialog::keyPressEvent(event);
}

#include "companions/Planning.h"

#include "companions/PrjEdit.h"
#include "model/ClassCommands.h"
#include "widgets/Fonts.h"
#include "widgets/Glyphs.h"
#include "widgets/Seams.h"
#include "widgets/StringGrid.h"
#include "widgets/UndoKeys.h"

#include <QAction>
#include <QCoreApplication>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>
#include <QScreen>
#include <QToolButton>
#include <QUndoStack>
#include <cmath>

namespace {

// The window was designed 628 x 371 with a sizeable frame of 4 pixels a side and a 19-pixel caption.
constexpr int ClientWidth = 620;
constexpr int ClientHeight = 344;
constexpr int PanelHeight = 33;
constexpr int GridHeight = 226;
constexpr int MonthColumnWidth = 86;

const char* const MonthNames[planning::Months] = {"Janvier", "Février", "Mars",      "Avril",   "Mai",      "Juin",
                                                  "Juillet", "Août",    "Septembre", "Octobre", "Novembre", "Décembre"};

// Left and top of the subject buttons 1 to 8.
constexpr QPoint SubjectPositions[planning::Subjects] = {{16, 272},  {16, 304},  {128, 272}, {128, 304},
                                                         {240, 272}, {240, 304}, {352, 272}, {352, 304}};

QString defaultCaption(int subject)
{
    return QStringLiteral("Matière ") + QString::number(subject);
}

// The caption reads in white on the dark subject colours (blue, green, teal) and in black on the light ones: the
// one that stands out more from the colour's relative luminance (sRGB).
QColor captionColour(const QColor& colour)
{
    const auto linear = [](double c) { return c <= 0.04045 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4); };
    const double luminance =
        0.2126 * linear(colour.redF()) + 0.7152 * linear(colour.greenF()) + 0.0722 * linear(colour.blueF());
    return (1.05 / (luminance + 0.05) > (luminance + 0.05) / 0.05) ? Qt::white : Qt::black;
}

} // namespace

SubjectPanel::SubjectPanel(const QColor& colour, QWidget* parent) : QFrame(parent)
{
    setFrameStyle(QFrame::Panel | QFrame::Raised);
    setLineWidth(1);
    setAutoFillBackground(true);
    QPalette pal = palette();
    pal.setColor(QPalette::Window, colour);
    pal.setColor(QPalette::WindowText, captionColour(colour));
    setPalette(pal);
    m_label = new QLabel(this);
    m_label->setAlignment(Qt::AlignCenter);
    m_label->setGeometry(2, 2, 96, 21);
    m_label->setAttribute(Qt::WA_TransparentForMouseEvents);
}

QString SubjectPanel::caption() const
{
    return m_label->text();
}

void SubjectPanel::setCaption(const QString& caption)
{
    m_label->setText(caption);
}

void SubjectPanel::mousePressEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton)
        emit clicked();
}

void SubjectPanel::mouseDoubleClickEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton)
        emit doubleClicked();
}

TPlanning::TPlanning(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("Planning"));
    setWindowTitle(QStringLiteral("Planning"));
    setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint);
    setFont(fonts::msSansSerif(11));
    resize(ClientWidth, ClientHeight);

    m_year = std::clamp(seams().now().date().year(), planning::FirstYear, planning::LastYear);

    Panel1 = new QFrame(this);
    Panel1->setObjectName(QStringLiteral("Panel1"));
    Panel1->setFrameStyle(QFrame::Panel | QFrame::Raised);
    Panel1->setGeometry(0, 0, ClientWidth, PanelHeight);
    Panel1Caption = new QLabel(Panel1);
    Panel1Caption->setObjectName(QStringLiteral("Panel1Caption"));
    Panel1Caption->setFont(fonts::pixelFont(QStringLiteral("Arial"), 17));
    Panel1Caption->setAlignment(Qt::AlignCenter);
    Panel1Caption->setGeometry(0, 0, ClientWidth, PanelHeight);
    Panel1Caption->setAttribute(Qt::WA_TransparentForMouseEvents);

    SpeedButton2 = new QToolButton(Panel1);
    SpeedButton2->setObjectName(QStringLiteral("SpeedButton2"));
    SpeedButton2->setIcon(glyphs::icon(glyphs::Glyph::ArrowLeft));
    SpeedButton2->setToolTip(QStringLiteral("Année précédente"));
    SpeedButton2->setGeometry(20, 4, 25, 25);
    SpeedButton1 = new QToolButton(Panel1);
    SpeedButton1->setObjectName(QStringLiteral("SpeedButton1"));
    SpeedButton1->setIcon(glyphs::icon(glyphs::Glyph::ArrowRight));
    SpeedButton1->setToolTip(QStringLiteral("Année suivante"));
    SpeedButton1->setGeometry(45, 4, 25, 25);
    for (QToolButton* b : {SpeedButton1, SpeedButton2}) {
        b->setAutoRaise(true);
        b->setFocusPolicy(Qt::NoFocus);
    }
    connect(SpeedButton1, &QToolButton::clicked, this, [this] { SpeedButton1Click(); });
    connect(SpeedButton2, &QToolButton::clicked, this, [this] { SpeedButton2Click(); });

    Button1 = new QPushButton(QStringLiteral("Fermer"), Panel1);
    Button1->setObjectName(QStringLiteral("Button1"));
    Button1->setGeometry(520, 4, 75, 25);
    Button1->setAutoDefault(false);
    Button1->installEventFilter(this);
    connect(Button1, &QPushButton::clicked, this, [this] { Button1Click(); });

    StringGrid1 = new StringGrid(planning::Days + 1, planning::Months + 1, 1, 1, this);
    StringGrid1->setObjectName(QStringLiteral("StringGrid1"));
    StringGrid1->setOptions({});
    StringGrid1->setDefaultColWidth(16);
    StringGrid1->setDefaultRowHeight(16);
    StringGrid1->setColWidth(0, MonthColumnWidth);
    StringGrid1->setGeometry(0, PanelHeight, ClientWidth, GridHeight);
    // The twelve months always fit the grid's height; only a window made narrower needs to scroll days.
    StringGrid1->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    StringGrid1->installEventFilter(this);
    StringGrid1->viewport()->installEventFilter(this);
    StringGrid1->drawCellHook = [this](QPainter& p, int col, int row, const QRect& rect) {
        StringGrid1DrawCell(p, col, row, rect);
    };
    connect(StringGrid1, &StringGrid::cellClicked, this, [this] { StringGrid1Click(); });

    for (int s = 1; s <= planning::Subjects; ++s) {
        SubjectPanel* panel = new SubjectPanel(planning::subjectColour(s), this);
        panel->setObjectName(QStringLiteral("Panel") + QString::number(s + 1));
        panel->setCaption(defaultCaption(s));
        panel->setGeometry(QRect(SubjectPositions[s - 1], QSize(100, 25)));
        connect(panel, &SubjectPanel::clicked, this, [this, s] { PanelClick(s); });
        connect(panel, &SubjectPanel::doubleClicked, this, [this, s] { PanelDblClick(s); });
        SubjectPanels[s - 1] = panel;
    }

    // The grid shows the list from the start, so that a save before the first opening writes back what
    // the list holds; and again whenever a class loads, saves or leaves the planning (the planning held before
    // when the class has no planning file).
    m_history = undokeys::historyOf(this);

    DessinGrille();
    LitAn();
    connect(&m_owners, &SharedCompanion::changed, this, &TPlanning::LitAn);
}

TPrjEdit* TPlanning::nameDialog()
{
    if (!m_nameDialog)
        m_nameDialog = new TPrjEdit(this);
    return m_nameDialog;
}

// --- the grid and the list ---------------------------------------------------

void TPlanning::DessinGrille()
{
    // Only what differs is set: the window's painting runs this too.
    const auto set = [this](int col, int row, const QString& text) {
        if (StringGrid1->cell(col, row) != text)
            StringGrid1->setCell(col, row, text);
    };
    for (int m = 1; m <= planning::Months; ++m)
        set(0, m, QString::fromUtf8(MonthNames[m - 1]));
    for (int d = 1; d <= planning::Days; ++d)
        set(d, 0, QString::number(d));
}

void TPlanning::LitAn()
{
    const planning::YearCells cells = m_list.LitAn(m_year);
    for (int m = 1; m <= planning::Months; ++m)
        for (int d = 1; d <= planning::Days; ++d)
            StringGrid1->setCell(d, m, cells[m - 1][d - 1]);
    Panel1Caption->setText(QStringLiteral("Planning ") + QString::number(m_year));
    DessinGrille();
}

planning::YearCells TPlanning::shownCells() const
{
    planning::YearCells cells;
    for (int m = 1; m <= planning::Months; ++m)
        for (int d = 1; d <= planning::Days; ++d)
            cells[m - 1][d - 1] = StringGrid1->cell(d, m);
    return cells;
}

void TPlanning::EcritAn()
{
    m_list.EcritAn(m_year, shownCells());
}

void TPlanning::EcritCell(int col, int row)
{
    // The square itself is painted by the grid's painting of the cell.
    const QRect rect = StringGrid1->cellRect(col, row);
    if (rect.isValid())
        StringGrid1->viewport()->update(rect);
}

void TPlanning::StringGrid1DrawCell(QPainter& painter, int col, int row, const QRect& rect)
{
    if (col < 1 || row < 1)
        return;
    // The square is placed from the cell's unscrolled corner, so it follows the cell if the grid scrolls.
    const QPoint unscrolled(17 * col + 70, 17 * row);
    const QRect square = planning::daySquare(col, row).translated(rect.topLeft() - unscrolled);
    painter.fillRect(square, planning::dayColour(StringGrid1->cell(col, row)));
}

void TPlanning::StringGrid1Click()
{
    const int col = StringGrid1->col();
    const int row = StringGrid1->row();
    if (col < 1 || row < 1 || col > planning::daysInMonth(row, m_year))
        return;
    const QString before = StringGrid1->cell(col, row);
    if (!before.isEmpty()) {
        StringGrid1->setCell(col, row, QString());
    } else {
        StringGrid1->setCell(col, row, QString::number(m_subject));
        EcritCell(col, row);
    }
    m_modified = true;
    const QString after = StringGrid1->cell(col, row);
    m_history->push(new MadeStep(
        after.isEmpty() ? QStringLiteral("l'effacement du jour") : QStringLiteral("le marquage du jour"),
        [this, year = m_year, col, row, before] { putDay(year, col, row, before); },
        [this, year = m_year, col, row, after] { putDay(year, col, row, after); }));
    m_owners.tellEdited();
}

void TPlanning::putDay(int year, int col, int row, const QString& text)
{
    if (year != m_year) {
        EcritAn();
        m_year = year;
        LitAn();
    }
    StringGrid1->setCell(col, row, text);
    StringGrid1->setCurrent(col, row);
    EcritCell(col, row);
    m_modified = true;
    m_owners.tellEdited();
}

// --- subjects ------------------------------------------------------------------

void TPlanning::PanelClick(int subject)
{
    m_subject = subject;
}

void TPlanning::PanelDblClick(int subject)
{
    m_subject = subject;
    TPrjEdit* dialog = nameDialog();
    SubjectPanel* panel = SubjectPanels[subject - 1];
    dialog->Edit1->setText(panel->caption());
    if (seams().execModal(dialog) != QDialog::Accepted)
        return;
    panel->setCaption(dialog->Edit1->text());
    MajPrj(subject, dialog->Edit1->text());
}

void TPlanning::MajPrj(int subject, const QString& name)
{
    m_list.MajPrj(subject, name);
    m_modified = true;
    m_owners.tellEdited();
}

void TPlanning::captionsFromList()
{
    // The names given to the subjects come back with the class; a subject never named shows its number.
    for (int s = 1; s <= planning::Subjects; ++s)
        SubjectPanels[s - 1]->setCaption(m_list.projectName(s).value_or(defaultCaption(s)));
}

// --- years and keys --------------------------------------------------------------

void TPlanning::changeYear(int delta)
{
    EcritAn();
    m_year = std::clamp(m_year + delta, planning::FirstYear, planning::LastYear);
    LitAn();
}

void TPlanning::SpeedButton1Click()
{
    changeYear(+1);
}

void TPlanning::SpeedButton2Click()
{
    changeYear(-1);
}

bool TPlanning::FormKeyDown(QKeyEvent* event)
{
    if (event->modifiers() & ~(Qt::KeypadModifier | Qt::ShiftModifier))
        return false;
    switch (event->key()) {
    case Qt::Key_PageUp:
        SpeedButton2Click();
        return true;
    case Qt::Key_PageDown:
        SpeedButton1Click();
        return true;
    default:
        return false;
    }
}

void TPlanning::keyPressEvent(QKeyEvent* event)
{
    if (FormKeyDown(event))
        return;
    QDialog::keyPressEvent(event);
}

bool TPlanning::eventFilter(QObject* watched, QEvent* event)
{
    // The year keys are the window's, whichever control has the focus: the grid must neither scroll nor
    // move its current cell with them.
    if (event->type() == QEvent::KeyPress && (watched == StringGrid1 || watched == Button1) &&
        FormKeyDown(static_cast<QKeyEvent*>(event)))
        return true;
    // The second click of a quick double click arrives as a double click: it marks or clears the day like
    // any other click.
    if (event->type() == QEvent::MouseButtonDblClick && watched == StringGrid1->viewport()) {
        const auto* twice = static_cast<QMouseEvent*>(event);
        QMouseEvent press(QEvent::MouseButtonPress, twice->position(), twice->scenePosition(), twice->globalPosition(),
                          twice->button(), twice->buttons(), twice->modifiers(), twice->pointingDevice());
        QCoreApplication::sendEvent(StringGrid1->viewport(), &press);
        return true;
    }
    return QDialog::eventFilter(watched, event);
}

// --- the window ------------------------------------------------------------------

void TPlanning::FormShow()
{
    StringGrid1->setColWidth(0, MonthColumnWidth);
    DessinGrille();
    LitAn();
}

void TPlanning::FormDeactivate()
{
    EcritAn();
}

void TPlanning::Button1Click()
{
    close();
}

void TPlanning::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - frameGeometry().center() + pos());
    FormShow();
    Button1->setFocus();
}

void TPlanning::hideEvent(QHideEvent* event)
{
    FormDeactivate();
    QDialog::hideEvent(event);
}

void TPlanning::changeEvent(QEvent* event)
{
    QDialog::changeEvent(event);
    if (event->type() == QEvent::ActivationChange && isVisible() && !isActiveWindow())
        FormDeactivate();
}

void TPlanning::paintEvent(QPaintEvent* event)
{
    QDialog::paintEvent(event);
    DessinGrille();
}

void TPlanning::resizeEvent(QResizeEvent* event)
{
    QDialog::resizeEvent(event);
    Panel1->setGeometry(0, 0, width(), PanelHeight);
    Panel1Caption->setGeometry(0, 0, width(), PanelHeight);
    StringGrid1->setGeometry(0, PanelHeight, width(), GridHeight);
}

// --- the planning file -----------------------------------------------------------

QByteArray TPlanning::toBytes() const
{
    planning::PlanningList list = m_list;
    list.EcritAn(m_year, shownCells());
    return list.toBytes();
}

void TPlanning::load(const QByteArray& bytes)
{
    m_history->clear();
    m_list = planning::PlanningList::fromBytes(bytes);
    m_modified = false;
    captionsFromList();
    LitAn();
}

void TPlanning::reset()
{
    m_history->clear();
    m_list = planning::PlanningList();
    m_modified = false;
    captionsFromList();
    LitAn();
}

void TPlanning::Charge(const QString& classFileName, SharedCompanion::ClassKey cls)
{
    m_owners.load(cls, classFileName);
}

void TPlanning::Sauve(const QString& classFileName, SharedCompanion::ClassKey cls)
{
    m_owners.save(cls, classFileName);
}

void TPlanning::showFor(SharedCompanion::ClassKey cls, const QString& classFileName)
{
    m_owners.showing(cls, classFileName);
    seams().execModal(this);
    m_owners.shown(cls, classFileName);
}

void TPlanning::classClosed(SharedCompanion::ClassKey cls)
{
    m_owners.closed(cls);
}

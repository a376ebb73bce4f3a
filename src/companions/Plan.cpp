#include "companions/Plan.h"

#include "companions/PlnEdit.h"
#include "model/ClassCommands.h"
#include "widgets/Fonts.h"
#include "widgets/Glyphs.h"
#include "widgets/Seams.h"
#include "widgets/UndoKeys.h"

#include <QAction>
#include <QFrame>
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
#include <algorithm>
#include <utility>

namespace {

const QColor DeskBrown(192, 128, 80);
const QColor DeskSilver(192, 192, 192);

void paintBlock(QLabel* label, const QColor& background)
{
    QPalette palette = label->palette();
    palette.setColor(QPalette::Window, background);
    palette.setColor(QPalette::WindowText, Qt::white);
    label->setPalette(palette);
}

// A desk block: white centred text on its colour inside a single black line.
class DeskBlock : public QLabel
{
public:
    using QLabel::QLabel;

protected:
    void paintEvent(QPaintEvent* event) override
    {
        QLabel::paintEvent(event);
        QPainter painter(this);
        painter.setPen(Qt::black);
        painter.drawRect(rect().adjusted(0, 0, -1, -1));
    }
};

QLabel* makeBlock(QWidget* parent, const QFont& font)
{
    auto* label = new DeskBlock(parent);
    label->setContentsMargins(1, 1, 1, 1);
    label->setAlignment(Qt::AlignCenter);
    // A name is shown as typed, even one that looks like markup.
    label->setTextFormat(Qt::PlainText);
    label->setAutoFillBackground(true);
    label->setFont(font);
    paintBlock(label, DeskBrown);
    return label;
}

// How much of a desk must show inside the window for it to be taken with the mouse.
constexpr int ReachablePart = 10;

} // namespace

TPlan::TPlan(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("Plan"));
    setWindowTitle(QStringLiteral("Plan de la classe"));
    // Fixed single border with the close box only.
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                   Qt::WindowCloseButtonHint);
    setFixedSize(536, 343);
    setFont(fonts::msSansSerif(13));
    QPalette palette = this->palette();
    palette.setColor(QPalette::Window, Qt::white);
    setPalette(palette);
    setAutoFillBackground(true);

    Panel1 = new QFrame(this);
    Panel1->setObjectName(QStringLiteral("Panel1"));
    Panel1->setGeometry(0, 0, 536, 33);
    Panel1->setFrameShape(QFrame::Panel);
    Panel1->setFrameShadow(QFrame::Raised);
    Panel1->setAutoFillBackground(true);
    QPalette panelPalette = Panel1->palette();
    panelPalette.setColor(QPalette::Window, QColor(192, 192, 192));
    Panel1->setPalette(panelPalette);
    // Presses on the tool bar never reach the plan.
    Panel1->setAttribute(Qt::WA_NoMousePropagation);

    // The tool bar's buttons lie over the desks, and the desks over the tool bar's own background: a desk
    // under the tool bar stays in view and can be taken again, and the buttons stay usable.
    const auto toolButton = [this](const char* name, int left, glyphs::Glyph glyph, const QString& hint) {
        auto* button = new QToolButton(this);
        button->setObjectName(QLatin1String(name));
        button->setGeometry(left, 4, 25, 25);
        button->setAutoRaise(true);
        button->setFocusPolicy(Qt::NoFocus);
        button->setIcon(glyphs::icon(glyph));
        button->setToolTip(hint);
        button->setStatusTip(hint);
        return button;
    };
    SpeedButton1 = toolButton("SpeedButton1", 16, glyphs::Glyph::AddDesk, QStringLiteral("Ajouter élève"));
    SpeedButton2 = toolButton("SpeedButton2", 48, glyphs::Glyph::DeleteDesk, QStringLiteral("Supprimer élève"));
    SpeedButton3 = toolButton("SpeedButton3", 88, glyphs::Glyph::TurnDesk, QStringLiteral("Tourner table"));
    connect(SpeedButton1, &QToolButton::clicked, this, [this] { SpeedButton1Click(); });
    connect(SpeedButton2, &QToolButton::clicked, this, [this] { SpeedButton2Click(); });
    connect(SpeedButton3, &QToolButton::clicked, this, [this] { SpeedButton3Click(); });

    Button1 = new QPushButton(QStringLiteral("Fermer"), this);
    Button1->setObjectName(QStringLiteral("Button1"));
    Button1->setGeometry(439, 4, 75, 25);
    Button1->setAutoDefault(false);
    Button1->installEventFilter(this);
    connect(Button1, &QPushButton::clicked, this, [this] { Button1Click(); });

    QFont bold = font();
    bold.setBold(true);
    Bureau = makeBlock(this, bold);
    Bureau->setObjectName(QStringLiteral("Bureau"));
    Bureau->setText(QStringLiteral("Bureau"));
    Bureau->setGeometry(208, 304, 100, 25);
    // The teacher's desk can be neither selected nor moved: its presses stop there.
    Bureau->setAttribute(Qt::WA_NoMousePropagation);
    Panel1->lower();
    Bureau->stackUnder(SpeedButton1);
    m_history = undokeys::historyOf(this);
    // Whatever a class did to the plan (loaded, started afresh, brought back) is shown at once.
    connect(&m_owners, &SharedCompanion::changed, this, &TPlan::showDesks);
}

TPlnEdit* TPlan::nameDialog()
{
    if (!m_nameDialog)
        m_nameDialog = new TPlnEdit(this);
    return m_nameDialog;
}

void TPlan::Charge(const QString& classFileName, SharedCompanion::ClassKey cls)
{
    // Without a plan file the plan held stays, that of the class loaded before, with its modified flag.
    m_owners.load(cls, classFileName);
}

void TPlan::Sauve(const QString& classFileName, SharedCompanion::ClassKey cls, const MayReplace& mayReplace)
{
    m_owners.save(cls, classFileName, mayReplace);
}

void TPlan::showFor(SharedCompanion::ClassKey cls, const QString& classFileName)
{
    m_owners.showing(cls, classFileName);
    seams().execModal(this);
    m_owners.shown(cls, classFileName);
}

void TPlan::classClosed(SharedCompanion::ClassKey cls)
{
    m_owners.closed(cls);
}

void TPlan::SpeedButton1Click()
{
    if (m_plan.isFull()) {
        // The classroom holds 60 desks; asking for a 61st name would only lose what is typed.
        seams().message(this, Seams::MessageKind::Information, windowTitle(),
                        QStringLiteral("Le plan compte déjà %1 tables.").arg(SeatingPlan::MaxDesks),
                        {QStringLiteral("OK")}, 0, 0);
        return;
    }
    TPlnEdit* dialog = nameDialog();
    dialog->Init(QString());
    if (seams().execModal(dialog) == QDialog::Accepted)
        if (const int n = m_plan.add(dialog->Edit1->text()))
            pushDeskStep(QStringLiteral("l'ajout de la table"), n, std::nullopt, m_plan.desk(n));
    // Even a cancelled add counts as a change of the plan.
    m_plan.setModified(true);
    showDesks();
    m_owners.tellEdited();
}

void TPlan::SpeedButton2Click()
{
    const int n = m_plan.selected();
    const std::optional<Desk> before = n >= 1 && n <= m_plan.count() ? std::optional(m_plan.desk(n)) : std::nullopt;
    if (!m_plan.removeSelected())
        return;
    pushDeskStep(QStringLiteral("la suppression de la table"), n, before, std::nullopt);
    showDesks();
    m_owners.tellEdited();
}

void TPlan::SpeedButton3Click()
{
    const int n = m_plan.selected();
    const std::optional<Desk> before = n >= 1 && n <= m_plan.count() ? std::optional(m_plan.desk(n)) : std::nullopt;
    if (!m_plan.turnSelected())
        return;
    pushDeskStep(QStringLiteral("la rotation de la table"), n, before, m_plan.desk(n));
    showDesks();
    m_owners.tellEdited();
}

void TPlan::pushDeskStep(const QString& text, int n, const std::optional<Desk>& before,
                         const std::optional<Desk>& after)
{
    m_history->push(new MadeStep(
        text, [this, n, before, present = after.has_value()] { putDesk(n, before, present); },
        [this, n, after, present = before.has_value()] { putDesk(n, after, present); }));
}

void TPlan::putDesk(int n, const std::optional<Desk>& desk, bool present)
{
    if (desk && present)
        m_plan.replaceDesk(n, *desk);
    else if (desk)
        m_plan.insertDesk(n, *desk);
    else
        m_plan.removeDesk(n);
    showDesks();
    m_owners.tellEdited();
}

void TPlan::Button1Click()
{
    close();
}

void TPlan::Deselection()
{
    m_plan.deselect();
    showDesks();
}

int TPlan::deskNumber(const QWidget* sender) const
{
    if (!sender)
        return 0;
    const qsizetype index = m_labels.indexOf(const_cast<QWidget*>(sender));
    return index < 0 ? 0 : static_cast<int>(index) + 1;
}

void TPlan::FormMouseDown(QWidget* sender, QPoint pos)
{
    const int n = deskNumber(sender);
    m_plan.press(n, pos);
    m_pressedNumber = m_plan.selected();
    if (m_pressedNumber > 0)
        m_pressedDesk = m_plan.desk(m_pressedNumber);
    if (n > 0) {
        sender->setCursor(Qt::CrossCursor);
        setCursor(Qt::CrossCursor);
    }
    showDesks();
    if (n > 0)
        m_owners.tellEdited();
}

void TPlan::FormMouseMove(QWidget* sender, QPoint pos)
{
    if (!m_plan.dragging())
        return;
    QLabel* selected = deskLabel(m_plan.selected());
    if (!selected)
        return;
    // The position comes relative to the desk that reported it; the plan works in client coordinates.
    // The grabbed point stays inside the window, so that no desk can be dragged out of reach.
    QPoint client = sender ? sender->mapTo(this, pos) : pos;
    client = QPoint(std::clamp(client.x(), 0, width() - 1), std::clamp(client.y(), 0, height() - 1));
    m_plan.dragTo(client);
    const Desk& desk = m_plan.desk(m_plan.selected());
    selected->move(desk.left, desk.top);
    m_owners.tellEdited();
}

void TPlan::FormMouseUp(QWidget*, QPoint)
{
    m_plan.release();
    const int n = std::exchange(m_pressedNumber, 0);
    if (n >= 1 && n <= m_plan.count() && m_plan.desk(n) != m_pressedDesk)
        pushDeskStep(QStringLiteral("le déplacement de la table"), n, m_pressedDesk, m_plan.desk(n));
    unsetCursor();
    if (QLabel* selected = deskLabel(m_plan.selected()))
        selected->unsetCursor();
}

void TPlan::FormKeyDown(int key)
{
    if (key == Qt::Key_Delete)
        SpeedButton2Click();
}

void TPlan::showDesks()
{
    if (m_plan.generation() != m_historyGeneration) {
        m_historyGeneration = m_plan.generation();
        m_history->clear();
    }
    while (m_labels.size() > m_plan.count())
        delete m_labels.takeLast();
    while (m_labels.size() < m_plan.count()) {
        QLabel* label = makeBlock(this, font());
        label->setObjectName(QStringLiteral("Desk%1").arg(m_labels.size() + 1));
        label->installEventFilter(this);
        // Desks lie over the teacher's desk (a desk dragged there stays in view) and the tool bar's
        // background, under its buttons.
        label->stackUnder(SpeedButton1);
        m_labels.append(label);
        label->show();
    }
    for (int n = 1; n <= m_plan.count(); ++n) {
        const Desk& desk = m_plan.desk(n);
        QLabel* label = m_labels.at(n - 1);
        label->setText(desk.name);
        // A size read from a hostile file could be absurd; the desk keeps it in the file, the block is
        // kept within what a screen can show.
        const int w = qBound(0, desk.width, 4096);
        const int h = qBound(0, desk.height, 4096);
        // A desk placed out of reach (a file from a larger screen, or edited by hand) is shown whole at the
        // window's nearest edge, below the tool bar, where it can be taken and moved; its place changes only
        // when it is moved.
        const auto reachable = [](int at, int size, int low, int room) {
            const int keep = std::min(size, ReachablePart);
            return at < keep - size || at > room - keep ? std::clamp(at, low, std::max(low, room - size)) : at;
        };
        label->setGeometry(reachable(desk.left, w, 0, width()), reachable(desk.top, h, Panel1->height(), height()), w,
                           h);
        paintBlock(label, n == m_plan.selected() ? DeskSilver : DeskBrown);
    }
}

bool TPlan::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == Button1 && event->type() == QEvent::KeyPress) {
        // The window sees key presses before its controls.
        const auto* key = static_cast<QKeyEvent*>(event);
        if (key->key() == Qt::Key_Delete) {
            FormKeyDown(key->key());
            return true;
        }
        return false;
    }
    auto* desk = qobject_cast<QLabel*>(watched);
    if (!desk || deskNumber(desk) == 0)
        return QDialog::eventFilter(watched, event);
    switch (event->type()) {
    case QEvent::MouseButtonPress:
    // The second press of a double click is a press like the first: it must not reach the empty area.
    case QEvent::MouseButtonDblClick:
        FormMouseDown(desk, static_cast<QMouseEvent*>(event)->position().toPoint());
        return true;
    case QEvent::MouseMove:
        FormMouseMove(desk, static_cast<QMouseEvent*>(event)->position().toPoint());
        return true;
    case QEvent::MouseButtonRelease:
        FormMouseUp(desk, static_cast<QMouseEvent*>(event)->position().toPoint());
        return true;
    default:
        return QDialog::eventFilter(watched, event);
    }
}

void TPlan::mousePressEvent(QMouseEvent* event)
{
    FormMouseDown(nullptr, event->position().toPoint());
}

void TPlan::mouseMoveEvent(QMouseEvent* event)
{
    FormMouseMove(nullptr, event->position().toPoint());
}

void TPlan::mouseReleaseEvent(QMouseEvent* event)
{
    FormMouseUp(nullptr, event->position().toPoint());
}

void TPlan::keyPressEvent(QKeyEvent* event)
{
    // No cancel button here: Escape does not close the plan, Delete removes the selected desk.
    if (event->key() == Qt::Key_Escape)
        return;
    FormKeyDown(event->key());
    if (event->key() != Qt::Key_Delete)
        QDialog::keyPressEvent(event);
}

void TPlan::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    // The plan opens in the middle of the screen, wherever the class window lies.
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - frameGeometry().center() + pos());
}

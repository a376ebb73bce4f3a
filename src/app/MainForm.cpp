#include "app/MainForm.h"

#include "analysis/ChartWindow.h"
#include "app/AboutBox.h"
#include "app/CommandButton.h"
#include "app/HelpWindow.h"
#include "app/RecoveryDialog.h"
#include "app/ToolWindows.h"
#include "classbook/MDIChild.h"
#include "classbook/VersionsDialog.h"
#include "companions/Obs.h"
#include "core/FileNames.h"
#include "core/FrenchDates.h"
#include "core/PlatformError.h"
#include "model/ClassFile.h"
#include "model/ClassLock.h"
#include "model/NotesFile.h"
#include "model/RecoveryCopy.h"
#include "model/RecoverySlot.h"
#include "model/RecoveryStore.h"
#include "model/VersionList.h"
#include "tools/Blocnotes.h"
#include "tools/Calendrier.h"
#include "tools/Eurof.h"
#include "tools/Horloge.h"
#include "tools/Pocket.h"
#include "widgets/ErrorHandler.h"
#include "widgets/Fonts.h"
#include "widgets/Glyphs.h"
#include "widgets/Seams.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QDialog>
#include <QDir>
#include <QFileInfo>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QScopeGuard>
#include <QScreen>
#include <QStatusBar>
#include <QStatusTipEvent>
#include <QTextDocument>
#include <QTimer>
#include <QToolButton>
#include <QVBoxLayout>
#include <QWindow>
#include <cerrno>

namespace {

using Handler = void (TMainForm::*)();

// When a command is enabled: always, or exactly while a class window is open (then enabled or not until the first
// refresh), or while the active class window has something to undo or redo.
enum class Enabled
{
    Always,
    WithClass,
    WithClassStartsOff,
    WithHistory,
};

// One command: its menu entry, whose action the tool bar shares.
struct Command
{
    const char* object = nullptr; // nullptr: a separator
    const char16_t* caption = nullptr;
    const char* shortcut = nullptr; // alternatives apart with "|"
    const char16_t* hint = nullptr;
    Handler handler = nullptr;
    Enabled enabled = Enabled::Always;
};

struct TopMenu
{
    const char* object;
    const char16_t* caption;
    int helpContext;
    const char16_t* hint;
    std::initializer_list<Command> commands;
};

using enum Enabled;
constexpr Command kSeparator{};

// How long the frame stays idle after its first showing before it gets ready what is first asked for.
constexpr int WarmUpMs = 250;

// The menu bar, in order.
// clang-format off
const TopMenu kMenus[] = {
    {"File1", u"&Fichier", 3, u"Commandes liées aux menus",
     {
         {"FileNewItem", u"&Nouveau", nullptr, u"Créer un nouveau fichier", &TMainForm::FileNewItemClick, Always},
         {"FileOpenItem", u"&Ouvrir...", "Ctrl+O", u"Ouvrir un fichier existant", &TMainForm::FileOpenItemClick,
          Always},
         {"FileCloseItem", u"&Fermer", nullptr, u"Fermer fichier en cours", &TMainForm::FileCloseItemClick,
          WithClass},
         kSeparator,
         {"FileSaveItem", u"&Enregistrer", "Ctrl+S", u"Enregistrer le fichier en cours",
          &TMainForm::FileSaveItemClick, WithClassStartsOff},
         {"FileSaveAsItem", u"Enregistrer &sous...", nullptr, u"Enregistrer le fichier en cours sous...",
          &TMainForm::FileSaveAsItemClick, WithClassStartsOff},
         kSeparator,
         {"Imprimer1", u"&Imprimer...", nullptr, u"Imprimer", &TMainForm::Imprimer1Click, WithClass},
         {"Configurerimprimante1", u"&Configurer imprimante...", nullptr, u"Configurer l'imprimante",
          &TMainForm::Configurerimprimante1Click, Always},
         kSeparator,
         {"FileExitItem", u"&Quitter", "Ctrl+X", u"Quitter l'application", &TMainForm::FileExitItemClick, Always},
     }},
    {"Edit1", u"&Edition", 4, nullptr,
     {
         {"UndoItem", u"&Annuler", "Ctrl+Z", u"Annuler la dernière modification de la classe",
          &TMainForm::UndoItemClick, WithHistory},
         {"RedoItem", u"&Rétablir", "Ctrl+Y|Ctrl+Shift+Z", u"Rétablir la modification annulée",
          &TMainForm::RedoItemClick, WithHistory},
         kSeparator,
         {"CopyItem", u"Co&pier", "Ctrl+C", u"Copier dans le Presse-papiers", &TMainForm::CopyItemClick,
          WithClassStartsOff},
         {"PasteItem", u"C&oller", "Ctrl+V", u"Coller depuis le Presse-papiers", &TMainForm::PasteItemClick,
          WithClassStartsOff},
         kSeparator,
         {"Supprimerligne1", u"&Supprimer ligne/fiche", nullptr, u"Supprimer ligne/fiche",
          &TMainForm::Supprimerligne1Click, WithClass},
         {"Suoorimerphoto1", u"Supprimer &photo", nullptr, u"Supprimer photo de la fiche",
          &TMainForm::Suoorimerphoto1Click, WithClass},
     }},
    {"Classe2", u"&Classe", 5, nullptr,
     {
         {"Gestiondesclasses1", u"Définir les &rubriques", nullptr, u"Définir les rubriques",
          &TMainForm::Gestiondesclasses1Click, WithClass},
         kSeparator,
         {"Ajustercolonnes1", u"&Ajuster colonnes", nullptr, u"Ajuster les largeurs des colonnes",
          &TMainForm::Ajustercolonnes1Click, WithClass},
         {"Trier1", u"&Trier", nullptr, u"Trier la classe par ordre alphabétique", &TMainForm::Trier1Click,
          WithClass},
         kSeparator,
         {"Calculermoyennes1", u"&Calculer moyennes", nullptr, nullptr, &TMainForm::Calculermoyennes1Click,
          WithClass},
         {"Affichergraphique1", u"Afficher &graphique", nullptr, u"Afficher graphique",
          &TMainForm::Affichergraphique1Click, WithClass},
         {"Suividunlve1", u"&Suivi d'un élève", nullptr, u"Graphique des notes d'un élève",
          &TMainForm::Suividunlve1Click, WithClass},
         kSeparator,
         {"Datesdesdevoirsd1", u"&Dates des devoirs", nullptr, u"Dates des devoirs",
          &TMainForm::Datesdesdevoirsd1Click, WithClass},
         {"Plandelaclasse", u"&Plan de la classe", nullptr, u"Plan de la classe", &TMainForm::PlandelaclasseClick,
          WithClass},
     }},
    {"Vue1", u"&Vue", 6, nullptr,
     {
         {"Classe1", u"&Classe", nullptr, u"Classe", &TMainForm::Classe1Click, WithClass},
         {"fiche1", u"&Fiche élève", nullptr, u"Fiche élève", &TMainForm::fiche1Click, WithClass},
     }},
    {"Outils1", u"&Outils", 7, nullptr,
     {
         {"Observations1", u"&Appréciations", nullptr, u"Liste des appréciaitons", &TMainForm::Observations1Click,
          WithClass},
         {"Planning1", u"&Planning", nullptr, u"Planning annuel", &TMainForm::Planning1Click, WithClass},
         kSeparator,
         {"Exporterversuntableur1", u"&Exporter vers un tableur...", nullptr,
          u"Enregistrer les notes et les fiches de la classe pour un tableur", &TMainForm::Exporterversuntableur1Click,
          WithClass},
         {"Importerunelistedlves1", u"&Importer une liste d'élèves...", nullptr,
          u"Ajouter à la classe les élèves d'une liste (CSV, .xlsx, .ods)", &TMainForm::Importerunelistedlves1Click, WithClass},
         {"Versionsprcdentes1", u"&Versions précédentes...", nullptr,
          u"Revoir les versions enregistrées de la classe et en restaurer une",
          &TMainForm::Versionsprcdentes1Click, WithClass},
     }},
    {"Utilitaires1", u"&Utilitaires", 8, nullptr,
     {
         {"Calendrier1", u"&Calendrier", nullptr, u"Calendrier", &TMainForm::Calendrier1Click, Always},
         {"Calculatrice1", u"C&alculatrice", nullptr, u"Calculatrice", &TMainForm::Calculatrice1Click, Always},
         {"Horloge1", u"&Horloge", nullptr, u"Horloge", &TMainForm::Horloge1Click, Always},
         {"Euroconversion1", u"&Euro conversion", nullptr, u"Convertisseur euro", &TMainForm::Euroconversion1Click,
          Always},
         {"Blocnotes1", u"&Bloc-notes", nullptr, u"Bloc-notes", &TMainForm::Blocnotes1Click, Always},
     }},
    {"Window1", u"Fe&nêtre", 9, u"Commandes de fenêtres telles que Mosaïque et Cascade",
     {
         {"WindowCascadeItem", u"&Cascade", nullptr, u"Disposer les fenêtre de façon qu'elles se recouvrent",
          &TMainForm::WindowCascadeItemClick, WithClass},
         {"WindowTileItem", u"&Mosaïque", nullptr, u"Disposer les fenêtre sans recouvrement",
          &TMainForm::WindowTileItemClick, WithClass},
         {"WindowArrangeItem", u"&Réorganiser les icônes", nullptr,
          u"Disposer les icônes en bas de la fenêtre principale", &TMainForm::WindowArrangeItemClick, WithClass},
         {"WindowMinimizeItem", u"&Tout réduire", nullptr, u"Réduire toutes les fenêtres",
          &TMainForm::WindowMinimizeItemClick, WithClass},
     }},
    {"Help1", u"&Aide", 10, u"Rubriques d'aide",
     {
         {"Sommaire1", u"&Sommaire", nullptr, u"Sommaire de l'aide", &TMainForm::HContents, Always},
         {"Rechercher1", u"&Rechercher", nullptr, u"Rechercher", &TMainForm::HSearch, Always},
         {"Utiliserlaide1", u"&Utiliser l'aide", nullptr, u"Comment utiliser l'aide", &TMainForm::HowToUse, Always},
         kSeparator,
         {"HelpAboutItem", u"&A propos", nullptr, u"Informations sur le logiciel, la version",
          &TMainForm::HelpAboutItemClick, Always},
     }},
};
// clang-format on

// The tool bar, left to right. A button runs the command of the menu entry with the same handler, with a glyph and a
// hint of its own.
struct ToolButton
{
    const char* object;
    int left;
    const char16_t* hint;
    glyphs::Glyph glyph;
    Handler handler;
};

const ToolButton kButtons[] = {
    {"SpeedButton1", 8, u"Nouveau", glyphs::Glyph::New, &TMainForm::FileNewItemClick},
    {"OpenBtn", 33, u"Ouvrir", glyphs::Glyph::Open, &TMainForm::FileOpenItemClick},
    {"SaveBtn", 58, u"Enregistrer", glyphs::Glyph::Save, &TMainForm::FileSaveItemClick},
    {"SpeedButton6", 83, u"Imprimer", glyphs::Glyph::Print, &TMainForm::Imprimer1Click},
    {"CopyBtn", 111, u"Copier", glyphs::Glyph::Copy, &TMainForm::CopyItemClick},
    {"PasteBtn", 136, u"Coller", glyphs::Glyph::Paste, &TMainForm::PasteItemClick},
    {"SpeedButton2", 169, u"Classe", glyphs::Glyph::ClassGrid, &TMainForm::Classe1Click},
    {"SpeedButton3", 194, u"Fiche élève", glyphs::Glyph::Card, &TMainForm::fiche1Click},
    {"SpeedButton4", 227, u"Calculer moyennes", glyphs::Glyph::Averages, &TMainForm::Calculermoyennes1Click},
    {"SpeedButton5", 252, u"Graphique des moyennes", glyphs::Glyph::BarChart, &TMainForm::Affichergraphique1Click},
    {"SpeedButton7", 277, u"Suivi d'un élève", glyphs::Glyph::LineChart, &TMainForm::Suividunlve1Click},
    {"SpeedButton8", 302, u"Dates des devoirs", glyphs::Glyph::Homework, &TMainForm::Datesdesdevoirsd1Click},
};

const struct
{
    const char* object;
    int left;
} kBevels[] = {{"Bevel1", 108}, {"Bevel2", 164}, {"Bevel3", 222}};

// The menu entry whose command runs that handler.
QString entryOf(Handler handler)
{
    for (const TopMenu& menu : kMenus)
        for (const Command& command : menu.commands)
            if (command.handler == handler)
                return QLatin1String(command.object);
    return QString();
}

} // namespace

TMainForm::TMainForm(QWidget* parent) : QMainWindow(parent)
{
    setObjectName(QStringLiteral("MainForm"));
    setWindowTitle(QStringLiteral("Vire Lan"));
    setFont(fonts::msSansSerif(14));
    setGeometry(194, 110, 599, 454);

    auto* central = new QWidget;
    auto* layout = new QVBoxLayout(central);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    m_speedPanel = new QFrame;
    m_speedPanel->setObjectName(QStringLiteral("SpeedPanel"));
    m_speedPanel->setFixedHeight(33);
    layout->addWidget(m_speedPanel);
    m_mdiArea = new QMdiArea;
    m_mdiArea->setBackground(palette().color(QPalette::Dark));
    m_mdiArea->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    m_mdiArea->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    layout->addWidget(m_mdiArea);
    setCentralWidget(central);

    createActions();
    createMenus();
    createToolBar();
    createStatusBar();

    // FormCreate: hints to the status bar, the enabling refresh on every change of the active window.
    connect(m_mdiArea, &QMdiArea::subWindowActivated, this, &TMainForm::UpdateMenuItems);
    connect(qApp, &QGuiApplication::focusWindowChanged, this, &TMainForm::UpdateMenuItems);
    qApp->installEventFilter(this);

    m_timer = new QTimer(this);
    m_timer->setInterval(1000);
    connect(m_timer, &QTimer::timeout, this, &TMainForm::Timer1Timer);
    m_timer->start();
    Timer1Timer();

    m_tools = std::make_unique<ToolWindows>();
}

TMainForm::~TMainForm()
{
    // FormDestroy: no more refreshes from here on; a frame destroyed while shown asks nothing more.
    m_destroying = true;
    disconnect(qApp, nullptr, this, nullptr);
    disconnect(m_mdiArea, nullptr, this, nullptr);
    qApp->removeEventFilter(this);
    // The class windows, those closed but not yet deleted included, go before the tool windows they use.
    delete m_mdiArea;
    m_mdiArea = nullptr;
}

void TMainForm::createActions()
{
    for (const TopMenu& menu : kMenus) {
        for (const Command& command : menu.commands) {
            if (!command.object)
                continue;
            auto* act = new QAction(QString::fromUtf16(command.caption), this);
            act->setObjectName(QLatin1String(command.object));
            if (command.shortcut) {
                QList<QKeySequence> shortcuts;
                for (const QString& keys : QString::fromLatin1(command.shortcut).split(QLatin1Char('|')))
                    shortcuts << QKeySequence(keys);
                act->setShortcuts(shortcuts);
                act->setShortcutContext(Qt::WindowShortcut);
            }
            if (command.hint)
                act->setStatusTip(QString::fromUtf16(command.hint));
            act->setEnabled(command.enabled == Always || command.enabled == WithClass);
            if (command.enabled == WithClass || command.enabled == WithClassStartsOff)
                m_classCommands << act;
            const Handler handler = command.handler;
            connect(act, &QAction::triggered, this,
                    [this, handler] { errors::guarded(this, [&] { (this->*handler)(); }); });
            m_actions << act;
        }
    }
}

void TMainForm::createMenus()
{
    for (const TopMenu& top : kMenus) {
        QMenu* menu = menuBar()->addMenu(QString::fromUtf16(top.caption));
        menu->setObjectName(QLatin1String(top.object));
        menu->menuAction()->setObjectName(QLatin1String(top.object));
        menu->setProperty("helpContext", top.helpContext);
        if (top.hint)
            menu->menuAction()->setStatusTip(QString::fromUtf16(top.hint));
        menu->installEventFilter(this);
        for (const Command& command : top.commands) {
            if (!command.object)
                menu->addSeparator();
            else
                menu->addAction(action(QLatin1String(command.object)));
        }
        if (QLatin1String(top.object) == QLatin1String("Window1")) {
            m_windowMenu = menu;
            connect(menu, &QMenu::aboutToShow, this, &TMainForm::fillWindowMenu);
        }
        // Typing left unfinished (a cell closed unchanged) is seen when the menu opens.
        if (QLatin1String(top.object) == QLatin1String("Edit1"))
            connect(menu, &QMenu::aboutToShow, this, &TMainForm::updateHistoryCommands);
    }
}

void TMainForm::createToolBar()
{
    for (const ToolButton& b : kButtons) {
        auto* button = new CommandButton(action(entryOf(b.handler)), glyphs::icon(b.glyph), QString::fromUtf16(b.hint),
                                         m_speedPanel);
        button->setObjectName(QLatin1String(b.object));
        button->setGeometry(b.left, 4, 25, 25);
        button->setAutoRaise(true);
        button->setIconSize(QSize(16, 16));
        button->setFocusPolicy(Qt::NoFocus);
        m_buttons << button;
    }
    for (const auto& bevel : kBevels) {
        auto* line = new QFrame(m_speedPanel);
        line->setObjectName(QLatin1String(bevel.object));
        line->setGeometry(bevel.left, 1, 1, 31);
        line->setFrameShape(QFrame::VLine);
        line->setFrameShadow(QFrame::Sunken);
    }
}

void TMainForm::createStatusBar()
{
    QStatusBar* bar = statusBar();
    bar->setObjectName(QStringLiteral("StatusBar"));
    bar->setFont(fonts::msSansSerif(15));
    bar->setFixedHeight(23);
    bar->setSizeGripEnabled(true);
    for (int i = 0; i < 2; ++i) {
        m_statusPanels[i] = new QLabel;
        m_statusPanels[i]->setFrameStyle(QFrame::Panel | QFrame::Sunken);
        m_statusPanels[i]->setFixedWidth(50);
        bar->addWidget(m_statusPanels[i]);
    }
    m_statusPanels[1]->setAlignment(Qt::AlignCenter);
    m_statusPanels[1]->setFixedWidth(96);
}

QAction* TMainForm::action(const QString& objectName) const
{
    for (QAction* a : m_actions)
        if (a->objectName() == objectName)
            return a;
    return nullptr;
}

QToolButton* TMainForm::button(const QString& objectName) const
{
    for (QToolButton* b : m_buttons)
        if (b->objectName() == objectName)
            return b;
    return nullptr;
}

QLabel* TMainForm::statusPanel(int index) const
{
    return (index == 0 || index == 1) ? m_statusPanels[index] : nullptr;
}

// --- frame handlers ---------------------------------------------------------------

void TMainForm::DisplayHint(const QString& hint)
{
    m_statusPanels[0]->setText(hint);
}

void TMainForm::Timer1Timer()
{
    m_statusPanels[1]->setText(frdate::longTime(seams().now().time()));
}

bool TMainForm::event(QEvent* event)
{
    if (event->type() == QEvent::StatusTip) {
        DisplayHint(static_cast<QStatusTipEvent*>(event)->tip());
        return true;
    }
    return QMainWindow::event(event);
}

void TMainForm::showEvent(QShowEvent* event)
{
    QMainWindow::showEvent(event);
    if (!m_shown) {
        m_shown = true;
        errors::guarded(this, [this] { FormShow(); });
    }
}

void TMainForm::FormShow()
{
    resize(width() - 10, height());
    // Maximised: a desktop without a window manager does not do it for us.
    if (QScreen* current = screen())
        setGeometry(current->availableGeometry());
    setWindowState(windowState() | Qt::WindowMaximized);
    m_startupDirectory = QDir::currentPath();
    UpdateMenuItems();
    // Each file is read on its own: one that cannot be read is reported (and never written over) and keeps
    // nothing else from loading.
    FailureList failures;
    failures.attempt([this] { m_tools->loadNotes(QStringLiteral("Virelan.nte")); });
    failures.attempt([this] { m_tools->loadPhrases(); });
    // Once the frame has been idle a moment, what the first class window and the first chart would otherwise
    // wait for is made ready.
    QTimer::singleShot(WarmUpMs, this, [] {
        TMDIChild::prepareFirstOpen();
        ChartWindow::loadFont();
    });
    failures.raise();
}

void TMainForm::resizeEvent(QResizeEvent* event)
{
    QMainWindow::resizeEvent(event);
    // The clock panel stays at the right end.
    m_statusPanels[0]->setFixedWidth(std::max(0, width() - 100));
}

bool TMainForm::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::ShortcutOverride) {
        // The menus' shortcuts come before an edit box's own: Ctrl+X quits, Ctrl+C and Ctrl+V copy and
        // paste through the copy buffer, wherever the focus is in the frame.
        auto* key = static_cast<QKeyEvent*>(event);
        auto* widget = qobject_cast<QWidget*>(watched);
        if (widget && widget->window() == this && key->modifiers() == Qt::ControlModifier &&
            (key->key() == Qt::Key_X || key->key() == Qt::Key_C || key->key() == Qt::Key_V || key->key() == Qt::Key_S ||
             key->key() == Qt::Key_O))
            return true;
        // Undo and redo in a field or a cell being typed into take back the typing there first, while the field
        // has some; then the class's steps.
        const QKeyCombination keys = key->keyCombination();
        const bool undo = keys == (Qt::ControlModifier | Qt::Key_Z);
        const bool redo =
            keys == (Qt::ControlModifier | Qt::Key_Y) || keys == (Qt::ControlModifier | Qt::ShiftModifier | Qt::Key_Z);
        if (widget && widget->window() == this && (undo || redo)) {
            if (auto* line = qobject_cast<QLineEdit*>(widget); line && !line->isReadOnly())
                return !(undo ? line->isUndoAvailable() : line->isRedoAvailable());
            if (auto* text = qobject_cast<QPlainTextEdit*>(widget); text && !text->isReadOnly())
                return !(undo ? text->document()->isUndoAvailable() : text->document()->isRedoAvailable());
            return true;
        }
    }
    if (event->type() == QEvent::KeyPress && qobject_cast<QMenu*>(watched)) {
        auto* key = static_cast<QKeyEvent*>(event);
        if (key->key() == Qt::Key_F1) {
            const int context = watched->property("helpContext").toInt();
            if (context > 0) {
                static_cast<QMenu*>(watched)->close();
                helpWindow().showTopic(context);
                return true;
            }
        }
    }
    return QMainWindow::eventFilter(watched, event);
}

void TMainForm::closeEvent(QCloseEvent* event)
{
    if (m_destroying) {
        event->accept();
        return;
    }
    // Every class window answers its close question first; "Annuler" keeps the program running.
    QList<TMDIChild*> children = classWindows();
    for (TMDIChild* child : children) {
        bool mayClose = false;
        errors::guarded(this, [&] { mayClose = child->FormCloseQuery(); });
        if (!mayClose) {
            event->ignore();
            return;
        }
    }
    if (!FormClose()) {
        event->ignore();
        return;
    }
    for (TMDIChild* child : children)
        child->setCloseAsked();
    m_timer->stop();
    event->accept();
}

bool TMainForm::FormClose()
{
    // A step that fails is reported and stops the quit there, unless the teacher chooses to leave without the
    // files it would have written.
    const auto step = [this](auto&& save) {
        try {
            save();
            return true;
        } catch (const PlatformError& error) {
            errors::report(error, this);
            return errors::leaveWithout(this, error.files());
        }
    };
    if (!m_startupDirectory.isEmpty() && !QDir::setCurrent(m_startupDirectory)) {
        errors::report(PlatformError::ioError(errno ? errno : ENOENT), this);
        // Neither file can be written where it belongs; without changes nothing is lost.
        QStringList unsaved;
        if (m_tools->notesModified())
            unsaved << QStringLiteral("Virelan.nte");
        if (m_tools->phrasesModified())
            unsaved << QStringLiteral("Virelan.obs");
        return unsaved.isEmpty() || errors::leaveWithout(this, unsaved);
    }
    const bool saved =
        step([this] { m_tools->saveNotes(QStringLiteral("Virelan.nte")); }) && step([this] { m_tools->savePhrases(); });
    // What was written keeps no recovery copy.
    for (RecoverySlot* copy : {m_notesCopy, m_phrasesCopy})
        if (copy)
            copy->check();
    return saved;
}

// --- recovery after a crash ------------------------------------------------------------

QString TMainForm::startupFile(const QString& name) const
{
    return QDir(m_startupDirectory.isEmpty() ? QDir::currentPath() : m_startupDirectory).absoluteFilePath(name);
}

void TMainForm::setRecovery(RecoveryStore* store)
{
    m_recovery = store;
    m_tools->setRecovery(store);
    delete m_notesCopy;
    delete m_phrasesCopy;
    m_notesCopy = m_phrasesCopy = nullptr;
    if (!store)
        return;
    // The notepad and the phrases window are watched from when they are built: until then nothing in them changes.
    m_notesCopy = new RecoverySlot(*store, QStringLiteral("notes"),
                                   {[this] { return m_tools->notesModified(); },
                                    [this] {
                                        recovery::Copy copy;
                                        copy.kind = recovery::Kind::Notes;
                                        copy.fileName =
                                            startupFile(notesfile::repairName(QStringLiteral("Virelan.nte")));
                                        copy.text = m_tools->blocnotes()->text();
                                        return [copy] { return copy; };
                                    }},
                                   this);
    m_tools->whenNotesBuilt([this](TBlocnotes* notes) {
        if (!m_notesCopy)
            return;
        connect(notes->Memo1->document(), &QTextDocument::contentsChanged, m_notesCopy, &RecoverySlot::changed);
        connect(notes->Memo1->document(), &QTextDocument::modificationChanged, m_notesCopy, &RecoverySlot::check);
    });
    m_phrasesCopy = new RecoverySlot(*store, QStringLiteral("phrases"),
                                     {[this] { return m_tools->phrasesModified(); },
                                      [this] {
                                          recovery::Copy copy;
                                          copy.kind = recovery::Kind::Phrases;
                                          copy.fileName = startupFile(QStringLiteral("Virelan.obs"));
                                          copy.phrases = m_tools->obs()->phrases();
                                          return [copy] { return copy; };
                                      }},
                                     this);
    m_tools->whenPhrasesBuilt([this](TObs* obs) {
        if (m_phrasesCopy)
            connect(obs, &TObs::edited, m_phrasesCopy, &RecoverySlot::changed);
    });
    // Told on the status bar: the teacher goes on working, without the safety net until copies are written again.
    if (!store->isActive())
        seams().statusMessage(this, QStringLiteral("Pas de copie de récupération : ") + store->why());
    connect(store, &RecoveryStore::failed, this, [this](const QString& why) {
        if (!why.isEmpty())
            seams().statusMessage(this, QStringLiteral("Copie de récupération impossible : ") + why);
    });
}

void TMainForm::offerRecovery()
{
    if (!m_recovery)
        return;
    // Claimed while they are offered: another start meanwhile does not offer them too.
    const auto release = qScopeGuard([this] { m_recovery->releaseClaims(); });
    QList<RecoveryStore::Orphan> orphans = m_recovery->claimOrphans();
    // The notes and phrases of another start-up folder wait for a start from there.
    orphans.removeIf([this](const RecoveryStore::Orphan& orphan) {
        const QString own = orphan.copy.kind == recovery::Kind::Notes
                                ? startupFile(notesfile::repairName(QStringLiteral("Virelan.nte")))
                                : startupFile(QStringLiteral("Virelan.obs"));
        return orphan.copy.kind != recovery::Kind::Class && !filenames::sameFile(orphan.copy.fileName, own);
    });
    if (orphans.isEmpty())
        return;
    QList<recovery::Listed> listed;
    for (const RecoveryStore::Orphan& orphan : orphans)
        listed << recovery::listed(orphan.copy);
    RecoveryDialog dialog(listed, this);
    for (;;) {
        const int answer = seams().execModal(&dialog);
        if (answer == RecoveryDialog::Recover) {
            // The oldest first: the class changed last is the active window, and the notes changed last win.
            for (const RecoveryStore::Orphan& orphan : orphans)
                errors::guarded(this, [&] { restoreCopy(orphan.path, orphan.copy); });
            return;
        }
        if (answer != RecoveryDialog::Ignore)
            return;
        const int sure =
            seams().message(this, Seams::MessageKind::Warning, QStringLiteral("Récupération"),
                            QStringLiteral("Supprimer ces copies ? Les modifications qu'elles gardent seront perdues."),
                            {QStringLiteral("&Oui"), QStringLiteral("&Non")}, 1, 1);
        if (sure == 0) {
            m_recovery->discard(orphans);
            return;
        }
    }
}

void TMainForm::restoreCopy(const QString& path, const recovery::Copy& copy)
{
    switch (copy.kind) {
    case recovery::Kind::Class: {
        TMDIChild* child = CreateClassWindow(copy.caption.isEmpty() ? copy.fileName : copy.caption);
        // The class brought back is open here: its file is locked when no one else holds it.
        if (ClassLock lock; !copy.fileName.isEmpty() && lock.take(copy.fileName) == ClassLock::Outcome::Taken)
            child->document().lock() = std::move(lock);
        // The copy is the window's own, even when its plan or planning could not be read.
        const auto adopt = qScopeGuard([&] { child->document().adoptRecoveryCopy(path, copy); });
        child->document().restore(copy);
        break;
    }
    case recovery::Kind::Notes:
        m_tools->blocnotes()->setText(copy.text);
        m_tools->blocnotes()->setModified(true);
        m_notesCopy->adopt(path, copy.changed);
        break;
    case recovery::Kind::Phrases:
        m_tools->obs()->restore(copy.phrases);
        m_phrasesCopy->adopt(path, copy.changed);
        break;
    }
}

// --- class windows ---------------------------------------------------------------------

QList<TMDIChild*> TMainForm::classWindows() const
{
    QList<TMDIChild*> out;
    // The window in front first, as the frame lists its children.
    const QList<QMdiSubWindow*> subs = m_mdiArea->subWindowList(QMdiArea::StackingOrder);
    for (auto it = subs.rbegin(); it != subs.rend(); ++it)
        if (!(*it)->isHidden())
            if (auto* child = qobject_cast<TMDIChild*>((*it)->widget()))
                out << child;
    return out;
}

TMDIChild* TMainForm::activeChild() const
{
    QMdiSubWindow* sub = m_mdiArea->currentSubWindow();
    if (!sub || sub->isHidden())
        return nullptr;
    return qobject_cast<TMDIChild*>(sub->widget());
}

TMDIChild* TMainForm::CreateClassWindow(const QString& name)
{
    TMDIChild* child = newClassWindow(name);
    showClassWindow(child);
    return child;
}

TMDIChild* TMainForm::newClassWindow(const QString& name)
{
    auto* child = new TMDIChild(m_tools->shared());
    QMdiSubWindow* sub = m_mdiArea->addSubWindow(child);
    sub->setAttribute(Qt::WA_DeleteOnClose);
    sub->setWindowIcon(glyphs::icon(glyphs::Glyph::ClassGrid));
    child->setWindowTitle(filenames::lastComponent(name));
    connect(sub, &QObject::destroyed, this, &TMainForm::UpdateMenuItems, Qt::QueuedConnection);
    connect(&child->document(), &ClassDocument::changed, this, &TMainForm::updateHistoryCommands);
    connect(&child->document().history(), &ClassHistory::changed, this, &TMainForm::updateHistoryCommands);
    return child;
}

void TMainForm::showClassWindow(TMDIChild* child)
{
    auto* sub = qobject_cast<QMdiSubWindow*>(child->parentWidget());
    sub->show();
    m_mdiArea->setActiveSubWindow(sub);
    UpdateMenuItems();
}

void TMainForm::UpdateMenuItems()
{
    if (m_destroying)
        return;
    const bool open = !classWindows().isEmpty();
    for (QAction* command : std::as_const(m_classCommands))
        command->setEnabled(open);
    updateHistoryCommands();
}

void TMainForm::updateHistoryCommands()
{
    if (m_destroying)
        return;
    const TMDIChild* child = activeChild();
    // "&Annuler le tri" while there is a step to take back, "&Annuler" alone and disabled while there is none.
    const auto show = [](QAction* command, const QString& verb, bool enabled, const QString& step) {
        command->setText(enabled && !step.isEmpty() ? verb + QLatin1Char(' ') + step : verb);
        command->setEnabled(enabled);
    };
    show(action(QStringLiteral("UndoItem")), QStringLiteral("&Annuler"), child && child->canUndo(),
         child ? child->undoText() : QString());
    show(action(QStringLiteral("RedoItem")), QStringLiteral("&Rétablir"), child && child->canRedo(),
         child ? child->redoText() : QString());
}

void TMainForm::onActiveChild(const std::function<void(TMDIChild&)>& command)
{
    TMDIChild* child = activeChild();
    if (!child)
        return;
    const auto refresh = qScopeGuard([this] { UpdateMenuItems(); });
    command(*child);
}

void TMainForm::showModal(QDialog* dialog)
{
    seams().execModal(dialog);
    UpdateMenuItems();
}

// --- routing --------------------------------------------------------------------------

void TMainForm::FileNewItemClick()
{
    TMDIChild* child = CreateClassWindow(QStringLiteral("Classe") + QString::number(classWindows().size() + 1));
    child->Nouveau();
}

void TMainForm::FileOpenItemClick()
{
    const QString path = seams().openFileName(this, QStringLiteral("Fichiers classes (*.prf)|*.prf"));
    if (!path.isEmpty())
        openClassFile(path, true);
}

void TMainForm::openClassFile(const QString& path, bool chosen)
{
    // A class is shown in one window: opened again, through any name of its file, that window comes to the front.
    for (TMDIChild* shown : classWindows()) {
        if (filenames::sameFile(shown->fileName(), path)) {
            m_mdiArea->setActiveSubWindow(qobject_cast<QMdiSubWindow*>(shown->parentWidget()));
            return;
        }
    }
    // A file that is no class opens no window, whose saving would replace it. A name without a file is refused
    // on the command line, where it was mistyped; the open dialog offers only files that exist, and one gone since
    // opens as a new class of that name. The bytes read to tell are the bytes the class is loaded from.
    std::optional<QByteArray> bytes;
    if (!chosen || QFileInfo::exists(path)) {
        classfile::OpeningRead read = classfile::readToOpen(path);
        if (!read.refusal.isEmpty())
            throw PlatformError(read.refusal, {path});
        bytes = std::move(read.bytes);
    }
    // A kept version is only ever read; any other class is locked while it is open here, and one open elsewhere
    // is opened as the teacher answers. The lock is taken aside while the window is built, and known before the
    // window shows or the question is asked.
    ClassLock lock;
    QString note;
    bool readOnly = versions::isKept(path);
    std::future<ClassLock::Outcome> taking;
    if (readOnly) {
        note = QStringLiteral("%1 est une version conservée : elle est ouverte en lecture seule.")
                   .arg(filenames::lastComponent(path));
    } else {
        taking = lock.takeAside(path);
    }
    TMDIChild* child = newClassWindow(path);
    // Unless the class opens, the window goes with its frame, never shown.
    auto dropWindow = qScopeGuard([child] { delete child->parentWidget(); });
    if (taking.valid()) {
        switch (taking.get()) {
        case ClassLock::Outcome::Taken:
            break;
        case ClassLock::Outcome::Refused:
            note = ClassLock::refusedMessage(path);
            break;
        case ClassLock::Outcome::HeldElsewhere:
            if (const std::optional<ClassLock::Holder> holder = ClassLock::holderOf(path)) {
                const int answer = seams().message(this, Seams::MessageKind::Warning, QStringLiteral("Avertissement"),
                                                   ClassLock::heldMessage(path, *holder),
                                                   {QStringLiteral("Ouvrir en &lecture seule"),
                                                    QStringLiteral("Ouvrir &quand même"), QStringLiteral("&Annuler")},
                                                   0, 2);
                if (answer == 2)
                    return;
                readOnly = answer == 0;
            }
            break;
        }
    }
    dropWindow.dismiss();
    showClassWindow(child);
    child->document().lock() = std::move(lock);
    child->setReadOnly(readOnly);
    if (!note.isEmpty())
        seams().statusMessage(this, note);
    child->Charge(path, bytes);
}

void TMainForm::OpenClassFiles(const QStringList& paths)
{
    for (const QString& path : paths)
        errors::guarded(this, [&] { openClassFile(path, false); });
}

void TMainForm::FileCloseItemClick()
{
    if (QMdiSubWindow* sub = m_mdiArea->currentSubWindow())
        sub->close();
}

void TMainForm::FileSaveItemClick()
{
    onActiveChild([](TMDIChild& c) {
        c.Sauve();
        c.SauveTout();
    });
}

void TMainForm::FileSaveAsItemClick()
{
    onActiveChild([](TMDIChild& c) {
        c.SaveAs();
        c.Sauve();
        c.SauveTout();
    });
}

void TMainForm::FileExitItemClick()
{
    close();
}

void TMainForm::UndoItemClick()
{
    onActiveChild(&TMDIChild::Undo);
}

void TMainForm::RedoItemClick()
{
    onActiveChild(&TMDIChild::Redo);
}

void TMainForm::CopyItemClick()
{
    onActiveChild([this](TMDIChild& c) { c.Copier(m_copyBuffer); });
}

void TMainForm::PasteItemClick()
{
    onActiveChild([this](TMDIChild& c) { c.Coller(m_copyBuffer); });
}

void TMainForm::Imprimer1Click()
{
    onActiveChild([this](TMDIChild& c) {
        if (seams().printDialog(this, seams().printer()))
            c.Imprimer();
    });
}

// The other class commands: each one operation of the active class window.
// clang-format off
void TMainForm::Supprimerligne1Click() { onActiveChild(&TMDIChild::Supprimer); }
void TMainForm::Suoorimerphoto1Click() { onActiveChild(&TMDIChild::SupPhoto); }
void TMainForm::Gestiondesclasses1Click() { onActiveChild(&TMDIChild::Rubriques); }
void TMainForm::Ajustercolonnes1Click() { onActiveChild(&TMDIChild::Ajuster); }
void TMainForm::Trier1Click() { onActiveChild(&TMDIChild::Trier); }
void TMainForm::Calculermoyennes1Click() { onActiveChild(&TMDIChild::Moyennes); }
void TMainForm::Affichergraphique1Click() { onActiveChild(&TMDIChild::Graphique); }
void TMainForm::Suividunlve1Click() { onActiveChild(&TMDIChild::Suivi); }
void TMainForm::Datesdesdevoirsd1Click() { onActiveChild(&TMDIChild::DatesDevoirs); }
void TMainForm::PlandelaclasseClick() { onActiveChild(&TMDIChild::PlanClasse); }
void TMainForm::Classe1Click() { onActiveChild(&TMDIChild::Classe); }
void TMainForm::fiche1Click() { onActiveChild(&TMDIChild::Fiche); }
void TMainForm::Observations1Click() { onActiveChild(&TMDIChild::Observations); }
void TMainForm::Planning1Click() { onActiveChild(&TMDIChild::PlanningCours); }
void TMainForm::Exporterversuntableur1Click() { onActiveChild(&TMDIChild::Exporter); }
void TMainForm::Importerunelistedlves1Click() { onActiveChild(&TMDIChild::Importer); }
// clang-format on

void TMainForm::Versionsprcdentes1Click()
{
    onActiveChild([this](TMDIChild& c) {
        VersionsDialog dialog(c.fileName(), this);
        seams().execModal(&dialog);
        if (dialog.choice() == VersionsDialog::Choice::None)
            return;
        // Read before anything is saved: a save would move the versions down one place.
        const QString path = dialog.chosenPath();
        const QByteArray bytes = classfile::readFile(path);
        if (dialog.choice() == VersionsDialog::Choice::Restore) {
            c.Restaurer(bytes);
        } else {
            // A class never saved: its save asks for a name, and the file it came from stays as it is.
            TMDIChild* copy = CreateClassWindow(QStringLiteral("Copie de ") + filenames::lastComponent(path));
            copy->Restaurer(bytes);
        }
    });
}

void TMainForm::Configurerimprimante1Click()
{
    seams().printerSetupDialog(this, seams().printer());
}

void TMainForm::Calendrier1Click()
{
    showModal(m_tools->calendrier());
}

void TMainForm::Calculatrice1Click()
{
    showModal(m_tools->pocket());
}

void TMainForm::Horloge1Click()
{
    showModal(m_tools->horloge());
}

void TMainForm::Euroconversion1Click()
{
    showModal(m_tools->eurof());
}

void TMainForm::Blocnotes1Click()
{
    showModal(m_tools->blocnotes());
}

// --- window and help menus ------------------------------------------------------------

void TMainForm::WindowCascadeItemClick()
{
    m_mdiArea->cascadeSubWindows();
}

void TMainForm::WindowTileItemClick()
{
    m_mdiArea->tileSubWindows();
}

void TMainForm::WindowArrangeItemClick()
{
    // The minimised windows are lined up along the bottom of the frame's client area.
    int x = 0;
    const int bottom = m_mdiArea->viewport()->height();
    for (QMdiSubWindow* sub : m_mdiArea->subWindowList(QMdiArea::CreationOrder)) {
        if (!sub->isMinimized() || sub->isHidden())
            continue;
        const QSize size = sub->size();
        if (x > 0 && x + size.width() > m_mdiArea->viewport()->width())
            x = 0;
        sub->move(x, bottom - size.height());
        x += size.width();
    }
}

void TMainForm::WindowMinimizeItemClick()
{
    const QList<QMdiSubWindow*> subs = m_mdiArea->subWindowList(QMdiArea::CreationOrder);
    for (auto it = subs.rbegin(); it != subs.rend(); ++it)
        if (!(*it)->isHidden())
            (*it)->showMinimized();
}

void TMainForm::fillWindowMenu()
{
    qDeleteAll(m_windowListActions);
    m_windowListActions.clear();
    const QList<QMdiSubWindow*> subs = m_mdiArea->subWindowList(QMdiArea::CreationOrder);
    int n = 0;
    for (QMdiSubWindow* sub : subs) {
        if (sub->isHidden())
            continue;
        if (n == 0)
            m_windowListActions << m_windowMenu->addSeparator();
        ++n;
        QAction* entry = m_windowMenu->addAction(QStringLiteral("&%1 %2").arg(n).arg(sub->widget()->windowTitle()));
        entry->setCheckable(true);
        entry->setChecked(sub == m_mdiArea->currentSubWindow());
        connect(entry, &QAction::triggered, this, [this, sub] { m_mdiArea->setActiveSubWindow(sub); });
        m_windowListActions << entry;
    }
}

void TMainForm::HelpAboutItemClick()
{
    showModal(m_tools->aboutBox());
}

HelpWindow& TMainForm::helpWindow()
{
    // The help file lives in the start-up directory.
    if (!m_help)
        m_help = std::make_unique<HelpWindow>(QDir(m_startupDirectory).filePath(QStringLiteral("Virelan.hlp")));
    return *m_help;
}

void TMainForm::HContents()
{
    helpWindow().showContents();
}

void TMainForm::HSearch()
{
    helpWindow().showSearch(QString());
}

void TMainForm::HowToUse()
{
    helpWindow().showHelpOnHelp();
}

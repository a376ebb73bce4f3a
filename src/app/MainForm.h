#pragma once

#include <QMainWindow>
#include <QStringList>

#include <functional>
#include <memory>

namespace recovery {
struct Copy;
}

class HelpWindow;
class QAction;
class QDialog;
class QLabel;
class QMdiArea;
class QMdiSubWindow;
class QMenu;
class QTimer;
class QToolButton;
class RecoverySlot;
class RecoveryStore;
class TMDIChild;
class ToolWindows;

// The main frame: the class windows inside its client area, the menus, the tool bar and the status bar.
class TMainForm : public QMainWindow
{
    Q_OBJECT

public:
    explicit TMainForm(QWidget* parent = nullptr);
    ~TMainForm() override;

    // The class window of the frame's current child, or nullptr when none is open.
    TMDIChild* activeChild() const;
    QList<TMDIChild*> classWindows() const;
    TMDIChild* CreateClassWindow(const QString& name);
    // Opens each class file as "&Ouvrir..." opens the file chosen; a failure is reported and the next one opens.
    void OpenClassFiles(const QStringList& paths);
    void UpdateMenuItems();

    // The store of recovery copies of this run (none in a run that keeps none): from now on every class window,
    // the notepad and the phrases keep a copy there while they have changes not saved.
    void setRecovery(RecoveryStore* store);
    // At start-up, the copies that a run killed before it could save left: "Récupération" offers them; "&Récupérer"
    // opens each class as it was at its last change and puts back the notes and phrases, "&Ignorer" deletes them
    // once the teacher confirms.
    void offerRecovery();

    const QString& startupDirectory() const { return m_startupDirectory; }
    QStringList& copyBuffer() { return m_copyBuffer; }
    // The tool windows, built with the frame after it and destroyed with it.
    ToolWindows& toolWindows() const { return *m_tools; }
    // The help viewer, built when help is first asked for.
    HelpWindow& helpWindow();

    // Handlers of the menus and tool buttons.
    void FileNewItemClick();
    void FileOpenItemClick();
    void FileCloseItemClick();
    void FileSaveItemClick();
    void FileSaveAsItemClick();
    void FileExitItemClick();
    void UndoItemClick();
    void RedoItemClick();
    void CopyItemClick();
    void PasteItemClick();
    void Supprimerligne1Click();
    void Suoorimerphoto1Click();
    void Gestiondesclasses1Click();
    void Ajustercolonnes1Click();
    void Trier1Click();
    void Calculermoyennes1Click();
    void Affichergraphique1Click();
    void Suividunlve1Click();
    void Datesdesdevoirsd1Click();
    void PlandelaclasseClick();
    void Classe1Click();
    void fiche1Click();
    void Observations1Click();
    void Planning1Click();
    void Exporterversuntableur1Click();
    void Importerunelistedlves1Click();
    void Versionsprcdentes1Click();
    void Imprimer1Click();
    void Configurerimprimante1Click();
    void Calendrier1Click();
    void Calculatrice1Click();
    void Horloge1Click();
    void Euroconversion1Click();
    void Blocnotes1Click();
    void WindowCascadeItemClick();
    void WindowTileItemClick();
    void WindowArrangeItemClick();
    void WindowMinimizeItemClick();
    void HelpAboutItemClick();
    void HContents();
    void HSearch();
    void HowToUse();
    void DisplayHint(const QString& hint);
    void Timer1Timer();

    // The command of that menu entry, and the tool button of that name.
    QAction* action(const QString& objectName) const;
    QToolButton* button(const QString& objectName) const;
    QMdiArea* mdiArea() const { return m_mdiArea; }
    QLabel* statusPanel(int index) const;

protected:
    bool event(QEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void createActions();
    void createMenus();
    void createToolBar();
    void createStatusBar();
    void FormShow();
    // Writes the notepad and the phrases in the start-up directory; false keeps the frame open.
    bool FormClose();
    void showModal(QDialog* dialog);
    // A class window for the file, unless it is no class file (classfile::openRefusal); `chosen` in the open dialog.
    void openClassFile(const QString& path, bool chosen);
    // A class window in the frame, not shown yet; showClassWindow shows it in front.
    TMDIChild* newClassWindow(const QString& name);
    void showClassWindow(TMDIChild* child);
    void fillWindowMenu();
    // "&Annuler" and "&Rétablir" name what the active class window would take back or make again.
    void updateHistoryCommands();
    // The notes and phrases files of this run, in the start-up directory.
    QString startupFile(const QString& name) const;
    void restoreCopy(const QString& path, const recovery::Copy& copy);
    // Runs a class command on the active class window, then refreshes the menus (a modal window may have been
    // shown); nothing when no class window is open.
    void onActiveChild(const std::function<void(TMDIChild&)>& command);

    QMdiArea* m_mdiArea = nullptr;
    QWidget* m_speedPanel = nullptr;
    QLabel* m_statusPanels[2] = {nullptr, nullptr};
    QTimer* m_timer = nullptr;
    QMenu* m_windowMenu = nullptr;
    QList<QAction*> m_windowListActions;
    QList<QAction*> m_actions;
    // The commands enabled exactly while a class window is open.
    QList<QAction*> m_classCommands;
    QList<QToolButton*> m_buttons;
    std::unique_ptr<ToolWindows> m_tools;
    std::unique_ptr<HelpWindow> m_help;
    QStringList m_copyBuffer;
    QString m_startupDirectory;
    RecoveryStore* m_recovery = nullptr;
    RecoverySlot* m_notesCopy = nullptr;
    RecoverySlot* m_phrasesCopy = nullptr;
    bool m_shown = false;
    bool m_destroying = false;
};

#pragma once

#include "classbook/SharedWindows.h"
#include "core/PlatformError.h"
#include "model/ClassDocument.h"

#include <QStringList>
#include <QWidget>
#include <optional>

class CardPage;
class QStackedWidget;
class StringGrid;

// One open class, as its window shows it: the class grid page and the student card page over the class document,
// which holds the class, its file and its modified flag. The window asks the teacher's questions, shows the
// document and forwards every change to it.
class TMDIChild : public QWidget, private ClassDocument::View, private ClassStepView
{
    Q_OBJECT

public:
    static constexpr int GridCols = 32;
    static constexpr int GridRows = 64;
    static constexpr int StudentCount = 62;
    static constexpr int WindowFontPixels = 16;

    explicit TMDIChild(const SharedWindows& shared, QWidget* parent = nullptr);
    ~TMDIChild() override;

    // A window opens with a stand-in of its card page's sizes, and builds the card when first needed; the sizes are
    // measured once, on a card page built apart without its card. Measured while the program is idle, with the
    // face of the window's title bar looked up, they spare the first class opened that work.
    static void prepareFirstOpen();

    // --- the class ----------------------------------------------------------
    ClassDocument& document() { return m_document; }
    const ClassDocument& document() const { return m_document; }
    const QString& fileName() const { return m_document.fileName(); }
    const ClassTable& table() const { return m_document.table(); }
    const homework::List& ListeDevoirs() const { return m_document.ListeDevoirs(); }
    bool isModified() const { return m_document.isModified(); }
    // false: the class as it is now, typing included, is the one saved.
    void setModified(bool modified);
    // The class as a save would store it, the page in view included; the class itself stays as it is.
    ClassTable currentTable() const { return m_document.currentTable(); }

    // --- the view -------------------------------------------------------------
    StringGrid* grid() const { return m_grid; }
    // The card page, built the first time it is needed: a class opens on its grid, and most are never shown as cards.
    CardPage* card();
    bool isCardPage() const;
    int currentCard() const { return m_currentCard; }
    // The path of the card's photo; the card waits for its photo while it is being read.
    const QString& photoPath() const;
    bool photoPending() const;
    const QString& lastChosenPhrase() const { return m_lastChosenPhrase; }

    // --- transfers between the class table and the two views -----------------
    void EcritGrille();
    void LitGrille();
    void EcritFiche();
    void LitFiche();
    // The number normaliser: a text that reads as a number comes back in the form "#.00".
    static QString FormatNbr(const QString& text);

    // --- class files: the questions, then the document ------------------------
    void Nouveau();
    void Raz();
    // The class file's bytes may be handed over, read already.
    void Charge(const QString& path, const std::optional<QByteArray>& classFileBytes = std::nullopt);
    // A class opened read-only (open elsewhere, or a kept version) says so in its caption; "&Enregistrer" then
    // asks for another name, and the file read is never written.
    bool isReadOnly() const { return m_document.isReadOnly(); }
    void setReadOnly(bool readOnly);
    // Asks for a name (never that of a class read-only, and after a question when the class of that name is open
    // elsewhere); the class takes that file's lock.
    void SaveAs();
    void Sauve();
    // Puts the class a class file held (an earlier version, read beforehand) into the window in place of the
    // class shown, after the teacher has saved or given up the changes not saved; the class is then modified.
    void Restaurer(const QByteArray& classFileBytes);
    void SauveTout();
    // The question asked before the window closes; false keeps it open.
    bool FormCloseQuery();
    bool companionsWithoutFile() const { return m_document.companionsWithoutFile(); }
    // The question has been asked already (when the program quits): closing the window asks nothing more.
    void setCloseAsked() { m_closeAsked = true; }
    void FormClose();

    // --- pages and cards --------------------------------------------------------
    void Fiche();
    void Classe();
    void SpeedButton1Click();
    void SpeedButton2Click();
    void Image1Click();
    void LitPhoto();

    // --- analysis -------------------------------------------------------------
    void Rubriques();
    void Moyennes();
    void Graphique();
    void Suivi();

    // --- whole-class operations ------------------------------------------------
    void Trier();
    void Ajuster();
    void Supprimer();
    void SupPhoto();
    void Copier(QStringList& buffer);
    void Coller(const QStringList& buffer);
    // Commits a mark being typed in the grid; then the page in view goes into the class table.
    void finishCellEdit();
    void storeVisiblePage();

    // --- undo and redo -------------------------------------------------------------
    // What "Annuler" and "Rétablir" would do: typing in progress first, then the class's steps. The text follows
    // "Annuler" in the menu ("la saisie", "le tri").
    bool canUndo() const;
    bool canRedo() const;
    QString undoText() const;
    QString redoText() const;
    // Typing in progress becomes a step first; then the step is taken back or made again, shown where it was made.
    void Undo();
    void Redo();
    // A mark being typed is committed, a card field typed into or a photo being chosen becomes a step.
    void settleTyping();

    // --- printing ---------------------------------------------------------------
    void Imprimer();
    void ImprimFeuille();
    void ImprimFiche();

    // --- companions -------------------------------------------------------------
    void DatesDevoirs();
    void ChargeDevoir() { m_document.ChargeDevoir(); }
    void SauveDevoir() { m_document.SauveDevoir(); }
    void PlanClasse();
    void Observations();
    void PlanningCours();

    // --- spreadsheets ------------------------------------------------------------
    void Exporter();
    void Importer();

protected:
    void closeEvent(QCloseEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    void FormCreate();
    void buildGridPage();
    // The grid page's editing: every character typed marks the class changed, a full stop becoming a comma.
    void StringGrid1KeyPress(QChar& key);
    void Edit1KeyPress(QChar& key);
    void StringGrid1ColumnMoved(int from, int to);
    void FormKeyDown(int key);
    // LitFiche, then the card page in view with the focus in the surname.
    void showCard();
    // "Sauver modifications dans 6A.prf ?": 0 "&Oui", 1 "&Non", 2 "Annuler".
    int askSaveChanges();
    // The class shown again as the document read it from its files.
    void showLoaded();
    // Column 1 of student n's grid row: surname, a blank, first name.
    void showName(int n);
    // The grid's cells into the table, a mark being typed included.
    void gridInto(ClassTable& table) const;
    // The rubric cells of every row, as the table holds them (no number re-formatted), and every name.
    void showTableAsHeld();
    // An operation of the teacher's as one step, from where the teacher is.
    void asStep(const QString& text, const std::function<void()>& operation);
    ClassPlace place() const;
    // The typing on the card becomes a step with that text, when it changed the card.
    void settleCard(const QString& text = QStringLiteral("la saisie"));
    // What the card shows that its row does not hold, the photo apart.
    ClassChanges cardChanges() const;
    bool typingInProgress() const;
    void cellTyped(int col, int row, const QString& before);
    void photoChosen();
    // ClassStepView: the class shown again, exactly as held, where the step was made.
    void showStep(const ClassPlace& place, const ClassChanges& changes) override;
    // A photo that could not be shown by a step taken back or made again, raised once the step is done.
    void raiseStepFailure();
    // ClassDocument::View: the page in view and the grid's widths; the window's caption.
    void storeInto(ClassContents& contents) const override;
    QString caption() const override { return windowTitle(); }
    // While the teacher reads the card, the photos of the cards around it are decoded ahead.
    void readAhead();

    // The windows shared with every other class window, handed over by the frame.
    SharedWindows m_shared;
    ClassDocument m_document;
    QStackedWidget* m_notebook = nullptr;
    StringGrid* m_grid = nullptr;
    // Null until card() first builds it; until then the card is as a new one, empty and never typed into.
    CardPage* m_card = nullptr;
    QWidget* m_cardStandIn = nullptr;
    int m_currentCard = 0;
    QString m_lastChosenPhrase;
    std::optional<PlatformError> m_stepFailure;
    // Closing without asking again once the frame's quit has asked.
    bool m_closeAsked = false;
    // The frame around the window has been given its opening size.
    bool m_framed = false;
};

#pragma once

#include "classbook/SharedWindows.h"
#include "model/ClassTable.h"
#include "widgets/CrlfTextEdit.h"

#include <QElapsedTimer>
#include <QStringList>
#include <QWidget>
#include <array>
#include <cstdint>

class PhotoView;
class PlatformError;
class QFrame;
class QLabel;
class QLineEdit;
class QScrollArea;
class QStackedWidget;
class QToolButton;
class StringGrid;
namespace photofit {
struct Shown;
}

// One open class: its class table, the class grid page and the student card page over it,
// its homework list and its modified flag.
class TMDIChild : public QWidget
{
    Q_OBJECT

public:
    static constexpr int GridCols = 32;
    static constexpr int GridRows = 64;
    static constexpr int StudentCount = 62;

    explicit TMDIChild(const SharedWindows& shared, QWidget* parent = nullptr);
    ~TMDIChild() override;

    // --- the window's data -------------------------------------------------
    const QString& fileName() const { return m_fileName; }
    const QString& photoPath() const { return m_photoPath; }
    ClassTable& table() { return m_table; }
    const ClassTable& table() const { return m_table; }
    std::array<QString, 21>& ListeDevoirs() { return m_listeDevoirs; }
    int currentCard() const { return m_currentCard; }
    bool isModified() const { return m_modified; }
    void setModified(bool modified) { m_modified = modified; }
    const QString& lastChosenPhrase() const { return m_lastChosenPhrase; }
    bool isCardPage() const;
    // The card waits for its photo, which is being read.
    bool photoPending() const { return m_photoTicket != 0; }

    // --- transfers between the class table and the two views -----------------
    void EcritGrille();
    void LitGrille();
    void EcritFiche();
    void LitFiche();
    // The number normaliser: a text that reads as a number comes back in the form "#.00".
    static QString FormatNbr(const QString& text);

    // --- class files ---------------------------------------------------------
    void Nouveau();
    void Raz();
    void Charge(const QString& path);
    void SaveAs();
    void Sauve();
    void SauveTout();
    // The question asked before the window closes; false keeps it open.
    bool FormCloseQuery();
    // The plan or planning changed for this class while it has no name: closing it unsaved loses them.
    bool companionsWithoutFile() const;
    // The question has been asked already (when the program quits): closing the window asks nothing more.
    void setCloseAsked() { m_closeAsked = true; }
    void FormClose();

    // --- editing ------------------------------------------------------------
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

    // --- grid operations --------------------------------------------------------
    void Trier();
    void Ajuster();
    void Supprimer();
    void SupPhoto();
    void Copier(QStringList& buffer);
    void Coller(const QStringList& buffer);
    // Commits a mark being typed in the grid; then the visible page goes into the class table.
    void finishCellEdit();
    void storeVisiblePage();

    // --- printing ---------------------------------------------------------------
    void Imprimer();
    void ImprimFeuille();
    void ImprimFiche();

    // --- companions -------------------------------------------------------------
    void DatesDevoirs();
    void ChargeDevoir();
    void SauveDevoir();
    void PlanClasse();
    void Observations();
    void PlanningCours();

    // --- spreadsheets ------------------------------------------------------------
    // The class as a save would store it: the class table with the page in view copied over it; the window's
    // own table and modified flag stay as they are.
    ClassTable currentTable() const;
    void Exporter();
    void Importer();

    // --- controls ---------------------------------------------------------------
    QStackedWidget* Notebook1 = nullptr;
    StringGrid* StringGrid1 = nullptr;
    QWidget* CardPage = nullptr;
    QFrame* Panel1 = nullptr;
    QLabel* Panel1Caption = nullptr;
    QToolButton* SpeedButton1 = nullptr;
    QToolButton* SpeedButton2 = nullptr;
    QScrollArea* ScrollBox1 = nullptr;
    QLineEdit* Edit1 = nullptr;
    QLineEdit* Edit2 = nullptr;
    QLineEdit* Edit3 = nullptr;
    QLineEdit* Edit4 = nullptr;
    QLineEdit* Edit5 = nullptr;
    QLineEdit* Edit6 = nullptr;
    QLineEdit* Edit7 = nullptr;
    QLineEdit* Edit8 = nullptr;
    QLineEdit* Edit9 = nullptr;
    QLineEdit* Edit10 = nullptr;
    QLineEdit* Edit11 = nullptr;
    QLineEdit* Edit12 = nullptr;
    QLineEdit* Edit13 = nullptr;
    CrlfTextEdit* Memo1 = nullptr;
    QFrame* Panel2 = nullptr;
    PhotoView* Image1 = nullptr;

    // The card edit boxes in the order of their slots 33 to 43, then 46 and 47.
    QList<QLineEdit*> cardEdits() const;

protected:
    void closeEvent(QCloseEvent* event) override;
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void FormCreate();
    void buildGridPage();
    void buildCardPage();
    void StringGrid1KeyPress(QChar& key);
    void Edit1KeyPress(QChar& key);
    void FormKeyDown(int key);
    // LitFiche, then the card page in view with the focus in the surname.
    void showCard();
    void markModified() { m_modified = true; }
    void StringGrid1ColumnMoved(int from, int to);
    // The halves of EcritGrille and EcritFiche that copy a view into a table.
    void gridInto(ClassTable& table) const;
    void cardInto(ClassTable& table) const;
    // Column 1 of student n's grid row: surname, a blank, first name.
    void showName(int n);
    // The photo control back to the whole frame, empty, and the photo on its way no longer wanted.
    void forgetPhoto();
    void showPhoto(const photofit::Shown& shown);
    void photoRead(std::uint64_t ticket, const photofit::Shown* shown, const PlatformError* error);
    // A photo chosen that is still being read is read to the end now: whether it marks the class modified must be
    // known before the card is left, stored or saved.
    void settlePhotoChoice();
    // While the teacher reads the card, the photos of the cards around it are decoded ahead.
    void readAhead();

    // The windows shared with every other class window, handed over by the frame.
    SharedWindows m_shared;
    QString m_fileName;
    QString m_photoPath;
    // The photo the card waits for (0: none), and whether it was just chosen in the picture dialog.
    std::uint64_t m_photoTicket = 0;
    bool m_photoChosen = false;
    QElapsedTimer m_photoAsked;
    ClassTable m_table;
    std::array<QString, 21> m_listeDevoirs;
    int m_currentCard = 0;
    bool m_modified = false;
    QString m_lastChosenPhrase;
    // Set while the program itself fills the card, so that only the user's typing marks the class modified.
    bool m_filling = false;
    // Closing without asking again once the frame's quit has asked.
    bool m_closeAsked = false;
    // The frame around the window has been given its opening size.
    bool m_framed = false;
};

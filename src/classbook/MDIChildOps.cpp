#include "classbook/MDIChild.h"

#include "classbook/CardPage.h"
#include "classbook/CardPhoto.h"
#include "model/GridOps.h"
#include "widgets/StringGrid.h"

#include <QFontMetrics>

// Operations on the class as a whole: the model's grid operations on the document, then the window shows the class
// again. Each is one step of the class's history.

void TMDIChild::storeVisiblePage()
{
    if (isCardPage())
        EcritFiche();
    else
        EcritGrille();
}

void TMDIChild::Trier()
{
    // A card photo that fails to load in the redraw stops the command with its message; the class sorted is still
    // a step, offered for saving.
    asStep(QStringLiteral("le tri"), [this] {
        storeVisiblePage();
        m_document.change([](ClassContents& contents) { gridops::sortStudents(contents.table); });
        LitGrille();
        LitFiche();
    });
}

void TMDIChild::Ajuster()
{
    asStep(QStringLiteral("l'ajustement des colonnes"), [this] {
        const QFontMetrics metrics(font());
        for (int c = 2; c < m_grid->colCount(); ++c) {
            const int textWidth = metrics.horizontalAdvance(m_grid->cell(c, 0));
            m_grid->setColWidth(c, gridops::fittedWidth(m_grid->colWidth(c), textWidth));
        }
    });
}

void TMDIChild::Supprimer()
{
    if (!isCardPage())
        m_currentCard = m_grid->row() - 1;
    // The grid's current row is never a heading row, so there always is a student to delete.
    if (m_currentCard < 1 || m_currentCard > StudentCount)
        return;
    asStep(QStringLiteral("la suppression de l'élève"), [this] {
        storeVisiblePage();
        const int student = m_currentCard;
        m_document.change([student](ClassContents& contents) { gridops::deleteStudent(contents.table, student); });
        LitGrille();
        LitFiche();
    });
}

void TMDIChild::SupPhoto()
{
    if (!isCardPage())
        return;
    asStep(QStringLiteral("la suppression de la photo"), [this] { m_card->photo()->remove(); });
}

void TMDIChild::Copier(QStringList& buffer)
{
    buffer.clear();
    if (isCardPage()) {
        buffer = m_card->copiedTexts();
        return;
    }
    finishCellEdit();
    StringGrid::Range selected = m_grid->selection();
    if (selected.isSingleCell())
        selected = {2, 2, m_grid->colCount() - 1, m_grid->rowCount() - 1};
    buffer = gridops::copyCells([this](int c, int r) { return m_grid->cell(c, r); },
                                {selected.left, selected.top, selected.right, selected.bottom});
}

void TMDIChild::Coller(const QStringList& buffer)
{
    // A paste counts as a change even when nothing was pasted.
    asStep(QStringLiteral("le collage"), [this, &buffer] {
        if (isCardPage()) {
            QStringList texts = m_card->copiedTexts();
            m_card->pasteTexts(texts, gridops::pasteCard(texts, buffer));
        } else {
            gridops::pasteCells([this](int c, int r, const QString& text) { m_grid->setCell(c, r, text); },
                                m_grid->colCount(), m_grid->rowCount(), m_grid->col(), m_grid->row(), buffer);
        }
    });
}

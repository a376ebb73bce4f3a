#include "classbook/MDIChild.h"

#include "classbook/PhotoView.h"
#include "model/GridOps.h"
#include "widgets/StringGrid.h"

#include <QFontMetrics>
#include <QLineEdit>
#include <QPlainTextEdit>

// Operations on the class as a whole: sort, fit columns, delete, photo removal, copy and paste.

namespace {

// The card's texts in the order of a card copy: the eleven fields from "Nom" to "Métier envisagé".
QList<QLineEdit*> copiedEdits(const TMDIChild& child)
{
    return {child.Edit1, child.Edit2, child.Edit3, child.Edit4,  child.Edit5, child.Edit6,
            child.Edit7, child.Edit8, child.Edit9, child.Edit10, child.Edit11};
}

} // namespace

// A mark being typed belongs to the grid before the whole class is read from it, and must not come
// back over what a paste wrote into its cell.
void TMDIChild::finishCellEdit()
{
    if (StringGrid1->isEditing())
        StringGrid1->commitEdit();
}

void TMDIChild::storeVisiblePage()
{
    if (isCardPage()) {
        EcritFiche();
    } else {
        finishCellEdit();
        EcritGrille();
    }
}

void TMDIChild::Trier()
{
    storeVisiblePage();
    gridops::sortStudents(m_table);
    // Marked before the redraw: a card photo that fails to load there stops the command with its
    // message, and the changed class must still be offered for saving.
    m_modified = true;
    LitGrille();
    LitFiche();
}

void TMDIChild::Ajuster()
{
    const QFontMetrics metrics(font());
    for (int c = 2; c < StringGrid1->colCount(); ++c) {
        const int textWidth = metrics.horizontalAdvance(StringGrid1->cell(c, 0));
        StringGrid1->setColWidth(c, gridops::fittedWidth(StringGrid1->colWidth(c), textWidth));
    }
    m_modified = true;
}

void TMDIChild::Supprimer()
{
    if (!isCardPage())
        m_currentCard = StringGrid1->row() - 1;
    // The grid's current row is never a heading row, so there always is a student to delete.
    if (m_currentCard < 1 || m_currentCard > StudentCount)
        return;
    storeVisiblePage();
    gridops::deleteStudent(m_table, m_currentCard);
    m_modified = true; // before the redraw, as for the sort
    LitGrille();
    LitFiche();
}

void TMDIChild::SupPhoto()
{
    if (!isCardPage())
        return;
    forgetPhoto();
    m_photoPath.clear();
    m_modified = true;
}

void TMDIChild::Copier(QStringList& buffer)
{
    buffer.clear();
    if (isCardPage()) {
        for (const QLineEdit* edit : copiedEdits(*this))
            buffer << edit->text();
        buffer << Memo1->crlfText();
        return;
    }
    finishCellEdit();
    StringGrid::Range selected = StringGrid1->selection();
    if (selected.isSingleCell())
        selected = {2, 2, StringGrid1->colCount() - 1, StringGrid1->rowCount() - 1};
    buffer = gridops::copyCells([this](int c, int r) { return StringGrid1->cell(c, r); },
                                {selected.left, selected.top, selected.right, selected.bottom});
}

void TMDIChild::Coller(const QStringList& buffer)
{
    if (isCardPage()) {
        const QList<QLineEdit*> edits = copiedEdits(*this);
        QStringList texts;
        for (const QLineEdit* edit : edits)
            texts << edit->text();
        texts << Memo1->crlfText();
        const int pasted = gridops::pasteCard(texts, buffer);
        for (int i = 0; i < pasted && i < edits.size(); ++i)
            edits[i]->setText(texts[i]);
        if (pasted == gridops::CardItemCount)
            Memo1->setCrlfText(texts.last());
    } else {
        finishCellEdit();
        gridops::pasteCells([this](int c, int r, const QString& text) { StringGrid1->setCell(c, r, text); },
                            StringGrid1->colCount(), StringGrid1->rowCount(), StringGrid1->col(), StringGrid1->row(),
                            buffer);
    }
    m_modified = true;
}

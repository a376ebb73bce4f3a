#pragma once

#include <QAbstractScrollArea>
#include <QVector>
#include <functional>

class QLineEdit;

// A grid of texts with fixed rows at the top and fixed columns at the left that stay in view while the
// rest scrolls, as in a spreadsheet. Cells are addressed (column, row). Columns can be resized and moved
// with the mouse on the fixed rows, ranges selected, and the non-fixed cells edited in place.
class StringGrid : public QAbstractScrollArea
{
    Q_OBJECT

public:
    struct Range
    {
        int left = 0, top = 0, right = 0, bottom = 0;
        bool operator==(const Range&) const = default;
        bool isSingleCell() const { return left == right && top == bottom; }
    };

    enum Option
    {
        RangeSelect = 0x01,
        Editing = 0x02,
        ColSizing = 0x04,
        ColMoving = 0x08,
        Tabs = 0x10,
        AlwaysShowEditor = 0x20,
    };
    Q_DECLARE_FLAGS(Options, Option)

    StringGrid(int colCount, int rowCount, int fixedCols, int fixedRows, QWidget* parent = nullptr);

    int colCount() const { return m_colCount; }
    int rowCount() const { return m_rowCount; }
    int fixedCols() const { return m_fixedCols; }
    int fixedRows() const { return m_fixedRows; }
    void setRowCount(int rows);

    QString cell(int col, int row) const;
    void setCell(int col, int row, const QString& text);
    // The cell as the user sees it: what the cell editor would give it if the edit ended now, else its text.
    QString shownCell(int col, int row) const;

    int colWidth(int col) const;
    void setColWidth(int col, int width);
    void setDefaultColWidth(int width);
    int rowHeight(int row) const;
    void setDefaultRowHeight(int height);
    int gridLineWidth() const { return 1; }

    Options options() const { return m_options; }
    void setOptions(Options options) { m_options = options; }
    // The cells end in a Windows-1252 file: the cell editor refuses characters that the code page cannot hold.
    void setCp1252Only(bool on) { m_cp1252Only = on; }
    // The most characters typed or pasted into a cell's editor (0: no limit), as Cp1252Guard counts them.
    void setMaxEditLength(int length) { m_maxEditLength = length; }

    int col() const { return m_col; }
    int row() const { return m_row; }
    // Makes (col, row) the current cell and the selection that single cell.
    void setCurrent(int col, int row);
    // The selection, normalised so that left <= right and top <= bottom.
    Range selection() const;
    void setSelection(const Range& range);

    // Moves a column to another position, its cells and its width with it; the columns between shift.
    void moveColumn(int from, int to);

    bool isEditing() const;
    // Opens the cell editor on the current cell. A text that the cell's mask cannot show as it is (a word,
    // a number too large for the mask) is shown whole and selected, without the mask; a key that types or
    // deletes replaces it with what is typed through the mask.
    void startEditing(const QString& initialText = QString(), bool selectAll = true);
    // Closes the editor. The cell changes only when the user changed the editor's text, and then takes the
    // text as the editor showed it.
    void commitEdit();
    void cancelEdit();
    QLineEdit* editor() const { return m_editor; }

    // The cell's rectangle in viewport coordinates; empty when it is out of view.
    QRect cellRect(int col, int row) const;
    // The cell under a viewport point, (-1, -1) outside the cells.
    QPoint cellAt(const QPoint& pos) const;
    // The full width of the cells, grid lines included (what the grid would need to show every column).
    int totalWidth() const;

    // Hooks. The edit mask of a cell ("" for none); a typed character before it is handled
    // (it may be replaced, or set to QChar() to swallow it); painting after a cell's own painting.
    std::function<QString(int col, int row)> editMask;
    std::function<void(QChar& key)> keyPressHook;
    std::function<void(QPainter& painter, int col, int row, const QRect& rect)> drawCellHook;
    std::function<bool(int col, int row)> canEditCell;

signals:
    void columnMoved(int from, int to);
    void cellClicked(int col, int row);
    void currentChanged(int col, int row);
    // The cell editor closed on a cell; before: the cell's text as it opened.
    void cellEdited(int col, int row, const QString& before);
    // The cell editor closed with Escape: the cell keeps its text.
    void editCancelled(int col, int row);
    // The user changed the text in the cell editor: typed, deleted, pasted.
    void editorChanged(int col, int row);

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void scrollContentsBy(int dx, int dy) override;
    void keyPressEvent(QKeyEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    bool focusNextPrevChild(bool next) override;

private:
    // The selection and the scroll position, to find which cells a move of the selection repaints.
    struct SelectionView
    {
        Range range;
        int leftCol, topRow;
    };

    int colLeft(int col) const;
    int rowTop(int row) const;
    void updateScrollBars();
    // The part of the view that the cells of a range cover, grid lines included; empty when none is in view.
    QRect cellsArea(const Range& range) const;
    // Repaints the cells of a range that are in view.
    void updateCells(const Range& range);
    SelectionView selectionView() const;
    void updateSelectionChange(const SelectionView& before);
    void ensureVisible(int col, int row);
    void moveCurrent(int col, int row, bool extend);
    bool cellEditable(int col, int row) const;
    bool handleTypedChar(QKeyEvent* event);
    // Whether a key typed into an empty editor under the mask would be taken (a digit under "00,00") rather than
    // refused by it.
    bool maskTakes(const QString& mask, const QKeyEvent& key);
    // Puts a text into the editor, through the cell's mask when the mask can show it unchanged.
    void showInEditor(const QString& text);
    // Leaves a text the mask could not show for an empty editor under the mask.
    void enterMask();
    // A key for the editor's own handling; a text shown without its mask comes back when the key changed
    // nothing.
    void sendToEditor(const QKeyEvent& event);
    QString editorCellText() const;
    void placeCaretAfterText();
    void placeEditor();
    int resizeHandleAt(const QPoint& pos) const;

    int m_colCount, m_rowCount, m_fixedCols, m_fixedRows;
    QVector<QVector<QString>> m_cells; // [col][row]
    // Declared before the widths and heights it initialises.
    int m_defaultRowHeight = 24;
    QVector<int> m_colWidths;
    QVector<int> m_rowHeights;
    Options m_options = {};
    bool m_cp1252Only = false;
    int m_maxEditLength = 0;
    int m_col, m_row;
    int m_anchorCol, m_anchorRow;
    int m_leftCol, m_topRow;
    QLineEdit* m_editor = nullptr;
    // Never shown: tries a key under a mask before the editor opens for it.
    QLineEdit* m_maskProbe = nullptr;
    int m_editCol = -1, m_editRow = -1;
    QString m_editMask;
    // The text of the cell as the editor opened on it, and whether the mask could not show it.
    QString m_editOriginal;
    bool m_editUnmasked = false;
    // What the cell would take from the editor before the user changed anything.
    QString m_editBaseline;
    // The user changed the editor's text since it opened.
    bool m_editTyped = false;
    // The editor was opened by a typed character: the arrows then leave the cell, as for a row of marks.
    bool m_editByTyping = false;

    enum class Drag
    {
        None,
        Select,
        Resize,
        Move
    };
    Drag m_drag = Drag::None;
    int m_dragCol = -1;
    int m_dragStartX = 0;
    int m_dragStartWidth = 0;
    int m_moveTarget = -1;
    bool m_updatingBars = false;
};

Q_DECLARE_OPERATORS_FOR_FLAGS(StringGrid::Options)

#include "widgets/StringGrid.h"

#include "widgets/Cp1252Guard.h"
#include "widgets/Seams.h"

#include <QApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPainter>
#include <QScrollBar>
#include <algorithm>
#include <climits>
#include <limits>

namespace {

// A line of one pixel across or down, as the pen would draw it, filled as a rectangle: far cheaper for the
// hundreds of grid lines of a view.
void line(QPainter& p, const QPoint& from, const QPoint& to, const QColor& colour)
{
    if (from.y() == to.y() && to.x() >= from.x())
        p.fillRect(QRect(from.x(), from.y(), to.x() - from.x() + 1, 1), colour);
    else if (from.x() == to.x() && to.y() >= from.y())
        p.fillRect(QRect(from.x(), from.y(), 1, to.y() - from.y() + 1), colour);
    else {
        p.setPen(colour);
        p.drawLine(from, to);
    }
}

// A printable character typed on the grid or in its editor, Control and Alt aside.
bool isTypedChar(const QKeyEvent* event)
{
    const QString text = event->text();
    return text.size() == 1 && text[0].isPrint() && !(event->modifiers() & (Qt::ControlModifier | Qt::AltModifier));
}

} // namespace

StringGrid::StringGrid(int colCount, int rowCount, int fixedCols, int fixedRows, QWidget* parent)
    : QAbstractScrollArea(parent), m_colCount(colCount), m_rowCount(rowCount), m_fixedCols(fixedCols),
      m_fixedRows(fixedRows), m_cells(colCount, QVector<QString>(rowCount)), m_colWidths(colCount, 64),
      m_rowHeights(rowCount, m_defaultRowHeight), m_col(fixedCols), m_row(fixedRows), m_anchorCol(fixedCols),
      m_anchorRow(fixedRows), m_leftCol(fixedCols), m_topRow(fixedRows)
{
    setFocusPolicy(Qt::StrongFocus);
    setFrameShape(QFrame::Box);
    viewport()->setMouseTracking(true);
    horizontalScrollBar()->setSingleStep(1);
    verticalScrollBar()->setSingleStep(1);
    updateScrollBars();
}

void StringGrid::setRowCount(int rows)
{
    m_rowCount = rows;
    for (auto& column : m_cells)
        column.resize(rows);
    m_rowHeights.resize(rows);
    std::fill(m_rowHeights.begin(), m_rowHeights.end(), m_defaultRowHeight);
    m_row = std::min(std::max(m_row, m_fixedRows), rows - 1);
    m_anchorRow = m_row;
    updateScrollBars();
    viewport()->update();
}

QString StringGrid::cell(int col, int row) const
{
    if (col < 0 || col >= m_colCount || row < 0 || row >= m_rowCount)
        return {};
    return m_cells[col][row];
}

QString StringGrid::shownCell(int col, int row) const
{
    if (isEditing() && m_editTyped && col == m_editCol && row == m_editRow)
        return editorCellText();
    return cell(col, row);
}

void StringGrid::setCell(int col, int row, const QString& text)
{
    if (col < 0 || col >= m_colCount || row < 0 || row >= m_rowCount)
        return;
    m_cells[col][row] = text;
    updateCells({col, row, col, row});
}

int StringGrid::colWidth(int col) const
{
    return (col >= 0 && col < m_colCount) ? m_colWidths[col] : 0;
}

void StringGrid::setColWidth(int col, int width)
{
    if (col < 0 || col >= m_colCount)
        return;
    m_colWidths[col] = std::max(0, width);
    updateScrollBars();
    placeEditor();
    viewport()->update();
}

void StringGrid::setDefaultColWidth(int width)
{
    std::fill(m_colWidths.begin(), m_colWidths.end(), width);
    updateScrollBars();
    viewport()->update();
}

int StringGrid::rowHeight(int row) const
{
    return (row >= 0 && row < m_rowCount) ? m_rowHeights[row] : 0;
}

void StringGrid::setDefaultRowHeight(int height)
{
    m_defaultRowHeight = height;
    std::fill(m_rowHeights.begin(), m_rowHeights.end(), height);
    updateScrollBars();
    viewport()->update();
}

void StringGrid::setCurrent(int col, int row)
{
    col = std::clamp(col, m_fixedCols, m_colCount - 1);
    row = std::clamp(row, m_fixedRows, m_rowCount - 1);
    if (isEditing())
        commitEdit();
    const SelectionView before = selectionView();
    m_anchorCol = m_col = col;
    m_anchorRow = m_row = row;
    ensureVisible(col, row);
    updateSelectionChange(before);
    emit currentChanged(col, row);
}

StringGrid::Range StringGrid::selection() const
{
    return {std::min(m_col, m_anchorCol), std::min(m_row, m_anchorRow), std::max(m_col, m_anchorCol),
            std::max(m_row, m_anchorRow)};
}

void StringGrid::setSelection(const Range& range)
{
    const SelectionView before = selectionView();
    m_anchorCol = std::clamp(range.left, m_fixedCols, m_colCount - 1);
    m_anchorRow = std::clamp(range.top, m_fixedRows, m_rowCount - 1);
    m_col = std::clamp(range.right, m_fixedCols, m_colCount - 1);
    m_row = std::clamp(range.bottom, m_fixedRows, m_rowCount - 1);
    updateSelectionChange(before);
}

void StringGrid::moveColumn(int from, int to)
{
    if (from == to || from < 0 || to < 0 || from >= m_colCount || to >= m_colCount)
        return;
    auto cells = m_cells.takeAt(from);
    m_cells.insert(to, cells);
    const int width = m_colWidths.takeAt(from);
    m_colWidths.insert(to, width);
    updateScrollBars();
    viewport()->update();
}

int StringGrid::totalWidth() const
{
    int w = 0;
    for (int c = 0; c < m_colCount; ++c)
        w += m_colWidths[c] + gridLineWidth();
    return w;
}

// --- geometry -------------------------------------------------------------

int StringGrid::colLeft(int col) const
{
    int x = 0;
    if (col < m_fixedCols) {
        for (int c = 0; c < col; ++c)
            x += m_colWidths[c] + gridLineWidth();
        return x;
    }
    for (int c = 0; c < m_fixedCols; ++c)
        x += m_colWidths[c] + gridLineWidth();
    if (col < m_leftCol)
        return -1;
    for (int c = m_leftCol; c < col; ++c)
        x += m_colWidths[c] + gridLineWidth();
    return x;
}

int StringGrid::rowTop(int row) const
{
    int y = 0;
    if (row < m_fixedRows) {
        for (int r = 0; r < row; ++r)
            y += m_rowHeights[r] + gridLineWidth();
        return y;
    }
    for (int r = 0; r < m_fixedRows; ++r)
        y += m_rowHeights[r] + gridLineWidth();
    if (row < m_topRow)
        return -1;
    for (int r = m_topRow; r < row; ++r)
        y += m_rowHeights[r] + gridLineWidth();
    return y;
}

QRect StringGrid::cellRect(int col, int row) const
{
    if (col < 0 || col >= m_colCount || row < 0 || row >= m_rowCount)
        return {};
    const int x = colLeft(col);
    const int y = rowTop(row);
    if (x < 0 || y < 0)
        return {};
    return QRect(x, y, m_colWidths[col], m_rowHeights[row]);
}

QPoint StringGrid::cellAt(const QPoint& pos) const
{
    int col = -1, row = -1;
    for (int c = 0; c < m_colCount; ++c) {
        if (c >= m_fixedCols && c < m_leftCol)
            continue;
        const int x = colLeft(c);
        if (pos.x() >= x && pos.x() < x + m_colWidths[c] + gridLineWidth()) {
            col = c;
            break;
        }
        if (x > pos.x())
            break;
    }
    for (int r = 0; r < m_rowCount; ++r) {
        if (r >= m_fixedRows && r < m_topRow)
            continue;
        const int y = rowTop(r);
        if (pos.y() >= y && pos.y() < y + m_rowHeights[r] + gridLineWidth()) {
            row = r;
            break;
        }
        if (y > pos.y())
            break;
    }
    if (col < 0 || row < 0)
        return {-1, -1};
    return {col, row};
}

void StringGrid::updateScrollBars()
{
    // The last scroll position shows the last column (row) at the right (bottom) edge.
    const QSize view = viewport()->size();
    int fixedW = 0, fixedH = 0;
    for (int c = 0; c < m_fixedCols; ++c)
        fixedW += m_colWidths[c] + gridLineWidth();
    for (int r = 0; r < m_fixedRows; ++r)
        fixedH += m_rowHeights[r] + gridLineWidth();
    int maxLeft = m_colCount - 1, used = 0;
    for (int c = m_colCount - 1; c >= m_fixedCols; --c) {
        used += m_colWidths[c] + gridLineWidth();
        if (used > view.width() - fixedW)
            break;
        maxLeft = c;
    }
    int maxTop = m_rowCount - 1;
    used = 0;
    for (int r = m_rowCount - 1; r >= m_fixedRows; --r) {
        used += m_rowHeights[r] + gridLineWidth();
        if (used > view.height() - fixedH)
            break;
        maxTop = r;
    }
    maxLeft = std::max(maxLeft, m_fixedCols);
    maxTop = std::max(maxTop, m_fixedRows);
    horizontalScrollBar()->setRange(m_fixedCols, maxLeft);
    verticalScrollBar()->setRange(m_fixedRows, maxTop);
    horizontalScrollBar()->setPageStep(std::max(1, maxLeft - m_fixedCols));
    verticalScrollBar()->setPageStep(10);
    m_leftCol = std::clamp(m_leftCol, m_fixedCols, maxLeft);
    m_topRow = std::clamp(m_topRow, m_fixedRows, maxTop);
    // The bars follow the grid here, not the other way round.
    m_updatingBars = true;
    horizontalScrollBar()->setValue(m_leftCol);
    verticalScrollBar()->setValue(m_topRow);
    m_updatingBars = false;
}

void StringGrid::scrollContentsBy(int, int)
{
    if (m_updatingBars) {
        viewport()->update();
        return;
    }
    m_leftCol = horizontalScrollBar()->value();
    m_topRow = verticalScrollBar()->value();
    placeEditor();
    viewport()->update();
}

void StringGrid::resizeEvent(QResizeEvent* event)
{
    QAbstractScrollArea::resizeEvent(event);
    updateScrollBars();
    placeEditor();
}

void StringGrid::ensureVisible(int col, int row)
{
    const QSize view = viewport()->size();
    if (col >= m_fixedCols) {
        if (col < m_leftCol)
            m_leftCol = col;
        while (m_leftCol < col && colLeft(col) + m_colWidths[col] > view.width())
            ++m_leftCol;
    }
    if (row >= m_fixedRows) {
        if (row < m_topRow)
            m_topRow = row;
        while (m_topRow < row && rowTop(row) + m_rowHeights[row] > view.height())
            ++m_topRow;
    }
    updateScrollBars();
    placeEditor();
}

// --- painting -------------------------------------------------------------

QRect StringGrid::cellsArea(const Range& range) const
{
    int x0 = INT_MAX, x1 = INT_MIN, y0 = INT_MAX, y1 = INT_MIN;
    for (int c = std::max(range.left, 0); c <= range.right && c < m_colCount; ++c) {
        const int x = colLeft(c);
        if (x < 0)
            continue;
        x0 = std::min(x0, x);
        // The grid lines at the right and at the bottom are the cell's own.
        x1 = std::max(x1, x + m_colWidths[c]);
    }
    for (int r = std::max(range.top, 0); r <= range.bottom && r < m_rowCount; ++r) {
        const int y = rowTop(r);
        if (y < 0)
            continue;
        y0 = std::min(y0, y);
        y1 = std::max(y1, y + m_rowHeights[r]);
    }
    if (x0 > x1 || y0 > y1)
        return {};
    return QRect(QPoint(x0, y0), QPoint(x1, y1));
}

void StringGrid::updateCells(const Range& range)
{
    const QRect area = cellsArea(range);
    if (!area.isEmpty())
        viewport()->update(area);
}

StringGrid::SelectionView StringGrid::selectionView() const
{
    return {selection(), m_leftCol, m_topRow};
}

void StringGrid::updateSelectionChange(const SelectionView& before)
{
    // Scrolled: everything moved. Otherwise only the cells of the old and the new selection can look
    // different, the old and the new current cell among them.
    if (before.leftCol != m_leftCol || before.topRow != m_topRow) {
        viewport()->update();
        return;
    }
    viewport()->update(cellsArea(before.range) | cellsArea(selection()));
}

void StringGrid::paintEvent(QPaintEvent* event)
{
    // Only the cells that the event's region touches are drawn: a cell change, a move of the current
    // cell or a change of focus repaints a few cells, not the whole view.
    const QRegion& region = event->region();
    const QRect bounds = region.boundingRect();
    QPainter p(viewport());
    p.setFont(font());
    const QPalette& pal = palette();
    p.fillRect(bounds, pal.color(QPalette::Window));
    const Range sel = selection();
    const QColor fixedLine = pal.color(QPalette::Dark);
    const QColor cellLine = pal.color(QPalette::Midlight).darker(110);
    // The columns in view and where each starts, once for every row.
    QVector<std::pair<int, int>> columns;
    {
        int x = 0;
        for (int c = 0; c < m_colCount; ++c) {
            if (c >= m_fixedCols && c < m_leftCol)
                continue;
            if (x > viewport()->width())
                break;
            columns.append({c, x});
            x += m_colWidths[c] + gridLineWidth();
        }
    }
    int y = 0;
    for (int r = 0; r < m_rowCount; ++r) {
        if (r >= m_fixedRows && r < m_topRow)
            continue;
        if (y > viewport()->height())
            break;
        const int rowY = y;
        y += m_rowHeights[r] + gridLineWidth();
        if (rowY > bounds.bottom() || rowY + m_rowHeights[r] < bounds.top())
            continue;
        for (const auto& [c, x] : columns) {
            const QRect rect(x, rowY, m_colWidths[c], m_rowHeights[r]);
            if (!region.intersects(rect.adjusted(0, 0, 1, 1)))
                continue;
            const bool fixed = c < m_fixedCols || r < m_fixedRows;
            const bool selected = !fixed && c >= sel.left && c <= sel.right && r >= sel.top && r <= sel.bottom;
            const bool current = c == m_col && r == m_row;
            QColor back = fixed ? pal.color(QPalette::Button) : pal.color(QPalette::Base);
            QColor fore = fixed ? pal.color(QPalette::ButtonText) : pal.color(QPalette::Text);
            if (selected && !(current && hasFocus() && sel.isSingleCell())) {
                back = pal.color(QPalette::Highlight);
                fore = pal.color(QPalette::HighlightedText);
            }
            p.fillRect(rect, back);
            if (fixed) {
                const QColor light = pal.color(QPalette::Light);
                line(p, rect.topLeft(), rect.topRight(), light);
                line(p, rect.topLeft(), rect.bottomLeft(), light);
            }
            if (!m_cells[c][r].isEmpty()) {
                p.setPen(fore);
                p.setClipRect(rect);
                p.drawText(rect.adjusted(2, 2, -2, 0), Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine,
                           m_cells[c][r]);
                p.setClipping(false);
            }
            if (drawCellHook && !fixed) {
                p.save();
                drawCellHook(p, c, r, rect);
                p.restore();
            }
            const QColor& gridLine = fixed ? fixedLine : cellLine;
            line(p, QPoint(rect.right() + 1, rect.top()), QPoint(rect.right() + 1, rect.bottom() + 1), gridLine);
            line(p, QPoint(rect.left(), rect.bottom() + 1), QPoint(rect.right() + 1, rect.bottom() + 1), gridLine);
            if (current && hasFocus() && !isEditing()) {
                p.setPen(QPen(fore, 1, Qt::DotLine));
                p.drawRect(rect.adjusted(0, 0, -1, -1));
            }
        }
    }
    if (m_drag == Drag::Move && m_moveTarget >= 0) {
        const QRect target = cellRect(m_moveTarget, 0);
        if (target.isValid()) {
            p.setPen(QPen(pal.color(QPalette::Highlight), 3));
            const int x = m_moveTarget > m_dragCol ? target.right() + 1 : target.left();
            p.drawLine(x, 0, x, viewport()->height());
        }
    }
}

// Only the current cell shows the focus: its dotted frame, and its colour when it is the whole selection.
void StringGrid::focusInEvent(QFocusEvent* event)
{
    QAbstractScrollArea::focusInEvent(event);
    updateCells({m_col, m_row, m_col, m_row});
}

void StringGrid::focusOutEvent(QFocusEvent* event)
{
    QAbstractScrollArea::focusOutEvent(event);
    updateCells({m_col, m_row, m_col, m_row});
}

// --- editing --------------------------------------------------------------

bool StringGrid::cellEditable(int col, int row) const
{
    if (!(m_options & Editing) || col < m_fixedCols || row < m_fixedRows)
        return false;
    return !canEditCell || canEditCell(col, row);
}

bool StringGrid::isEditing() const
{
    return m_editor && m_editor->isVisible();
}

void StringGrid::startEditing(const QString& initialText, bool selectAll)
{
    if (!cellEditable(m_col, m_row))
        return;
    if (!m_editor) {
        m_editor = new QLineEdit(viewport());
        m_editor->setFrame(false);
        m_editor->installEventFilter(this);
        // The line edit also reports a key that its mask refused: only a real change counts.
        connect(m_editor, &QLineEdit::textEdited, this, [this] {
            if (!m_editTyped && editorCellText() == m_editBaseline)
                return;
            m_editTyped = true;
            emit editorChanged(m_editCol, m_editRow);
        });
        if (m_cp1252Only)
            Cp1252Guard::protect(m_editor, m_maxEditLength);
    }
    m_editCol = m_col;
    m_editRow = m_row;
    m_editTyped = false;
    m_editByTyping = false;
    m_editMask = editMask ? editMask(m_col, m_row) : QString();
    showInEditor(initialText.isNull() ? m_cells[m_col][m_row] : initialText);
    placeEditor();
    m_editor->show();
    m_editor->setFocus();
    if (selectAll || m_editUnmasked)
        m_editor->selectAll();
    else
        placeCaretAfterText();
}

void StringGrid::placeCaretAfterText()
{
    // Under a mask the end of the line is past the unfilled positions, where nothing can be typed: the caret
    // goes after the last character filled in.
    if (m_editor->inputMask().isEmpty()) {
        m_editor->end(false);
        return;
    }
    const QString shown = m_editor->displayText();
    qsizetype end = shown.size();
    while (end > 0 && !shown[end - 1].isLetterOrNumber())
        --end;
    m_editor->setCursorPosition(static_cast<int>(end));
}

void StringGrid::showInEditor(const QString& text)
{
    m_editOriginal = text;
    m_editor->setReadOnly(false);
    m_editor->setInputMask(m_editMask);
    m_editor->setText(text);
    m_editUnmasked = !m_editMask.isEmpty() && editorCellText() != text;
    if (m_editMask.isEmpty() || m_editUnmasked) {
        // Shown whole: the line edit would otherwise cut a long text.
        m_editor->setInputMask(QString());
        m_editor->setMaxLength(std::numeric_limits<int>::max());
        m_editor->setText(text);
        m_editor->setReadOnly(m_editUnmasked);
    }
    m_editBaseline = editorCellText();
}

void StringGrid::enterMask()
{
    m_editor->setReadOnly(false);
    m_editor->setInputMask(m_editMask);
    m_editor->setText(QString());
    m_editor->setCursorPosition(0);
    m_editUnmasked = false;
    m_editBaseline = editorCellText();
}

void StringGrid::sendToEditor(const QKeyEvent& event)
{
    const bool unmasked = m_editUnmasked;
    if (unmasked)
        enterMask();
    QKeyEvent copy(event.type(), event.key(), event.modifiers(), event.text());
    m_editor->removeEventFilter(this);
    QApplication::sendEvent(m_editor, &copy);
    m_editor->installEventFilter(this);
    if (unmasked && !m_editTyped) {
        showInEditor(m_editOriginal);
        m_editor->selectAll();
    }
}

QString StringGrid::editorCellText() const
{
    if (m_editor->inputMask().isEmpty())
        return m_editor->text();
    // The text as the editor shows it, where the mask's unfilled positions are blanks. The blanks that
    // change nothing go: at both ends and before the comma, with a comma that has no decimal after it; a text
    // without any digit is empty. A blank between the comma and a decimal stays, so that the cell never
    // reads as another number than the one shown ("12, 1" is not 12,1).
    const QString shown = m_editor->displayText();
    if (std::none_of(shown.begin(), shown.end(), [](QChar ch) { return ch.isDigit(); }))
        return {};
    const qsizetype comma = shown.indexOf(QLatin1Char(','));
    if (comma < 0)
        return shown.trimmed();
    QString whole = shown.left(comma);
    whole.remove(QLatin1Char(' '));
    QString decimals = shown.mid(comma + 1);
    while (decimals.endsWith(QLatin1Char(' ')))
        decimals.chop(1);
    return decimals.isEmpty() ? whole : whole + QLatin1Char(',') + decimals;
}

void StringGrid::placeEditor()
{
    if (!m_editor || m_editCol < 0)
        return;
    const QRect rect = cellRect(m_editCol, m_editRow);
    if (rect.isEmpty())
        m_editor->setGeometry(-1000, -1000, 10, 10);
    else
        m_editor->setGeometry(rect);
}

void StringGrid::commitEdit()
{
    if (!isEditing())
        return;
    const int col = m_editCol, row = m_editRow;
    const bool typed = m_editTyped;
    const QString text = editorCellText();
    const QString before = m_cells[col][row];
    m_editor->hide();
    m_editCol = m_editRow = -1;
    setFocus();
    if (typed)
        m_cells[col][row] = text;
    emit cellEdited(col, row, before);
    updateCells({col, row, col, row});
}

void StringGrid::cancelEdit()
{
    if (!isEditing())
        return;
    const Range edited{m_editCol, m_editRow, m_editCol, m_editRow};
    m_editor->hide();
    m_editCol = m_editRow = -1;
    setFocus();
    emit editCancelled(edited.left, edited.top);
    updateCells(edited);
}

bool StringGrid::handleTypedChar(QKeyEvent* event)
{
    if (!isTypedChar(event))
        return false;
    const QChar typed = event->text()[0];
    if (m_cp1252Only && !Cp1252Guard::acceptTyped(event->text()))
        return true;
    QChar key = typed;
    if (keyPressHook)
        keyPressHook(key);
    if (key.isNull())
        return true;
    if (!isEditing()) {
        if (!cellEditable(m_col, m_row))
            return true;
        // A key the mask refuses (a letter in a mark) leaves the cell as it is: opened for it, the editor would
        // show the cell emptied, and Return would store that.
        const QKeyEvent sent(QEvent::KeyPress, key == typed ? event->key() : 0, event->modifiers(), QString(key));
        if (const QString mask = editMask ? editMask(m_col, m_row) : QString();
            !mask.isEmpty() && !maskTakes(mask, sent)) {
            seams().beep();
            return true;
        }
        // What is typed replaces the cell.
        startEditing(QString(), true);
        m_editByTyping = true;
    }
    // The character has passed the hook already: the editor must not see it twice.
    sendToEditor(QKeyEvent(QEvent::KeyPress, key == typed ? event->key() : 0, event->modifiers(), QString(key)));
    return true;
}

bool StringGrid::maskTakes(const QString& mask, const QKeyEvent& key)
{
    if (!m_maskProbe) {
        m_maskProbe = new QLineEdit(this);
        m_maskProbe->hide();
    }
    m_maskProbe->setInputMask(mask);
    m_maskProbe->clear();
    m_maskProbe->setCursorPosition(0);
    const QString before = m_maskProbe->text();
    QKeyEvent copy(key.type(), key.key(), key.modifiers(), key.text());
    QCoreApplication::sendEvent(m_maskProbe, &copy);
    // A separator typed moves the caret past it without changing the text.
    return m_maskProbe->text() != before || m_maskProbe->cursorPosition() != 0;
}

bool StringGrid::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_editor && event->type() == QEvent::KeyPress) {
        auto* key = static_cast<QKeyEvent*>(event);
        switch (key->key()) {
        case Qt::Key_Escape:
            cancelEdit();
            return true;
        case Qt::Key_Return:
        case Qt::Key_Enter:
            commitEdit();
            return true;
        case Qt::Key_Left:
        case Qt::Key_Right:
            if (!m_editByTyping)
                break;
            [[fallthrough]];
        case Qt::Key_Up:
        case Qt::Key_Down:
        case Qt::Key_Tab:
        case Qt::Key_Backtab:
        case Qt::Key_PageUp:
        case Qt::Key_PageDown:
            commitEdit();
            keyPressEvent(key);
            return true;
        case Qt::Key_Backspace:
        case Qt::Key_Delete:
            if (m_editUnmasked && !(key->modifiers() & (Qt::ControlModifier | Qt::AltModifier))) {
                // The text the mask could not show is deleted whole.
                enterMask();
                m_editTyped = true;
                emit editorChanged(m_editCol, m_editRow);
                return true;
            }
            break;
        default:
            break;
        }
        if (isTypedChar(key))
            return handleTypedChar(key);
        if (m_editUnmasked && key->matches(QKeySequence::Paste)) {
            sendToEditor(*key);
            return true;
        }
        return false;
    }
    if (watched == m_editor && event->type() == QEvent::FocusOut) {
        // Another window coming to the front (a message, a menu) leaves the editor open; a click or a key
        // that takes the focus elsewhere in the window closes it.
        const Qt::FocusReason reason = static_cast<QFocusEvent*>(event)->reason();
        if (reason != Qt::PopupFocusReason && reason != Qt::ActiveWindowFocusReason && isEditing())
            commitEdit();
    }
    return QAbstractScrollArea::eventFilter(watched, event);
}

// --- keyboard ---------------------------------------------------------------

void StringGrid::moveCurrent(int col, int row, bool extend)
{
    col = std::clamp(col, m_fixedCols, m_colCount - 1);
    row = std::clamp(row, m_fixedRows, m_rowCount - 1);
    if (isEditing())
        commitEdit();
    const SelectionView before = selectionView();
    m_col = col;
    m_row = row;
    if (!extend || !(m_options & RangeSelect)) {
        m_anchorCol = col;
        m_anchorRow = row;
    }
    ensureVisible(col, row);
    updateSelectionChange(before);
    emit currentChanged(col, row);
}

void StringGrid::keyPressEvent(QKeyEvent* event)
{
    const bool shift = event->modifiers() & Qt::ShiftModifier;
    const int pageRows = std::max(1, viewport()->height() / (m_defaultRowHeight + gridLineWidth()) - m_fixedRows);
    switch (event->key()) {
    case Qt::Key_Left:
        moveCurrent(m_col - 1, m_row, shift);
        return;
    case Qt::Key_Right:
        moveCurrent(m_col + 1, m_row, shift);
        return;
    case Qt::Key_Up:
        moveCurrent(m_col, m_row - 1, shift);
        return;
    case Qt::Key_Down:
        moveCurrent(m_col, m_row + 1, shift);
        return;
    case Qt::Key_PageUp:
        moveCurrent(m_col, m_row - pageRows, shift);
        return;
    case Qt::Key_PageDown:
        moveCurrent(m_col, m_row + pageRows, shift);
        return;
    case Qt::Key_Home:
        moveCurrent(m_fixedCols, (event->modifiers() & Qt::ControlModifier) ? m_fixedRows : m_row, shift);
        return;
    case Qt::Key_End:
        moveCurrent(m_colCount - 1, (event->modifiers() & Qt::ControlModifier) ? m_rowCount - 1 : m_row, shift);
        return;
    case Qt::Key_Tab:
        if (m_options & Tabs) {
            if (m_col + 1 < m_colCount)
                moveCurrent(m_col + 1, m_row, false);
            else if (m_row + 1 < m_rowCount)
                moveCurrent(m_fixedCols, m_row + 1, false);
            return;
        }
        break;
    case Qt::Key_Backtab:
        if (m_options & Tabs) {
            if (m_col > m_fixedCols)
                moveCurrent(m_col - 1, m_row, false);
            else if (m_row > m_fixedRows)
                moveCurrent(m_colCount - 1, m_row - 1, false);
            return;
        }
        break;
    case Qt::Key_F2:
    case Qt::Key_Return:
    case Qt::Key_Enter:
        if (cellEditable(m_col, m_row)) {
            startEditing(QString(), false);
            return;
        }
        break;
    default:
        if (handleTypedChar(event))
            return;
        break;
    }
    QAbstractScrollArea::keyPressEvent(event);
}

bool StringGrid::focusNextPrevChild(bool next)
{
    if (m_options & Tabs)
        return false;
    return QAbstractScrollArea::focusNextPrevChild(next);
}

// --- mouse ------------------------------------------------------------------

int StringGrid::resizeHandleAt(const QPoint& pos) const
{
    if (!(m_options & ColSizing))
        return -1;
    int fixedH = 0;
    for (int r = 0; r < m_fixedRows; ++r)
        fixedH += m_rowHeights[r] + gridLineWidth();
    if (pos.y() >= fixedH)
        return -1;
    for (int c = 0; c < m_colCount; ++c) {
        const int x = colLeft(c);
        if (x < 0)
            continue;
        const int edge = x + m_colWidths[c];
        if (std::abs(pos.x() - edge) <= 3)
            return c;
    }
    return -1;
}

void StringGrid::mousePressEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton)
        return;
    setFocus();
    const QPoint pos = event->position().toPoint();
    const int handle = resizeHandleAt(pos);
    if (handle >= 0) {
        m_drag = Drag::Resize;
        m_dragCol = handle;
        m_dragStartX = pos.x();
        m_dragStartWidth = m_colWidths[handle];
        return;
    }
    const QPoint cell = cellAt(pos);
    if (cell.x() < 0)
        return;
    if (cell.y() < m_fixedRows) {
        if ((m_options & ColMoving) && cell.x() >= m_fixedCols) {
            m_drag = Drag::Move;
            m_dragCol = cell.x();
            m_moveTarget = cell.x();
        }
        return;
    }
    if (cell.x() < m_fixedCols)
        return;
    const bool extend = (event->modifiers() & Qt::ShiftModifier) && (m_options & RangeSelect);
    moveCurrent(cell.x(), cell.y(), extend);
    m_drag = Drag::Select;
    emit cellClicked(cell.x(), cell.y());
}

void StringGrid::mouseMoveEvent(QMouseEvent* event)
{
    const QPoint pos = event->position().toPoint();
    switch (m_drag) {
    case Drag::None:
        viewport()->setCursor(resizeHandleAt(pos) >= 0 ? Qt::SplitHCursor : Qt::ArrowCursor);
        break;
    case Drag::Resize:
        setColWidth(m_dragCol, std::max(0, m_dragStartWidth + pos.x() - m_dragStartX));
        break;
    case Drag::Move: {
        const QPoint cell = cellAt(QPoint(pos.x(), 0));
        if (cell.x() >= m_fixedCols && cell.x() != m_moveTarget) {
            m_moveTarget = cell.x();
            viewport()->update();
        }
        break;
    }
    case Drag::Select: {
        const QPoint cell = cellAt(pos);
        if (cell.x() >= m_fixedCols && cell.y() >= m_fixedRows && (m_options & RangeSelect) &&
            (cell.x() != m_col || cell.y() != m_row))
            moveCurrent(cell.x(), cell.y(), true);
        break;
    }
    }
}

void StringGrid::mouseReleaseEvent(QMouseEvent*)
{
    const Drag drag = m_drag;
    m_drag = Drag::None;
    if (drag == Drag::Move && m_moveTarget >= m_fixedCols && m_moveTarget != m_dragCol) {
        const int from = m_dragCol, to = m_moveTarget;
        moveColumn(from, to);
        emit columnMoved(from, to);
    }
    m_moveTarget = -1;
    // The line that showed where the column would go is gone.
    if (drag == Drag::Move)
        viewport()->update();
}

void StringGrid::mouseDoubleClickEvent(QMouseEvent* event)
{
    const QPoint cell = cellAt(event->position().toPoint());
    if (cell.x() == m_col && cell.y() == m_row && cellEditable(m_col, m_row))
        startEditing(QString(), false);
}

#include "analysis/Rub.h"

#include "model/ClassFile.h"
#include "widgets/Fonts.h"
#include "widgets/StringGrid.h"

#include <QFrame>
#include <QKeyEvent>
#include <QPushButton>
#include <QStyle>
#include <algorithm>

namespace {

constexpr int DesignedWidth = 334;
constexpr int DesignedHeight = 343;
constexpr int PanelHeight = 33;
constexpr int RubricCount = 30;

} // namespace

TRub::TRub(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                          Qt::WindowCloseButtonHint)
{
    setObjectName(QStringLiteral("Rub"));
    setWindowTitle(QStringLiteral("Définition des rubriques"));
    setFont(fonts::msSansSerif(13));
    setFixedSize(DesignedWidth, DesignedHeight);

    Panel1 = new QFrame(this);
    Panel1->setObjectName(QStringLiteral("Panel1"));
    Panel1->setFrameShape(QFrame::Panel);
    Panel1->setFrameShadow(QFrame::Raised);
    Panel1->setGeometry(0, 0, DesignedWidth, PanelHeight);

    Button1 = new QPushButton(QStringLiteral("Fermer"), Panel1);
    Button1->setObjectName(QStringLiteral("Button1"));
    Button1->setGeometry(223, 4, 75, 25);
    // Enter belongs to the grid's cell editing; it must never close the dialog behind the user's back.
    Button1->setAutoDefault(false);
    Button1->setDefault(false);
    connect(Button1, &QPushButton::clicked, this, &TRub::Button1Click);

    StringGrid1 = new StringGrid(3, 32, 1, 1, this);
    StringGrid1->setObjectName(QStringLiteral("StringGrid1"));
    StringGrid1->setGeometry(0, PanelHeight, DesignedWidth, DesignedHeight - PanelHeight);
    StringGrid1->setDefaultRowHeight(24);
    StringGrid1->setColWidth(0, 32);
    StringGrid1->setColWidth(1, 204);
    StringGrid1->setColWidth(2, 64);
    StringGrid1->setOptions(StringGrid::RangeSelect | StringGrid::Editing | StringGrid::Tabs);
    StringGrid1->setCp1252Only(true);
    // A heading or a coefficient is a text of the class file.
    StringGrid1->setMaxEditLength(classfile::MaxText);
    setFocusProxy(StringGrid1);
}

void TRub::Init(const StringGrid& grid)
{
    StringGrid1->cancelEdit();
    StringGrid1->setCell(1, 0, QStringLiteral("Rubrique"));
    StringGrid1->setCell(2, 0, QStringLiteral("Coefficient"));
    StringGrid1->setColWidth(0, 32);
    for (int r = 1; r <= RubricCount; ++r)
        StringGrid1->setCell(0, r, QString::number(r));
    for (int c = 2; c < grid.colCount(); ++c) {
        StringGrid1->setCell(1, c - 1, grid.cell(c, 0));
        StringGrid1->setCell(2, c - 1, grid.cell(c, 1));
    }
}

void TRub::Result(StringGrid& grid)
{
    for (int c = 2; c < grid.colCount(); ++c) {
        grid.setCell(c, 0, StringGrid1->cell(1, c - 1));
        grid.setCell(c, 1, StringGrid1->cell(2, c - 1));
    }
}

void TRub::showEvent(QShowEvent* event)
{
    FormShow();
    QDialog::showEvent(event);
    StringGrid1->setFocus(Qt::OtherFocusReason);
}

// The dialog keeps its designed width, which shows the three columns beside the grid's vertical scroll bar,
// and only grows should the columns ever need more; showing it again never changes its size.
void TRub::FormShow()
{
    const int scrollBar = StringGrid1->style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, StringGrid1);
    const int needed = StringGrid1->totalWidth() + 2 * StringGrid1->frameWidth() + scrollBar;
    const int width = std::max(DesignedWidth, needed);
    if (width != this->width()) {
        setFixedSize(width, DesignedHeight);
        Panel1->setGeometry(0, 0, width, PanelHeight);
        StringGrid1->setGeometry(0, PanelHeight, width, DesignedHeight - PanelHeight);
    }
}

void TRub::Button1Click()
{
    close();
}

// Every way of closing ends here (the button, the close box): a cell still being typed into keeps what the
// user sees, since closing always applies the dialog.
void TRub::done(int result)
{
    StringGrid1->commitEdit();
    QDialog::done(result);
}

void TRub::keyPressEvent(QKeyEvent* event)
{
    // Escape would look like a way to cancel, which this dialog does not have: closing always applies.
    if (event->key() == Qt::Key_Escape) {
        event->accept();
        return;
    }
    QDialog::keyPressEvent(event);
}

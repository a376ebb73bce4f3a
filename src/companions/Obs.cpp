#include "companions/Obs.h"

#include "widgets/Cp1252Guard.h"
#include "widgets/ErrorHandler.h"
#include "widgets/Fonts.h"

#include <QApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QScreen>
#include <QStyledItemDelegate>

namespace {

const QString FileName = QStringLiteral("Virelan.obs");

// The list box shows one phrase per 16-pixel line, whatever the font asks for.
class SixteenPixelLines : public QStyledItemDelegate
{
public:
    using QStyledItemDelegate::QStyledItemDelegate;
    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override
    {
        return {QStyledItemDelegate::sizeHint(option, index).width(), 16};
    }
};

} // namespace

TObs::TObs(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                          Qt::WindowCloseButtonHint)
{
    setObjectName(QStringLiteral("Obs"));
    setWindowTitle(QStringLiteral("Observations"));
    setFixedSize(446, 343);
    setFont(fonts::msSansSerif(14));

    Edit1 = new QLineEdit(this);
    Edit1->setObjectName(QStringLiteral("Edit1"));
    Edit1->setGeometry(0, 4, 337, 24);
    Edit1->installEventFilter(this);
    Cp1252Guard::protect(Edit1);

    ListBox1 = new QListWidget(this);
    ListBox1->setObjectName(QStringLiteral("ListBox1"));
    ListBox1->setGeometry(0, 32, 337, 311);
    ListBox1->setSelectionMode(QAbstractItemView::SingleSelection);
    ListBox1->setUniformItemSizes(true);
    ListBox1->setItemDelegate(new SixteenPixelLines(ListBox1));
    ListBox1->installEventFilter(this);
    connect(ListBox1, &QListWidget::itemSelectionChanged, this, [this] {
        if (!m_updating)
            ListBox1Click();
    });

    Button3 = makeButton(QStringLiteral("Ajouter"), 360, 8, &TObs::Button3Click);
    Button3->setObjectName(QStringLiteral("Button3"));
    Button4 = makeButton(QStringLiteral("Supprimer"), 360, 48, &TObs::Button4Click);
    Button4->setObjectName(QStringLiteral("Button4"));
    Button2 = makeButton(QStringLiteral("Copier"), 352, 184, &TObs::Button2Click);
    Button2->setObjectName(QStringLiteral("Button2"));
    Button1 = makeButton(QStringLiteral("Fermer"), 352, 224, &TObs::Button1Click);
    Button1->setObjectName(QStringLiteral("Button1"));
}

QPushButton* TObs::makeButton(const QString& caption, int left, int top, void (TObs::*handler)())
{
    auto* button = new QPushButton(caption, this);
    button->setGeometry(left, top, 75, 25);
    // No button is the dialog's default: Enter belongs to the edit box, and elsewhere presses only the
    // button that has the focus (see keyPressEvent).
    button->setAutoDefault(false);
    connect(button, &QPushButton::clicked, this, handler);
    return button;
}

void TObs::Charge()
{
    m_list.load(FileName);
    showPhrases();
}

PhraseList TObs::read()
{
    PhraseList list;
    list.load(FileName);
    return list;
}

void TObs::setList(const PhraseList& list)
{
    m_list = list;
    showPhrases();
}

void TObs::Sauve()
{
    m_list.save(FileName, [this](const QString& file) { return errors::mayReplace(this, file); });
}

void TObs::restore(const QStringList& phrases)
{
    m_list.restore(phrases);
    showPhrases();
}

void TObs::Result(QString& phrase)
{
    if (!m_chosen.isEmpty())
        phrase = m_chosen;
}

void TObs::FormShow()
{
    m_chosen.clear();
}

void TObs::ListBox1Click()
{
    const int row = selectedRow();
    if (row >= 0)
        Edit1->setText(m_list.phrases().at(row));
}

void TObs::Button1Click()
{
    close();
}

void TObs::Button2Click()
{
    const int row = selectedRow();
    if (row >= 0)
        m_chosen = m_list.phrases().at(row);
}

void TObs::Button3Click()
{
    Edit1->clear();
    selectNothing();
}

void TObs::Button4Click()
{
    if (m_list.count() == 0)
        return;
    const int row = selectedRow();
    m_list.remove(row);
    m_updating = true;
    if (row >= 0)
        delete ListBox1->takeItem(row);
    m_updating = false;
    selectNothing();
    emit edited();
}

void TObs::Edit1KeyPress(QChar& key)
{
    if (key != QLatin1Char('\r'))
        return;
    key = QChar();
    const int row = selectedRow();
    if (row < 0) {
        m_list.append(Edit1->text());
        m_updating = true;
        ListBox1->addItem(m_list.phrases().last());
        m_updating = false;
    } else {
        m_list.replace(row, Edit1->text());
        ListBox1->item(row)->setText(m_list.phrases().at(row));
    }
    emit edited();
}

void TObs::ListBox1KeyDown(int key)
{
    if (key == DeleteKey)
        Button4Click();
}

bool TObs::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::KeyPress) {
        auto* keyEvent = static_cast<QKeyEvent*>(event);
        if (watched == Edit1 && (keyEvent->key() == Qt::Key_Return || keyEvent->key() == Qt::Key_Enter)) {
            QChar key = QLatin1Char('\r');
            Edit1KeyPress(key);
            return true;
        }
        if (watched == ListBox1 && keyEvent->key() == Qt::Key_Delete) {
            ListBox1KeyDown(DeleteKey);
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

void TObs::keyPressEvent(QKeyEvent* event)
{
    switch (event->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
        // Enter presses the button that has the focus and nothing else.
        if (auto* button = qobject_cast<QPushButton*>(focusWidget()))
            button->click();
        event->accept();
        return;
    case Qt::Key_Escape:
        // The dialog has no cancel button: Escape leaves it open, only "Fermer" and the close box close it.
        event->accept();
        return;
    default:
        QDialog::keyPressEvent(event);
    }
}

void TObs::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    if (QScreen* screen = QApplication::primaryScreen()) {
        QRect frame = frameGeometry();
        frame.moveCenter(screen->availableGeometry().center());
        move(frame.topLeft());
    }
    FormShow();
}

int TObs::selectedRow() const
{
    const QList<QListWidgetItem*> selected = ListBox1->selectedItems();
    return selected.isEmpty() ? -1 : ListBox1->row(selected.first());
}

void TObs::selectNothing()
{
    m_updating = true;
    ListBox1->clearSelection();
    ListBox1->setCurrentRow(-1);
    m_updating = false;
}

void TObs::showPhrases()
{
    m_updating = true;
    ListBox1->clear();
    ListBox1->addItems(m_list.phrases());
    m_updating = false;
}

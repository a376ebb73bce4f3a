#include "classbook/MDIChild.h"

#include "classbook/CardPage.h"
#include "classbook/CardPhoto.h"
#include "companions/Plan.h"
#include "companions/Planning.h"
#include "model/PhotoCache.h"
#include "widgets/ErrorHandler.h"
#include "widgets/Fonts.h"
#include "widgets/StringGrid.h"

#include <QApplication>
#include <QCloseEvent>
#include <QFontMetrics>
#include <QLineEdit>
#include <QMdiSubWindow>
#include <QStackedWidget>
#include <QVBoxLayout>
#include <optional>
#include <utility>

// The class window: its two pages over the class document, the moves between them and between cards.

namespace {

SharedCompanions companionsOf(const SharedWindows& shared)
{
    return {shared.Planning ? &shared.Planning->sharing() : nullptr, shared.Plan ? &shared.Plan->sharing() : nullptr};
}

// The class's photos from the card after `card` to the last, then from the first: where the teacher is heading.
QStringList photosFrom(const ClassTable& table, int card)
{
    QStringList photos;
    for (int n = 0; n < TMDIChild::StudentCount; ++n)
        if (const QString& photo = table.at((card + n) % TMDIChild::StudentCount + 1, ClassTable::Photo);
            !photo.isEmpty())
            photos << photo;
    return photos;
}

// The card page's size hints as it is built, before it is first shown, in a window's font.
struct CardHints
{
    QFont font;
    QSize hint;
    QSize minimum;
};

// Measured once, on a card page built apart without its card, and again only for another font.
const CardHints& cardHints(const QFont& font)
{
    static std::optional<CardHints> hints;
    if (!hints || hints->font != font) {
        QWidget window;
        window.setFont(font);
        const CardPage card(CardPage::FrameOnly{}, &window);
        hints = CardHints{font, card.sizeHint(), card.minimumSizeHint()};
    }
    return *hints;
}

// Stands for the card page until it is built: the window is then placed, laid out and bounded as with its card.
class CardStandIn : public QWidget
{
public:
    CardStandIn(const CardHints& hints, QWidget* parent) : QWidget(parent), m_hint(hints.hint), m_minimum(hints.minimum)
    {
    }
    QSize sizeHint() const override { return m_hint; }
    QSize minimumSizeHint() const override { return m_minimum; }

private:
    QSize m_hint;
    QSize m_minimum;
};

} // namespace

void TMDIChild::prepareFirstOpen()
{
    cardHints(fonts::system(WindowFontPixels));
    // The window's title bar, Qt's own, shapes the class's name in Qt's font for title bars.
    QFontMetrics(QApplication::font("QMdiSubWindowTitleBar")).horizontalAdvance(QStringLiteral("classe.prf"));
}

TMDIChild::TMDIChild(const SharedWindows& shared, QWidget* parent)
    : QWidget(parent), m_shared(shared), m_document(companionsOf(shared))
{
    setFont(fonts::system(WindowFontPixels));
    resize(620, 402);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    m_notebook = new QStackedWidget(this);
    m_notebook->setObjectName(QStringLiteral("Notebook1"));
    layout->addWidget(m_notebook);
    buildGridPage();
    m_cardStandIn = new CardStandIn(cardHints(font()), m_notebook);
    m_notebook->addWidget(m_cardStandIn);
    m_document.setView(this);
    m_document.setStepView(this);
    m_document.setMayReplace([this](const QString& file) { return errors::mayReplace(this, file); });
    connect(&m_document, &ClassDocument::loaded, this, &TMDIChild::showLoaded);
    connect(&m_document, &ClassDocument::loaded, this, [this] {
        if (m_shared.Photos)
            m_shared.Photos->storeAhead(this, photosFrom(table(), 0));
    });
    if (m_shared.Recovery)
        m_document.keepRecoveryCopies(*m_shared.Recovery);
    FormCreate();
}

TMDIChild::~TMDIChild()
{
    // The pages go first, the photo on its way with them; then the document leaves its plan and planning.
    m_document.setView(nullptr);
    m_document.setStepView(nullptr);
    delete m_notebook;
}

CardPage* TMDIChild::card()
{
    if (m_card)
        return m_card;
    // In the window: every control takes the window's font as it is created, once. It takes its stand-in's place.
    m_card = new CardPage(m_shared.Photos, m_notebook);
    m_notebook->insertWidget(m_notebook->indexOf(m_cardStandIn), m_card);
    delete std::exchange(m_cardStandIn, nullptr);
    m_card->keyPressHook = [this](int field, QChar& key) {
        if (field == 3)
            StringGrid1KeyPress(key);
        else
            Edit1KeyPress(key);
    };
    connect(m_card, &CardPage::edited, this, [this] { m_document.change(); });
    // A field left after typing: what it now holds is one step.
    connect(m_card, &CardPage::typingLeft, this, [this] { settleCard(); });
    connect(m_card, &CardPage::previous, this, [this] { errors::guarded(this, [this] { SpeedButton1Click(); }); });
    connect(m_card, &CardPage::next, this, [this] { errors::guarded(this, [this] { SpeedButton2Click(); }); });
    connect(m_card, &CardPage::pageKey, this, [this](int key) { errors::guarded(this, [&] { FormKeyDown(key); }); });
    connect(m_card, &CardPage::photoClicked, this, [this] { errors::guarded(this, [this] { Image1Click(); }); });
    CardPhoto* photo = m_card->photo();
    connect(photo, &CardPhoto::chosenShown, this, &TMDIChild::photoChosen);
    connect(photo, &CardPhoto::came, this, [this] {
        if (isCardPage())
            readAhead();
    });
    return m_card;
}

void TMDIChild::FormCreate()
{
    m_document.setModified(false);
    m_notebook->setCurrentWidget(m_grid);
    for (int c = 2; c < m_grid->colCount(); ++c)
        m_grid->setCell(c, 0, QString::number(c - 1));
    for (int c = 2; c < m_grid->colCount(); ++c)
        m_grid->setCell(c, 1, QStringLiteral("1"));
    for (int g = 2; g < m_grid->rowCount(); ++g)
        m_grid->setCell(0, g, QString::number(g - 1));
    m_grid->setColWidth(1, ClassContents::NamesWidth);
    m_grid->setCell(1, 0, QStringLiteral("                 Rubriques"));
    m_grid->setCell(1, 1, QStringLiteral("Elèves \\ Coefficients"));
}

bool TMDIChild::isCardPage() const
{
    return m_card && m_notebook->currentWidget() == m_card;
}

const QString& TMDIChild::photoPath() const
{
    static const QString none;
    return m_card ? m_card->photo()->path() : none;
}

bool TMDIChild::photoPending() const
{
    return m_card && m_card->photo()->pending();
}

void TMDIChild::storeInto(ClassContents& contents) const
{
    if (isCardPage()) {
        if (m_currentCard >= 1 && m_currentCard <= StudentCount)
            m_card->storeInto(contents.table, m_currentCard);
    } else {
        gridInto(contents.table);
    }
    for (int c = 1; c <= classfile::WidthCount; ++c)
        contents.widths[c - 1] = m_grid->colWidth(c);
}

// --- the card's transfers -----------------------------------------------------

void TMDIChild::EcritFiche()
{
    // A card never built holds nothing of its own.
    if (!m_card)
        return;
    m_card->photo()->settleChoice();
    settleCard();
    const int r = m_currentCard;
    if (r >= 1 && r <= StudentCount)
        m_document.store([this, r](ClassContents& contents) { m_card->storeInto(contents.table, r); });
}

void TMDIChild::LitFiche()
{
    const int r = m_currentCard;
    if (r >= 1 && r <= StudentCount)
        card()->LitFiche(m_document.table(), r);
}

void TMDIChild::LitPhoto()
{
    card()->photo()->LitPhoto();
}

void TMDIChild::Image1Click()
{
    settleCard();
    card()->photo()->choose();
}

// --- pages and cards ------------------------------------------------------------

void TMDIChild::Fiche()
{
    if (isCardPage())
        return;
    EcritGrille();
    if (m_grid->row() < 2)
        m_grid->setCurrent(m_grid->col(), 2);
    m_currentCard = m_grid->row() - 1;
    showCard();
}

void TMDIChild::showCard()
{
    // A photo that fails to load is reported once the card is in view with every other field of its own
    // row; stopping earlier would keep the card page out of reach for as long as the photo is missing. (Read by
    // the cache, it comes later, and its failure with it.)
    std::optional<PlatformError> photoFailure;
    try {
        LitFiche();
    } catch (const PlatformError& error) {
        photoFailure = error;
    }
    m_notebook->setCurrentWidget(card());
    m_card->field(1)->setFocus();
    // The photos around are decoded ahead once the card's own has come: the teacher then stays on the card.
    if (!photoPending())
        readAhead();
    if (photoFailure)
        throw *photoFailure;
}

void TMDIChild::Classe()
{
    if (!isCardPage())
        return;
    EcritFiche();
    m_card->photo()->forget();
    LitGrille();
    m_notebook->setCurrentWidget(m_grid);
    m_grid->setCurrent(m_grid->col(), m_currentCard + 1);
    m_grid->setFocus();
}

void TMDIChild::SpeedButton1Click()
{
    EcritFiche();
    if (m_currentCard > 1)
        --m_currentCard;
    showCard();
}

void TMDIChild::SpeedButton2Click()
{
    EcritFiche();
    if (m_currentCard < StudentCount)
        ++m_currentCard;
    showCard();
}

void TMDIChild::FormKeyDown(int key)
{
    if (!isCardPage())
        return;
    if (key == Qt::Key_PageUp)
        SpeedButton1Click();
    else if (key == Qt::Key_PageDown)
        SpeedButton2Click();
}

void TMDIChild::readAhead()
{
    if (!m_shared.Photos)
        return;
    QStringList around;
    for (const int card : {m_currentCard + 1, m_currentCard + 2, m_currentCard - 1})
        if (card >= 1 && card <= StudentCount && !table().at(card, ClassTable::Photo).isEmpty())
            around << table().at(card, ClassTable::Photo);
    m_shared.Photos->prefetch(around);
    m_shared.Photos->storeAhead(this, photosFrom(table(), m_currentCard));
}

// --- the window ------------------------------------------------------------------

void TMDIChild::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    // Inside the frame the window opens 620 x 402 pixels, its border and caption included.
    if (!m_framed) {
        if (auto* frame = qobject_cast<QMdiSubWindow*>(parentWidget())) {
            m_framed = true;
            frame->resize(620, 402);
        }
    }
}

void TMDIChild::closeEvent(QCloseEvent* event)
{
    if (!m_closeAsked) {
        // A failure while saving keeps the window open: its changes are not on disk.
        bool mayClose = false;
        errors::guarded(this, [&] { mayClose = FormCloseQuery(); });
        if (!mayClose) {
            event->ignore();
            return;
        }
    }
    FormClose();
    event->accept();
}

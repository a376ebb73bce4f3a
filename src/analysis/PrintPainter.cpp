#include "analysis/PrintPainter.h"

#include "core/PlatformError.h"
#include "widgets/Fonts.h"
#include "widgets/Printer.h"

#include <QFontMetrics>
#include <QHash>
#include <QPagedPaintDevice>
#include <QPainter>
#include <QStringList>
#include <QTextLayout>
#include <algorithm>

namespace printpainter {

namespace {

const QString InvalidPrinter = QStringLiteral("L'imprimante sélectionnée n'est pas valide");
const QString PrintingFailed = QStringLiteral("Erreur d'impression");

// One text with its top at the given height. A tab moves on to the next stop counted from the start
// of the text; the printer's own tab handling depends on its resolution, so it is not relied on.
void drawLine(QPainter& painter, const QFontMetrics& metrics, const printlayout::Text& text, int tabStop,
              Shapes* shapes)
{
    const int baseline = text.y + metrics.ascent();
    if (tabStop <= 0) {
        if (shapes && Shapes::drawable(text.text))
            shapes->draw(painter, text.x, baseline, text.text);
        else
            painter.drawText(text.x, baseline, text.text);
        return;
    }
    const QStringList pieces = text.text.split(QLatin1Char('\t'));
    int x = text.x;
    for (qsizetype i = 0; i < pieces.size(); ++i) {
        if (i > 0)
            x = text.x + ((x - text.x) / tabStop + 1) * tabStop;
        painter.drawText(x, baseline, pieces[i]);
        x += metrics.horizontalAdvance(pieces[i]);
    }
}

// How far the ink of a character reaches out of its box: left of its pen position, right of its advance, and its
// top and bottom from the baseline.
struct Reach
{
    int left = 0;
    int right = 0;
    int top = 0;
    int bottom = 0;
};

// Whether a text's ink stays inside a rectangle, from the font's own measure of each character: clipping such a text
// changes nothing on the page, and costs the printer a clip region of its own for every text.
class InkReach
{
public:
    explicit InkReach(const QFontMetrics& metrics) : m_metrics(metrics) {}

    // The text drawn from x with its top at y, `width` wide as the layout measured it. Only plain Latin-1 text is
    // judged: anything that shaping may join or set otherwise (a ligature, a mark, another script, a tab) is not.
    bool inside(const printlayout::Text& text, int width, const QRect& rect)
    {
        if (width < 0 || text.text.isEmpty())
            return false;
        Reach most{0, 0, 0, 0};
        for (qsizetype i = 0; i < text.text.size(); ++i) {
            const char16_t c = text.text[i].unicode();
            if (c < 0x20 || (c >= 0x7f && c < 0xa0) || c > 0xff)
                return false;
            if (c == u'f' && i + 1 < text.text.size() && QStringView(u"fijlt").contains(text.text[i + 1]))
                return false;
            const Reach& r = of(c);
            most.left = std::max(most.left, r.left);
            most.right = std::max(most.right, r.right);
            most.top = std::min(most.top, r.top);
            most.bottom = std::max(most.bottom, r.bottom);
        }
        // A pixel more on every side for rounding and antialiasing.
        const int baseline = text.y + m_metrics.ascent();
        return text.x - most.left - 1 >= rect.left() && text.x + width + most.right + 1 <= rect.left() + rect.width() &&
               baseline + most.top - 1 >= rect.top() && baseline + most.bottom + 1 <= rect.top() + rect.height();
    }

private:
    const Reach& of(char16_t c)
    {
        auto found = m_reach.find(c);
        if (found == m_reach.end()) {
            const QRect ink = m_metrics.boundingRect(QChar(c));
            const int advance = m_metrics.horizontalAdvance(QChar(c));
            found = m_reach.insert(c, {std::max(0, -ink.left()), std::max(0, ink.left() + ink.width() - advance),
                                       ink.top(), ink.top() + ink.height()});
        }
        return *found;
    }

    const QFontMetrics& m_metrics;
    QHash<char16_t, Reach> m_reach;
};

} // namespace

Shapes::Shapes(const QFont& font, QPaintDevice* device) : m_font(font), m_device(device) {}

Shapes::~Shapes() = default;

QTextLayout& Shapes::shaped(const QString& text)
{
    auto found = m_shaped.find(text);
    if (found == m_shaped.end()) {
        auto layout = std::make_shared<QTextLayout>(text, m_font, m_device);
        // The glyphs are kept for drawing rather than shaped again.
        layout->setCacheEnabled(true);
        layout->beginLayout();
        layout->createLine();
        layout->endLayout();
        found = m_shaped.insert(text, std::move(layout));
    }
    return **found;
}

int Shapes::width(const QString& text)
{
    if (!drawable(text))
        return QFontMetrics(m_font, m_device).horizontalAdvance(text);
    return qRound(shaped(text).lineAt(0).horizontalAdvance());
}

bool Shapes::drawable(const QString& text)
{
    return !text.isEmpty() &&
           std::all_of(text.begin(), text.end(), [](QChar c) { return c.unicode() >= 0x20 && c.unicode() != 0x7f; });
}

void Shapes::draw(QPainter& painter, int x, int baseline, const QString& text)
{
    QTextLayout& layout = shaped(text);
    // The line is drawn from its top, its baseline its ascent below.
    layout.draw(&painter, QPointF(x, baseline - layout.lineAt(0).ascent()));
}

printlayout::PrinterGeometry geometry(const QPaintDevice& printer)
{
    return {printer.width(), printer.height(), printer.widthMM(), printer.heightMM(), printer.logicalDpiX()};
}

QFont printerFont(int points)
{
    // The printed page keeps the face, not the name: Arial is taken under its installed substitute at once rather
    // than looked up in vain among the fallbacks of every installed font at the first printing (a twentieth of
    // printing a class).
    QFont font = fonts::screenFont(QStringLiteral("Arial"), 12);
    font.setPointSize(points);
    return font;
}

void paintPage(QPainter& painter, const printlayout::Page& page, const QImage& photo, Shapes* shapes)
{
    const QFontMetrics metrics = painter.fontMetrics();
    InkReach ink(metrics);
    for (const printlayout::Text& text : page.texts) {
        if (text.clip.isNull() ||
            (page.tabStop <= 0 && ink.inside(text, page.widths.value(text.text, -1), text.clip))) {
            drawLine(painter, metrics, text, page.tabStop, shapes);
            continue;
        }
        painter.save();
        painter.setClipRect(text.clip);
        drawLine(painter, metrics, text, page.tabStop, shapes);
        painter.restore();
    }
    if (!page.image.isNull() && !photo.isNull())
        painter.drawImage(page.image, photo);
}

void print(Printer& printer, const QFont& font, const Build& build, const QImage& photo)
{
    QPainter painter;
    if (!painter.begin(&printer.device()))
        throw PlatformError(InvalidPrinter);
    painter.setFont(font);
    const QFontMetrics metrics = painter.fontMetrics();
    Shapes shapes(painter.font(), painter.device());
    const printlayout::Layout layout = build(metrics, [&shapes](const QString& text) { return shapes.width(text); });
    for (qsizetype p = 0; p < layout.size(); ++p) {
        if (p > 0 && !printer.device().newPage()) {
            painter.end();
            throw PlatformError(PrintingFailed);
        }
        paintPage(painter, layout[p], photo, &shapes);
    }
    if (!painter.end() || printer.state() == Printer::State::Error)
        throw PlatformError(PrintingFailed);
}

} // namespace printpainter

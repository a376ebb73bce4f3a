#include "widgets/Glyphs.h"

#include <QIconEngine>
#include <QPainter>
#include <QPainterPath>
#include <QPixmap>
#include <QPixmapCache>

namespace glyphs {
namespace {

const QColor kInk(40, 40, 40);
const QColor kPaper(255, 255, 255);
const QColor kBlue(30, 90, 200);
const QColor kYellow(240, 200, 60);
const QColor kGreen(40, 150, 60);
const QColor kRed(200, 40, 40);

void page(QPainter& p, int x, int y, int w, int h)
{
    QPainterPath path;
    path.moveTo(x, y);
    path.lineTo(x + w - 4, y);
    path.lineTo(x + w, y + 4);
    path.lineTo(x + w, y + h);
    path.lineTo(x, y + h);
    path.closeSubpath();
    p.setBrush(kPaper);
    p.setPen(kInk);
    p.drawPath(path);
    p.drawLine(x + w - 4, y, x + w - 4, y + 4);
    p.drawLine(x + w - 4, y + 4, x + w, y + 4);
}

void text(QPainter& p, const QString& s, bool bold, bool italic, bool underline, const QColor& color = kInk)
{
    QFont f(QStringLiteral("Liberation Serif"));
    f.setPixelSize(14);
    f.setBold(bold);
    f.setItalic(italic);
    f.setUnderline(underline);
    p.setFont(f);
    p.setPen(color);
    p.drawText(QRect(0, 0, 16, 16), Qt::AlignCenter, s);
}

void lines(QPainter& p, const int (*spans)[2], int count)
{
    p.setPen(QPen(kInk, 1));
    for (int i = 0; i < count; ++i)
        p.drawLine(spans[i][0], 3 + 3 * i, spans[i][1], 3 + 3 * i);
}

void draw(QPainter& p, Glyph glyph)
{
    p.setRenderHint(QPainter::Antialiasing, false);
    switch (glyph) {
    case Glyph::New:
        page(p, 3, 1, 10, 14);
        break;
    case Glyph::Open:
        p.setPen(kInk);
        p.setBrush(kYellow.darker(115));
        p.drawRect(1, 4, 13, 10);
        p.setBrush(kYellow);
        p.drawPolygon(QPolygon({QPoint(3, 7), QPoint(15, 7), QPoint(13, 14), QPoint(1, 14)}));
        p.drawLine(2, 3, 6, 3);
        break;
    case Glyph::Save:
        p.setPen(kInk);
        p.setBrush(kBlue);
        p.drawRect(1, 1, 14, 14);
        p.setBrush(kPaper);
        p.drawRect(4, 1, 8, 6);
        p.setBrush(QColor(200, 200, 200));
        p.drawRect(4, 10, 8, 5);
        break;
    case Glyph::Print:
        p.setPen(kInk);
        p.setBrush(kPaper);
        p.drawRect(4, 1, 8, 6);
        p.setBrush(QColor(170, 170, 170));
        p.drawRect(1, 6, 14, 6);
        p.setBrush(kPaper);
        p.drawRect(4, 10, 8, 5);
        p.setPen(kGreen);
        p.drawPoint(12, 8);
        break;
    case Glyph::Copy:
        page(p, 1, 1, 8, 10);
        page(p, 6, 5, 8, 10);
        break;
    case Glyph::Paste:
        p.setPen(kInk);
        p.setBrush(QColor(180, 120, 60));
        p.drawRect(1, 2, 11, 13);
        p.setBrush(QColor(200, 200, 200));
        p.drawRect(4, 1, 5, 3);
        page(p, 7, 6, 8, 9);
        break;
    case Glyph::ClassGrid:
        p.setPen(kInk);
        p.setBrush(kPaper);
        p.drawRect(1, 2, 14, 12);
        p.fillRect(2, 3, 13, 2, QColor(190, 190, 190));
        p.fillRect(2, 3, 4, 11, QColor(190, 190, 190));
        for (int y = 5; y < 14; y += 3)
            p.drawLine(1, y, 15, y);
        for (int x = 6; x < 15; x += 3)
            p.drawLine(x, 2, x, 14);
        break;
    case Glyph::Card:
        p.setPen(kInk);
        p.setBrush(kPaper);
        p.drawRect(1, 3, 14, 10);
        p.setBrush(kBlue);
        p.drawEllipse(3, 5, 4, 4);
        p.drawRect(3, 9, 4, 3);
        p.drawLine(9, 6, 13, 6);
        p.drawLine(9, 8, 13, 8);
        p.drawLine(9, 10, 12, 10);
        break;
    case Glyph::Averages:
        // A sum sign drawn with the pen: the main tool bar shows it at start-up, and a font of its own would
        // be loaded for this one sign.
        p.setPen(QPen(kBlue, 2, Qt::SolidLine, Qt::SquareCap, Qt::MiterJoin));
        p.drawPolyline(QPolygon(
            {QPoint(12, 4), QPoint(12, 2), QPoint(3, 2), QPoint(8, 8), QPoint(3, 13), QPoint(12, 13), QPoint(12, 11)}));
        break;
    case Glyph::BarChart:
        p.setPen(kInk);
        p.drawLine(1, 1, 1, 14);
        p.drawLine(1, 14, 15, 14);
        p.fillRect(3, 9, 3, 5, kRed);
        p.fillRect(7, 4, 3, 10, kGreen);
        p.fillRect(11, 7, 3, 7, kBlue);
        break;
    case Glyph::LineChart:
        p.setPen(kInk);
        p.drawLine(1, 1, 1, 14);
        p.drawLine(1, 14, 15, 14);
        p.setRenderHint(QPainter::Antialiasing, true);
        p.setPen(QPen(QColor(0, 0, 128), 1.5));
        p.drawPolyline(QPolygon({QPoint(2, 11), QPoint(6, 7), QPoint(9, 9), QPoint(14, 3)}));
        break;
    case Glyph::Homework:
        p.setPen(kInk);
        p.setBrush(kPaper);
        p.drawRect(1, 2, 14, 13);
        p.fillRect(2, 3, 13, 3, kRed);
        p.drawLine(4, 1, 4, 4);
        p.drawLine(11, 1, 11, 4);
        for (int y = 8; y < 15; y += 3)
            for (int x = 3; x < 14; x += 3)
                p.drawPoint(x, y);
        break;
    case Glyph::Font:
        text(p, QStringLiteral("A"), true, false, false, kBlue);
        break;
    case Glyph::Bold:
        text(p, QStringLiteral("G"), true, false, false);
        break;
    case Glyph::Italic:
        text(p, QStringLiteral("I"), false, true, false);
        break;
    case Glyph::Underline:
        text(p, QStringLiteral("S"), false, false, true);
        break;
    case Glyph::AlignLeft: {
        static const int spans[4][2] = {{1, 14}, {1, 9}, {1, 14}, {1, 9}};
        lines(p, spans, 4);
        break;
    }
    case Glyph::AlignCenter: {
        static const int spans[4][2] = {{1, 14}, {4, 11}, {1, 14}, {4, 11}};
        lines(p, spans, 4);
        break;
    }
    case Glyph::AlignRight: {
        static const int spans[4][2] = {{1, 14}, {6, 14}, {1, 14}, {6, 14}};
        lines(p, spans, 4);
        break;
    }
    case Glyph::Bullets:
        for (int i = 0; i < 3; ++i) {
            p.fillRect(1, 3 + 4 * i, 2, 2, kInk);
            p.setPen(kInk);
            p.drawLine(5, 4 + 4 * i, 14, 4 + 4 * i);
        }
        break;
    case Glyph::ArrowLeft:
    case Glyph::ArrowRight: {
        p.setRenderHint(QPainter::Antialiasing, true);
        p.setPen(Qt::NoPen);
        p.setBrush(kGreen.darker(110));
        QPolygon arrow({QPoint(10, 3), QPoint(4, 8), QPoint(10, 13)});
        if (glyph == Glyph::ArrowRight)
            arrow = QPolygon({QPoint(6, 3), QPoint(12, 8), QPoint(6, 13)});
        p.drawPolygon(arrow);
        break;
    }
    case Glyph::AddDesk:
        p.setPen(kInk);
        p.setBrush(QColor(192, 128, 80));
        p.drawRect(1, 6, 10, 6);
        p.setPen(QPen(kGreen, 2));
        p.drawLine(13, 1, 13, 7);
        p.drawLine(10, 4, 16, 4);
        break;
    case Glyph::DeleteDesk:
        p.setPen(kInk);
        p.setBrush(QColor(192, 128, 80));
        p.drawRect(1, 6, 10, 6);
        p.setPen(QPen(kRed, 2));
        p.drawLine(10, 4, 16, 4);
        break;
    case Glyph::TurnDesk:
        p.setPen(kInk);
        p.setBrush(QColor(192, 128, 80));
        p.drawRect(1, 9, 9, 5);
        p.drawRect(11, 1, 4, 9);
        p.setPen(kBlue);
        p.drawArc(3, 2, 10, 10, 90 * 16, 90 * 16);
        break;
    }
}

// Draws its glyph the first time the icon is painted: a window that is never shown never draws its icons.
class GlyphEngine : public QIconEngine
{
public:
    explicit GlyphEngine(Glyph glyph) : m_glyph(glyph) {}

    QIconEngine* clone() const override { return new GlyphEngine(m_glyph); }
    QString key() const override { return QStringLiteral("glyph"); }
    void paint(QPainter* painter, const QRect& rect, QIcon::Mode mode, QIcon::State state) override
    {
        drawn().paint(painter, rect, Qt::AlignCenter, mode, state);
    }
    QPixmap pixmap(const QSize& size, QIcon::Mode mode, QIcon::State state) override
    {
        return drawn().pixmap(size, mode, state);
    }
    QPixmap scaledPixmap(const QSize& size, QIcon::Mode mode, QIcon::State state, qreal scale) override
    {
        return drawn().pixmap(size / scale, scale, mode, state);
    }
    QSize actualSize(const QSize& size, QIcon::Mode mode, QIcon::State state) override
    {
        return drawn().actualSize(size, mode, state);
    }
    QList<QSize> availableSizes(QIcon::Mode mode, QIcon::State state) override
    {
        return drawn().availableSizes(mode, state);
    }

private:
    const QIcon& drawn()
    {
        if (m_icon.isNull())
            m_icon = QIcon(glyphs::pixmap(m_glyph));
        return m_icon;
    }

    Glyph m_glyph;
    QIcon m_icon;
};

} // namespace

QPixmap pixmap(Glyph glyph)
{
    // Each glyph is drawn once: several windows show the same arrows and the same printer.
    const QString key = QStringLiteral("virelan-glyph-%1").arg(int(glyph));
    QPixmap pm;
    if (QPixmapCache::find(key, &pm))
        return pm;
    pm = QPixmap(16, 16);
    pm.fill(Qt::transparent);
    {
        QPainter p(&pm);
        draw(p, glyph);
    }
    QPixmapCache::insert(key, pm);
    return pm;
}

QIcon icon(Glyph glyph)
{
    return QIcon(new GlyphEngine(glyph));
}

} // namespace glyphs

#include "tools/PrinterTextDevice.h"

#include "core/PlatformError.h"
#include "widgets/Printer.h"

#include <QFontMetrics>
#include <QPagedPaintDevice>

PrinterTextDevice::PrinterTextDevice(Printer& printer) : m_printer(printer) {}

PrinterTextDevice::~PrinterTextDevice()
{
    // A job broken off by an error is still ended, so the printer is released.
    if (m_painter.isActive())
        m_painter.end();
}

void PrinterTextDevice::check() const
{
    if (!m_painter.isActive() || m_printer.state() == Printer::State::Error ||
        m_printer.state() == Printer::State::Aborted)
        throw PlatformError::ioError(WriteErrorCode);
}

void PrinterTextDevice::open(const QFont& font, const QColor& color)
{
    m_placed.clear();
    m_page = 0;
    m_y = 0;
    if (!m_painter.begin(&m_printer.device()))
        throw PlatformError::ioError(WriteErrorCode);
    m_painter.setFont(font);
    m_painter.setPen(color);
    const QFontMetrics metrics = m_painter.fontMetrics();
    m_lineHeight = std::max(1, metrics.lineSpacing());
    m_ascent = metrics.ascent();
    // The painter's origin is the top-left corner of the printable area, which it fills.
    m_width = m_printer.device().width();
    m_height = m_printer.device().height();
    check();
}

qsizetype PrinterTextDevice::fitting(const QString& text) const
{
    const QFontMetrics metrics = m_painter.fontMetrics();
    if (metrics.horizontalAdvance(text) <= m_width)
        return text.size();
    // The longest start that fits, found by halving; one character at least, so a line always moves on.
    qsizetype low = 1;
    qsizetype high = text.size();
    while (low < high) {
        const qsizetype mid = (low + high + 1) / 2;
        if (metrics.horizontalAdvance(text.left(mid)) <= m_width)
            low = mid;
        else
            high = mid - 1;
    }
    // A surrogate pair is never split.
    if (low < text.size() && text[low - 1].isHighSurrogate())
        low = low > 1 ? low - 1 : low + 1;
    return low;
}

void PrinterTextDevice::newLine()
{
    m_y += m_lineHeight;
}

void PrinterTextDevice::writeLine(const QString& line)
{
    check();
    QString rest = line;
    do {
        // A new page when the next line would cross the bottom edge; the first line of a page always goes.
        if (m_y > 0 && m_y + m_lineHeight > m_height) {
            if (!m_printer.device().newPage())
                throw PlatformError::ioError(WriteErrorCode);
            ++m_page;
            m_y = 0;
        }
        const qsizetype n = rest.isEmpty() ? 0 : fitting(rest);
        const QString piece = rest.left(n);
        if (!piece.isEmpty()) {
            m_painter.drawText(0, m_y + m_ascent, piece);
            m_placed << Placed{m_page, 0, m_y, piece};
        }
        rest.remove(0, n);
        newLine();
    } while (!rest.isEmpty());
    check();
}

void PrinterTextDevice::close()
{
    check();
    if (!m_painter.end())
        throw PlatformError::ioError(WriteErrorCode);
    if (m_printer.state() == Printer::State::Error || m_printer.state() == Printer::State::Aborted)
        throw PlatformError::ioError(WriteErrorCode);
}

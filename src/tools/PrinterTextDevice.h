#pragma once

#include <QColor>
#include <QFont>
#include <QList>
#include <QPainter>
#include <QString>

class Printer;

// The printer used as a plain text output: lines written one after the other from the top-left corner of
// the printable area, no margin, no header or footer. A line end moves down by the font's line spacing; text
// reaching the right edge goes on on the next line; a line that no longer fits begins a new page.
// Each step checks the printer and raises "Erreur E/S %d" when it has failed.
class PrinterTextDevice
{
public:
    // Where one piece of text went, in the printer's pixels, relative to the printable area.
    struct Placed
    {
        int page = 0; // from 0
        int x = 0;
        int y = 0; // top of the line
        QString text;
        bool operator==(const Placed&) const = default;
    };

    // The error code raised for any failure of the printer: the platform's "disk write error".
    static constexpr int WriteErrorCode = 101;

    explicit PrinterTextDevice(Printer& printer);
    ~PrinterTextDevice();
    PrinterTextDevice(const PrinterTextDevice&) = delete;
    PrinterTextDevice& operator=(const PrinterTextDevice&) = delete;

    // Starts the print job with the font in which the lines are printed.
    void open(const QFont& font, const QColor& color = Qt::black);
    void writeLine(const QString& line);
    // Ends the print job and hands it to the printer.
    void close();

    const QList<Placed>& placed() const { return m_placed; }
    int pageCount() const { return m_page + 1; }
    int lineHeight() const { return m_lineHeight; }
    int pageWidth() const { return m_width; }
    int pageHeight() const { return m_height; }

private:
    void check() const;
    void newLine();
    // How many characters of the text, from its start, fit within the page width (at least one).
    qsizetype fitting(const QString& text) const;

    Printer& m_printer;
    QPainter m_painter;
    QList<Placed> m_placed;
    int m_page = 0;
    int m_y = 0;
    int m_lineHeight = 0;
    int m_ascent = 0;
    int m_width = 0;
    int m_height = 0;
};

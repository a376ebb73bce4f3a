#pragma once

#include <QSizeF>
#include <memory>

class QPaintDevice;
class Printer;
class QTextDocument;

// Printing of the report editor's text.
namespace reportprint {

// A copy of the text laid out for a device, pages of the given size in the device's pixels, without margins.
// Paragraph indents, held in pixels of 96 per inch, are brought to the device's resolution.
std::unique_ptr<QTextDocument> layoutFor(const QTextDocument& text, QPaintDevice& device, const QSizeF& page);

// Prints the whole text over the printable area of the printer, page after page, with an empty job title.
// Raises the printer's error when it cannot start or go on.
void print(const QTextDocument& text, Printer& printer);

} // namespace reportprint

#pragma once

#include <QByteArray>

class QTextDocument;

// Writes a rich-text document as RTF that word processors read back with its fonts, sizes, styles,
// colours, alignment, indents and bullets. The text is Windows-1252 where it can be (\'hh), Unicode
// escapes (\uN?) for the rest; text without explicit attributes takes the document's default font. Fonts are
// named by their plain family name.
namespace rtf {

QByteArray write(const QTextDocument& document);

} // namespace rtf

#pragma once

#include <QByteArray>
#include <QString>

// Texts on disk are single-byte Windows-1252: every byte maps to one character and back,
// the five bytes the code page leaves undefined included, so files made elsewhere load unchanged.
namespace cp1252 {

QString decode(const QByteArray& bytes);
// Characters outside the code page are written as '?'.
QByteArray encode(const QString& text);
bool canEncode(QChar c);
// The characters of the text the code page cannot hold, each once, in the order met: "Ł (U+0141), → (U+2192)";
// one that shows nothing by its code alone; a long list is cut as every list in a message is. Empty when every
// character fits.
QString refusedCharacters(const QString& text);
// The byte for one character, '?' when it has none.
unsigned char byteOf(QChar c);

} // namespace cp1252

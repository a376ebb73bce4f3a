#pragma once

#include <QFont>
#include <QString>

// The program's windows name the fonts of the system they were designed on; Linux has metric-compatible
// families for them: Arial and "MS Sans Serif" take Liberation Sans, "Times New Roman" Liberation Serif,
// "System" Liberation Sans in bold.
namespace fonts {

// Registers the substitutions once, before any window is created.
void install();
// A font of the named design family at a height in pixels. "MS Sans Serif" and "System" come back under the
// name of their substitute.
QFont pixelFont(const QString& family, int pixelSize, bool bold = false);
QFont msSansSerif(int pixelSize);
// A font for a window's own labels and the printed sheet and card, never for a document nor a list of fonts: any
// design family comes back under its Linux substitute at once (Arial as Liberation Sans), the same face without a
// vain lookup of the Windows name among every installed font.
QFont screenFont(const QString& family, int pixelSize, bool bold = false);
QFont system(int pixelSize);
// A family name as other programs know it: Qt adds the foundry to a family that several foundries
// provide ("C059 [urw]"), which no word processor matches.
QString plainFamily(const QString& family);

} // namespace fonts

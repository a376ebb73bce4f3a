#pragma once

#include <QIcon>

// The 16 x 16 pictures of the tool buttons, drawn in code so they stay sharp and need no files.
namespace glyphs {

enum class Glyph
{
    New,
    Open,
    Save,
    Print,
    Copy,
    Paste,
    ClassGrid,
    Card,
    Averages,
    BarChart,
    LineChart,
    Homework,
    Font,
    Bold,
    Italic,
    Underline,
    AlignLeft,
    AlignCenter,
    AlignRight,
    Bullets,
    ArrowLeft,
    ArrowRight,
    AddDesk,
    DeleteDesk,
    TurnDesk,
};

// The icon draws its glyph when it is first painted; the pixmap is drawn once and then shared.
QIcon icon(Glyph glyph);
QPixmap pixmap(Glyph glyph);

} // namespace glyphs

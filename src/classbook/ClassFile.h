#pragma once

#include "classbook/ClassTable.h"

#include <QByteArray>
#include <array>

// The class file: a header line with the widths of grid columns 1 to 31, then one record per
// non-empty slot of the class table. Windows-1252 text, every line ending in CR LF.
namespace classfile {

// Grid columns 1 to 31 have a stored width; column 0 has none.
constexpr int WidthCount = 31;
// The largest width three hexadecimal digits can hold.
constexpr int MaxWidth = 0xFFF;
// Written in place of a line break inside a slot's text (a remark of several lines), so that the whole
// text stays on its record's line. Typing never produces this control byte.
constexpr char LineBreakByte = '\x0B';

// Widths of columns 1 to 31; NoWidth where the file gives none (the column keeps its width).
constexpr int NoWidth = -1;
using Widths = std::array<int, WidthCount>;

// The whole file: header from the widths, then the records in row then slot order; slot 0 and empty
// slots are not written.
QByteArray write(const ClassTable& table, const Widths& widths);

// Reads a class file into the table, over what it holds already (a later record for the same slot
// wins), and returns the widths of its header. Lines that are not records, and records outside the
// table, are skipped without touching any other slot.
Widths read(const QByteArray& bytes, ClassTable& table);

} // namespace classfile

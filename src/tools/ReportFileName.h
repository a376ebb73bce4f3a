#pragma once

#include <QString>

// The name a report is saved under: the chosen name cut at the first dot of its file part (folders keep
// their dots), then the extension of the chosen format.
namespace reportfile {

enum class Format
{
    Text = 1,
    Rtf = 2
};

// The filter index of the save dialog (1 = text, 2 = rtf); any other index is taken as text.
Format formatOfFilter(int filterIndex);
QString nameFor(const QString& chosen, Format format);

} // namespace reportfile

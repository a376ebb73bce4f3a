#include "tools/ReportFileName.h"

#include "core/FileNames.h"

namespace reportfile {

Format formatOfFilter(int filterIndex)
{
    return filterIndex == 2 ? Format::Rtf : Format::Text;
}

QString nameFor(const QString& chosen, Format format)
{
    return filenames::baseName(chosen) + (format == Format::Rtf ? QStringLiteral(".rtf") : QStringLiteral(".txt"));
}

} // namespace reportfile

#pragma once

#include <QString>

namespace filenames {

// One spelling for every name of the same file: absolute, without "." or "..", symbolic links resolved as
// far as the file (or, for a file not yet written, its folder) exists. Empty for an empty name.
QString canonicalPath(const QString& path);
// Whether two names lead to the same file; an empty name leads to none.
bool sameFile(const QString& a, const QString& b);

} // namespace filenames

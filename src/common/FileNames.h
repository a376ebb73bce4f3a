#pragma once

#include <QString>

// Names of a class file and of the files that live beside it.
namespace filenames {

// The part after the last path separator (the whole text when there is none).
QString lastComponent(const QString& path);
// The path up to the first dot of its last component; dots in folder names never count.
QString baseName(const QString& path);
// baseName(path) followed by the extension, given with its dot (".prd").
QString companion(const QString& path, const QString& extension);

} // namespace filenames

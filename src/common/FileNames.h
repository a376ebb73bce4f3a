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

// The companion file of a class as it is on disk: baseName(classFile) followed by the extension whatever its
// case, so that a class copied from a system that ignores case (5C.PRF beside 5C.PRD) finds its files and
// writes them back under the names they have. The extension exactly as given wins when both spellings exist;
// with none on disk, the extension as given. When the class file's own extension is that one (".prf" for
// 5C.PRF), the class file itself: a class is saved to the name it was opened under.
// Use it for every file named after a class: the class file, its homework, seating plan and planning.
QString companionOnDisk(const QString& classFile, const QString& extension);

// One spelling for every name of the same file: absolute, without "." or "..", symbolic links resolved as
// far as the file (or, for a file not yet written, its folder) exists. Empty for an empty name.
QString canonicalPath(const QString& path);
// Whether two names lead to the same file; an empty name leads to none.
bool sameFile(const QString& a, const QString& b);

} // namespace filenames

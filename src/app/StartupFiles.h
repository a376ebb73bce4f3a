#pragma once

#include <QString>
#include <QStringList>

// The class files named on the command line ("virelan 6A.prf 6B.prf"), which the program opens at start-up.
namespace startupfiles {

// arguments: the command line as Qt leaves it once it has taken its own options (-platform, -style...), the
// program first. Until a "--", an argument that begins with "-" is an option and not a file; every argument
// after "--" is a file. Relative paths are taken from startDir. The files come back in the order given.
QStringList classFiles(const QStringList& arguments, const QString& startDir);

} // namespace startupfiles

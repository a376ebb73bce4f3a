#pragma once

#include <QByteArray>
#include <QString>

// Whole files for tests that check exact bytes.
namespace testfiles {

// The file's bytes, or "<missing>" when it cannot be read.
QByteArray readAll(const QString& path);
// Writes the bytes, creating the folders on the way; the test fails when the file cannot be written.
void writeAll(const QString& path, const QByteArray& bytes);

// Rights mean nothing to root: run as root, the current test function and data row run again in a process of
// their own as nobody, with the group "users" beside its own; true then, and the case is done (failed if the
// process failed). False when not root: the case runs here.
bool reranAsNobody();

} // namespace testfiles

#pragma once

#include <QByteArray>
#include <QString>

// Whole files for tests that check exact bytes.
namespace testfiles {

// The file's bytes, or "<missing>" when it cannot be read.
QByteArray readAll(const QString& path);
// Writes the bytes, creating the folders on the way; the test fails when the file cannot be written.
void writeAll(const QString& path, const QByteArray& bytes);

} // namespace testfiles

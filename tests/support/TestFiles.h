#pragma once

#include <QByteArray>
#include <QIODevice>
#include <QList>
#include <QString>
#include <QStringList>
#include <functional>
#include <memory>
#include <utility>

// Whole files for tests that check exact bytes.
namespace testfiles {

// The file's bytes, or "<missing>" when it cannot be read.
QByteArray readAll(const QString& path);
// Writes the bytes, creating the folders on the way; the test fails when the file cannot be written.
void writeAll(const QString& path, const QByteArray& bytes);

// The message of the PlatformError the operation raised; empty when it raised none.
QString errorOf(const std::function<void()>& operation);

// Other programs read back what the program wrote: what one writes on its output, the first of some not installed.
QString run(const QString& program, const QStringList& arguments);
QString missing(const QStringList& programs);
// LibreOffice converts the files into the folder, to "pdf" or through a filter ("csv:..."), reading them through
// the input filter given ("CSV:59,34,76,1,...").
void convertByOffice(const QStringList& files, const QString& format, const QString& folder,
                     const QString& inputFilter = {});

// A device that writes the first `left` bytes given to the file, then fails: a disk that fills up.
std::unique_ptr<QIODevice> fillingDisk(QIODevice& file, qint64 left);

// A zip archive of the files (name, bytes), deflated or stored.
QByteArray zip(const QList<std::pair<QByteArray, QByteArray>>& files, bool deflated = true);

// Rights mean nothing to root: run as root, the current test function and data row run again in a process of their
// own as nobody, with the group "users" beside its own; true then, and the case is done (failed if the process
// failed). False when not root: the case runs here.
bool reranAsNobody();

} // namespace testfiles

#define SKIP_UNLESS_INSTALLED(...)                                                                                     \
    if (const QString absent = testfiles::missing({__VA_ARGS__}); !absent.isEmpty())                                   \
    QSKIP(qPrintable(absent + QStringLiteral(" is not installed")))

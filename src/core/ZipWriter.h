#pragma once

#include <QByteArray>
#include <QList>
#include <optional>

// A zip archive made in memory from files already in memory, each deflated: what a workbook (.xlsx) is packed in.
// Every file is dated 1 January 1980, the earliest date the format holds, so that the same files always make the
// same archive.
namespace zipwriter {

struct File
{
    QByteArray name;
    QByteArray bytes;
};

// Nothing when a file or the whole archive is too large for the format's 32-bit sizes and offsets, or has more
// than 65 535 files, or zlib fails.
std::optional<QByteArray> archive(const QList<File>& files);

} // namespace zipwriter

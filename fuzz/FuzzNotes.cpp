// The notes file: refused beyond its capacity, read within it, the memo's text written back reads as the same text, and
// a file whose lines all end in CR LF is written back byte for byte.
#include "FuzzCheck.h"
#include "core/PlatformError.h"
#include "model/NotesFile.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const QByteArray bytes = fuzz::bytes(data, size);
    const QString path = fuzz::fileHolding(bytes, "Virelan.nte");

    // A small capacity: the reader sets aside the whole capacity for each file it reads.
    constexpr qint64 Capacity = 1024;
    if (bytes.size() > Capacity) {
        try {
            notesfile::load(path, Capacity);
        } catch (const PlatformError& error) {
            FUZZ_REQUIRE(error.message() == QStringLiteral("Le texte dépasse la capacité du mémo"));
            return 0;
        }
        fuzz::failed("a file beyond the capacity was read", __FILE__, __LINE__);
    }
    const std::optional<QString> text = notesfile::load(path, Capacity);
    FUZZ_REQUIRE(text && *text == notesfile::decode(bytes));
    const QByteArray written = notesfile::encode(*text);
    FUZZ_REQUIRE(notesfile::decode(written) == *text);
    QByteArray loneEnds = bytes;
    loneEnds.replace("\r\n", "");
    if (!loneEnds.contains('\r') && !loneEnds.contains('\n'))
        FUZZ_REQUIRE(written == bytes);
    return 0;
}

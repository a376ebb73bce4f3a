// Phrase files: read from a file, every phrase is one line, the list as saved reads back the same, and a
// file in the written form is saved back byte for byte.
#include "FuzzCheck.h"
#include "core/TextFile.h"
#include "model/PhraseList.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const QByteArray bytes = fuzz::bytes(data, size);
    const QString path = fuzz::fileHolding(bytes, "Virelan.obs");

    PhraseList list;
    list.load(path);
    for (const QString& phrase : list.phrases())
        FUZZ_REQUIRE(PhraseList::oneLine(phrase) == phrase);
    // What save() writes.
    const QByteArray written = textfile::joinLines(list.phrases());
    FUZZ_REQUIRE(textfile::splitLines(written) == list.phrases());
    if (fuzz::writtenForm(bytes))
        FUZZ_REQUIRE(written == bytes);
    return 0;
}

// Homework files: the list written back reads as the same list, a file of 21 lines in the written form
// comes back byte for byte, and a dated row shown in the dialog and handed back keeps its date and its
// whole title.
#include "FuzzCheck.h"
#include "core/PlatformError.h"
#include "core/TextFile.h"
#include "model/HomeworkList.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const QByteArray bytes = fuzz::bytes(data, size);
    const homework::List list = homework::read(bytes);
    const QByteArray written = homework::write(list);
    FUZZ_REQUIRE(homework::read(written) == list);
    if (fuzz::writtenForm(bytes) && textfile::splitLines(bytes).size() == homework::EntryCount)
        FUZZ_REQUIRE(written == bytes);

    for (int k = 0; k < homework::RowCount; ++k) {
        if (homework::isUnset(list[k]))
            continue;
        try {
            const homework::Shown shown = homework::show(list[k]);
            FUZZ_REQUIRE(shown.title == list[k].mid(homework::DateLength));
            const homework::Shown again = homework::show(homework::entry(shown.date, shown.title));
            // (A row dated 1 January 1990 however written comes back as the unset date: the same day.)
            FUZZ_REQUIRE(again.date == shown.date && again.title == shown.title);
        } catch (const PlatformError&) {
            // Not a date: the dialog reports it.
        }
    }
    return 0;
}

// Class files: any bytes read without failing, and what is written from the table read back gives the
// same table (slot 0 is never written) and the same file again.
#include "FuzzCheck.h"
#include "model/ClassFile.h"

#include <algorithm>
#include <memory>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    auto table = std::make_unique<ClassTable>();
    const classfile::Widths widths = classfile::read(fuzz::bytes(data, size), *table);
    const QByteArray written = classfile::write(*table, widths);

    auto back = std::make_unique<ClassTable>();
    const classfile::Widths widthsBack = classfile::read(written, *back);
    for (int row = ClassTable::FirstRow; row <= ClassTable::LastRow; ++row)
        table->at(row, 0).clear();
    FUZZ_REQUIRE(*back == *table);
    for (int c = 0; c < classfile::WidthCount; ++c)
        FUZZ_REQUIRE(widthsBack[c] == std::clamp(widths[c], 0, classfile::MaxWidth));
    FUZZ_REQUIRE(classfile::write(*back, widthsBack) == written);
    return 0;
}

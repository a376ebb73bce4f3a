// Planning files: every line is kept as it is (a file in the written form comes back byte for byte), a
// year shown in the grid and written back shows the same, and a subject's name written back leaves
// the lines unchanged.
#include "FuzzCheck.h"
#include "model/PlanningList.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const QByteArray bytes = fuzz::bytes(data, size);
    const planning::PlanningList list = planning::PlanningList::fromBytes(bytes);
    const QByteArray written = list.toBytes();
    FUZZ_REQUIRE(planning::PlanningList::fromBytes(written).lines() == list.lines());
    if (fuzz::writtenForm(bytes))
        FUZZ_REQUIRE(written == bytes);

    for (const QString& line : list.lines()) {
        bool ok = false;
        const int year = line.left(4).toInt(&ok);
        if (!ok || year < planning::FirstYear || year > planning::LastYear)
            continue;
        const planning::YearCells cells = list.LitAn(year);
        planning::PlanningList copy = list;
        copy.EcritAn(year, cells);
        FUZZ_REQUIRE(copy.LitAn(year) == cells);
    }
    for (int subject = 1; subject <= planning::Subjects; ++subject) {
        const auto name = list.projectName(subject);
        if (!name)
            continue;
        planning::PlanningList copy = list;
        FUZZ_REQUIRE(copy.MajPrj(subject, *name) && copy.lines() == list.lines());
    }
    return 0;
}

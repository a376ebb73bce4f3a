// Seating plan files: at most 60 desks, each with a name, and the plan written back loads as the same
// desks and writes the same file again.
#include "FuzzCheck.h"
#include "model/SeatingPlan.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    SeatingPlan plan;
    plan.load(fuzz::bytes(data, size));
    FUZZ_REQUIRE(plan.count() <= SeatingPlan::MaxDesks && !plan.modified() && plan.selected() == 0);
    for (const Desk& desk : plan.desks())
        FUZZ_REQUIRE(!desk.name.isEmpty() && !desk.name.contains(QLatin1Char(',')));

    const QByteArray written = plan.toBytes();
    SeatingPlan back;
    back.load(written);
    FUZZ_REQUIRE(back.desks() == plan.desks());
    FUZZ_REQUIRE(back.toBytes() == written);
    return 0;
}

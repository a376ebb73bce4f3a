// The 6-byte real: the first six bytes as stored by the calculator, the rest as a number typed. A stored
// value is exact in long double and stores back to itself; its display reads back within range, within
// twelve digits, and as this very value unless it takes all twelve; a typed number stores within range or
// raises the floating-point error.
#include "FuzzCheck.h"
#include "core/FrenchNumbers.h"
#include "tools/Real48.h"

#include <cmath>
#include <cstring>

namespace {

void checkDisplay(const Real48& real)
{
    const QString text = real.displayText();
    const auto back = frnum::readExtended(text);
    FUZZ_REQUIRE(back.has_value());
    FUZZ_REQUIRE(std::fabs(*back - real.value()) <= std::fabs(real.value()) * 1e-11L);
    // Never out of range; when fewer digits than twelve do not give this very value, twelve are shown.
    FUZZ_REQUIRE(Real48::store(*back) == real || text == generalFormat(real.value(), 12));
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size < 6)
        return 0;
    Real48::Bytes raw;
    std::memcpy(raw.data(), data, raw.size());
    const Real48 real = Real48::fromBytes(raw);
    FUZZ_REQUIRE(Real48::store(real.value()) == real);
    FUZZ_REQUIRE(Real48::fromBytes(real.bytes()) == real);
    checkDisplay(real);

    const auto typed = frnum::readExtended(QString::fromUtf8(fuzz::bytes(data + 6, size - 6)));
    if (!typed)
        return 0;
    try {
        const Real48 stored = Real48::store(*typed);
        FUZZ_REQUIRE(stored.isZero() || std::fabs(stored.value() - *typed) <= std::fabs(*typed) * 1e-12L);
        checkDisplay(stored);
    } catch (const PlatformError& error) {
        FUZZ_REQUIRE(error.message() == fpu::overflow().message());
    }
    return 0;
}

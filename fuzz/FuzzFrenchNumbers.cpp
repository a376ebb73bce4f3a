// French numbers: whatever the text, a number read is finite, and each form the program writes of it
// reads back as a number close to it (15 significant digits for the general form, two decimals for the
// masks); rounding half to even lands on an integer within a half.
#include "FuzzCheck.h"
#include "core/FrenchNumbers.h"

#include <QString>
#include <cmath>

namespace {

bool close(long double a, long double b, long double absolute, long double relative)
{
    return std::fabs(a - b) <= absolute + relative * std::fabs(b);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const QString text = QString::fromUtf8(fuzz::bytes(data, size));
    if (const auto value = frnum::read(text)) {
        FUZZ_REQUIRE(std::isfinite(*value));
        const auto general = frnum::read(frnum::general15(*value));
        FUZZ_REQUIRE(general && close(*general, *value, 0, 1e-14L));
        const auto hash = frnum::read(frnum::formatHash00(*value));
        FUZZ_REQUIRE(hash && close(*hash, *value, 0.005L, 1e-14L));
        const auto zero = frnum::read(frnum::format00(*value));
        FUZZ_REQUIRE(zero && *zero == *hash);
    }
    if (const auto value = frnum::readExtended(text)) {
        FUZZ_REQUIRE(std::isfinite(*value));
        const auto general = frnum::readExtended(frnum::general15(*value));
        FUZZ_REQUIRE(general && close(*general, *value, 0, 1e-14L));
        const long double rounded = frnum::roundHalfEven(*value);
        FUZZ_REQUIRE(rounded == std::floor(rounded) && std::fabs(rounded - *value) <= 0.5L);
    }
    return 0;
}

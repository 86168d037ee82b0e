// Doubles of any bit pattern through the General number format. Checks: a
// finite value gives digits that read back within the 15 digits shown, with
// no trailing zero after a point, no "-0", and an exponent only outside
// [1E-9, 1E+15); an infinity or NaN gives nothing.
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <string>

#include "FuzzCheck.h"
#include "files/GeneralNumber.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < sizeof(double)) return 0;
    double value = 0;
    std::memcpy(&value, data, sizeof value);
    const std::string shown = kivo::generalNumber(value);
    if (!std::isfinite(value)) {
        FUZZ_CHECK(shown.empty());
        return 0;
    }
    FUZZ_CHECK(!shown.empty() && shown != "-0");
    // Below the normal range the digits shown are more than the value holds.
    if (std::fpclassify(value) == FP_SUBNORMAL) return 0;
    double back = 0;
    const auto [end, error] = std::from_chars(shown.data(), shown.data() + shown.size(), back);
    FUZZ_CHECK(end == shown.data() + shown.size());
    // The largest doubles round up past the range a double reads back into.
    if (error == std::errc::result_out_of_range) {
        FUZZ_CHECK(std::fabs(value) > 1.7976931348623e308);
        return 0;
    }
    FUZZ_CHECK(error == std::errc());
    FUZZ_CHECK(std::fabs(back - value) <= std::fabs(value) * 1e-14);
    const std::size_t e = shown.find('E');
    const std::string mantissa = shown.substr(0, e);
    if (mantissa.find('.') != std::string::npos) FUZZ_CHECK(mantissa.back() != '0');
    const double magnitude = std::fabs(back);
    if (e == std::string::npos) {
        FUZZ_CHECK(magnitude == 0 || (magnitude >= 1e-9 && magnitude < 1e15));
    } else {
        FUZZ_CHECK(magnitude < 1e-9 || magnitude >= 1e15 - 0.5);
    }
    return 0;
}

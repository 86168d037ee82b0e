#include "files/GeneralNumber.h"

#include <charconv>
#include <cmath>
#include <cstdlib>

namespace kivo {
namespace {

constexpr int kDigits = 15;
constexpr int kLargestFixedExponent = 14;
constexpr int kSmallestFixedExponent = -9;

void dropTrailingZeros(std::string& digits) {
    while (digits.size() > 1 && digits.back() == '0') digits.pop_back();
}

}  // namespace

std::string generalNumber(double value) {
    if (!std::isfinite(value)) return {};
    if (value == 0) return "0";  // -0 too
    // Rounded once, to the digits shown: "d.dddddddddddddde±x".
    char buffer[64];
    const std::to_chars_result printed = std::to_chars(buffer, buffer + sizeof buffer, value,
                                                       std::chars_format::scientific, kDigits - 1);
    const std::string_view text(buffer, static_cast<std::size_t>(printed.ptr - buffer));
    const bool negative = text.front() == '-';
    const std::size_t e = text.find('e');
    std::string digits;
    for (const char c : text.substr(negative ? 1 : 0, e - (negative ? 1 : 0))) {
        if (c != '.') digits.push_back(c);
    }
    dropTrailingZeros(digits);
    const int exponent = std::atoi(std::string(text.substr(e + 1)).c_str());

    std::string out = negative ? "-" : "";
    if (exponent > kLargestFixedExponent || exponent < kSmallestFixedExponent) {
        out += digits.front();
        if (digits.size() > 1) out += "." + digits.substr(1);
        out += exponent < 0 ? "E-" : "E+";
        const int magnitude = std::abs(exponent);
        if (magnitude < 10) out += '0';
        out += std::to_string(magnitude);
    } else if (exponent < 0) {
        out += "0." + std::string(static_cast<std::size_t>(-exponent - 1), '0') + digits;
    } else {
        const auto whole = static_cast<std::size_t>(exponent) + 1;
        if (digits.size() <= whole) {
            out += digits + std::string(whole - digits.size(), '0');
        } else {
            out += digits.substr(0, whole) + "." + digits.substr(whole);
        }
    }
    return out;
}

}  // namespace kivo

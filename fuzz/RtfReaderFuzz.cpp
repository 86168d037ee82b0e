// Random bytes through the RTF reader. Beyond the sanitizers' findings it
// checks what must hold for any input: only bytes that start as RTF are
// read; every run is non-empty UTF-8 without a line end; the text never
// grows past a small multiple of the input; sizes stay in range; and a
// second reading gives the same result.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>

#include "FuzzCheck.h"
#include "files/RtfReader.h"

namespace {

// Everything the reader said, in one string, to compare two readings.
class Checker : public kivo::rtf::Handler {
public:
    void text(std::string_view utf8, const kivo::rtf::CharFormat& format) override {
        FUZZ_CHECK(!utf8.empty());
        FUZZ_CHECK(kivo::fuzz::isUtf8(utf8));
        for (const char c : utf8) FUZZ_CHECK(c != '\r' && c != '\n');
        FUZZ_CHECK(kivo::fuzz::isUtf8(format.fontFamily));
        FUZZ_CHECK(format.halfPoints >= 0 && format.halfPoints <= 3276);
        FUZZ_CHECK(!format.color || *format.color <= 0xFFFFFF);
        textBytes += utf8.size();
        log += utf8;
        log += '\x1F';
        log += static_cast<char>('0' + format.bold + 2 * format.italic + 4 * format.underline);
        log += std::to_string(format.color.value_or(0x1000000)) + ',' +
               std::to_string(format.halfPoints) + ',' + format.fontFamily + '\x1E';
    }
    void paragraphEnd() override { log += '\n'; }

    std::size_t textBytes = 0;
    std::string log;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    Checker first;
    const kivo::rtf::ReadResult result = kivo::rtf::read(bytes, first);
    FUZZ_CHECK(result.ok == bytes.starts_with("{\\rtf"));
    if (!result.ok) {
        FUZZ_CHECK(first.log.empty());
        return 0;
    }
    // One input byte gives at most one U+FFFD (three bytes); the last lone
    // surrogate at most one more.
    FUZZ_CHECK(first.textBytes <= 3 * size + 3);
    Checker second;
    kivo::rtf::read(bytes, second);
    FUZZ_CHECK(first.log == second.log);
    return 0;
}

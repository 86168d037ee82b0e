// Random files through the container routines. Beyond the sanitizers'
// findings it checks what must hold for any input: a header is read the
// same way the routines act on it, a file that is not decrypted stays byte
// for byte as it was, no temporary file is left behind, and encrypting then
// decrypting restores the bytes.
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "FuzzCheck.h"
#include "files/Cryptogram.h"

namespace {

namespace fs = std::filesystem;
using Bytes = std::vector<std::uint8_t>;

constexpr std::string_view kKey = "tonic_Kivo_RW7QX214fy";

// A folder of this process's own, removed when the run ends; in memory
// where possible, so that the flush before each rename costs nothing.
class WorkFolder {
public:
    WorkFolder() {
        const fs::path shm = "/dev/shm";
        const fs::path base = fs::is_directory(shm) ? shm : fs::temp_directory_path();
        path_ = base / ("kivo-cryptogram-fuzz-" + std::to_string(::getpid()));
        fs::create_directories(path_);
    }
    ~WorkFolder() {
        std::error_code ignored;
        fs::remove_all(path_, ignored);
    }
    const fs::path& path() const { return path_; }

private:
    fs::path path_;
};

const fs::path& workFolder() {
    static const WorkFolder folder;
    return folder.path();
}

void put(const fs::path& path, const Bytes& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()),
              static_cast<std::streamsize>(bytes.size()));
    FUZZ_CHECK(out.good());
}

Bytes get(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

bool onlyFileIs(const fs::path& path) {
    std::size_t count = 0;
    for (const auto& entry : fs::directory_iterator(workFolder())) {
        if (entry.path() != path) return false;
        ++count;
    }
    return count == 1;
}

kivo::ContainerHeaderFields checkHeader(const Bytes& data) {
    kivo::ContainerHeader header{};
    std::copy_n(data.begin(), std::min(data.size(), header.size()), header.begin());
    const kivo::ContainerHeaderFields fields = kivo::ReadContainerHeader(header);
    FUZZ_CHECK(fields.storedKey.size() <= kivo::kStoredKeyCapacity);
    FUZZ_CHECK(fields.storedKey.find('\xDD') == std::string::npos);
    if (fields.storedKey.empty()) return fields;
    // An accepted header written again with what was read gives its bytes
    // back up to the end of the stored key.
    kivo::ContainerHeader again;
    kivo::WriteContainerHeader(again, fields.storedKey, fields.dateStamp);
    FUZZ_CHECK(
        std::equal(again.begin(), again.begin() + 10 + fields.storedKey.size(), header.begin()));
    return fields;
}

void checkDecrypt(const Bytes& data, const kivo::ContainerHeaderFields& fields) {
    const fs::path path = workFolder() / "input.Kivo";
    put(path, data);
    // The import's reading in memory agrees with the routine in place.
    const kivo::ContainerContent inMemory = kivo::ReadContainerFile(path, kKey, 1 << 20);
    FUZZ_CHECK(get(path) == data);
    std::uint8_t notContainer = 7;
    const kivo::DecryptResult result = kivo::DecryptFileInPlace(path, kKey, notContainer);
    const Bytes after = get(path);
    FUZZ_CHECK(inMemory.result == result);
    FUZZ_CHECK(inMemory.headerMatches == (result == kivo::kDecrypted));
    if (result == kivo::kDecrypted)
        FUZZ_CHECK(Bytes(inMemory.plain.begin(), inMemory.plain.end()) == after);
    FUZZ_CHECK(onlyFileIs(path));

    if (data.size() < static_cast<std::size_t>(kivo::kSmallestExaminedFile)) {
        FUZZ_CHECK(result == kivo::kNotProcessed);
    } else if (fields.storedKey != kKey) {
        FUZZ_CHECK(result == kivo::kNotAContainer);
    } else {
        FUZZ_CHECK(result == kivo::kDecrypted);
    }
    if (result != kivo::kDecrypted) {
        FUZZ_CHECK(notContainer == 1);
        FUZZ_CHECK(after == data);
        return;
    }
    FUZZ_CHECK(notContainer == 0);
    const std::size_t body = data.size() > 44 ? data.size() - 44 : 0;
    FUZZ_CHECK(after.size() == body);
    for (std::size_t p = 0; p < body; ++p) {
        FUZZ_CHECK((after[p] ^ data[44 + p]) ==
                   static_cast<std::uint8_t>(kKey[p % 1024 % kKey.size()]));
    }
}

// Any key the format can hold brings the bytes back; others (too long, or
// holding 0xDD) make a container that never decrypts.
void checkRoundTrip(const Bytes& data) {
    const std::size_t keyLength =
        data.empty() ? 0 : std::min<std::size_t>(data[0] % 40, data.size() - 1);
    const std::string key(data.begin() + (data.empty() ? 0 : 1),
                          data.begin() + (data.empty() ? 0 : 1 + keyLength));
    const fs::path path = workFolder() / "plain.Kivo";
    put(path, data);

    const bool encrypted = kivo::EncryptFileInPlace(path, key);
    FUZZ_CHECK(encrypted == !key.empty());
    FUZZ_CHECK(onlyFileIs(path));
    if (!encrypted) {
        FUZZ_CHECK(get(path) == data);
        fs::remove(path);
        return;
    }
    FUZZ_CHECK(fs::file_size(path) == data.size() + 44);

    const bool storable =
        key.size() <= kivo::kStoredKeyCapacity && key.find('\xDD') == std::string::npos;
    std::uint8_t notContainer = 7;
    const kivo::DecryptResult result = kivo::DecryptFileInPlace(path, key, notContainer);
    FUZZ_CHECK(result == (storable ? kivo::kDecrypted : kivo::kNotAContainer));
    FUZZ_CHECK(notContainer == (storable ? 0 : 1));
    if (storable) FUZZ_CHECK(get(path) == data);
    FUZZ_CHECK(onlyFileIs(path));
    fs::remove(path);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const Bytes input(data, data + size);
    const kivo::ContainerHeaderFields fields = checkHeader(input);
    checkDecrypt(input, fields);
    fs::remove(workFolder() / "input.Kivo");
    checkRoundTrip(input);
    return 0;
}

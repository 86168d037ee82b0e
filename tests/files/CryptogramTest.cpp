#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <fstream>
#include <random>
#include <set>
#include <string>
#include <vector>

#include "files/Cryptogram.h"
#include "support/Containers.h"
#include "support/TempFolder.h"

namespace kivo {
namespace {

namespace fs = std::filesystem;
using Bytes = std::vector<std::uint8_t>;

// 2021-03-14 15:09:26 as an MS-DOS date and time.
constexpr std::uint32_t kStamp = 0x526E792D;

// The header of a container made with kContainerKey and kStamp, byte by byte.
const Bytes kHeaderVector = {
    0x17, 0x00, 'K',  'i',  'v',  'o',                                 // magic
    0x2D, 0x79, 0x6E, 0x52,                                            // stamp, lowest byte first
    0xA9, 0xB2, 0xB3, 0xB4, 0xBE, 0x82, 0x96, 0xB4,                    // "tonic_Ki" ^ 0xDD
    0xAB, 0xB2, 0x82, 0x8F, 0x8A, 0xEA, 0x8C, 0x85,                    // "vo_RW7QX" ^ 0xDD
    0xEF, 0xEC, 0xE9, 0xBB, 0xA4,                                      // "214fy" ^ 0xDD
    0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00,  // key padding
    0x00, 0x00,                                                        // reserved
};

Bytes pattern(std::size_t size, unsigned seed = 1) {
    std::mt19937 random(seed);
    Bytes bytes(size);
    for (auto& b : bytes) b = static_cast<std::uint8_t>(random());
    return bytes;
}

class CryptogramTest : public ::testing::Test {
protected:
    TempFolder folder_;
    fs::path at(std::string_view utf8Name) const { return folder_.path(utf8Name); }

    // Writes a file and, when given, sets its last-write time from a stamp.
    static void put(const fs::path& path, const Bytes& bytes, std::uint32_t stamp = 0) {
        std::error_code ignored;
        fs::remove(path, ignored);
        File file = File::createExclusive(path);
        ASSERT_TRUE(file.isOpen());
        ASSERT_TRUE(file.write(bytes));
        if (stamp != 0) {
            ASSERT_TRUE(file.setLastWriteDosStamp(stamp));
        }
        ASSERT_TRUE(file.close());
    }
    static Bytes get(const fs::path& path) {
        std::ifstream in(path, std::ios::binary);
        return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    }
    static std::uint32_t stampOf(const fs::path& path) {
        return File::openForReading(path).lastWriteDosStamp();
    }
    std::set<std::string> names() const {
        std::set<std::string> found;
        for (const auto& entry : fs::directory_iterator(folder_.root())) {
            const std::u8string name = entry.path().filename().u8string();
            found.emplace(name.begin(), name.end());
        }
        return found;
    }
};

// --- The format -------------------------------------------------------------

TEST(ContainerHeaderFormat, MatchesTheTestVector) {
    ContainerHeader header;
    header.fill(0xEE);
    WriteContainerHeader(header, kContainerKey, kStamp);
    EXPECT_EQ(Bytes(header.begin(), header.end()), kHeaderVector);

    Bytes reserved = kHeaderVector;  // bytes 42 and 43 are not examined
    reserved[42] = 0x55;
    reserved[43] = 0xAA;
    const ContainerHeaderFields fields = ReadContainerHeader(headerOf(reserved));
    EXPECT_EQ(fields.storedKey, kContainerKey);
    EXPECT_EQ(fields.dateStamp, kStamp);
}

TEST(ContainerHeaderFormat, StoredKeyHoldsAtMost32BytesAndEndsAtByteDD) {
    ContainerHeader header;
    WriteContainerHeader(header, std::string(40, 'k'), 0);
    EXPECT_EQ(ReadContainerHeader(header).storedKey, std::string(32, 'k'));
    EXPECT_EQ(header[42] | header[43], 0);
    WriteContainerHeader(header, std::string("ab") + '\xDD' + "cd", 0);
    EXPECT_EQ(ReadContainerHeader(header).storedKey, "ab");
}

// --- Files in place ---------------------------------------------------------

TEST_F(CryptogramTest, ContainerBytesMatchTheTestVector) {
    const Bytes plain(1100, 0x5A);
    put(at("list.Kivo"), plain, kStamp);
    ASSERT_TRUE(EncryptFileInPlace(at("list.Kivo"), kContainerKey));

    const Bytes container = get(at("list.Kivo"));
    ASSERT_EQ(container.size(), 44 + plain.size());
    EXPECT_EQ(Bytes(container.begin(), container.begin() + 44), kHeaderVector);
    const auto body = [&](std::size_t p) { return container[44 + p] ^ 0x5A; };
    EXPECT_EQ(body(0), 't');     // key[0]
    EXPECT_EQ(body(20), 'y');    // key[20], the last
    EXPECT_EQ(body(21), 't');    // the key runs on
    EXPECT_EQ(body(1023), 'X');  // key[1023 mod 21] = key[15]
    EXPECT_EQ(body(1024), 't');  // a new block starts at key[0], not key[16]
    EXPECT_EQ(body(1025), 'o');
    EXPECT_EQ(names(), std::set<std::string>{"list.Kivo"});
}

TEST_F(CryptogramTest, BodyPhaseHoldsAcrossLargeIoBuffers) {
    // Several megabytes cross the reading buffer's edges at odd places.
    const std::size_t size = 3 * 1024 * 1024 + 777;
    put(at("list.Kivo"), Bytes(size, 0));
    ASSERT_TRUE(EncryptFileInPlace(at("list.Kivo"), kContainerKey));
    const Bytes container = get(at("list.Kivo"));
    ASSERT_EQ(container.size(), 44 + size);
    for (std::size_t p = 0; p < size; ++p) {
        ASSERT_EQ(container[44 + p], kContainerKey[p % 1024 % kContainerKey.size()])
            << "at body offset " << p;
    }
}

TEST_F(CryptogramTest, EncryptThenDecryptRestoresEveryByte) {
    const fs::path path = at("動物リスト.Kivo");
    for (const std::size_t size : {0, 1, 20, 1023, 1024, 1025, 2048, 70000}) {
        SCOPED_TRACE(size);
        const Bytes plain = pattern(size, static_cast<unsigned>(size));
        put(path, plain, kStamp);
        ASSERT_TRUE(EncryptFileInPlace(path, kContainerKey));
        EXPECT_EQ(get(path).size(), size + 44);
        std::uint8_t notContainer = 1;
        EXPECT_EQ(DecryptFileInPlace(path, kContainerKey, notContainer), kDecrypted);
        EXPECT_EQ(notContainer, 0);
        EXPECT_EQ(get(path), plain);
        EXPECT_EQ(names(), std::set<std::string>{"動物リスト.Kivo"});
    }
}

TEST_F(CryptogramTest, EncryptingTheSamePlainFileTwiceGivesTheSameContainer) {
    const Bytes plain = pattern(5000);
    put(at("a.Kivo"), plain, kStamp);
    put(at("b.Kivo"), plain, kStamp);
    ASSERT_TRUE(EncryptFileInPlace(at("a.Kivo"), kContainerKey));
    ASSERT_TRUE(EncryptFileInPlace(at("b.Kivo"), kContainerKey));
    EXPECT_EQ(get(at("a.Kivo")), get(at("b.Kivo")));
}

TEST_F(CryptogramTest, EmptyPlainFileBecomesAHeaderOnly) {
    put(at("list.Kivo"), {}, kStamp);
    ASSERT_TRUE(EncryptFileInPlace(at("list.Kivo"), kContainerKey));
    EXPECT_EQ(get(at("list.Kivo")), kHeaderVector);
    std::uint8_t notContainer = 1;
    EXPECT_EQ(DecryptFileInPlace(at("list.Kivo"), kContainerKey, notContainer), kDecrypted);
    EXPECT_EQ(get(at("list.Kivo")), Bytes{});
}

TEST_F(CryptogramTest, FilesOf35To43BytesAreExaminedAndYieldEmptyContent) {
    // The stored key ends at byte 31, so a header cut anywhere from byte 35
    // on still matches.
    for (std::size_t size = 35; size <= 43; ++size) {
        SCOPED_TRACE(size);
        put(at("list.Kivo"), Bytes(kHeaderVector.begin(), kHeaderVector.begin() + size));
        std::uint8_t notContainer = 1;
        EXPECT_EQ(DecryptFileInPlace(at("list.Kivo"), kContainerKey, notContainer), kDecrypted);
        EXPECT_EQ(notContainer, 0);
        EXPECT_EQ(get(at("list.Kivo")), Bytes{});
    }
}

TEST_F(CryptogramTest, FilesUnder35BytesAreNotProcessed) {
    const Bytes cut(kHeaderVector.begin(), kHeaderVector.begin() + 34);
    put(at("list.Kivo"), cut);
    std::uint8_t notContainer = 0;
    EXPECT_EQ(DecryptFileInPlace(at("list.Kivo"), kContainerKey, notContainer), kNotProcessed);
    EXPECT_EQ(notContainer, 1);
    EXPECT_EQ(get(at("list.Kivo")), cut);
}

TEST_F(CryptogramTest, WhatIsNotAContainerForTheKeyStaysAsItWas) {
    const std::string text = "りんご\r\nみかん\r\nぶどう\r\nばなな\r\nいちご\r\n";
    const Bytes plainText(text.begin(), text.end());
    Bytes otherCase = kHeaderVector;
    otherCase[2] = 'k';
    Bytes zeroKey = kHeaderVector;
    std::fill(zeroKey.begin() + 10, zeroKey.begin() + 42, 0);
    ContainerHeader otherKey;
    WriteContainerHeader(otherKey, "another_key", kStamp);

    for (const Bytes& input :
         {plainText, otherCase, zeroKey, Bytes(otherKey.begin(), otherKey.end())}) {
        Bytes bytes = input;
        bytes.resize(std::max<std::size_t>(bytes.size(), 100), 'x');
        put(at("list.Kivo"), bytes);
        std::uint8_t notContainer = 0;
        EXPECT_EQ(DecryptFileInPlace(at("list.Kivo"), kContainerKey, notContainer), kNotAContainer);
        EXPECT_EQ(notContainer, 1);
        EXPECT_EQ(get(at("list.Kivo")), bytes);
        EXPECT_EQ(names(), std::set<std::string>{"list.Kivo"});
    }
}

TEST_F(CryptogramTest, AContainerForAnotherKeyIsNotReadWithOurs) {
    // Our key less its last byte: a key that merely starts like ours is
    // another key all the same.
    const std::string_view otherKey = kContainerKey.substr(0, kContainerKey.size() - 1);
    const std::string stored = EncipherContainer("りんご\r\nみかん\r\n", otherKey, kStamp);
    put(at("list.Kivo"), Bytes(stored.begin(), stored.end()));

    const ContainerContent ours = ReadContainerFile(at("list.Kivo"), kContainerKey, 1u << 20);
    EXPECT_EQ(ours.result, kNotAContainer);
    EXPECT_FALSE(ours.headerMatches);
    EXPECT_TRUE(ours.plain.empty());
    // The file itself is a sound container: its own key reads it.
    const ContainerContent theirs = ReadContainerFile(at("list.Kivo"), otherKey, 1u << 20);
    EXPECT_EQ(theirs.result, kDecrypted);
    EXPECT_EQ(theirs.plain, "りんご\r\nみかん\r\n");
}

TEST_F(CryptogramTest, EmptyKeyOrMissingFileDoesNothing) {
    put(at("list.Kivo"), kHeaderVector);
    std::uint8_t notContainer = 0;
    EXPECT_FALSE(EncryptFileInPlace(at("list.Kivo"), ""));
    EXPECT_EQ(DecryptFileInPlace(at("list.Kivo"), "", notContainer), kNotProcessed);
    EXPECT_EQ(notContainer, 1);
    EXPECT_EQ(get(at("list.Kivo")), kHeaderVector);

    notContainer = 0;
    EXPECT_FALSE(EncryptFileInPlace(at("missing.Kivo"), kContainerKey));
    EXPECT_EQ(DecryptFileInPlace(at("missing.Kivo"), kContainerKey, notContainer), kNotProcessed);
    EXPECT_EQ(notContainer, 1);
    EXPECT_EQ(names(), std::set<std::string>{"list.Kivo"});
}

TEST_F(CryptogramTest, ATmpFileIsEncipheredLikeAnyOther) {
    const Bytes plain = pattern(1500);
    put(at("list.tmp"), plain);
    ASSERT_TRUE(EncryptFileInPlace(at("list.tmp"), kContainerKey));
    std::uint8_t notContainer = 1;
    EXPECT_EQ(DecryptFileInPlace(at("list.tmp"), kContainerKey, notContainer), kDecrypted);
    EXPECT_EQ(get(at("list.tmp")), plain);
    EXPECT_EQ(names(), std::set<std::string>{"list.tmp"});
}

// --- Dates --------------------------------------------------------------------

TEST_F(CryptogramTest, StampSurvivesAnyNumberOfImports) {
    const Bytes plain = pattern(2500);
    put(at("list.Kivo"), plain, kStamp);
    ASSERT_TRUE(EncryptFileInPlace(at("list.Kivo"), kContainerKey));
    for (int round = 0; round < 3; ++round) {
        SCOPED_TRACE(round);
        EXPECT_EQ(ReadContainerHeader(headerOf(get(at("list.Kivo")))).dateStamp, kStamp);
        std::uint8_t notContainer = 1;
        ASSERT_EQ(DecryptFileInPlace(at("list.Kivo"), kContainerKey, notContainer), kDecrypted);
        EXPECT_EQ(stampOf(at("list.Kivo")), kStamp);
        EXPECT_EQ(get(at("list.Kivo")), plain);
        ASSERT_TRUE(EncryptFileInPlace(at("list.Kivo"), kContainerKey));
    }
}

TEST_F(CryptogramTest, ZeroOrInvalidStampLeavesTheTimeOfWriting) {
    const std::uint32_t thirtiethOfFebruary = (41u << 9 | 2 << 5 | 30) << 16;
    for (const std::uint32_t stamp : {0u, kNoDosStamp, thirtiethOfFebruary}) {
        SCOPED_TRACE(stamp);
        ContainerHeader header;
        WriteContainerHeader(header, kContainerKey, stamp);
        Bytes container(header.begin(), header.end());
        container.push_back('a' ^ 't');
        put(at("list.Kivo"), container, kStamp);

        const auto before = fs::file_time_type::clock::now();
        std::uint8_t notContainer = 1;
        ASSERT_EQ(DecryptFileInPlace(at("list.Kivo"), kContainerKey, notContainer), kDecrypted);
        EXPECT_EQ(get(at("list.Kivo")), Bytes{'a'});
        const auto age = fs::last_write_time(at("list.Kivo")) - before;
        EXPECT_LT(std::chrono::abs(age), std::chrono::minutes(1));
    }
}

TEST_F(CryptogramTest, TimeBefore1980IsStoredAsAllBitsSet) {
    put(at("list.Kivo"), pattern(10));
    fs::last_write_time(at("list.Kivo"),
                        fs::last_write_time(at("list.Kivo")) - std::chrono::hours(24 * 366 * 60));
    ASSERT_TRUE(EncryptFileInPlace(at("list.Kivo"), kContainerKey));
    EXPECT_EQ(ReadContainerHeader(headerOf(get(at("list.Kivo")))).dateStamp, kNoDosStamp);
}

// --- The user's files are never lost ---------------------------------------

TEST_F(CryptogramTest, NoFileBesideTheInputBlocksOrIsTouched) {
    // A user's list.tmp, and a leftover of ours that a crash left long ago.
    const Bytes plain = pattern(3000);
    const Bytes own = {'m', 'i', 'n', 'e'};
    put(at("list.Kivo"), plain);
    put(at("list.tmp"), own);
    put(at(".kivo-0badf00d.tmp"), own);
    fs::last_write_time(at(".kivo-0badf00d.tmp"),
                        fs::file_time_type::clock::now() - std::chrono::hours(2));
    ASSERT_TRUE(EncryptFileInPlace(at("list.Kivo"), kContainerKey));
    std::uint8_t notContainer = 1;
    EXPECT_EQ(DecryptFileInPlace(at("list.Kivo"), kContainerKey, notContainer), kDecrypted);
    EXPECT_EQ(get(at("list.Kivo")), plain);
    EXPECT_EQ(get(at("list.tmp")), own);
    EXPECT_EQ(names(), (std::set<std::string>{"list.Kivo", "list.tmp"}));
}

// Writes fail, as on a full disk, once `room` bytes have gone out.
class FullDisk : public ContainerIo {
public:
    explicit FullDisk(std::uint64_t room) : room_(room) {}
    bool write(File& file, std::span<const std::uint8_t> bytes) override {
        const auto fits = static_cast<std::size_t>(std::min<std::uint64_t>(room_, bytes.size()));
        room_ -= fits;
        return file.write(bytes.first(fits)) && fits == bytes.size();
    }

private:
    std::uint64_t room_;
};

// The input yields only `available` bytes, as when another program cuts it
// short while it is copied.
class ShrinkingInput : public ContainerIo {
public:
    explicit ShrinkingInput(std::uint64_t available) : available_(available) {}
    std::optional<std::size_t> read(File& file, std::span<std::uint8_t> buffer) override {
        const auto want =
            static_cast<std::size_t>(std::min<std::uint64_t>(available_, buffer.size()));
        const auto got = file.read(buffer.first(want));
        if (got) available_ -= *got;
        return got;
    }

private:
    std::uint64_t available_;
};

class FlushFails : public ContainerIo {
public:
    bool flush(File&) override { return false; }
};

TEST_F(CryptogramTest, AFailedWriteLeavesThePlainFileWhole) {
    const Bytes plain = pattern(3 * 1024 * 1024 + 5);
    put(at("list.Kivo"), plain);
    for (const std::uint64_t room :
         {0ull, 43ull, 44ull + 1024, 44ull + 1024 * 1024 + 3, 44ull + plain.size() - 1}) {
        SCOPED_TRACE(room);
        FullDisk disk(room);
        EXPECT_FALSE(EncryptFileInPlace(at("list.Kivo"), kContainerKey, disk));
        EXPECT_EQ(get(at("list.Kivo")), plain);
        EXPECT_EQ(names(), std::set<std::string>{"list.Kivo"});
    }
    FlushFails flush;
    EXPECT_FALSE(EncryptFileInPlace(at("list.Kivo"), kContainerKey, flush));
    ShrinkingInput shrinking(plain.size() - 1);
    EXPECT_FALSE(EncryptFileInPlace(at("list.Kivo"), kContainerKey, shrinking));
    EXPECT_EQ(get(at("list.Kivo")), plain);
    EXPECT_EQ(names(), std::set<std::string>{"list.Kivo"});
}

TEST_F(CryptogramTest, AFailedWriteLeavesTheContainerWhole) {
    put(at("list.Kivo"), pattern(2 * 1024 * 1024 + 100), kStamp);
    ASSERT_TRUE(EncryptFileInPlace(at("list.Kivo"), kContainerKey));
    const Bytes container = get(at("list.Kivo"));

    FullDisk disk(1024 * 1024 + 7);
    FlushFails flush;
    ShrinkingInput shrinking(container.size() - 1);
    for (ContainerIo* io : std::initializer_list<ContainerIo*>{&disk, &flush, &shrinking}) {
        std::uint8_t notContainer = 0;
        EXPECT_EQ(DecryptFileInPlace(at("list.Kivo"), kContainerKey, notContainer, *io),
                  kNotProcessed);
        EXPECT_EQ(notContainer, 1);
        EXPECT_EQ(get(at("list.Kivo")), container);
        EXPECT_EQ(names(), std::set<std::string>{"list.Kivo"});
    }
}

TEST_F(CryptogramTest, TheReplacedFileKeepsTheInputsRights) {
#ifdef _WIN32
    GTEST_SKIP() << "Windows files take their rights from the folder";
#endif
    const auto rights = fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read;
    put(at("list.Kivo"), pattern(100));
    fs::permissions(at("list.Kivo"), rights);
    ASSERT_TRUE(EncryptFileInPlace(at("list.Kivo"), kContainerKey));
    EXPECT_EQ(fs::status(at("list.Kivo")).permissions(), rights);
    std::uint8_t notContainer = 1;
    ASSERT_EQ(DecryptFileInPlace(at("list.Kivo"), kContainerKey, notContainer), kDecrypted);
    EXPECT_EQ(fs::status(at("list.Kivo")).permissions(), rights);
}

TEST_F(CryptogramTest, AReadOnlyFileIsNotReplaced) {
    put(at("list.Kivo"), pattern(100));
    ASSERT_TRUE(EncryptFileInPlace(at("list.Kivo"), kContainerKey));
    const Bytes container = get(at("list.Kivo"));
    fs::permissions(at("list.Kivo"), fs::perms::owner_read);

    std::uint8_t notContainer = 0;
    EXPECT_EQ(DecryptFileInPlace(at("list.Kivo"), kContainerKey, notContainer), kNotProcessed);
    EXPECT_EQ(notContainer, 1);
    EXPECT_FALSE(EncryptFileInPlace(at("list.Kivo"), kContainerKey));
    EXPECT_EQ(get(at("list.Kivo")), container);
    EXPECT_EQ(names(), std::set<std::string>{"list.Kivo"});
}

// --- Sizes past 2 GiB -------------------------------------------------------

// Compares the body of an all-zero plain file with the key stream as it
// goes out, instead of storing it; then fails the flush so that nothing on
// disk changes.
class KeyStreamCheck : public ContainerIo {
public:
    explicit KeyStreamCheck(std::uint64_t headerSize) : header_(headerSize) {
        for (std::size_t i = 0; i < stream_.size(); ++i)
            stream_[i] = kContainerKey[i % 1024 % kContainerKey.size()];
    }
    bool write(File&, std::span<const std::uint8_t> bytes) override {
        const auto skipped =
            static_cast<std::size_t>(std::min<std::uint64_t>(header_, bytes.size()));
        header_ -= skipped;
        bytes = bytes.subspan(skipped);
        if (bytes.size() + 1024 > stream_.size()) return false;
        matches_ =
            matches_ && std::equal(bytes.begin(), bytes.end(), stream_.begin() + body_ % 1024);
        body_ += bytes.size();
        return true;
    }
    bool flush(File&) override { return false; }

    std::uint64_t body() const { return body_; }
    bool matches() const { return matches_; }

private:
    std::uint64_t header_;
    std::uint64_t body_ = 0;
    bool matches_ = true;
    Bytes stream_ = Bytes((4 << 20) + 1024);
};

TEST_F(CryptogramTest, SizesPast2GiBAreHandledWhole) {
    const std::uint64_t size = (std::uint64_t{1} << 31) + 5000;
    put(at("big.Kivo"), {});
    std::error_code error;
    fs::resize_file(at("big.Kivo"), size, error);
    if (error) GTEST_SKIP() << "no sparse file of 2 GiB here: " << error.message();

    // A plain file this size is not a container: only its header is read.
    std::uint8_t notContainer = 0;
    EXPECT_EQ(DecryptFileInPlace(at("big.Kivo"), kContainerKey, notContainer), kNotAContainer);

    KeyStreamCheck encrypting(44);
    EXPECT_FALSE(EncryptFileInPlace(at("big.Kivo"), kContainerKey, encrypting));
    EXPECT_EQ(encrypting.body(), size);
    EXPECT_TRUE(encrypting.matches());
    EXPECT_EQ(fs::file_size(at("big.Kivo")), size);
    fs::remove(at("big.Kivo"));

    // A container of that size with an all-zero body deciphers to the key stream.
    ContainerHeader header;
    WriteContainerHeader(header, kContainerKey, kStamp);
    put(at("big.Kivo"), Bytes(header.begin(), header.end()));
    fs::resize_file(at("big.Kivo"), size + 44);
    KeyStreamCheck decrypting(0);
    EXPECT_EQ(DecryptFileInPlace(at("big.Kivo"), kContainerKey, notContainer, decrypting),
              kNotProcessed);
    EXPECT_EQ(decrypting.body(), size);
    EXPECT_TRUE(decrypting.matches());
    EXPECT_EQ(names(), std::set<std::string>{"big.Kivo"});
}

}  // namespace
}  // namespace kivo

// The champions file's bytes and the checksum that guards them, without Qt.
#include "champions/core/ChampionsBytes.h"
#include "engine/Errors.h"

#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <ostream>
#include <string>
#include <utility>

using namespace formulon::engine;

namespace {

constexpr int kChecksumRecord = kChampionSlots * kChampionRecordSize; // offset 8192
constexpr int kResultLength = 256;                                    // within a record

// Slot 1 "abc" in 12 seconds and a spare slot 16: checksum 393 + 's' + '1'.
void SetTable() {
    ChampionTable.Reset();
    ChampionTable[1].SetName("abc");
    ChampionTable[1].SetResult("12");
    ChampionTable[16].SetName("s");
    ChampionTable[16].SetResult("1");
}
constexpr const char* kChecksumText = "557"; // 393 + 115 + 49

// Writes text as the short text (length byte, characters) at offset.
void PutShortText(std::string& bytes, int offset, const std::string& text) {
    bytes[offset] = static_cast<char>(text.size());
    bytes.replace(offset + 1, text.size(), text);
}

std::string Slot(int slot) {
    return std::string(reinterpret_cast<const char*>(&ChampionTable[slot]), kChampionRecordSize);
}

TEST(ChampionsFileBytes, AreTheSixteenSlotsThenTheChecksumRecord) {
    SetTable();
    ChampionTable[1].NameChars[200] = 'F'; // filler travels as it lies
    const std::string bytes = EncodeChampionsFile();
    ASSERT_EQ(bytes.size(), 8704u);
    for (int slot = 1; slot <= kChampionSlots; ++slot)
        EXPECT_EQ(bytes.substr((slot - 1) * kChampionRecordSize, kChampionRecordSize), Slot(slot))
            << "slot " << slot;
    EXPECT_EQ(bytes.substr(kChecksumRecord, kResultLength), std::string(kResultLength, '\0'));
    EXPECT_EQ(bytes[kChecksumRecord + kResultLength], 3);
    EXPECT_EQ(bytes.substr(kChecksumRecord + kResultLength + 1, 3), kChecksumText);
}

TEST(ChampionsFileBytes, AnEmptyTableHasTheChecksumZero) {
    ChampionTable.Reset();
    const std::string bytes = EncodeChampionsFile();
    std::string expected(8704, '\0');
    PutShortText(expected, kChecksumRecord + kResultLength, "0");
    EXPECT_EQ(bytes, expected);
}

struct DecodeRow {
    const char* title;
    std::function<void(std::string&)> change; // applied to the saved bytes
    bool valid;
};

void PrintTo(const DecodeRow& row, std::ostream* os) {
    *os << row.title;
}

class DecodeChampionsFileTest : public testing::TestWithParam<DecodeRow> {};

TEST_P(DecodeChampionsFileTest, AcceptsExactlyTheFilesWhoseSumMatches) {
    SetTable();
    std::string bytes = EncodeChampionsFile();
    GetParam().change(bytes);
    ChampionTable.Reset();
    EXPECT_EQ(DecodeChampionsFile(bytes), GetParam().valid);
    // Read either way: the caller empties the ranking of a changed file.
    for (int slot = 1; slot <= kChampionSlots; ++slot)
        EXPECT_EQ(Slot(slot), bytes.substr((slot - 1) * kChampionRecordSize, kChampionRecordSize))
            << "slot " << slot;
}

const int kName1 = 1;                             // slot 1's first Name character
const int kResult1 = kResultLength + 1;           // slot 1's first Result character
const int kName16 = 15 * kChampionRecordSize + 1; // slot 16's first Name character
const int kChecksumText1 = kChecksumRecord + kResultLength + 1;

INSTANTIATE_TEST_SUITE_P(
    Rows, DecodeChampionsFileTest,
    testing::Values(
        DecodeRow{"as_saved", [](std::string&) {}, true},
        DecodeRow{"a_name_character_changed", [](std::string& b) { b[kName1] = 'b'; }, false},
        DecodeRow{"a_result_character_changed", [](std::string& b) { b[kResult1] = '2'; }, false},
        DecodeRow{"slot_16_changed", [](std::string& b) { b[kName16] = 't'; }, false},
        DecodeRow{"a_name_shortened", [](std::string& b) { b[0] = 2; }, false},
        DecodeRow{"the_checksum_changed", [](std::string& b) { b[kChecksumText1 + 2] = '8'; },
                  false},
        DecodeRow{"two_result_characters_swapped",
                  [](std::string& b) { std::swap(b[kResult1], b[kResult1 + 1]); }, true},
        DecodeRow{"characters_moved_between_slots",
                  [](std::string& b) { std::swap(b[kName1], b[kName16]); }, true},
        DecodeRow{"filler_changed", [](std::string& b) { b[kName1 + 100] = 'x'; }, true},
        DecodeRow{"the_checksum_in_hexadecimal",
                  [](std::string& b) { PutShortText(b, kChecksumText1 - 1, "$22D"); }, true},
        DecodeRow{"the_checksum_after_blanks",
                  [](std::string& b) { PutShortText(b, kChecksumText1 - 1, "  557"); }, true}),
    [](const auto& info) { return std::string(info.param.title); });

TEST(DecodeChampionsFile, AnotherLengthIsNoFileAndLeavesTheTable) {
    for (const std::size_t size : {8703u, 8705u, 0u}) {
        SetTable();
        EXPECT_FALSE(DecodeChampionsFile(std::string(size, '\0'))) << size;
        EXPECT_EQ(ChampionTable[1].Name(), "abc") << size;
    }
}

TEST(DecodeChampionsFile, AnEmptyChecksumTextRaisesTheConversionErrorAfterReading) {
    SetTable();
    std::string bytes(8704, '\0');
    PutShortText(bytes, 0, "z");
    try {
        DecodeChampionsFile(bytes);
        FAIL() << "no error";
    } catch (const EConvertError& e) {
        EXPECT_STREQ(e.what(), "'' is not a valid integer value");
    }
    EXPECT_EQ(ChampionTable[1].Name(), "z");
    EXPECT_EQ(ChampionTable[16].Name(), "");
}

} // namespace

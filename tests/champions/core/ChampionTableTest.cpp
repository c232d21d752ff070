// The champion table: layout, checksum and SortChampions.
#include "champions/core/ChampionTable.h"
#include "engine/Errors.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace formulon::engine;

namespace {

struct TEntry {
    std::string name;
    std::string result;
};

void SetRanking(const std::vector<TEntry>& entries) {
    ChampionTable.Reset();
    for (std::size_t i = 0; i < entries.size(); ++i) {
        ChampionTable[static_cast<int>(i) + 1].SetName(entries[i].name);
        ChampionTable[static_cast<int>(i) + 1].SetResult(entries[i].result);
    }
}

std::vector<TEntry> Ranking(int count) {
    std::vector<TEntry> entries;
    for (int slot = 1; slot <= count; ++slot)
        entries.push_back({ChampionTable[slot].Name(), ChampionTable[slot].Result()});
    return entries;
}

bool operator==(const TEntry& a, const TEntry& b) {
    return a.name == b.name && a.result == b.result;
}

void PrintTo(const TEntry& e, std::ostream* os) {
    *os << "{" << e.name << "," << e.result << "}";
}

} // namespace

TEST(ChampionRecord, IsFiveHundredTwelveBytesWithFieldsAtTheirOffsets) {
    TChampionRecord record;
    EXPECT_EQ(sizeof(record), 512u);
    const auto* base = reinterpret_cast<const char*>(&record);
    EXPECT_EQ(reinterpret_cast<const char*>(&record.NameLength) - base, 0);
    EXPECT_EQ(record.NameChars - base, 1);
    EXPECT_EQ(reinterpret_cast<const char*>(&record.ResultLength) - base, 256);
    EXPECT_EQ(record.ResultChars - base, 257);
}

TEST(ChampionRecord, AssignmentKeepsTheFirst255Characters) {
    TChampionRecord record;
    record.SetName(std::string(300, 'x'));
    EXPECT_EQ(record.NameLength, 255);
    EXPECT_EQ(record.Name(), std::string(255, 'x'));
}

TEST(ChampionsChecksum, WorkedExampleIs393) {
    SetRanking({{"abc", "12"}});
    EXPECT_EQ(ChampionsChecksum(), 393);
}

TEST(ChampionsChecksum, CountsSlot16AndOnlyCharactersInsideTheLengths) {
    ChampionTable.Reset();
    ChampionTable[16].SetName("\xC0"); // 'А', byte 192: unsigned
    ChampionTable[3].SetResult("1");
    ChampionTable[3].ResultChars[1] = '9'; // filler: not counted
    EXPECT_EQ(ChampionsChecksum(), 192 + 49);
}

TEST(ChampionsChecksum, EmptyTableIsZero) {
    ChampionTable.Reset();
    EXPECT_EQ(ChampionsChecksum(), 0);
}

struct TSortCase {
    const char* title;
    std::vector<TEntry> before;
    std::vector<TEntry> after;
};

void PrintTo(const TSortCase& c, std::ostream* os) {
    *os << c.title;
}

class SortChampionsTest : public ::testing::TestWithParam<TSortCase> {};

TEST_P(SortChampionsTest, OrdersTheRanking) {
    const TSortCase& c = GetParam();
    SetRanking(c.before);
    SortChampions();
    EXPECT_EQ(Ranking(static_cast<int>(c.after.size())), c.after);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, SortChampionsTest,
    ::testing::Values(TSortCase{"numeric_9_before_10_and_100",
                                {{"a", "100"}, {"b", "10"}, {"c", "9"}},
                                {{"c", "9"}, {"b", "10"}, {"a", "100"}}},
                      TSortCase{"stable_for_equal_times",
                                {{"first", "20"}, {"x", "5"}, {"second", "20"}, {"third", "20"}},
                                {{"x", "5"}, {"first", "20"}, {"second", "20"}, {"third", "20"}}},
                      TSortCase{"empty_places_sink",
                                {{"", ""}, {"a", "7"}, {"named", ""}, {"", "3"}},
                                {{"", "3"}, {"a", "7"}, {"", ""}, {"named", ""}}},
                      TSortCase{"integer_texts_with_blanks_sign_and_hex",
                                {{"a", " 12"}, {"b", "$A"}, {"c", "-1"}},
                                {{"c", "-1"}, {"b", "$A"}, {"a", " 12"}}},
                      TSortCase{"all_empty_stays", {}, {{"", ""}, {"", ""}}}),
    [](const auto& info) { return std::string(info.param.title); });

TEST(SortChampions, NeverTouchesSlot16) {
    SetRanking({{"b", "9"}});
    ChampionTable[16].SetName("spare");
    ChampionTable[16].SetResult("1");
    SortChampions();
    EXPECT_EQ(ChampionTable[1].Name(), "b");
    EXPECT_EQ(ChampionTable[16].Name(), "spare");
    EXPECT_EQ(ChampionTable[16].Result(), "1");
}

TEST(SortChampions, ExchangesWholeRecordsFillerIncluded) {
    SetRanking({{"b", "9"}, {"a", "1"}});
    ChampionTable[1].NameChars[100] = 'Z';
    SortChampions();
    EXPECT_EQ(ChampionTable[2].NameChars[100], 'Z');
    EXPECT_EQ(ChampionTable[1].NameChars[100], 0);
}

TEST(SortChampions, NonIntegerRaisesAndKeepsTheOrderReached) {
    // Pass 1: (1,2) exchanges 5 and 3, then (2,3) compares 5 with "1z".
    SetRanking({{"a", "5"}, {"b", "3"}, {"c", "1z"}});
    try {
        SortChampions();
        FAIL() << "no error";
    } catch (const EConvertError& e) {
        EXPECT_STREQ(e.what(), "'1z' is not a valid integer value");
    }
    EXPECT_EQ(Ranking(3), (std::vector<TEntry>{{"b", "3"}, {"a", "5"}, {"c", "1z"}}));
}

TEST(EmptyRanking, SetsLengthsOnlyAndSparesSlot16) {
    SetRanking({{"abc", "12"}});
    ChampionTable[16].SetName("keep");
    EmptyRanking();
    EXPECT_EQ(ChampionTable[1].NameLength, 0);
    EXPECT_EQ(ChampionTable[1].ResultLength, 0);
    EXPECT_EQ(ChampionTable[1].NameChars[0], 'a'); // other bytes stay
    EXPECT_EQ(ChampionTable[16].Name(), "keep");
}

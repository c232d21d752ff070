// The save's merge: the table on disk, this run's records, fifteen kept.
#include "champions/core/ChampionsMerge.h"

#include <gtest/gtest.h>

#include <cstring>
#include <optional>
#include <sstream>
#include <string>

namespace {

// "ann:50 bob:60" as places, in order.
std::vector<TChampionRecord> Records(const std::string& text) {
    std::vector<TChampionRecord> records;
    std::istringstream words(text);
    for (std::string word; words >> word;) {
        const std::size_t colon = word.find(':');
        TChampionRecord record;
        record.SetName(word.substr(0, colon));
        record.SetResult(word.substr(colon + 1));
        records.push_back(record);
    }
    return records;
}

TChampionTable Table(const std::string& text) {
    TChampionTable table;
    const std::vector<TChampionRecord> records = Records(text);
    std::copy(records.begin(), records.end(), table.Slots.begin());
    return table;
}

// "p1:10 p2:20 ... " for count places.
std::string Numbered(int first, int count, int step = 10) {
    std::string text;
    for (int i = first; i < first + count; ++i)
        text += "p" + std::to_string(i) + ":" + std::to_string(i * step) + " ";
    return text;
}

// The ranking's non-empty places as "name:time ...".
std::string Ranking(const TChampionTable& table) {
    std::string text;
    for (int slot = 1; slot <= kRankingSlots; ++slot)
        if (!table[slot].Empty())
            text += (text.empty() ? "" : " ") + table[slot].Name() + ":" + table[slot].Result();
    return text;
}

struct TMergeCase {
    const char* title;
    std::optional<std::string> disk; // none: no file, or one that failed its check
    std::string entered;             // this run's records, oldest first
    std::size_t saved;               // how many of them a save already wrote
    std::string expected;
    std::size_t tried = 0; // how many a failed save may have got into the file
};

void PrintTo(const TMergeCase& row, std::ostream* out) {
    *out << row.title;
}

class MergeTest : public ::testing::TestWithParam<TMergeCase> {};

TEST_P(MergeTest, RankingAfterTheMerge) {
    const TMergeCase& row = GetParam();
    TRunRecords run;
    run.Entered = Records(row.entered);
    run.Saved = row.saved;
    run.Tried = row.tried;
    const std::optional<TChampionTable> disk =
        row.disk ? std::optional(Table(*row.disk)) : std::nullopt;
    EXPECT_EQ(Ranking(MergeChampions(disk ? &*disk : nullptr, run)), row.expected);
}

const std::string kFull = Numbered(1, 15); // p1:10 ... p15:150

INSTANTIATE_TEST_SUITE_P(
    Cases, MergeTest,
    ::testing::Values(
        TMergeCase{"NoFile", std::nullopt, "ann:50", 0, "ann:50"},
        TMergeCase{"EmptyFile", "", "ann:50", 0, "ann:50"},
        TMergeCase{"FileFailedItsCheck", std::nullopt, "ann:50 bob:7", 0, "bob:7 ann:50"},
        TMergeCase{"NothingEntered", "bob:9 ann:50", "", 0, "bob:9 ann:50"},
        TMergeCase{"AddedBetween", "ann:50 bob:60", "cid:55", 0, "ann:50 cid:55 bob:60"},
        TMergeCase{"EqualTimeGoesAfterTheDisks", "ann:50 bob:60", "cid:50", 0,
                   "ann:50 cid:50 bob:60"},
        TMergeCase{"FullBetterPushesTheLastOut", kFull, "new:55", 0,
                   Ranking(Table(Numbered(1, 5) + "new:55 " + Numbered(6, 9)))},
        TMergeCase{"FullEqualToTheLastStaysOut", kFull, "new:150", 0, Ranking(Table(kFull))},
        TMergeCase{"FullWorseStaysOut", kFull, "new:151", 0, Ranking(Table(kFull))},
        TMergeCase{"SamePairFromAnotherPupilIsASecondRecord", "ann:50", "ann:50", 0,
                   "ann:50 ann:50"},
        TMergeCase{"TwoEqualUnsavedOnTopOfTheDisks", "ann:50", "ann:50 ann:50", 0,
                   "ann:50 ann:50 ann:50"},
        TMergeCase{"AlreadySavedIsNotAddedAgain", "ann:50 bob:60", "ann:50", 1, "ann:50 bob:60"},
        TMergeCase{"OnlyTheUnsavedOneIsAdded", "ann:50", "ann:50 ann:50", 1, "ann:50 ann:50"},
        TMergeCase{"SavedButLostFromTheFileComesBack", std::nullopt, "ann:50 bob:60", 2,
                   "ann:50 bob:60"},
        TMergeCase{"SavedAndPushedOutStaysOut", kFull, "old:150", 1, Ranking(Table(kFull))},
        TMergeCase{"MoreEnteredThanPlaces", "", Numbered(1, 17), 0, Ranking(Table(kFull))},
        TMergeCase{"NamedEmptyPlacesSinkAndGo", "named: x:3", "ann:5", 0, "x:3 ann:5"},
        TMergeCase{"UnsortedIsSavedSorted", "b:9 c:1", "", 0, "c:1 b:9"},
        TMergeCase{"ANonNumberStopsTheSortWhereItStops", "b:9 a:x c:1", "", 0, "b:9 a:x c:1"},
        TMergeCase{"BetterGoesAboveTheNonNumber", "b:9 a:x c:1", "new:5", 0, "new:5 b:9 a:x c:1"},
        TMergeCase{"WorseStopsAtTheNonNumber", "b:9 a:x c:1", "new:20", 0, "b:9 new:20 a:x c:1"},
        TMergeCase{"ReachedTheFileBeforeAFailureIsNotAddedAgain", "ann:50", "ann:50", 0, "ann:50",
                   1},
        TMergeCase{"TriedButNotInTheFileComesBack", "", "ann:50", 0, "ann:50", 1}),
    [](const auto& info) { return std::string(info.param.title); });

TEST(Merge, Slot16IsTheDisksAndEmptyWithoutOne) {
    TChampionTable disk = Table("ann:50");
    disk[16].SetName("spare");
    disk[16].SetResult("77");
    TRunRecords run;
    run.Enter("bob", "9");
    TChampionTable merged = MergeChampions(&disk, run);
    EXPECT_EQ(merged[16].Name(), "spare");
    EXPECT_EQ(merged[16].Result(), "77");
    merged = MergeChampions(nullptr, run);
    EXPECT_EQ(merged[16].Name(), "");
    EXPECT_EQ(merged[16].Result(), "");
}

TEST(Merge, EveryRecordKeepsItsFillerBytes) {
    TChampionTable disk = Table("ann:50");
    disk[1].NameChars[200] = 'Z';
    TRunRecords run;
    TChampionRecord slot15 = Records("bob:9")[0];
    slot15.ResultChars[100] = 'Y'; // left in slot 15 by the place it took
    run.Enter(slot15);
    const TChampionTable merged = MergeChampions(&disk, run);
    EXPECT_EQ(merged[2].NameChars[200], 'Z');
    EXPECT_EQ(std::memcmp(&merged[1], &slot15, sizeof(TChampionRecord)), 0);
}

} // namespace

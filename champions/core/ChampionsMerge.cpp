#include "champions/core/ChampionsMerge.h"

#include <algorithm>
#include <map>
#include <string>
#include <utility>

TRunRecords RunRecords;

namespace {

using TKey = std::pair<std::string, std::string>;

TKey KeyOf(const TChampionRecord& record) {
    return {record.Name(), record.Result()};
}

// How many of each pair the disk's ranking holds.
std::map<TKey, std::size_t> CountOnDisk(const TChampionTable* disk) {
    std::map<TKey, std::size_t> counts;
    if (disk)
        for (int slot = 1; slot <= kRankingSlots; ++slot)
            if (!(*disk)[slot].Empty())
                ++counts[KeyOf((*disk)[slot])];
    return counts;
}

// The run's records the disk is to receive, in entry order.
std::vector<TChampionRecord> RecordsToAdd(const TChampionTable* disk, const TRunRecords& run) {
    std::map<TKey, std::size_t> entered, unsaved;
    for (std::size_t i = 0; i < run.Entered.size(); ++i) {
        const TKey key = KeyOf(run.Entered[i]);
        ++entered[key];
        if (i >= run.Saved)
            ++unsaved[key];
    }
    std::map<TKey, std::size_t> onDisk = CountOnDisk(disk);
    std::map<TKey, std::size_t> wanted;
    for (const auto& [key, count] : entered) {
        const std::size_t lacking = count > onDisk[key] ? count - onDisk[key] : 0;
        wanted[key] = std::max(unsaved[key], lacking);
    }
    std::vector<TChampionRecord> added;
    for (const TChampionRecord& record : run.Entered)
        if (std::size_t& left = wanted[KeyOf(record)]; left > 0) {
            added.push_back(record);
            --left;
        }
    return added;
}

} // namespace

void TRunRecords::Enter(std::string_view name, std::string_view result) {
    TChampionRecord record;
    record.SetName(name);
    record.SetResult(result);
    Entered.push_back(record);
}

TChampionTable MergeChampions(const TChampionTable* disk, const TRunRecords& run) {
    TChampionTable merged = disk ? *disk : TChampionTable{};
    const std::vector<TChampionRecord> added = RecordsToAdd(disk, run);
    if (added.empty())
        return merged;
    std::vector<TChampionRecord> places(merged.Slots.begin(), merged.Slots.begin() + kRankingSlots);
    places.insert(places.end(), added.begin(), added.end());
    SortRanking(places);
    std::copy_n(places.begin(), kRankingSlots, merged.Slots.begin());
    return merged;
}

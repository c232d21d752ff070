#include "champions/core/ChampionsMerge.h"

#include "engine/Errors.h"
#include "engine/IntegerText.h"

#include <algorithm>
#include <map>
#include <span>
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
        if (i >= std::max(run.Saved, run.Tried))
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

// The first place whose time is no integer: nothing is sorted past it.
std::size_t FirstNonNumber(std::span<const TChampionRecord> ranking) {
    std::int32_t time = 0;
    for (std::size_t i = 0; i < ranking.size(); ++i)
        if (!ranking[i].Empty() && !formulon::engine::TryStrToInt(ranking[i].Result(), time))
            return i;
    return ranking.size();
}

// Where a record goes among the sortable places: after every place of its
// time or better; ranking.size() when it goes nowhere.
std::size_t PlaceOf(std::span<const TChampionRecord> ranking, std::size_t sortable,
                    const TChampionRecord& record) {
    std::int32_t time = 0, other = 0;
    if (!formulon::engine::TryStrToInt(record.Result(), time))
        return sortable;
    for (std::size_t i = 0; i < sortable; ++i)
        if (ranking[i].Empty() ||
            (formulon::engine::TryStrToInt(ranking[i].Result(), other) && other > time))
            return i;
    return sortable;
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
    const std::span<TChampionRecord> ranking = std::span(merged.Slots).first(kRankingSlots);
    try {
        SortRanking(ranking);
    } catch (const formulon::engine::EConvertError&) {
        // The order the sort stopped with is the one the table keeps.
    }
    std::size_t sortable = FirstNonNumber(ranking);
    for (const TChampionRecord& record : RecordsToAdd(disk, run)) {
        const std::size_t place = PlaceOf(ranking, sortable, record);
        if (place == ranking.size())
            continue; // no better than the fifteen there
        std::move_backward(ranking.begin() + place, ranking.end() - 1, ranking.end());
        ranking[place] = record;
        sortable = std::min(sortable + 1, ranking.size());
    }
    return merged;
}

// The champion table and its ordering. Plain C++, no Qt.
#pragma once

#include <array>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>

// One champion entry: 512 bytes, the same layout in memory and in the file.
// Name and Result are short texts in code page 1251.
struct TChampionRecord {
    std::uint8_t NameLength = 0;
    char NameChars[255] = {};
    std::uint8_t ResultLength = 0;
    char ResultChars[255] = {};

    std::string Name() const { return std::string(NameChars, NameLength); }
    std::string Result() const { return std::string(ResultChars, ResultLength); }
    // Assigning keeps the first 255 characters; filler bytes stay.
    void SetName(std::string_view text);
    void SetResult(std::string_view text);
    // A place is empty when its Result is empty.
    bool Empty() const { return ResultLength == 0; }
};
inline constexpr int kChampionRecordSize = 512;
static_assert(sizeof(TChampionRecord) == kChampionRecordSize);

inline constexpr int kChampionSlots = 16; // 1..15 ranking, 16 spare
inline constexpr int kRankingSlots = 15;

// Slots numbered 1 to 16, counted as the game counts places.
struct TChampionTable {
    std::array<TChampionRecord, kChampionSlots> Slots{};
    TChampionRecord& operator[](int slot) { return Slots.at(slot - 1); }
    const TChampionRecord& operator[](int slot) const { return Slots.at(slot - 1); }
    void Reset() { Slots = {}; } // all bytes zero
};

// The one table of the process; all bytes zero at start.
extern TChampionTable ChampionTable;

// Sum of the codes (unsigned bytes) of every Name and Result character of
// slots 1..16.
std::int32_t ChampionsChecksum(const TChampionTable& table);
std::int32_t ChampionsChecksum(); // of ChampionTable

// Exchange passes until nothing moves; stable, empty places last. A
// non-integer Result raises EConvertError, leaving the order reached.
void SortRanking(std::span<TChampionRecord> places);

// SortRanking over ChampionTable's slots 1..15.
void SortChampions();

// Sets the lengths of slots 1..15's Name and Result to 0; other bytes stay.
void EmptyRanking();

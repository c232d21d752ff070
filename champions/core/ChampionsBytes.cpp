#include "champions/core/ChampionsBytes.h"

#include "engine/IntegerText.h"

#include <cstring>

using namespace formulon::engine;

std::string EncodeChampionsFile(const TChampionTable& table) {
    std::string bytes;
    bytes.reserve(kChampionsFileSize);
    for (const TChampionRecord& record : table.Slots)
        bytes.append(reinterpret_cast<const char*>(&record), kChampionRecordSize);
    TChampionRecord checksum; // Name all zero
    checksum.SetResult(IntToStr(ChampionsChecksum(table)));
    bytes.append(reinterpret_cast<const char*>(&checksum), kChampionRecordSize);
    return bytes;
}

std::string EncodeChampionsFile() {
    return EncodeChampionsFile(ChampionTable);
}

bool DecodeChampionsFile(std::string_view bytes, TChampionTable& table) {
    if (bytes.size() != static_cast<std::size_t>(kChampionsFileSize))
        return false;
    for (int slot = 1; slot <= kChampionSlots; ++slot)
        std::memcpy(&table[slot], bytes.data() + (slot - 1) * kChampionRecordSize,
                    kChampionRecordSize);
    TChampionRecord checksum;
    std::memcpy(&checksum, bytes.data() + kChampionSlots * kChampionRecordSize,
                kChampionRecordSize);
    // The conversion raises for a checksum text that is no integer.
    return StrToInt(checksum.Result()) == ChampionsChecksum(table);
}

bool DecodeChampionsFile(std::string_view bytes) {
    return DecodeChampionsFile(bytes, ChampionTable);
}

#include "champions/core/ChampionTable.h"

#include "engine/IntegerText.h"

#include <algorithm>
#include <cstring>
#include <utility>

using namespace formulon::engine;

TChampionTable ChampionTable;

namespace {

void Assign(std::uint8_t& length, char* chars, std::string_view text) {
    const std::size_t n = std::min<std::size_t>(text.size(), 255);
    std::memcpy(chars, text.data(), n);
    length = static_cast<std::uint8_t>(n);
}

} // namespace

void TChampionRecord::SetName(std::string_view text) {
    Assign(NameLength, NameChars, text);
}

void TChampionRecord::SetResult(std::string_view text) {
    Assign(ResultLength, ResultChars, text);
}

std::int32_t ChampionsChecksum(const TChampionTable& table) {
    std::int32_t sum = 0;
    for (const TChampionRecord& record : table.Slots) {
        for (int i = 0; i < record.NameLength; ++i)
            sum += static_cast<unsigned char>(record.NameChars[i]);
        for (int i = 0; i < record.ResultLength; ++i)
            sum += static_cast<unsigned char>(record.ResultChars[i]);
    }
    return sum;
}

std::int32_t ChampionsChecksum() {
    return ChampionsChecksum(ChampionTable);
}

void SortRanking(std::span<TChampionRecord> places) {
    bool moved;
    do {
        moved = false;
        for (std::size_t k = 1; k < places.size(); ++k) {
            TChampionRecord& upper = places[k - 1];
            TChampionRecord& lower = places[k];
            bool exchange = false;
            if (upper.Empty()) {
                exchange = !lower.Empty();
            } else if (!lower.Empty()) {
                const std::int32_t up = StrToInt(upper.Result());
                const std::int32_t low = StrToInt(lower.Result());
                exchange = up > low;
            }
            if (exchange) {
                std::swap(upper, lower);
                moved = true;
            }
        }
    } while (moved);
}

void SortChampions() {
    SortRanking(std::span(ChampionTable.Slots).first(kRankingSlots));
}

void EmptyRanking() {
    for (int slot = 1; slot <= kRankingSlots; ++slot) {
        ChampionTable[slot].NameLength = 0;
        ChampionTable[slot].ResultLength = 0;
    }
}

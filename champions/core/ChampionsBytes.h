// The champions file's bytes: the sixteen records of the table as they lie
// in memory, then a checksum record whose Result is the checksum's text.
#pragma once

#include "champions/core/ChampionTable.h"

#include <string>
#include <string_view>

inline constexpr int kChampionsFileRecords = kChampionSlots + 1;
inline constexpr int kChampionsFileSize = kChampionsFileRecords * kChampionRecordSize;

// The 8704 bytes saving writes for a table (ChampionTable when none given).
std::string EncodeChampionsFile(const TChampionTable& table);
std::string EncodeChampionsFile();

// Reads 8704 bytes into the table's slots 1..16 (ChampionTable when none
// given) and tells whether the checksum record matches them. Raises
// EConvertError when the checksum text is no integer (the slots are read by
// then). Bytes of another length are not a champions file: false, the table
// untouched.
bool DecodeChampionsFile(std::string_view bytes, TChampionTable& table);
bool DecodeChampionsFile(std::string_view bytes);

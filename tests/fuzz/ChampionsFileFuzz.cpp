// LoadChampions on arbitrary champions files.
//
// The first input byte picks the mode. Even: the rest of the input is the
// file as it stands, any size. Odd: the rest is a recipe for a file of
// exactly 8704 bytes (lengths, texts, filler bytes and a right, wrong or
// arbitrary checksum), so most inputs get past the size check and reach the
// checksum and the sort.
//
// Besides crashes and sanitizer reports, the target traps when the outcome
// contradicts the file: a right checksum rejected, a wrong one accepted, an
// unsorted ranking, a rejected file whose ranking was not emptied (a
// checksum text that does not convert included), a table that does not
// come back unchanged from its own saved bytes, or a save's merge of a new
// record into it that loses, reorders or invents a record.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include <fuzzer/FuzzedDataProvider.h>

#include <QByteArray>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>
#include <QString>

#include "champions/ChampionsFile.h"
#include "champions/core/ChampionTable.h"
#include "champions/core/ChampionsMerge.h"
#include "engine/Errors.h"
#include "engine/FloatEnv.h"
#include "engine/IntegerText.h"
#include "ui/MessageBoxes.h"

using namespace formulon::engine;

namespace {

constexpr std::size_t kRecord = 512;
int informationBoxes = 0;
std::string scratchHome;

void RemoveScratch() {
    if (!scratchHome.empty())
        QDir(QString::fromStdString(scratchHome)).removeRecursively();
}

void Require(bool condition) {
    if (!condition)
        __builtin_trap();
}

void WriteFile(const QByteArray& bytes) {
    QFile file(ChampionsFilePath());
    Require(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    Require(file.write(bytes) == bytes.size());
}

// The checksum computed from the file's records, independent of the table.
std::int32_t FileChecksum(const QByteArray& bytes) {
    std::int32_t sum = 0;
    for (std::size_t r = 0; r < 16; ++r) {
        const auto* record =
            reinterpret_cast<const unsigned char*>(bytes.constData()) + r * kRecord;
        for (std::size_t i = 1; i <= record[0]; ++i)
            sum += record[i];
        for (std::size_t i = 257; i < 257u + record[256]; ++i)
            sum += record[i];
    }
    return sum;
}

std::string Decimal(std::int64_t value) {
    return std::to_string(value);
}

// Checksum texts the integer conversion must read as the given value.
std::string Decorated(std::int32_t value, int style) {
    const std::string digits = Decimal(value);
    switch (style) {
    case 0:
        return "  " + digits;
    case 1:
        return "+" + digits;
    case 2:
        return "000" + digits;
    default: {
        static const char* hex = "0123456789ABCDEF";
        std::string text;
        for (std::uint32_t v = static_cast<std::uint32_t>(value); v; v >>= 4)
            text.insert(text.begin(), hex[v & 15]);
        return "$" + (text.empty() ? std::string("0") : text);
    }
    }
}

struct TRecipe {
    QByteArray bytes;
    enum { Arbitrary, Right, Wrong } checksum = Arbitrary;
    bool plainResults = true; // every Result empty or a short decimal integer
};

// Builds an 8704-byte file from the recipe in the rest of the input.
TRecipe Cook(FuzzedDataProvider& input) {
    TRecipe recipe;
    recipe.bytes = QByteArray(static_cast<int>(kChampionsFileSize), '\0');
    char* file = recipe.bytes.data();
    const int checksumMode = input.ConsumeIntegralInRange(0, 3);
    for (std::size_t r = 0; r < 16; ++r) {
        char* record = file + r * kRecord;
        std::memset(record, input.ConsumeIntegral<char>(), kRecord); // filler
        const std::uint8_t nameLength = input.ConsumeIntegral<std::uint8_t>();
        record[0] = static_cast<char>(nameLength);
        const std::string name = input.ConsumeBytesAsString(nameLength);
        std::memcpy(record + 1, name.data(), name.size());
        const int resultKind = input.ConsumeIntegralInRange(0, 2);
        std::string result;
        if (resultKind == 1) {
            // A game time: up to nine digits, so it always converts.
            const auto value = input.ConsumeIntegralInRange<std::int32_t>(0, 999999999);
            result = Decimal(value);
        } else if (resultKind == 2) {
            result = input.ConsumeBytesAsString(input.ConsumeIntegral<std::uint8_t>());
            recipe.plainResults = false;
        }
        record[256] = static_cast<char>(result.size());
        std::memcpy(record + 257, result.data(), result.size());
    }
    const std::int32_t sum = FileChecksum(recipe.bytes);
    std::string checksum;
    switch (checksumMode) {
    case 0:
        checksum = Decimal(sum);
        recipe.checksum = TRecipe::Right;
        break;
    case 1:
        checksum = Decorated(sum, input.ConsumeIntegralInRange(0, 3));
        recipe.checksum = TRecipe::Right;
        break;
    case 2: {
        std::int32_t delta = input.ConsumeIntegralInRange(-100000, 100000);
        if (delta == 0)
            delta = 1;
        checksum = Decimal(std::int64_t{sum} + delta);
        recipe.checksum = TRecipe::Wrong;
        break;
    }
    default:
        checksum = input.ConsumeBytesAsString(input.ConsumeIntegral<std::uint8_t>());
        break;
    }
    char* last = file + 16 * kRecord;
    last[256] = static_cast<char>(checksum.size());
    std::memcpy(last + 257, checksum.data(), checksum.size());
    return recipe;
}

bool RankingEmpty() {
    for (int slot = 1; slot <= kRankingSlots; ++slot)
        if (ChampionTable[slot].NameLength || ChampionTable[slot].ResultLength)
            return false;
    return true;
}

// Non-empty places first, neighbours by ascending time. A lone place is
// never compared, so its Result need not be an integer.
bool RankingSorted() {
    int filled = 0;
    while (filled < kRankingSlots && !ChampionTable[filled + 1].Empty())
        ++filled;
    for (int slot = filled + 1; slot <= kRankingSlots; ++slot)
        if (!ChampionTable[slot].Empty())
            return false;
    for (int slot = 1; slot < filled; ++slot)
        if (StrToInt(ChampionTable[slot].Result()) > StrToInt(ChampionTable[slot + 1].Result()))
            return false;
    return true;
}

// The checksum record's text converts: a conversion error then came from
// the sort of checked rows, which stay.
bool ChecksumConverts(const TRecipe& recipe) {
    const auto& checksum =
        *reinterpret_cast<const TChampionRecord*>(recipe.bytes.constData() + 16 * kRecord);
    try {
        StrToInt(checksum.Result());
        return true;
    } catch (const EConvertError&) {
        return false;
    }
}

// Every place's time converts, so a merge can compare any two.
bool TimesConvert(const TChampionTable& table) {
    try {
        for (int slot = 1; slot <= kRankingSlots; ++slot)
            if (!table[slot].Empty())
                StrToInt(table[slot].Result());
    } catch (const EConvertError&) {
        return false;
    }
    return true;
}

// A time for a new record: often one already in the table, where the
// order of equal times decides.
std::int32_t NewTime(const TChampionTable& table, std::uint8_t pick) {
    const TChampionRecord& place = table[pick % kRankingSlots + 1];
    if (pick % 2 == 0 && !place.Empty())
        return StrToInt(place.Result());
    return pick * 4 - 50;
}

// The save's merge of one new record into the sorted table: the places
// before the record's stay, the record follows every equal time, the rest
// (empty places too) move one down and the last falls out; slot 16 stays.
void CheckMerge(const TChampionTable& disk, std::int32_t time) {
    TRunRecords run;
    run.Enter("new", std::to_string(time));
    const TChampionTable merged = MergeChampions(&disk, run);
    int place = 1; // where the record belongs
    while (place <= kRankingSlots && !disk[place].Empty() && StrToInt(disk[place].Result()) <= time)
        ++place;
    for (int slot = 1; slot <= kRankingSlots; ++slot) {
        const TChampionRecord& expected = slot < place    ? disk[slot]
                                          : slot == place ? run.Entered[0]
                                                          : disk[slot - 1];
        Require(std::memcmp(&merged[slot], &expected, kRecord) == 0);
    }
    Require(std::memcmp(&merged[16], &disk[16], kRecord) == 0);
}

enum class TOutcome { Loaded, ConvertError };

TOutcome Load() {
    informationBoxes = 0;
    ChampionTable.Reset(); // as at program start
    try {
        LoadChampions();
    } catch (const EConvertError&) {
        return TOutcome::ConvertError;
    }
    // An input/output error on a plain readable file in a private folder is
    // a fault, so it escapes and is reported.
    return TOutcome::Loaded;
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
    InitFloatingPointEnvironment();
    // A private home, so the data folder is this process's own.
    char home[] = "/tmp/formulon-fuzz-XXXXXX";
    if (!mkdtemp(home))
        std::abort();
    scratchHome = home;
    setenv("HOME", home, 1);
    std::atexit(RemoveScratch);
    QStandardPaths::setTestModeEnabled(true);
    static QCoreApplication* application = new QCoreApplication(*argc, *argv);
    (void)application;
    QCoreApplication::setApplicationName(QStringLiteral("Formulon"));
    SetInformationBoxPresenter([](const QString&, const QString&) { ++informationBoxes; });
    if (!QDir().mkpath(QFileInfo(ChampionsFilePath()).absolutePath()))
        std::abort();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0)
        return -1;
    TRecipe recipe;
    if (data[0] % 2 == 0) {
        recipe.bytes =
            QByteArray(reinterpret_cast<const char*>(data + 1), static_cast<int>(size - 1));
    } else {
        FuzzedDataProvider input(data + 1, size - 1);
        recipe = Cook(input);
    }
    WriteFile(recipe.bytes);
    const TOutcome outcome = Load();

    if (recipe.bytes.size() != kChampionsFileSize) {
        // Not read at all: one message, an empty ranking, an untouched spare.
        Require(outcome == TOutcome::Loaded && informationBoxes == 1 && RankingEmpty());
        Require(ChampionTable[16].NameLength == 0 && ChampionTable[16].ResultLength == 0);
        return 0;
    }
    Require(informationBoxes <= 1);
    if (recipe.checksum == TRecipe::Right)
        Require(informationBoxes == 0);
    if (recipe.checksum == TRecipe::Wrong)
        Require(informationBoxes == 1 && outcome == TOutcome::Loaded);
    if (recipe.checksum == TRecipe::Right && recipe.plainResults)
        Require(outcome == TOutcome::Loaded);
    if (informationBoxes == 1 || (outcome == TOutcome::ConvertError && !ChecksumConverts(recipe)))
        Require(RankingEmpty());
    // The spare record is always the file's 16th, read before any check.
    Require(std::memcmp(&ChampionTable[16], recipe.bytes.constData() + 15 * kRecord, kRecord) == 0);
    if (outcome != TOutcome::Loaded)
        return 0;

    if (informationBoxes == 0) {
        const TChampionRecord& checksum =
            *reinterpret_cast<const TChampionRecord*>(recipe.bytes.constData() + 16 * kRecord);
        Require(StrToInt(checksum.Result()) == FileChecksum(recipe.bytes));
    }
    Require(RankingSorted());

    // What the program would save must load back unchanged and silently.
    const QByteArray saved = ChampionsFileBytes();
    Require(saved.size() == kChampionsFileSize);
    const TChampionTable before = ChampionTable;
    WriteFile(saved);
    Require(Load() == TOutcome::Loaded && informationBoxes == 0);
    Require(std::memcmp(&before, &ChampionTable, sizeof before) == 0);
    if (TimesConvert(before))
        CheckMerge(before, NewTime(before, data[size - 1]));
    return 0;
}

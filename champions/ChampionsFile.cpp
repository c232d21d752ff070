#include "champions/ChampionsFile.h"

#include "champions/core/ChampionTable.h"
#include "engine/Errors.h"
#include "storage/MergingSave.h"
#include "ui/MessageBoxes.h"

#include <QFile>

#include <sys/stat.h>

using namespace formulon::engine;

namespace {

const QString kChangedText = QStringLiteral("Файл рекордов был изменён.\rРезультаты обновлены.");

// Whether bytes are a whole table that passes its check; a checksum text
// that is no integer fails it.
bool ValidTable(const std::string& bytes, TChampionTable& table) {
    try {
        return DecodeChampionsFile(bytes, table);
    } catch (const EConvertError&) {
        return false;
    }
}

TMergingSave ChampionsSave() {
    TMergingSave save;
    save.Path = ChampionsFileNativePath();
    save.File = &ChampionsLockedFile();
    save.MaxSize = kChampionsFileSize;
    // Every pupil of the class reads and saves the class table.
    save.NewMode = UsesClassTable() ? SharedFileMode(save.Path) : PersonalFileMode();
    return save;
}

} // namespace

const TLockedFile& ChampionsLockedFile() {
    static const TLockedFile file{QStringLiteral("Файл рекордов"), "the champions file"};
    return file;
}

QByteArray ChampionsFileBytes() {
    return QByteArray::fromStdString(EncodeChampionsFile());
}

std::optional<std::string> ReadChampionsFile(std::chrono::milliseconds patience) {
    TMergingSave file = ChampionsSave();
    file.Patience = patience;
    return ReadUnderLock(file, true);
}

TChampionsLoad ApplyChampionsFile(const std::optional<std::string>& bytes) {
    TChampionsLoad outcome = TChampionsLoad::Loaded;
    if (!bytes) {
        // No file yet: an empty ranking, no message.
        EmptyRanking();
        outcome = TChampionsLoad::NoFile;
    } else {
        bool valid = false;
        try {
            valid = DecodeChampionsFile(*bytes);
        } catch (const EConvertError&) {
            // Reported as the old runtime reports it, but the rows that
            // were never checked do not stay to be saved as valid.
            EmptyRanking();
            throw;
        }
        if (!valid) {
            ShowInformationBox(kChangedText);
            EmptyRanking();
            outcome = TChampionsLoad::Changed;
        }
    }
    SortChampions();
    return outcome;
}

TChampionsLoad LoadChampions(std::chrono::milliseconds patience) {
    return ApplyChampionsFile(ReadChampionsFile(patience));
}

QString ClassTableModeProblem() {
    struct stat info {};
    const QByteArray path = ChampionsFileNativePath();
    if (!UsesClassTable() || ::stat(path.constData(), &info) != 0 || !S_ISREG(info.st_mode))
        return {};
    if ((info.st_mode & (S_IRGRP | S_IWGRP)) == (S_IRGRP | S_IWGRP))
        return {};
    return QStringLiteral("Файл рекордов класса %1 закрыт для группы: другие ученики не смогут "
                          "его прочитать или сохранить. Попросите учителя открыть его для группы "
                          "(chmod 660).")
        .arg(QFile::decodeName(path));
}

TChampionsSaved WriteChampions(const TRunRecords& run, bool* reached) {
    TMergingSave save = ChampionsSave();
    // A class table's folder is the teacher's to make.
    if (!UsesClassTable())
        MakeFolders(FolderOf(save.Path));
    TChampionsSaved saved;
    save.Valid = [](const std::string& bytes) {
        TChampionTable table;
        return ValidTable(bytes, table);
    };
    save.Merge = [&](const std::string* valid) {
        TChampionTable disk;
        if (valid)
            ValidTable(*valid, disk);
        saved.Table = MergeChampions(valid ? &disk : nullptr, run);
        return QByteArray::fromStdString(EncodeChampionsFile(saved.Table));
    };
    RunMergingSave(save, reached);
    saved.Saved = run.Entered.size();
    return saved;
}

void TakeSaved(const TChampionsSaved& saved) {
    ChampionTable = saved.Table;
    RunRecords.Saved = std::max(RunRecords.Saved, saved.Saved);
}

void TakeFailedSave(std::size_t tried, bool reached) {
    if (reached)
        RunRecords.Tried = std::max(RunRecords.Tried, tried);
}

void SaveChampions() {
    bool reached = false;
    try {
        TakeSaved(WriteChampions(RunRecords, &reached));
    } catch (...) {
        TakeFailedSave(RunRecords.Entered.size(), reached);
        throw;
    }
}

#include "quiz/PracticeFile.h"

#include "storage/DataFolder.h"
#include "storage/MergingSave.h"

#include <QFile>

namespace {

const TLockedFile kLockedFile{QStringLiteral("Файл тренировки"), "the practice file"};

// Saving 'ours': merged with a valid file, in place of a damaged one.
TMergingSave PracticeSave(const TPracticeProgress& ours, TPracticeProgress& saved) {
    TMergingSave save;
    save.Path = PracticeFileNativePath();
    save.File = &kLockedFile;
    save.MaxSize = kProgressFileMaxSize;
    save.Valid = [](const std::string& bytes) { return DecodePracticeProgress(bytes).has_value(); };
    save.Merge = [&ours, &saved](const std::string* valid) {
        saved = valid ? MergePracticeProgress(*DecodePracticeProgress(*valid), ours) : ours;
        return QByteArray::fromStdString(EncodePracticeProgress(saved));
    };
    return save;
}

} // namespace

QByteArray PracticeFileNativePath() {
    return PersonalDataFolder() + QByteArrayLiteral("/practice.txt");
}

QString PracticeFilePath() {
    return QFile::decodeName(PracticeFileNativePath());
}

TPracticeLoad LoadPracticeProgress() {
    TPracticeProgress fresh;
    const std::optional<std::string> bytes = ReadUnderLock(PracticeSave({}, fresh));
    TPracticeLoad load;
    if (!bytes)
        return load;
    if (const std::optional<TPracticeProgress> progress = DecodePracticeProgress(*bytes)) {
        load.State = TPracticeLoad::TState::Loaded;
        load.Progress = *progress;
        return load;
    }
    // Read whole and not a progress file: kept, and a fresh start saved in
    // its place, so it is reported once (unless another copy mended it).
    const TMergingSaveResult saved = RunMergingSave(PracticeSave({}, fresh));
    load.Progress = fresh;
    if (!saved.Backup.isEmpty()) {
        load.State = TPracticeLoad::TState::Damaged;
        load.Backup = QFile::decodeName(saved.Backup);
    } else {
        load.State = TPracticeLoad::TState::Loaded;
    }
    return load;
}

TPracticeProgress SavePracticeProgress(const TPracticeProgress& ours) {
    MakeFolders(FolderOf(PracticeFileNativePath()));
    TPracticeProgress saved;
    RunMergingSave(PracticeSave(ours, saved));
    return saved;
}

// practice.txt on arbitrary bytes: the progress file's decoding, its own
// saved form, the merge of two copies' progress and the load that keeps a
// damaged file as a backup.
//
// Besides crashes and sanitizer reports, the target traps when a file is
// accepted whose progress, written again, reads back otherwise or past the
// file's size limit, when a load says a file
// is damaged that decodes (or the reverse), when a damaged file's backup
// does not hold its bytes or its place no fresh progress, or when a merge
// loses a solved task or a larger count of wrong checks.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <optional>
#include <string>

#include <QByteArray>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>

#include "quiz/PracticeFile.h"

namespace {

std::string scratchHome;

void RemoveScratch() {
    if (!scratchHome.empty())
        QDir(QString::fromStdString(scratchHome)).removeRecursively();
}

void Require(bool condition) {
    if (!condition)
        __builtin_trap();
}

QByteArray ReadFile(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// Whatever the bytes hold, a merge keeps the best of both.
void CheckMerge(const TPracticeProgress& disk, const TPracticeProgress& ours) {
    const TPracticeProgress merged = MergePracticeProgress(disk, ours);
    for (const TPracticeProgress* side : {&disk, &ours})
        for (const auto& [name, any] : side->Marks) {
            const TPracticeMark& mark = merged.Mark(name);
            Require(mark.Solved == (disk.Mark(name).Solved || ours.Mark(name).Solved));
            Require(mark.WrongChecks ==
                    std::max({disk.Mark(name).WrongChecks, ours.Mark(name).WrongChecks,
                              static_cast<int>(mark.CountedTries.size())}));
        }
    Require(MergePracticeProgress(merged, merged) == merged);
}

void CheckLoad(const std::string& bytes, const std::optional<TPracticeProgress>& decoded) {
    QDir(QFileInfo(PracticeFilePath()).absolutePath()).removeRecursively();
    Require(QDir().mkpath(QFileInfo(PracticeFilePath()).absolutePath()));
    QFile file(PracticeFilePath());
    Require(file.open(QIODevice::WriteOnly));
    Require(file.write(bytes.data(), static_cast<qint64>(bytes.size())) ==
            static_cast<qint64>(bytes.size()));
    file.close();
    const TPracticeLoad load = LoadPracticeProgress();
    if (decoded) {
        Require(load.State == TPracticeLoad::TState::Loaded && load.Progress == *decoded);
        return;
    }
    Require(load.State == TPracticeLoad::TState::Damaged);
    Require(ReadFile(load.Backup) == QByteArray::fromStdString(bytes));
    Require(ReadFile(PracticeFilePath()) == QByteArray::fromStdString(EncodePracticeProgress({})));
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
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
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    const std::optional<TPracticeProgress> decoded = DecodePracticeProgress(bytes);
    if (decoded) {
        const std::string written = EncodePracticeProgress(*decoded);
        Require(written.size() <= kProgressFileMaxSize);
        Require(DecodePracticeProgress(written) == decoded);
        for (const auto& [name, mark] : decoded->Marks)
            Require(mark.WrongChecks >= 0 && mark.WrongChecks <= kMaxWrongChecks);
    }
    // The second half of the input read as another copy's file.
    const std::optional<TPracticeProgress> other =
        DecodePracticeProgress(std::string_view(bytes).substr(size / 2));
    CheckMerge(decoded.value_or(TPracticeProgress{}), other.value_or(TPracticeProgress{}));
    // The file on disk, loaded: only for inputs no longer than a file, as a
    // longer one is damaged without a look.
    if (size <= kProgressFileMaxSize + 1)
        CheckLoad(bytes, decoded);
    return 0;
}

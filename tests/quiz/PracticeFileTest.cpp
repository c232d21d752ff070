// Practice's progress file on disk: a fresh start, a save that comes back,
// damaged files kept as backups and reported once, a save merged with
// another copy's, and the champions file never touched.
#include "quiz/PracticeFile.h"
#include "app/shell/SideFiles.h"
#include "champions/ChampionsFile.h"
#include "engine/Errors.h"
#include "tests/support/TestSupport.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <gtest/gtest.h>

#include <sys/stat.h>

namespace {

QByteArray Read(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("(none)");
}

void Write(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write(bytes);
}

QByteArray Bytes(const TPracticeProgress& progress) {
    return QByteArray::fromStdString(EncodePracticeProgress(progress));
}

class PracticeFileTest : public ::testing::Test {
protected:
    void SetUp() override {
        QDir(DataFolder()).removeRecursively();
        DataFolder();
        // A champions file beside it, which nothing here may touch.
        Write(ChampionsFilePath(), QByteArray(kChampionsFileSize, 'c'));
        champions = QFileInfo(ChampionsFilePath());
    }
    void TearDown() override {
        const QFileInfo now(ChampionsFilePath());
        EXPECT_EQ(Read(ChampionsFilePath()), QByteArray(kChampionsFileSize, 'c'));
        EXPECT_EQ(now.lastModified(), champions.lastModified());
        EXPECT_EQ(now.fileTime(QFileDevice::FileMetadataChangeTime),
                  champions.fileTime(QFileDevice::FileMetadataChangeTime));
    }

    static TPracticeProgress Solved(std::initializer_list<int> entries, int wrong = 0) {
        TPracticeProgress progress;
        for (int entry : entries)
            progress.Marks[entry] = {true, wrong};
        return progress;
    }

    QFileInfo champions;
};

TEST_F(PracticeFileTest, AFreshStartThenASaveComesBack) {
    EXPECT_EQ(PracticeFilePath(), DataFolder() + "/practice.txt");
    const TPracticeLoad fresh = LoadPracticeProgress();
    EXPECT_EQ(fresh.State, TPracticeLoad::TState::NoFile);
    EXPECT_EQ(fresh.Progress, TPracticeProgress{});
    EXPECT_FALSE(QFile::exists(PracticeFilePath())) << "opening alone writes nothing";

    const TPracticeProgress progress = Solved({0, 29}, 4);
    EXPECT_EQ(SavePracticeProgress(progress), progress);
    EXPECT_EQ(Read(PracticeFilePath()), Bytes(progress));
    struct stat info {};
    ASSERT_EQ(::stat(QFile::encodeName(PracticeFilePath()).constData(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0600u);
    const TPracticeLoad again = LoadPracticeProgress();
    EXPECT_EQ(again.State, TPracticeLoad::TState::Loaded);
    EXPECT_EQ(again.Progress, progress);
    EXPECT_EQ(QDir(DataFolder()).entryList(QDir::Files | QDir::Hidden),
              QStringList({".camp.cam", "practice.txt"}))
        << "no lock, temporary or backup left";
}

TEST_F(PracticeFileTest, ADamagedFileIsKeptAsABackupAndReportedOnce) {
    const QByteArray written = Bytes(Solved({3}));
    const QByteArray damaged[] = {
        "",
        "garbage",
        written + "\n",
        QByteArray(written).replace("2.1 1 0", "2.1 1 x"),
        QByteArray(100000, '\n'),
        QByteArray(kChampionsFileSize, 0),
    };
    int backup = 0;
    for (const QByteArray& bytes : damaged) {
        Write(PracticeFilePath(), bytes);
        const TPracticeLoad load = LoadPracticeProgress();
        EXPECT_EQ(load.State, TPracticeLoad::TState::Damaged) << bytes.left(40).toStdString();
        EXPECT_EQ(load.Progress, TPracticeProgress{});
        EXPECT_EQ(load.Backup,
                  PracticeFilePath() + ".formulon-backup-" + QString::number(++backup));
        EXPECT_EQ(Read(load.Backup), bytes);
        EXPECT_EQ(Read(PracticeFilePath()), Bytes({})) << "a fresh start in its place";
        EXPECT_EQ(LoadPracticeProgress().State, TPracticeLoad::TState::Loaded) << "said once";
    }
}

TEST_F(PracticeFileTest, ASaveKeepsWhatAnotherCopySaved) {
    TPracticeProgress theirs = Solved({5});
    theirs.Marks[1].WrongChecks = 7;
    Write(PracticeFilePath(), Bytes(theirs));
    TPracticeProgress ours = Solved({0});
    ours.Marks[1].WrongChecks = 2;
    TPracticeProgress both = Solved({0, 5});
    both.Marks[1].WrongChecks = 7;
    EXPECT_EQ(SavePracticeProgress(ours), both);
    EXPECT_EQ(Read(PracticeFilePath()), Bytes(both));

    Write(PracticeFilePath(), "damaged since");
    EXPECT_EQ(SavePracticeProgress(ours), ours) << "a damaged file is never merged";
    EXPECT_EQ(Read(PracticeFilePath() + ".formulon-backup-1"), "damaged since");
}

TEST_F(PracticeFileTest, AFolderInItsPlaceIsLeftAloneAndTheSaveFails) {
    ASSERT_TRUE(QDir().mkpath(PracticeFilePath()));
    EXPECT_EQ(LoadPracticeProgress().State, TPracticeLoad::TState::NoFile);
    EXPECT_THROW(SavePracticeProgress(Solved({1})), formulon::engine::EInOutError);
    EXPECT_TRUE(QFileInfo(PracticeFilePath()).isDir());
}

} // namespace

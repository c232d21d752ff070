// Practice's progress file on disk: a fresh start, a save that comes back,
// damaged files kept as backups and reported once, and a save merged with
// another copy's.
#include "quiz/PracticeFile.h"
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

TPracticeProgress Marked(const std::string& picture, TPracticeMark mark) {
    TPracticeProgress progress;
    progress.Mark(picture) = mark;
    return progress;
}

// The champions file beside it is never touched: tests/smoke/windows.py
// (practice-after-restart) checks that on the real program.
class PracticeFileTest : public ::testing::Test {
protected:
    void SetUp() override {
        QDir(DataFolder()).removeRecursively();
        DataFolder(); // made again, empty
    }
};

TEST_F(PracticeFileTest, AFreshStartThenASaveComesBackPrivate) {
    EXPECT_EQ(PracticeFilePath(), DataFolder() + "/practice.txt");
    EXPECT_EQ(LoadPracticeProgress().State, TPracticeLoad::TState::NoFile);
    EXPECT_FALSE(QFile::exists(PracticeFilePath())) << "opening alone writes nothing";
    const TPracticeProgress progress = Marked("p103", {true, 4});
    EXPECT_EQ(SavePracticeProgress(progress), progress);
    EXPECT_EQ(Read(PracticeFilePath()), Bytes(progress));
    struct stat info {};
    ASSERT_EQ(::stat(QFile::encodeName(PracticeFilePath()).constData(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0600u);
    const TPracticeLoad again = LoadPracticeProgress();
    EXPECT_EQ(again.State, TPracticeLoad::TState::Loaded);
    EXPECT_EQ(again.Progress, progress);
    EXPECT_EQ(QDir(DataFolder()).entryList(QDir::Files | QDir::Hidden),
              QStringList({"formulon.lock", "practice.txt"}))
        << "no temporary or backup left; the lock file stays for the next copy";
}

TEST_F(PracticeFileTest, ADamagedFileIsKeptAsABackupAndReportedOnce) {
    const QByteArray written = Bytes(Marked("p21", {true, 0}));
    int backup = 0;
    for (const QByteArray& bytes :
         {QByteArray(), QByteArray("garbage"), written + "\n", QByteArray(100000, '\n')}) {
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

TEST_F(PracticeFileTest, ASaveKeepsWhatAnotherCopySavedButNeverADamagedFile) {
    TPracticeProgress theirs = Marked("p23", {true, 0}), ours = Marked("p11", {true, 0}), both;
    theirs.Mark("p12") = {false, 7, {1, 2}};
    ours.Mark("p12") = {false, 2, {2, 3}};
    theirs.Mark("p13") = {false, 1, {4}}; // tries either copy counted, three at most
    ours.Mark("p13") = {false, 1, {5}};
    both.Mark("p11") = both.Mark("p23") = {true, 0};
    both.Mark("p12") = {false, 7, {1, 2, 3}};
    both.Mark("p13") = {false, 2, {4, 5}};
    Write(PracticeFilePath(), Bytes(theirs));
    EXPECT_EQ(SavePracticeProgress(ours), both);
    EXPECT_EQ(Read(PracticeFilePath()), Bytes(both));
    Write(PracticeFilePath(), "damaged since");
    EXPECT_EQ(SavePracticeProgress(ours), ours);
    EXPECT_EQ(Read(PracticeFilePath() + ".formulon-backup-1"), "damaged since");
}

// The first program's file: read as it is, never a backup, and written in
// format 2 by the next save with every task's progress where it was.
TEST_F(PracticeFileTest, AFormatOneFileKeepsItsProgress) {
    QByteArray formatOne = "Formulon practice 1\n";
    for (int task = 1; task <= 10; ++task)
        for (int variant = 1; variant <= 3; ++variant)
            formatOne += QByteArray::number(task) + '.' + QByteArray::number(variant) +
                         (task == 4 && variant == 2 ? " 1 3 0000002a\n" : " 0 0\n");
    Write(PracticeFilePath(), formatOne);
    const TPracticeProgress kept = Marked("p42", {true, 3, {42}});
    const TPracticeLoad load = LoadPracticeProgress();
    EXPECT_EQ(load.State, TPracticeLoad::TState::Loaded);
    EXPECT_EQ(load.Progress, kept);
    EXPECT_EQ(Read(PracticeFilePath()), formatOne) << "opening alone writes nothing";
    EXPECT_EQ(SavePracticeProgress(Marked("p11", {false, 1})),
              MergePracticeProgress(kept, Marked("p11", {false, 1})));
    EXPECT_TRUE(Read(PracticeFilePath()).contains("\np42 1 3 0000002a\n"));
    EXPECT_EQ(QDir(DataFolder()).entryList(QDir::Files | QDir::Hidden),
              QStringList({"formulon.lock", "practice.txt"}))
        << "no backup";
}

} // namespace

// The champions file: load, save, damaged files and faults.
#include "champions/ChampionsFile.h"
#include "app/Startup.h"
#include "champions/Form3.h"
#include "champions/core/ChampionTable.h"
#include "champions/core/ChampionsMerge.h"
#include "engine/Errors.h"
#include "quiz/Form1.h"
#include "tests/champions/ChampionsTestFiles.h"
#include "tests/support/TestSupport.h"
#include "ui/Handler.h"
#include "ui/MessageBoxes.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QStandardPaths>
#include <QTableWidget>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include <csignal>
#include <cstring>
#include <sys/resource.h>
#include <unistd.h>

using namespace formulon::engine;

namespace {

const QString kChangedText = QStringLiteral("Файл рекордов был изменён.\rРезультаты обновлены.");

class ChampionsFileTest : public ::testing::Test {
protected:
    void SetUp() override {
        CreateWindowsOnce();
        QDir(DataFolder()).removeRecursively();
        DataFolder();
        ChampionTable.Reset();
        RunRecords.Reset();
        Form1->Timer2->stop();
        Form1->Label4->setText("0");
    }
    void TearDown() override { QFile::remove(ChampionsFilePath()); }

    static void WriteFile(const QByteArray& bytes) {
        QFile file(ChampionsFilePath());
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        ASSERT_EQ(file.write(bytes), bytes.size());
    }
    static QByteArray ReadFile() {
        QFile file(ChampionsFilePath());
        if (!file.open(QIODevice::ReadOnly))
            return {};
        return file.readAll();
    }
    // The load as start-up runs it, inside the main window's creation.
    static bool LoadAtStartUp() {
        return RunProtected([] { Form1->FormCreate(); });
    }
    static bool RankingEmpty() {
        for (int slot = 1; slot <= kRankingSlots; ++slot)
            if (ChampionTable[slot].NameLength || ChampionTable[slot].ResultLength)
                return false;
        return true;
    }
    // A valid file holding these entries (slot order) and a spare.
    static QByteArray ValidFile(const std::vector<std::pair<std::string, std::string>>& entries,
                                const std::string& spare = {}) {
        ChampionTable.Reset();
        int slot = 1;
        for (const auto& [name, result] : entries) {
            ChampionTable[slot].SetName(name);
            ChampionTable[slot].SetResult(result);
            ++slot;
        }
        ChampionTable[16].SetName(spare);
        ChampionTable[16].SetResult(spare.empty() ? "" : "77");
        QByteArray bytes = ChampionsFileBytes();
        ChampionTable.Reset();
        return bytes;
    }
};

std::string RecordResult(const QByteArray& file, int record) {
    const int offset = (record - 1) * 512 + 256;
    if (file.size() < offset + 256)
        return "(the file ends before this record)";
    // A copy, not a pointer into the bytes: gcc's sanitizers build otherwise
    // warns of the empty array a QByteArray may point to.
    return file.mid(offset + 1, static_cast<unsigned char>(file[offset])).toStdString();
}

} // namespace

TEST_F(ChampionsFileTest, PathIsTheHiddenFileInTheAppDataFolder) {
    EXPECT_EQ(QFileInfo(ChampionsFilePath()).fileName(), ".camp.cam");
    EXPECT_EQ(QFileInfo(ChampionsFilePath()).absolutePath(), QDir(DataFolder()).absolutePath());
    EXPECT_TRUE(ChampionsFilePath().contains("Formulon"));
}

TEST_F(ChampionsFileTest, FreshStartWithoutFile) {
    TBoxRecorder boxes;
    EXPECT_TRUE(LoadAtStartUp());
    EXPECT_TRUE(boxes.Errors.isEmpty());
    EXPECT_TRUE(boxes.Informations.isEmpty());
    EXPECT_TRUE(RankingEmpty());
    EXPECT_TRUE(Form1->Timer2->isActive());
    EXPECT_TRUE(Form1->Timer2->isSingleShot());
    EXPECT_EQ(Form1->Timer2->interval(), 1000);

    QDir(DataFolder()).removeRecursively(); // the folder is created when missing
    SaveChampions();
    const QByteArray file = ReadFile();
    ASSERT_EQ(file.size(), 8704);
    EXPECT_EQ(RecordResult(file, 17), "0");
    EXPECT_EQ(file.left(8192), QByteArray(8192, '\0'));
    EXPECT_EQ(file.mid(8192, 256), QByteArray(256, '\0'));
    EXPECT_EQ(QFile::permissions(ChampionsFilePath()),
              QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ReadUser |
                  QFileDevice::WriteUser);
}

TEST_F(ChampionsFileTest, WorkedExampleRecord17Is393) {
    RunRecords.Enter("abc", "12");
    SaveChampions();
    const QByteArray file = ReadFile();
    EXPECT_EQ(RecordResult(file, 17), "393");
    EXPECT_EQ(file.mid(8192, 256), QByteArray(256, '\0'));
}

TEST_F(ChampionsFileTest, SaveThenLoadReturnsTheTableByteForByte) {
    const char* names[] = {"Иван", "abc", "\xC0\xE1\xE2"};
    for (int slot = 1; slot <= 3; ++slot) {
        ChampionTable[slot].SetName(names[slot - 1]);
        ChampionTable[slot].SetResult(std::to_string(slot * 10));
    }
    ChampionTable[2].NameChars[200] = '\x7F'; // filler is written as it stands
    ChampionTable[16].SetName("spare");
    const TChampionTable saved = ChampionTable;
    WriteFile(ChampionsFileBytes());
    ChampionTable.Reset();
    SaveChampions(); // nothing to add: the file stays as it is
    const QByteArray file = ReadFile();
    EXPECT_EQ(std::memcmp(file.constData(), &saved, sizeof(saved.Slots)), 0);

    ChampionTable.Reset();
    TBoxRecorder boxes;
    EXPECT_EQ(LoadChampions(), TChampionsLoad::Loaded);
    EXPECT_TRUE(boxes.Informations.isEmpty());
    EXPECT_TRUE(boxes.Errors.isEmpty());
    EXPECT_EQ(std::memcmp(&ChampionTable, &saved, sizeof(saved.Slots)), 0);
}

class WrongSizeTest : public ChampionsFileTest, public ::testing::WithParamInterface<int> {};

TEST_P(WrongSizeTest, ShowsTheMessageAndEmptiesTheRanking) {
    QByteArray bytes = ValidFile({{"abc", "12"}});
    bytes.resize(GetParam(), 'x');
    WriteFile(bytes);
    ChampionTable[1].SetName("old");
    ChampionTable[1].SetResult("5");
    TBoxRecorder boxes;
    EXPECT_TRUE(LoadAtStartUp());
    ASSERT_EQ(boxes.Informations.size(), 1);
    EXPECT_EQ(boxes.Informations[0], kChangedText);
    EXPECT_EQ(boxes.InformationCaptions[0], "Information");
    EXPECT_TRUE(boxes.Errors.isEmpty());
    EXPECT_TRUE(RankingEmpty());
    EXPECT_TRUE(Form1->Timer2->isActive());
    EXPECT_EQ(ReadFile(), bytes); // untouched until the next save
}

INSTANTIATE_TEST_SUITE_P(Sizes, WrongSizeTest, ::testing::Values(0, 512, 8703, 8705, 9216));

TEST_F(ChampionsFileTest, ChangedNameCharacterShowsMessageKeepsSlot16) {
    QByteArray bytes = ValidFile({{"abc", "12"}, {"def", "30"}}, "spare");
    bytes[2] = 'X'; // slot 1's Name "aXc"
    WriteFile(bytes);
    TBoxRecorder boxes;
    EXPECT_EQ(LoadChampions(), TChampionsLoad::Changed);
    ASSERT_EQ(boxes.Informations.size(), 1);
    EXPECT_EQ(boxes.Informations[0], kChangedText);
    EXPECT_TRUE(RankingEmpty());
    EXPECT_EQ(ChampionTable[16].Name(), "spare");
    EXPECT_EQ(ChampionTable[16].Result(), "77");
}

TEST_F(ChampionsFileTest, SwappedResultCharactersAndChangedFillerAreAccepted) {
    QByteArray bytes = ValidFile({{"abc", "12"}, {"def", "30"}});
    std::swap(bytes.data()[256 + 1], bytes.data()[256 + 2]); // "12" -> "21"
    bytes[100] = 'q';                                        // filler
    WriteFile(bytes);
    TBoxRecorder boxes;
    LoadChampions();
    EXPECT_TRUE(boxes.Informations.isEmpty());
    EXPECT_TRUE(boxes.Errors.isEmpty());
    EXPECT_EQ(ChampionTable[1].Result(), "21");
    EXPECT_EQ(ChampionTable[2].Result(), "30");
}

TEST_F(ChampionsFileTest, LoadSortsTheRanking) {
    WriteFile(ValidFile({{"slow", "100"}, {"fast", "9"}, {"", ""}, {"mid", "10"}}));
    LoadChampions();
    EXPECT_EQ(ChampionTable[1].Name(), "fast");
    EXPECT_EQ(ChampionTable[2].Name(), "mid");
    EXPECT_EQ(ChampionTable[3].Name(), "slow");
}

TEST_F(ChampionsFileTest, ZeroBytesFileRaisesTheConversionErrorNoSortLabel4Stays) {
    QByteArray bytes(8704, '\0');
    // Unsorted records as read: never checked, so never kept.
    bytes[256] = 2;
    bytes[257] = '2';
    bytes[258] = '0';
    bytes[512 + 256] = 1;
    bytes[512 + 257] = '5';
    WriteFile(bytes);
    TBoxRecorder boxes;
    EXPECT_FALSE(LoadAtStartUp());
    ASSERT_EQ(boxes.Errors.size(), 1);
    EXPECT_EQ(boxes.Errors[0], "'' is not a valid integer value.");
    EXPECT_EQ(boxes.ErrorCaptions[0], "Formulon");
    EXPECT_TRUE(boxes.Informations.isEmpty());
    EXPECT_TRUE(RankingEmpty()) << "unchecked rows stay out of the table";
    EXPECT_FALSE(Form1->Timer2->isActive());
    EXPECT_EQ(Form1->Label4->text(), "0");
}

TEST_F(ChampionsFileTest, Slot16IsPreservedAndNeverShown) {
    const QByteArray bytes = ValidFile({{"abc", "12"}}, "hidden spare");
    WriteFile(bytes);
    LoadChampions();
    EXPECT_EQ(ChampionTable[16].Name(), "hidden spare");
    Form3->FillChampionsGrid();
    for (int r = 0; r < Form3->StringGrid1->rowCount(); ++r)
        for (int c = 0; c < Form3->StringGrid1->columnCount(); ++c) {
            const QTableWidgetItem* item = Form3->StringGrid1->item(r, c);
            if (item) {
                EXPECT_NE(item->text(), "hidden spare");
            }
        }
    SaveChampions();
    EXPECT_EQ(ReadFile(), bytes);
    RunRecords.Enter("new", "5"); // a record added keeps the spare too
    SaveChampions();
    EXPECT_EQ(ReadFile().mid(15 * 512, 512), bytes.mid(15 * 512, 512));
}

TEST_F(ChampionsFileTest, Timer2FillsGridAndBestTimeOnce) {
    WriteFile(ValidFile({{"\xCF\xE5\xF2\xFF", "42"}, {"\xC2\xE0\xF1\xFF", "7"}}));
    EXPECT_TRUE(LoadAtStartUp());
    ASSERT_TRUE(Form1->Timer2->isActive());
    EXPECT_TRUE(WaitFor([] { return !Form1->Timer2->isActive(); }));
    EXPECT_FALSE(Form1->Timer2->isActive());
    EXPECT_EQ(Form1->Label4->text(), "7");
    EXPECT_EQ(Form3->StringGrid1->item(1, 0)->text(), "1");
    EXPECT_EQ(Form3->StringGrid1->item(1, 1)->text(), "Вася");
    EXPECT_EQ(Form3->StringGrid1->item(2, 1)->text(), "Петя");
    EXPECT_EQ(Form3->StringGrid1->item(2, 2)->text(), "42");
}

TEST_F(ChampionsFileTest, Timer2OnEmptyTableLeavesBestTimeEmpty) {
    EXPECT_EQ(LoadChampions(), TChampionsLoad::NoFile);
    Form1->Timer2Timer();
    EXPECT_EQ(Form1->Label4->text(), "");
    EXPECT_FALSE(Form1->Timer2->isActive());
    EXPECT_EQ(Form3->StringGrid1->item(15, 0)->text(), "15");
    EXPECT_EQ(Form3->StringGrid1->item(15, 1)->text(), "");
}

TEST_F(ChampionsFileTest, DataFolderThatIsAFileFailsTheSave) {
    QDir(DataFolder()).removeRecursively();
    {
        QFile blocker(QStandardPaths::writableLocation(QStandardPaths::AppDataLocation));
        ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    }
    try {
        SaveChampions();
        FAIL() << "no error";
    } catch (const EInOutError& e) {
        EXPECT_EQ(std::string(e.what()), "I/O error " + std::to_string(ENOTDIR));
    }
    QFile::remove(QStandardPaths::writableLocation(QStandardPaths::AppDataLocation));
}

TEST_F(ChampionsFileTest, FileNameThatIsADirectoryFailsTheSave) {
    // Refused before anything is made: the message names the path.
    ASSERT_TRUE(QDir().mkpath(ChampionsFilePath()));
    try {
        SaveChampions();
        FAIL() << "no error";
    } catch (const ENotAFile& e) {
        EXPECT_NE(std::string(e.what()).find(ChampionsFileNativePath().toStdString()),
                  std::string::npos);
    }
    EXPECT_EQ(QDir(DataFolder()).entryList(QDir::Files | QDir::Hidden).size(), 0)
        << "no temporary file left behind";
    EXPECT_TRUE(QFileInfo(ChampionsFilePath()).isDir());
    QDir(ChampionsFilePath()).removeRecursively();
}

TEST_F(ChampionsFileTest, FailedWriteKeepsTheOldFileIntact) {
    // A file size limit below 8704 bytes makes the write fail for root too.
    RunRecords.Enter("old", "1");
    SaveChampions();
    const QByteArray old = ReadFile();
    RunRecords.Enter("new", "2");

    std::signal(SIGXFSZ, SIG_IGN);
    rlimit saved{};
    getrlimit(RLIMIT_FSIZE, &saved);
    rlimit limited = saved;
    limited.rlim_cur = 4096;
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &limited), 0);
    bool raised = false;
    std::string text;
    try {
        SaveChampions();
    } catch (const EInOutError& e) {
        raised = true;
        text = e.what();
    }
    setrlimit(RLIMIT_FSIZE, &saved);
    EXPECT_TRUE(raised);
    EXPECT_EQ(text, "I/O error " + std::to_string(EFBIG));
    EXPECT_EQ(ReadFile(), old);
    EXPECT_EQ(QDir(DataFolder()).entryList(QDir::Files | QDir::Hidden),
              QStringList({".camp.cam", "formulon.lock"}))
        << "no temporary file left behind";
}

TEST_F(ChampionsFileTest, ReadOnlyFileIsAccessDenied) {
    if (geteuid() == 0)
        GTEST_SKIP() << "root ignores permission bits: a read-only file opens for writing";
    WriteFile(ValidFile({{"abc", "12"}}));
    QFile::setPermissions(ChampionsFilePath(), QFileDevice::ReadOwner);
    TBoxRecorder boxes;
    EXPECT_FALSE(LoadAtStartUp());
    ASSERT_EQ(boxes.Errors.size(), 1);
    EXPECT_EQ(boxes.Errors[0], "File access denied.");
    EXPECT_TRUE(RankingEmpty());
    EXPECT_FALSE(Form1->Timer2->isActive());
    EXPECT_EQ(Form1->Label4->text(), "0");
}

// A checksum record emptied by hand raises the conversion error, once; the
// rows it should have vouched for never reach a file under a valid
// checksum, and the file is kept before the first save replaces it.
TEST_F(ChampionsFileTest, RowsOfAFileWithoutChecksumAreNeverSavedAsValid) {
    QByteArray bytes = ValidFile({{"cheat", "1"}}, "made up");
    bytes[8192 + 256] = 0; // the checksum text, emptied
    WriteFile(bytes);
    TBoxRecorder boxes;
    EXPECT_FALSE(LoadAtStartUp());
    EXPECT_EQ(boxes.Errors, QStringList{"'' is not a valid integer value."});
    EXPECT_TRUE(RankingEmpty());

    RunRecords.Enter("pupil", "50");
    SaveChampions();
    EXPECT_EQ(FileRanking(ReadFile()), "pupil:50");
    EXPECT_EQ(ReadFile().mid(15 * 512, 512), QByteArray(512, '\0')) << "nor the spare";
    EXPECT_EQ(ReadAll(ChampionsFilePath() + ".formulon-backup-1"), bytes);
}

// The exit save and the record's save merge with the file as it is on disk
// then, whatever this run loaded; the windows then show what was saved.
struct TDiskChange {
    const char* title;
    QByteArray disk; // what another copy, or a hand, left there
    const char* saved;
    bool keptAsBackup;
};

class DiskChangeTest : public ChampionsFileTest, public ::testing::WithParamInterface<int> {};

TEST_P(DiskChangeTest, TheSaveMergesWithTheFileAsItIsNow) {
    QByteArray changed = ValidFile({{"bob", "40"}});
    changed[1] = 'B';
    const TDiskChange rows[] = {
        {"Unchanged", ValidFile({{"ann", "50"}}), "me:45 ann:50", false},
        {"AnotherCopySaved", ValidFile({{"bob", "40"}, {"ann", "50"}}), "bob:40 me:45 ann:50",
         false},
        {"Deleted", {}, "me:45", false},
        {"ChangedByHand", changed, "me:45", true},
        {"CutShort", ValidFile({{"bob", "40"}}).left(100), "me:45", true},
    };
    const TDiskChange& row = rows[GetParam()];
    SCOPED_TRACE(row.title);
    WriteFile(ValidFile({{"ann", "50"}}));
    LoadChampions();
    QFile::remove(ChampionsFilePath());
    if (!row.disk.isEmpty())
        WriteFile(row.disk);

    RunRecords.Enter("me", "45");
    SaveChampionsQuietly();
    EXPECT_EQ(FileRanking(ReadFile()), row.saved);
    EXPECT_EQ(ReadFile(), ChampionsFileBytes()) << "the table is what was saved";
    EXPECT_EQ(Form1->Label4->text(), QString::fromLatin1(row.saved).section(':', 1, 1).left(2));
    EXPECT_EQ(Form3->StringGrid1->item(1, 2)->text(), Form1->Label4->text());
    EXPECT_EQ(ReadAll(ChampionsFilePath() + ".formulon-backup-1"),
              row.keptAsBackup ? row.disk : QByteArray());
}

INSTANTIATE_TEST_SUITE_P(Rows, DiskChangeTest, ::testing::Range(0, 5));

// Another copy holding the table's lock, as the windows meet it: a record's
// save waits off the user-interface thread with "Далее" and "Начать" held
// back and a note after a second, and a load at start held past a second
// fills the table later.
#include "champions/ChampionsFile.h"
#include "champions/core/ChampionTable.h"
#include "quiz/Form1.h"
#include "quiz/Form2.h"
#include "storage/SafeFile.h"
#include "tests/champions/ChampionsTestFiles.h"
#include "tests/support/TestSupport.h"
#include "ui/Handler.h"

#include <QDir>
#include <QFile>
#include <QLabel>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>

#include <gtest/gtest.h>

#include <sys/stat.h>

namespace {

class WaitTest : public ::testing::Test {
protected:
    void SetUp() override {
        CreateWindowsOnce();
        QDir(DataFolder()).removeRecursively();
        DataFolder();
        ChampionTable.Reset();
        RunRecords.Reset();
    }
};

bool NoteShown() {
    for (QWidget* window : {static_cast<QWidget*>(Form1), static_cast<QWidget*>(Form2)})
        for (const QLabel* label : window->findChildren<QLabel*>())
            if (label->isVisible() &&
                label->text() == "Сохраняю рекорд… ждём другую копию Formulon")
                return true;
    return false;
}

TEST_F(WaitTest, ARecordsSaveWaitsWithTheWayOnHeldBack) {
    TBoxRecorder boxes;
    Form1->show();
    TLockHolder holder(QDir::tempPath(), ChampionsFilePath());
    RunRecords.Enter("pupil", "42");
    emit Form1->recordEntered();
    EXPECT_FALSE(Form1->Button4->isEnabled());
    EXPECT_FALSE(Form2->BitBtn1->isEnabled());
    EXPECT_TRUE(WaitFor(NoteShown));
    EXPECT_FALSE(RunRecords.AllSaved());
    holder.Release();
    EXPECT_TRUE(WaitFor([] { return Form1->Button4->isEnabled(); }));
    EXPECT_TRUE(Form2->BitBtn1->isEnabled());
    EXPECT_FALSE(NoteShown());
    EXPECT_TRUE(RunRecords.AllSaved());
    EXPECT_EQ(FileRanking(ReadAll(ChampionsFilePath())), "pupil:42");
    EXPECT_EQ(boxes.Informations, QStringList());
}

TEST_F(WaitTest, ALoadHeldPastASecondFillsTheTableWhenRead) {
    TBoxRecorder boxes;
    ChampionTable[1].SetName("old");
    ChampionTable[1].SetResult("30");
    ASSERT_TRUE(WriteAll(ChampionsFilePath(), ChampionsFileBytes()));
    ChampionTable.Reset();
    Form1->Timer2->stop();
    TLockHolder holder(QDir::tempPath(), ChampionsFilePath());
    EXPECT_FALSE(RunProtected([] { Form1->FormCreate(); }));
    EXPECT_EQ(boxes.Errors, QStringList()) << "put off, not failed";
    EXPECT_TRUE(ChampionTable[1].Empty());
    EXPECT_FALSE(Form1->Timer2->isActive());
    holder.Release();
    EXPECT_TRUE(WaitFor([] { return ChampionTable[1].Name() == "old"; }));
    EXPECT_TRUE(Form1->Timer2->isActive());
}

// A class table the load cannot read, or its group may not: the pupil is
// told who can mend it.
TEST_F(WaitTest, AClassTableThatCannotBeReadSaysWhoMendsIt) {
    QTemporaryDir folder;
    const QString table = folder.filePath("table.cam");
    ASSERT_TRUE(WriteAll(table, ChampionsFileBytes()));
    ASSERT_EQ(::chmod(QFile::encodeName(table), 0600), 0);
    UseClassTable(QFile::encodeName(table));
    TBoxRecorder boxes;
    InjectFaults(kFailOpen);
    EXPECT_FALSE(RunProtected([] { Form1->FormCreate(); }));
    InjectFaults(0);
    EXPECT_EQ(boxes.Errors, QStringList{"I/O error 5."});
    EXPECT_EQ(boxes.Informations, QStringList{"Файл рекордов класса недоступен для чтения: "
                                              "попросите учителя открыть его для группы"});
    EXPECT_TRUE(RunProtected([] { Form1->FormCreate(); }));
    ASSERT_EQ(boxes.Informations.size(), 2);
    EXPECT_TRUE(boxes.Informations[1].contains("закрыт для группы")) << "a 0600 class table";
    UseClassTable({});
}

} // namespace

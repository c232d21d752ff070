// The lock beside the table: held by the kernel for a live copy, free the
// moment its holder dies, never taken over from a stalled one, found again
// when the lock file is deleted, and refused when something else is there.
#include "champions/ChampionsFile.h"
#include "engine/Errors.h"
#include "storage/FolderLock.h"
#include "storage/SideFiles.h"
#include "tests/champions/ChampionsTestFiles.h"
#include "tests/support/TestSupport.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <csignal>
#include <future>
#include <optional>
#include <sys/stat.h>
#include <unistd.h>

using namespace formulon::engine;

namespace {

enum class TAtPath {
    Nothing,
    OldLeftover,
    Holder,
    DeadHolder,
    StalledHolder,
    Folder,
    Link,
    Pipe,
    Socket
};
enum class TOutcome { Taken, Busy, Broken };

struct TLockCase {
    const char* title;
    TAtPath what;
    TOutcome outcome;
};

void PrintTo(const TLockCase& row, std::ostream* out) {
    *out << row.title;
}

// Makes the row's thing at the lock's path; false when that failed.
bool Make(TAtPath what, const QString& home, const QString& lock,
          std::optional<TLockHolder>& holder) {
    const QByteArray native = QFile::encodeName(lock);
    switch (what) {
    case TAtPath::Nothing:
        return true;
    case TAtPath::OldLeftover:
        return WriteAll(lock, "4242 another-host\n") && Age(lock, 3600);
    case TAtPath::Holder:
    case TAtPath::DeadHolder:
    case TAtPath::StalledHolder:
        holder.emplace(home);
        if (what == TAtPath::DeadHolder)
            holder->Release();
        if (what == TAtPath::StalledHolder)
            ::kill(static_cast<pid_t>(holder->Pid()), SIGSTOP);
        return Age(lock, 3600); // old: age never matters
    case TAtPath::Folder:
        return ::mkdir(native, 0755) == 0;
    case TAtPath::Link:
        return QFile::link(lock + ".elsewhere", lock);
    case TAtPath::Pipe:
        return ::mkfifo(native, 0644) == 0;
    case TAtPath::Socket:
        return MakeSocket(native);
    }
    return false;
}

TOutcome TakeLock(const QByteArray& table, std::chrono::milliseconds patience) {
    try {
        const TFolderLock lock(table, ChampionsLockedFile(), patience, PersonalFileMode());
        return lock.Held() ? TOutcome::Taken : TOutcome::Broken;
    } catch (const ELockBusy&) {
        return TOutcome::Busy;
    } catch (const ELockBroken& e) {
        EXPECT_NE(std::string(e.what()).find("formulon.lock"), std::string::npos) << e.what();
        return TOutcome::Broken;
    }
}

class LockTest : public ::testing::TestWithParam<TLockCase> {};

TEST_P(LockTest, TakesOnlyAFreeLockAndLeavesWhatIsThere) {
    const TLockCase& row = GetParam();
    QTemporaryDir home;
    const QString table = RunHelper(home.path(), {"path"}).value(0);
    const QString folder = QFileInfo(table).absolutePath();
    ASSERT_TRUE(QDir().mkpath(folder));
    const QString lock = folder + "/formulon.lock";
    std::optional<TLockHolder> holder;
    ASSERT_TRUE(Make(row.what, home.path(), lock, holder));
    const mode_t mode = Mode(lock);
    const QByteArray content = S_ISREG(mode) ? ReadAll(lock) : QByteArray();

    EXPECT_EQ(TakeLock(QFile::encodeName(table), std::chrono::milliseconds(200)), row.outcome);
    if (row.what == TAtPath::Nothing) {
        EXPECT_EQ(Mode(lock), S_IFREG | 0600u) << "made once, and it stays";
    } else {
        EXPECT_EQ(Mode(lock), mode) << "never removed or replaced";
        if (S_ISREG(mode)) {
            EXPECT_EQ(ReadAll(lock), content);
        }
    }
}

INSTANTIATE_TEST_SUITE_P(
    Cases, LockTest,
    ::testing::Values(TLockCase{"Free", TAtPath::Nothing, TOutcome::Taken},
                      TLockCase{"OldLeftover", TAtPath::OldLeftover, TOutcome::Taken},
                      TLockCase{"HeldByALiveCopy", TAtPath::Holder, TOutcome::Busy},
                      TLockCase{"HolderKilled", TAtPath::DeadHolder, TOutcome::Taken},
                      TLockCase{"HolderStalled", TAtPath::StalledHolder, TOutcome::Busy},
                      TLockCase{"Folder", TAtPath::Folder, TOutcome::Broken},
                      TLockCase{"DanglingLink", TAtPath::Link, TOutcome::Broken},
                      TLockCase{"Pipe", TAtPath::Pipe, TOutcome::Broken},
                      TLockCase{"Socket", TAtPath::Socket, TOutcome::Broken}),
    [](const auto& info) { return std::string(info.param.title); });

// A pupil deletes the lock file while one copy holds it and another waits
// on it: the waiting copy, once it has the deleted file's lock, takes the
// new lock file instead, so no two copies ever hold "the" lock at once.
TEST(DeletedLockTest, AWaitingCopyTakesTheLockFileThereNow) {
    QTemporaryDir home;
    const QByteArray table = QFile::encodeName(RunHelper(home.path(), {"path"}).value(0));
    std::optional<TLockHolder> holder(std::in_place, home.path());
    auto waiting = std::async(std::launch::async, [&] {
        const TFolderLock lock(table, ChampionsLockedFile(), std::chrono::seconds(20),
                               PersonalFileMode());
        // Held now: a third copy finds the lock file at the path taken.
        return TakeLock(table, std::chrono::milliseconds(100));
    });
    const QByteArray lock = LockPath(FolderOf(table));
    // The waiting copy has the old lock file open.
    ASSERT_TRUE(WaitFor([&] {
        for (const QFileInfo& fd :
             QDir("/proc/self/fd").entryInfoList(QDir::AllEntries | QDir::System))
            if (QFile::encodeName(fd.symLinkTarget()) == lock)
                return true;
        return false;
    }));
    ASSERT_EQ(::unlink(lock.constData()), 0);
    holder.reset(); // the deleted file's lock is free now
    EXPECT_EQ(waiting.get(), TOutcome::Busy);
    EXPECT_EQ(TakeLock(table, std::chrono::milliseconds(100)), TOutcome::Taken);
}

} // namespace

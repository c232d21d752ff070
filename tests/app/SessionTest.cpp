// One copy per user and the termination signals, in process: the lock and
// its fallbacks, the running copy's answer, and each signal reaching the
// event loop.
#include "app/SingleInstance.h"
#include "app/TerminationSignals.h"
#include "tests/support/TestSupport.h"

#include <QDir>
#include <QFile>
#include <QLocalSocket>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <csignal>

namespace {

struct TLockCase {
    const char* name;
    bool firstIsAFile; // the data folder's place holds a plain file
    bool secondIsAFile;
    bool guarded; // some folder can hold the lock
};

class LockFolderTest : public ::testing::TestWithParam<TLockCase> {};

TEST_P(LockFolderTest, OneCopyHoldsTheLockAndNoneIsRefused) {
    const TLockCase& c = GetParam();
    QTemporaryDir root;
    ASSERT_TRUE(root.isValid());
    const QStringList folders{root.filePath("data/Formulon"), root.filePath("run")};
    QDir().mkpath(root.filePath("data"));
    if (c.firstIsAFile)
        QFile(folders[0]).open(QIODevice::WriteOnly);
    if (c.secondIsAFile)
        QFile(folders[1]).open(QIODevice::WriteOnly);

    TSingleInstance first(folders);
    ASSERT_TRUE(first.Acquire()); // never refused for want of a lock
    EXPECT_EQ(first.HoldsLock(), c.guarded);
    if (!c.guarded)
        return;
    EXPECT_EQ(first.LockFilePath(), folders[c.firstIsAFile ? 1 : 0] + "/formulon.lock");
    {
        TSingleInstance second(folders);
        EXPECT_FALSE(second.Acquire());
        EXPECT_EQ(second.ServerName(), first.ServerName());
    }
    TSingleInstance third(folders);
    EXPECT_FALSE(third.Acquire());
}

INSTANTIATE_TEST_SUITE_P(Folders, LockFolderTest,
                         ::testing::Values(TLockCase{"DataFolder", false, false, true},
                                           TLockCase{"RuntimeFolder", true, false, true},
                                           TLockCase{"Unguarded", true, true, false}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(SingleInstance, TheRunningCopyAnswersAFrontRequest) {
    QTemporaryDir root;
    TSingleInstance running(QStringList{root.filePath("data")});
    ASSERT_TRUE(running.Acquire());
    running.Listen();
    int requests = 0;
    QObject::connect(&running, &TSingleInstance::frontRequested, [&requests] { ++requests; });

    // A later start's request, sent without blocking this event loop.
    QLocalSocket later;
    later.connectToServer(running.ServerName());
    later.write("front\n");
    QByteArray answer;
    EXPECT_TRUE(WaitFor([&] {
        answer += later.readAll();
        return answer == "ok\n";
    })) << answer.toStdString();
    EXPECT_EQ(requests, 1);

    // Anything else is hung up on, with no request made.
    QLocalSocket stranger;
    stranger.connectToServer(running.ServerName());
    stranger.write("raise everything\n");
    EXPECT_TRUE(WaitFor([&] { return stranger.state() == QLocalSocket::UnconnectedState; }));
    EXPECT_EQ(requests, 1);
}

TEST(SingleInstance, ACopyThatDoesNotListenIsNotReached) {
    QTemporaryDir root;
    const QStringList folders{root.filePath("data")};
    TSingleInstance silent(folders);
    ASSERT_TRUE(silent.Acquire());
    TSingleInstance later(folders);
    ASSERT_FALSE(later.Acquire());
    EXPECT_FALSE(later.ReachRunningCopy(std::chrono::milliseconds(200)));
}

class TerminationSignalTest : public ::testing::TestWithParam<int> {};

TEST_P(TerminationSignalTest, TheSignalArrivesThroughTheEventLoop) {
    TTerminationSignals termination;
    int received = 0;
    QObject::connect(&termination, &TTerminationSignals::terminationRequested,
                     [&received](int signal) { received = signal; });
    ASSERT_EQ(std::raise(GetParam()), 0);
    EXPECT_EQ(received, 0); // nothing runs inside the handler
    EXPECT_TRUE(WaitFor([&] { return received == GetParam(); }));
}

INSTANTIATE_TEST_SUITE_P(Signals, TerminationSignalTest,
                         ::testing::Values(SIGTERM, SIGHUP, SIGINT));

} // namespace

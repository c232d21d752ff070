// One copy per user and table, and the termination signals, in process:
// the claim of the name, the running copy's answer, and each signal
// reaching the event loop.
#include "app/SingleInstance.h"
#include "app/Startup.h"
#include "app/TerminationSignals.h"
#include "champions/ChampionsFile.h"
#include "champions/core/ChampionsMerge.h"
#include "quiz/Form1.h"
#include "tests/support/TestSupport.h"

#include <QApplication>
#include <QDir>
#include <QLocalSocket>
#include <QMessageBox>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include <csignal>
#include <memory>
#include <ostream>
#include <string>
#include <unistd.h>
#include <vector>

namespace {

// Abstract socket names are machine-wide: another run of these tests must
// not meet this one.
QByteArray Unique(const char* text) {
    return QByteArray::number(::getpid()) + text;
}

// Copies are told apart by user and table: the same table is one copy, and
// neither a file nor anything left by an earlier copy decides it.
TEST(SingleInstance, OneCopyPerTableAndUser) {
    const QString name = TSingleInstance::ServerNameFor(Unique("/a"), "/share/class.cam");
    const QString otherHome = TSingleInstance::ServerNameFor(Unique("/b"), "/share/class.cam");
    EXPECT_NE(name, otherHome);
    EXPECT_NE(name, TSingleInstance::ServerNameFor(Unique("/a"), "/share/other.cam"));
    EXPECT_TRUE(name.contains(QString::number(::getuid())));

    auto first = std::make_unique<TSingleInstance>(name);
    ASSERT_EQ(first->Claim(), TSingleInstance::TClaim::First);
    TSingleInstance second(name);
    EXPECT_EQ(second.Claim(), TSingleInstance::TClaim::Running);
    TSingleInstance elsewhere(otherHome);
    EXPECT_EQ(elsewhere.Claim(), TSingleInstance::TClaim::First);
    first.reset(); // ended, however: the name is free at once
    TSingleInstance next(name);
    EXPECT_EQ(next.Claim(), TSingleInstance::TClaim::First);
}

TEST(SingleInstance, TheRunningCopyAnswersAFrontRequest) {
    TSingleInstance running(TSingleInstance::ServerNameFor(Unique("front"), "request"));
    ASSERT_EQ(running.Claim(), TSingleInstance::TClaim::First);
    int requests = 0;
    QObject::connect(&running, &TSingleInstance::frontRequested, [&requests] { ++requests; });

    // A later start's request, sent without blocking this event loop.
    QLocalSocket later;
    later.setSocketOptions(QLocalSocket::AbstractNamespaceOption);
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
    stranger.setSocketOptions(QLocalSocket::AbstractNamespaceOption);
    stranger.connectToServer(running.ServerName());
    stranger.write("raise everything\n");
    EXPECT_TRUE(WaitFor([&] { return stranger.state() == QLocalSocket::UnconnectedState; }));
    EXPECT_EQ(requests, 1);
}

// What a later start may send, in pieces as they may arrive: only the one
// request line brings the window forward and is answered, once per
// connection; anything else is hung up on.
struct TRequestBytes {
    const char* title;
    std::vector<QByteArray> pieces;
    int requests; // frontRequested emitted
    QByteArray answer;
};

void PrintTo(const TRequestBytes& row, std::ostream* out) {
    *out << row.title;
}

class FrontRequestTest : public ::testing::TestWithParam<TRequestBytes> {};

TEST_P(FrontRequestTest, OnlyTheRequestLineIsAnswered) {
    const TRequestBytes& row = GetParam();
    TSingleInstance running(TSingleInstance::ServerNameFor(Unique(row.title), "pieces"));
    ASSERT_EQ(running.Claim(), TSingleInstance::TClaim::First);
    int requests = 0;
    QObject::connect(&running, &TSingleInstance::frontRequested, [&requests] { ++requests; });
    QLocalSocket later;
    later.setSocketOptions(QLocalSocket::AbstractNamespaceOption);
    later.connectToServer(running.ServerName());
    ASSERT_TRUE(later.waitForConnected(1000));
    for (const QByteArray& piece : row.pieces) {
        later.write(piece);
        later.flush();
        QTest::qWait(20); // each piece arrives on its own
    }
    QByteArray answer;
    EXPECT_TRUE(WaitFor([&] {
        answer += later.readAll();
        return later.state() == QLocalSocket::UnconnectedState;
    })) << "still connected";
    answer += later.readAll();
    EXPECT_EQ(answer, row.answer);
    EXPECT_EQ(requests, row.requests);
}

INSTANTIATE_TEST_SUITE_P(
    Pieces, FrontRequestTest,
    ::testing::Values(TRequestBytes{"Whole", {"front\n"}, 1, "ok\n"},
                      TRequestBytes{"InPieces", {"fr", "o", "nt", "\n"}, 1, "ok\n"},
                      TRequestBytes{"Twice", {"front\nfront\n"}, 1, "ok\n"},
                      TRequestBytes{"Longer", {"frontal\n"}, 0, ""},
                      TRequestBytes{"LongerInPieces", {"front", "al"}, 0, ""},
                      TRequestBytes{"Shorter", {"fro\n"}, 0, ""},
                      TRequestBytes{"EmptyLine", {"\n"}, 0, ""},
                      TRequestBytes{"NoLineEnd", {QByteArray(4096, 'x')}, 0, ""}),
    [](const auto& info) { return std::string(info.param.title); });

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

// A logout while the failed exit save's error box, or the question after
// it, is open: the box closes, the question counts as "Да", the program
// ends, and a record that could not be saved is named on standard error.
struct TSignalDuringABox {
    const char* title;
    bool recordUnsaved;
    const char* boxText; // the box open when the signal comes
};

void PrintTo(const TSignalDuringABox& row, std::ostream* out) {
    *out << row.title;
}

class SignalDuringABoxTest : public ::testing::TestWithParam<TSignalDuringABox> {};

TEST_P(SignalDuringABoxTest, EndsTheProgram) {
    const TSignalDuringABox& row = GetParam();
    CreateWindowsOnce();
    TRealBoxes boxes;
    RunRecords.Reset();
    if (row.recordUnsaved)
        RunRecords.Enter("pupil", "42");
    ASSERT_TRUE(QDir().mkpath(ChampionsFilePath())); // every save fails
    TTerminationSignals termination;
    EndOnTermination(termination);
    Form1->show();

    QTimer watch;
    watch.callOnTimeout([&] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (!box)
            return;
        if (box->text().contains(QString::fromUtf8(row.boxText))) {
            watch.stop();
            std::raise(SIGTERM);
        } else {
            box->done(QMessageBox::Ok); // the error box before the question
        }
    });
    watch.start(10);
    QTimer::singleShot(0, [] { Form1->close(); });
    bool stuck = false;
    QTimer::singleShot(10000, [&stuck] {
        stuck = true;
        QCoreApplication::exit(7);
    });
    testing::internal::CaptureStderr();
    const int code = QCoreApplication::exec();
    const std::string errors = testing::internal::GetCapturedStderr();
    EXPECT_FALSE(stuck);
    EXPECT_EQ(code, 0);
    EXPECT_FALSE(watch.isActive()) << "the box never came";
    EXPECT_FALSE(Form1->isVisible());
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
    EXPECT_EQ(errors.find("record not saved") != std::string::npos, row.recordUnsaved) << errors;
}

INSTANTIATE_TEST_SUITE_P(Boxes, SignalDuringABoxTest,
                         ::testing::Values(TSignalDuringABox{"ErrorBox", false, "не файл, а папка"},
                                           TSignalDuringABox{"Question", true,
                                                             "Выйти без сохранения?"}),
                         [](const auto& info) { return std::string(info.param.title); });

} // namespace

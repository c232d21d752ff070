// Which champions file a run uses: --table, the ChampionsFile setting of the
// machine and of the user, or the personal file.
#include "app/CommandLine.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <array>
#include <cstring>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace {

struct TArguments {
    std::vector<const char*> arguments;
    const char* table;
    const char* error;
    const char* results = "";
};

void PrintTo(const TArguments& row, std::ostream* out) {
    for (const char* argument : row.arguments)
        *out << argument << ' ';
}

class ParseCommandLineTest : public ::testing::TestWithParam<TArguments> {};

TEST_P(ParseCommandLineTest, TakesTheTableAndRefusesTheRest) {
    std::vector<const char*> argv{"formulon"};
    argv.insert(argv.end(), GetParam().arguments.begin(), GetParam().arguments.end());
    const TCommandLine line = ParseCommandLine(static_cast<int>(argv.size()), argv.data());
    EXPECT_EQ(line.table.toStdString(), GetParam().table);
    EXPECT_EQ(line.error.toStdString(), GetParam().error);
    EXPECT_EQ(line.results.toStdString(), GetParam().results);
}

const char kNeedsPath[] = "--table needs the path of the champions file";

INSTANTIATE_TEST_SUITE_P(
    Rows, ParseCommandLineTest,
    ::testing::Values(TArguments{{}, "", ""},
                      TArguments{{"--table", "/s/class.cam"}, "/s/class.cam", ""},
                      TArguments{{"--table=/s/class.cam"}, "/s/class.cam", ""},
                      TArguments{{"--table", "a\xff.cam"}, "a\xff.cam", ""},
                      TArguments{{"--table"}, "", kNeedsPath},
                      TArguments{{"--table="}, "", kNeedsPath},
                      TArguments{{"--results", "r.log", "--table=/t"}, "/t", "", "r.log"},
                      TArguments{{"--results=/r.log"}, "", "", "/r.log"},
                      TArguments{{"--results"}, "", "--results needs the path of the results log"},
                      TArguments{{"--tabel", "x"}, "", "unknown argument '--tabel'"},
                      TArguments{{"camp.cam"}, "", "unknown argument 'camp.cam'"}));

// --table first, then the user's setting, then the machine's.
struct TChoice {
    const char* machine; // ChampionsFile in /etc/xdg's place; null: none
    const char* user;
    const char* table; // --table
    std::string expected;
    bool problem;
};

void PrintTo(const TChoice& row, std::ostream* out) {
    *out << (row.machine ? row.machine : "-") << ' ' << (row.user ? row.user : "-") << ' '
         << row.table;
}

class ChooseClassTableTest : public ::testing::TestWithParam<TChoice> {};

// A value "|" makes the settings file a pipe, which is never waited on.
void WriteSetting(const QString& folder, const char* value) {
    if (!value)
        return;
    QDir().mkpath(folder + "/Formulon");
    const QString path = folder + "/Formulon/Formulon.conf";
    if (std::strcmp(value, "|") == 0) {
        ASSERT_EQ(::mkfifo(QFile::encodeName(path), 0644), 0);
        return;
    }
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(QByteArray("[General]\nChampionsFile=") + value + "\n");
}

TEST_P(ChooseClassTableTest, PicksInOrder) {
    const TChoice& row = GetParam();
    QTemporaryDir settings;
    WriteSetting(settings.filePath("machine"), row.machine);
    WriteSetting(settings.filePath("user"), row.user);
    TCommandLine line;
    line.table = row.table;
    QString problem;
    EXPECT_EQ(
        ChooseClassTable(line, &problem, {settings.filePath("user"), settings.filePath("machine")})
            .toStdString(),
        row.expected);
    EXPECT_EQ(!problem.isEmpty(), row.problem) << problem.toStdString();
}

std::string InCurrentFolder(const char* name) {
    return QDir::currentPath().toStdString() + "/" + name;
}

INSTANTIATE_TEST_SUITE_P(
    Rows, ChooseClassTableTest,
    ::testing::Values(TChoice{nullptr, nullptr, "", "", false},
                      TChoice{"/m/class.cam", nullptr, "", "/m/class.cam", false},
                      TChoice{"/m/class.cam", "/u/class.cam", "", "/u/class.cam", false},
                      TChoice{"/m/class.cam", "/u/class.cam", "/t/class.cam", "/t/class.cam",
                              false},
                      TChoice{nullptr, nullptr, "rel.cam", InCurrentFolder("rel.cam"), false},
                      TChoice{"/m/class.cam", "rel.cam", "", "", true},
                      TChoice{nullptr, "\"/s/7a,7b;x/t.cam\"", "", "/s/7a,7b;x/t.cam", false},
                      TChoice{"/m/class.cam", "/s/7a,7b/t.cam", "", "", true},
                      TChoice{nullptr, "/s/a;b/t.cam", "", "", true},
                      TChoice{"/m/class.cam", "|", "", "/m/class.cam", true}));

// The task set: --tasks (either form) wins over the TaskSet setting, which
// sits beside ChampionsFile and is refused as it is.
struct TSetChoice {
    std::vector<const char*> arguments;
    const char* setting; // the user's settings file's lines; null: none
    std::string expected;
    const char* problem;
};

class ChooseTaskSetTest : public ::testing::TestWithParam<TSetChoice> {};

TEST_P(ChooseTaskSetTest, TakesTheCommandLineThenTheSetting) {
    const TSetChoice& row = GetParam();
    QTemporaryDir settings;
    if (row.setting) {
        QDir().mkpath(settings.filePath("user/Formulon"));
        QFile file(settings.filePath("user/Formulon/Formulon.conf"));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(QByteArray("[General]\n") + row.setting + "\n");
    }
    std::vector<const char*> argv{"formulon"};
    argv.insert(argv.end(), row.arguments.begin(), row.arguments.end());
    const TCommandLine line = ParseCommandLine(static_cast<int>(argv.size()), argv.data());
    QString problem = line.error;
    const QByteArray chosen =
        problem.isEmpty() ? ChooseTaskSetFile(line, &problem, {settings.filePath("user")}) : "";
    EXPECT_EQ(chosen.toStdString(), row.expected);
    EXPECT_TRUE(row.problem ? problem.contains(QString::fromUtf8(row.problem)) : problem.isEmpty())
        << problem.toStdString();
}

INSTANTIATE_TEST_SUITE_P(
    Rows, ChooseTaskSetTest,
    ::testing::Values(
        TSetChoice{{}, nullptr, "", nullptr}, TSetChoice{{}, "ChampionsFile=/c/t.cam", "", nullptr},
        TSetChoice{{}, "TaskSet=/s/trig.tasks", "/s/trig.tasks", nullptr},
        TSetChoice{{"--tasks", "/a/b.tasks"}, "TaskSet=/s/trig.tasks", "/a/b.tasks", nullptr},
        TSetChoice{
            {"--tasks=b.tasks", "--table", "/c.cam"}, nullptr, InCurrentFolder("b.tasks"), nullptr},
        TSetChoice{{}, "TaskSet=trig.tasks", "", "Настройка TaskSet должна быть полным путём"},
        TSetChoice{{}, "TaskSet=/s/9a,9b.tasks", "", "TaskSet=\"/s/9a,9b.tasks\""},
        TSetChoice{{"--tasks"}, nullptr, "", "--tasks needs the path of the task set file"},
        TSetChoice{{"--tasks="}, nullptr, "", "--tasks needs the path of the task set file"}));

// --results first, then the machine's ResultsFile (the user's is never read).
class ChooseResultsFileTest : public ::testing::TestWithParam<std::array<std::string, 3>> {};

TEST_P(ChooseResultsFileTest, PicksInOrder) {
    const auto& [machine, option, expected] = GetParam();
    QTemporaryDir settings;
    WriteSetting(settings.filePath("m"), ("/c.cam\nResultsFile=" + machine).c_str());
    TCommandLine line;
    line.results = QByteArray::fromStdString(option);
    QString problem;
    EXPECT_EQ(ChooseResultsFile(line, &problem, {settings.filePath("m")}).toStdString(), expected);
    EXPECT_EQ(problem.isEmpty(), !expected.empty() || machine.empty()) << problem.toStdString();
}

INSTANTIATE_TEST_SUITE_P(
    Rows, ChooseResultsFileTest,
    ::testing::Values(std::array<std::string, 3>{"", "", ""},
                      std::array<std::string, 3>{"/s/r.log", "", "/s/r.log"},
                      std::array<std::string, 3>{"/s/r.log", "/t/r.log", "/t/r.log"},
                      std::array<std::string, 3>{"\"/s/a,b/r.log\"", "", "/s/a,b/r.log"},
                      std::array<std::string, 3>{"/s/a,b/r.log", "", ""},
                      std::array<std::string, 3>{"r.log", "", ""}));

} // namespace

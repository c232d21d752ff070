// The results log as pupils' programs (uid 65534 in group 4242) meet it:
// which files take lines, a file that can take no more, ten programs at once.
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <map>
#include <memory>
#include <sys/stat.h>
#include <unistd.h>

namespace {

struct FileRow {
    const char* name;
    mode_t mode; // S_IFLNK: a link to a 0620 file; S_IFIFO: a pipe; 0: nothing
    uid_t owner;
    gid_t group;
    const char* limit; // the pupils' file size limit; "": none
    int pupils, lines; // each pupil's 200 lines whole, or these lines of one pupil
};

class ResultsFileTest : public testing::TestWithParam<FileRow> {};

TEST_P(ResultsFileTest, TakesWholeLinesOnlyWhereNoPupilCanReadThem) {
    if (::geteuid() != 0 || QStandardPaths::findExecutable("setpriv").isEmpty())
        GTEST_SKIP() << "needs root and setpriv to be a teacher and a pupil";
    const FileRow& row = GetParam();
    QTemporaryDir folder;
    ::chmod(QFile::encodeName(folder.path()), 0755);
    const QString log = folder.filePath("results.log"), link = folder.filePath("link.log");
    const bool file = row.mode != 0 && row.mode != S_IFIFO;
    if (QFile made(log); file && made.open(QIODevice::WriteOnly))
        made.close();
    ASSERT_EQ(file ? ::chown(QFile::encodeName(log), row.owner, row.group) : 0, 0);
    ASSERT_EQ(file ? ::chmod(QFile::encodeName(log), row.mode == S_IFLNK ? 0620 : row.mode) : 0, 0);
    ASSERT_EQ(row.mode == S_IFIFO ? ::mkfifo(QFile::encodeName(log), 0622) : 0, 0);
    ASSERT_TRUE(row.mode != S_IFLNK || QFile::link(log, link));
    std::vector<std::unique_ptr<QProcess>> pupils;
    for (int p = 0; p < row.pupils; ++p) {
        pupils.push_back(std::make_unique<QProcess>());
        pupils.back()->start("setpriv",
                             {"--reuid=65534", "--regid=65534", "--groups=4242", RESULTS_LOG_HELPER,
                              row.mode == S_IFLNK ? link : log, QString::number(p), row.limit});
    }
    for (const auto& pupil : pupils) {
        pupil->waitForFinished(55000);
        const QString out = QString::fromUtf8(pupil->readAllStandardOutput());
        EXPECT_TRUE(out.startsWith(row.lines < 0 ? "tried 0" : "tried 1 Результаты не записаны"))
            << out.toStdString();
    }
    QFile written(log);
    const QByteArray bytes = file && written.open(QIODevice::ReadOnly) ? written.readAll() : "";
    EXPECT_EQ(bytes.size(), (row.lines < 0 ? 200 * row.pupils : row.lines) * 108);
    std::map<QString, int> next; // each pupil's lines whole and in order
    for (const QByteArray& line : bytes.split('\n').mid(0, bytes.count('\n'))) {
        const auto whole = QRegularExpression("^(\\d) (\\d{4}) x{100}$").match(line);
        ASSERT_TRUE(whole.hasMatch()) << line.toStdString();
        EXPECT_EQ(whole.captured(2).toInt(), next[whole.captured(1)]++);
    }
    EXPECT_EQ(QFile::exists(log), row.mode != 0) << "the log is never made";
}

INSTANTIATE_TEST_SUITE_P(
    Rows, ResultsFileTest,
    testing::Values(FileRow{"TeachersWritableByPupils", 0620, 0, 4242, "", 1, -1},
                    FileRow{"TenPupilsAtOnce", 0620, 0, 4242, "", 10, -1},
                    FileRow{"ReadableByAnotherGroup", 0642, 0, 4243, "", 1, -1},
                    FileRow{"ReadableByPupils", 0660, 0, 4242, "", 1, 0},
                    FileRow{"ReadableByAll", 0626, 0, 4243, "", 1, 0},
                    FileRow{"PupilsOwn", 0200, 65534, 4243, "", 1, 0},
                    FileRow{"Link", S_IFLNK, 0, 4242, "", 1, 0},
                    FileRow{"Pipe", S_IFIFO, 0, 4242, "", 1, 0},
                    FileRow{"Missing", 0, 0, 4242, "", 1, 0},
                    // EFBIG past the limit, as ENOSPC on a full disk.
                    FileRow{"FullAfterTwoLines", 0620, 0, 4242, "260", 1, 2}),
    [](const auto& info) { return std::string(info.param.name); });

} // namespace

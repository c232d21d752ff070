// The results log as a pupil's program meets it: which files take lines,
// ten programs appending at once, and a file that can take no more.
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <map>
#include <sys/stat.h>
#include <unistd.h>

namespace {

constexpr uid_t kPupil = 65534;
constexpr gid_t kPupils = 4242, kOthers = 4243;

// The helper as a pupil of the group kPupils; it writes `count` lines.
QProcess* StartPupil(const QString& log, int count, const QString& tag, const QString& limit = {}) {
    auto* process = new QProcess;
    QStringList arguments{"--reuid=65534",
                          "--regid=65534",
                          "--groups=4242",
                          RESULTS_LOG_HELPER,
                          log,
                          QString::number(count),
                          tag};
    process->start("setpriv", limit.isEmpty() ? arguments : arguments << limit);
    return process;
}

QString Finished(QProcess* process) {
    process->waitForFinished(55000);
    const QString out = QString::fromUtf8(process->readAllStandardOutput()).trimmed();
    delete process;
    return out;
}

class ResultsLogTest : public testing::Test {
protected:
    void SetUp() override {
        if (::geteuid() != 0 || QStandardPaths::findExecutable("setpriv").isEmpty())
            GTEST_SKIP() << "needs root and setpriv to be a teacher and a pupil";
        ASSERT_EQ(::chmod(QFile::encodeName(folder_.path()), 0755), 0);
    }
    // A teacher's file (owner root) of `mode` in `group`, holding `bytes`.
    QString TeachersFile(mode_t mode, gid_t group = kPupils, uid_t owner = 0,
                         const QByteArray& bytes = {}) {
        QFile file(log_);
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
        file.close();
        EXPECT_EQ(::chown(QFile::encodeName(log_), owner, group), 0);
        EXPECT_EQ(::chmod(QFile::encodeName(log_), mode), 0);
        return log_;
    }
    QByteArray Bytes() const {
        QFile file(log_);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("(none)");
    }
    QTemporaryDir folder_;
    QString log_ = folder_.filePath("results.log");
};

struct FileRow {
    const char* name;
    mode_t mode; // 0: no file; S_IFLNK: a link to a 0620 file; S_IFIFO: a pipe
    uid_t owner;
    gid_t group;
    bool takes;
};

class ResultsFileTest : public ResultsLogTest, public testing::WithParamInterface<FileRow> {};

TEST_P(ResultsFileTest, TakesLinesOnlyWhereNoPupilCanReadThem) {
    const FileRow& row = GetParam();
    QString path = log_;
    if (row.mode == S_IFLNK) {
        TeachersFile(0620);
        path = folder_.filePath("link.log");
        ASSERT_TRUE(QFile::link(log_, path));
    } else if (row.mode == S_IFIFO) {
        ASSERT_EQ(::mkfifo(QFile::encodeName(log_), 0622), 0);
    } else if (row.mode != 0) {
        TeachersFile(row.mode, row.group, row.owner);
    }
    const QString out = Finished(StartPupil(path, 3, "p"));
    EXPECT_TRUE(out.startsWith(row.takes ? "tried 0" : "tried 1 Результаты не записаны"))
        << out.toStdString();
    const int lines = row.mode == S_IFIFO ? 0 : Bytes().count('\n');
    EXPECT_EQ(lines, row.takes ? 3 : 0);
    EXPECT_EQ(QFile::exists(log_), row.mode != 0) << "the log is never made";
}

INSTANTIATE_TEST_SUITE_P(Rows, ResultsFileTest,
                         testing::Values(FileRow{"TeachersWritableByPupils", 0620, 0, kPupils,
                                                 true},
                                         FileRow{"ReadableByAnotherGroup", 0642, 0, kOthers, true},
                                         FileRow{"ReadableByPupils", 0660, 0, kPupils, false},
                                         FileRow{"ReadableByAll", 0626, 0, kOthers, false},
                                         FileRow{"PupilsOwn", 0200, kPupil, kOthers, false},
                                         FileRow{"Link", S_IFLNK, 0, kPupils, false},
                                         FileRow{"Pipe", S_IFIFO, 0, kPupils, false},
                                         FileRow{"Missing", 0, 0, kPupils, false}),
                         [](const auto& info) { return std::string(info.param.name); });

// Ten programs at once lose no line, cut none and keep each one's order.
TEST_F(ResultsLogTest, TenProgramsAtOnceLoseNoLine) {
    TeachersFile(0620);
    std::vector<QProcess*> pupils;
    for (int p = 0; p < 10; ++p)
        pupils.push_back(StartPupil(log_, 200, QString("p%1").arg(p)));
    for (QProcess* pupil : pupils)
        EXPECT_EQ(Finished(pupil), "tried 0");
    std::map<QString, int> next;
    const QRegularExpression whole("^(p\\d) (\\d+) x{100}$");
    for (const QByteArray& line : Bytes().split('\n').mid(0, 2000)) {
        const QRegularExpressionMatch match = whole.match(QString::fromLatin1(line));
        ASSERT_TRUE(match.hasMatch()) << line.toStdString();
        EXPECT_EQ(match.captured(2).toInt(), next[match.captured(1)]++);
    }
    EXPECT_EQ(Bytes().count('\n'), 2000);
    EXPECT_TRUE(Bytes().endsWith('\n'));
}

// A file that can take no more (the size limit gives EFBIG as a full disk
// gives ENOSPC): the line that does not fit leaves nothing, the failure is
// told once, and the lines before it stay.
TEST_F(ResultsLogTest, AFullFileLosesTheLineButCutsNone) {
    TeachersFile(0620, kPupils, 0, "teacher's first line\n");
    const QString limit = QString::number(21 + 2 * 105 + 50);
    const QString out = Finished(StartPupil(log_, 5, "p", limit));
    EXPECT_TRUE(out.startsWith("tried 1 Результаты не записаны")) << out.toStdString();
    EXPECT_EQ(Bytes().size(), 21 + 2 * 105); // "p 1 xx…x\n" is 105 bytes
    EXPECT_TRUE(Bytes().endsWith(" 1 " + QByteArray(100, 'x') + '\n'));
}

} // namespace

// A teacher's set's pictures: typeset once, then read from the cache with
// nothing typeset; a damaged cached picture is made again; a TeX that does
// not typeset stops the set at its picture, and nothing after it is made.
#include "typeset/TaskPictureSet.h"
#include "tests/support/TestSupport.h"
#include "typeset/TypesetService.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QThreadPool>

#include <gtest/gtest.h>

namespace {

constexpr int kPatience = 30000; // loading MathJax takes seconds under the sanitizers

struct TPictureRow {
    const char* Name;
    std::vector<QString> Texs;
    int RefusedAt; // -1: every picture is made
    const char* Why;
};

class TaskPictureSetTest : public testing::TestWithParam<TPictureRow> {};

struct TLoaded {
    int Typeset = 0;
    int RefusedAt = -1;
    QString Why;
    bool Complete = false;
    std::vector<bool> Ready;
};

TLoaded Load(const TPictureRow& row, TTypesetService& service) {
    TTaskPictureSet set(QStringList(row.Texs.begin(), row.Texs.end()), 2.0, nullptr, &service);
    TLoaded loaded;
    bool over = false;
    QObject::connect(&set, &TTaskPictureSet::completed, [&] { over = true; });
    QObject::connect(&set, &TTaskPictureSet::refused, [&](int index, const QString& why) {
        over = true;
        loaded.RefusedAt = index;
        loaded.Why = why;
    });
    set.Load();
    EXPECT_TRUE(WaitFor([&] { return over; }, kPatience));
    QThreadPool::globalInstance()->waitForDone(); // the cache is written
    loaded.Typeset = set.Typeset();
    loaded.Complete = set.Complete();
    for (int i = 0; i < set.Count(); ++i) {
        loaded.Ready.push_back(set.Ready(i));
        if (set.Ready(i)) {
            EXPECT_LE(set.Size(i).width(), TTaskPictureSet::PictureRoom.width()) << i;
            EXPECT_EQ(set.Picture(i, 2.0).devicePixelRatio(), 2.0) << i;
        }
    }
    return loaded;
}

TEST_P(TaskPictureSetTest, TypesetsOnceThenFromTheCache) {
    const TPictureRow& row = GetParam();
    QTemporaryDir cache;
    qputenv("XDG_CACHE_HOME", cache.path().toLocal8Bit());
    TTypesetService service;
    const int count = static_cast<int>(row.Texs.size());
    const int made = row.RefusedAt < 0 ? count : row.RefusedAt;
    const TLoaded first = Load(row, service);
    EXPECT_EQ(first.RefusedAt, row.RefusedAt);
    EXPECT_EQ(first.Typeset, made);
    EXPECT_EQ(first.Complete, row.RefusedAt < 0);
    EXPECT_TRUE(first.Why.contains(QString::fromUtf8(row.Why ? row.Why : "")))
        << first.Why.toStdString();
    for (int i = 0; i < count; ++i)
        EXPECT_EQ(first.Ready[static_cast<std::size_t>(i)], i < made) << i;
    const int begun = service.FormulasBegun();
    const TLoaded second = Load(row, service);
    EXPECT_EQ(second.Typeset, 0) << "a second load typesets nothing it has";
    EXPECT_EQ(service.FormulasBegun() - begun, row.RefusedAt < 0 ? 0 : 1);
    EXPECT_EQ(second.RefusedAt, row.RefusedAt);
    // A cached picture cut short is made again, and only it.
    const QStringList files = QDir(TTaskPictureSet::CacheFolder()).entryList(QDir::Files);
    ASSERT_EQ(files.size(), made) << "nothing is left half-written";
    if (row.RefusedAt < 0) {
        QFile damaged(TTaskPictureSet::CacheFolder() + '/' + files.front());
        ASSERT_TRUE(damaged.resize(20));
        EXPECT_EQ(Load(row, service).Typeset, 1);
    }
}

const QString kTooLong = QStringLiteral("y+").repeated(4001);

INSTANTIATE_TEST_SUITE_P(
    Rows, TaskPictureSetTest,
    testing::Values(
        TPictureRow{"ThreeFormulas", {"\\sin(y+z)", "y^2+\\tg z", "\\frac{y}{z}"}, -1, nullptr},
        TPictureRow{"UnknownCommand", {"y", "\\nosuch{y}", "z"}, 1, "не набирается"},
        TPictureRow{"UnclosedBrace", {"\\frac{y", "z"}, 0, "не набирается"},
        TPictureRow{"TooLong", {"y", kTooLong}, 1, "слишком велик"}),
    [](const auto& info) { return std::string(info.param.Name); });

} // namespace

// Lookup of built-in bitmaps by name, without regard to letter case.
#include "ui/BitmapResources.h"
#include "engine/Errors.h"

#include <gtest/gtest.h>

#include <string>

using namespace formulon::engine;

namespace {

QString TaskName(const char* letter, int task, int variant) {
    return QString::fromLatin1(letter) + QString::number(task) + QString::number(variant);
}

TEST(BitmapResources, EveryTaskPictureResolvesInEitherCase) {
    for (int task = 1; task <= 10; ++task) {
        for (int variant = 1; variant <= 3; ++variant) {
            for (const char* letter : {"p", "P"}) {
                const QString name = TaskName(letter, task, variant);
                SCOPED_TRACE(name.toStdString());
                EXPECT_TRUE(HasBitmapResource(name));
                EXPECT_FALSE(LoadBitmapResource(name).isNull());
            }
        }
    }
}

TEST(BitmapResources, VerdictPicturesResolveInAnyCase) {
    for (const char* name : {"dum", "DUM", "Inf", "iNF", "win", "WiN"}) {
        SCOPED_TRACE(name);
        EXPECT_FALSE(LoadBitmapResource(QString::fromLatin1(name)).isNull());
    }
}

// Names that are near misses of real pictures: no task 0 or 11, no variant
// 0 or 4, no leading zeros, and the name is the whole base name.
TEST(BitmapResources, OtherNamesAreNotFound) {
    for (const char* name : {"", "p", "p0", "p01", "p10", "p14", "p104", "p111", "p100", "p1",
                             "q11", "p11.png", " p11", "p11 ", "bitmaps/p11", "dum2", "x"}) {
        SCOPED_TRACE(name);
        const QString qname = QString::fromLatin1(name);
        EXPECT_FALSE(HasBitmapResource(qname));
        try {
            LoadBitmapResource(qname);
            ADD_FAILURE() << "no exception";
        } catch (const Exception& e) {
            EXPECT_EQ(e.Message(), "Resource " + std::string(name) + " not found");
        }
    }
}

} // namespace

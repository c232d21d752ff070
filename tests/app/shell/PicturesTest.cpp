// The built-in pictures themselves: the formats and sizes the windows rely on.
#include "app/shell/BitmapResources.h"

#include <QImage>
#include <QSet>

#include <gtest/gtest.h>

namespace {

QSet<QRgb> Colours(const QImage& image) {
    QSet<QRgb> colours;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            colours.insert(image.pixel(x, y) | 0xff000000u);
    return colours;
}

// The rectangle from the top-left corner to the furthest ink, as the task
// box shows pictures unscaled at its top-left corner.
QSize InkExtent(const QImage& image) {
    QSize extent(0, 0);
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (qGray(image.pixel(x, y)) < 128)
                extent = extent.expandedTo(QSize(x + 1, y + 1));
    return extent;
}

TEST(TaskPictures, AreBlackInkOnWhiteWithinTheTaskBox) {
    const QSet<QRgb> blackAndWhite{qRgb(0, 0, 0), qRgb(255, 255, 255)};
    for (int task = 1; task <= 10; ++task) {
        for (int variant = 1; variant <= 3; ++variant) {
            const QString name = QStringLiteral("P%1%2").arg(task).arg(variant);
            SCOPED_TRACE(name.toStdString());
            const QImage image = LoadBitmapResource(name);
            EXPECT_EQ(image.depth(), 1);
            EXPECT_EQ(Colours(image), blackAndWhite);
            EXPECT_LE(image.width(), 400);
            EXPECT_LE(image.height(), 110);
            const QSize ink = InkExtent(image);
            EXPECT_LE(ink.width(), 393);
            EXPECT_LE(ink.height(), 105);
            // Even sin(y - z) is wider than this: a tiny picture is a lost formula.
            EXPECT_GE(ink.width(), 60);
            EXPECT_GE(ink.height(), 14);
        }
    }
}

struct Verdict {
    const char* name;
    int maxColours;
};

TEST(VerdictPictures, AreOnWhiteAtTheirSizeAndColourDepth) {
    for (const Verdict& v : {Verdict{"DUM", 16}, Verdict{"INF", 16}, Verdict{"WIN", 256}}) {
        SCOPED_TRACE(v.name);
        const QImage image = LoadBitmapResource(QString::fromLatin1(v.name));
        EXPECT_EQ(image.size(), QSize(192, 222));
        EXPECT_FALSE(image.hasAlphaChannel());
        for (const QPoint corner : {QPoint(0, 0), QPoint(191, 0), QPoint(0, 221), QPoint(191, 221)})
            EXPECT_EQ(image.pixel(corner) | 0xff000000u, qRgb(255, 255, 255));
        const qsizetype colours = Colours(image).size();
        EXPECT_LE(colours, v.maxColours);
        EXPECT_GT(colours, 3);
    }
}

TEST(Icons, MenuIconsAndGlyphsAre16By16) {
    for (const char* name :
         {"table", "help", "notepad", "door", "next", "next-disabled", "close", "close-disabled"}) {
        SCOPED_TRACE(name);
        const QImage image(QStringLiteral(":/icons/%1.png").arg(QString::fromLatin1(name)));
        EXPECT_EQ(image.size(), QSize(16, 16));
    }
}

// The disabled twin is the same shape without colour.
TEST(Icons, GreyedTwinsAreGreyVersionsOfTheirGlyphs) {
    for (const char* name : {"next", "close"}) {
        SCOPED_TRACE(name);
        const QImage glyph(QStringLiteral(":/icons/%1.png").arg(QString::fromLatin1(name)));
        const QImage twin(QStringLiteral(":/icons/%1-disabled.png").arg(QString::fromLatin1(name)));
        ASSERT_EQ(twin.size(), glyph.size());
        EXPECT_FALSE(glyph.allGray());
        for (int y = 0; y < twin.height(); ++y) {
            for (int x = 0; x < twin.width(); ++x) {
                const QRgb p = twin.pixel(x, y);
                EXPECT_EQ(qAlpha(p), qAlpha(glyph.pixel(x, y)));
                if (qAlpha(p) > 0) {
                    EXPECT_TRUE(qRed(p) == qGreen(p) && qGreen(p) == qBlue(p));
                }
            }
        }
    }
}

TEST(Icons, ProgramIconComesInEverySize) {
    for (int size : {16, 32, 48, 64, 128, 256}) {
        SCOPED_TRACE(size);
        const QImage image(QStringLiteral(":/icons/formulon-%1.png").arg(size));
        EXPECT_EQ(image.size(), QSize(size, size));
    }
}

} // namespace

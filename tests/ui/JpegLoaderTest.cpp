// The libjpeg-based loader: decodes the stored JPEGs, and turns every broken
// stream into an Exception instead of ending the process.
#include "ui/JpegLoader.h"
#include "engine/Errors.h"

#include <QFile>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <ostream>
#include <string>
#include <vector>

using namespace formulon::engine;

namespace {

QByteArray ReadResource(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return file.readAll();
}

// The largest difference of any channel of any pixel, or -1 when the sizes
// differ.
int MaxChannelDifference(const QImage& a, const QImage& b) {
    if (a.size() != b.size())
        return -1;
    int worst = 0;
    for (int y = 0; y < a.height(); ++y) {
        for (int x = 0; x < a.width(); ++x) {
            const QRgb p = a.pixel(x, y);
            const QRgb q = b.pixel(x, y);
            worst = std::max({worst, std::abs(qRed(p) - qRed(q)), std::abs(qGreen(p) - qGreen(q)),
                              std::abs(qBlue(p) - qBlue(q))});
        }
    }
    return worst;
}

struct StoredJpeg {
    const char* path;
    int width;
    int height;
};

void PrintTo(const StoredJpeg& jpeg, std::ostream* out) {
    *out << jpeg.path;
}

class StoredJpegs : public testing::TestWithParam<StoredJpeg> {};

TEST_P(StoredJpegs, DecodeToTheirSizeInColour) {
    const StoredJpeg& jpeg = GetParam();
    const QImage image = LoadJpegResource(QString::fromLatin1(jpeg.path));
    EXPECT_EQ(image.width(), jpeg.width);
    EXPECT_EQ(image.height(), jpeg.height);
    EXPECT_FALSE(image.allGray());
}

// A second, independent decoder must see the same picture: this catches rows
// written at the wrong stride or channels in the wrong order. Qt's own JPEG
// plugin may be absent from a minimal installation.
TEST_P(StoredJpegs, MatchQtsOwnDecoding) {
    const QByteArray data = ReadResource(QString::fromLatin1(GetParam().path));
    QImage reference;
    if (!reference.loadFromData(data, "JPG"))
        GTEST_SKIP() << "Qt has no JPEG plugin here";
    const int difference = MaxChannelDifference(DecodeJpeg(data), reference);
    EXPECT_GE(difference, 0) << "sizes differ";
    EXPECT_LE(difference, 8);
}

INSTANTIATE_TEST_SUITE_P(Resources, StoredJpegs,
                         testing::Values(StoredJpeg{":/jpeg/title.jpg", 392, 290},
                                         StoredJpeg{":/jpeg/banner.jpg", 275, 106}));

TEST(JpegLoader, TitlePictureHasALightGreenGround) {
    const QColor corner = LoadJpegResource(QStringLiteral(":/jpeg/title.jpg")).pixelColor(2, 2);
    EXPECT_GT(corner.green(), 200);
    EXPECT_GT(corner.green(), corner.red() + 10);
    EXPECT_GT(corner.green(), corner.blue() + 10);
}

struct BrokenStream {
    const char* what;
    QByteArray data;
};

std::vector<BrokenStream> BrokenStreams() {
    const QByteArray title = ReadResource(QStringLiteral(":/jpeg/title.jpg"));
    const QByteArray png = ReadResource(QStringLiteral(":/icons/table.png"));
    return {
        {"empty", QByteArray()},
        {"start of image marker only", title.left(2)},
        {"headers only", title.left(600)},
        {"first tenth", title.left(title.size() / 10)},
        {"first half", title.left(title.size() / 2)},
        {"all but the end marker", title.left(title.size() - 2)},
        {"a PNG", png},
        {"text", QByteArray("sin(y-z)")},
        {"zeros", QByteArray(4096, '\0')},
    };
}

// Keeping only the top rows still reads and checks the whole stream.
TEST(JpegLoader, BrokenStreamsRaiseAnException) {
    for (const BrokenStream& broken : BrokenStreams()) {
        for (const int rows : {-1, 1}) {
            SCOPED_TRACE(std::string(broken.what) + ", rows " + std::to_string(rows));
            try {
                DecodeJpeg(broken.data, rows);
                ADD_FAILURE() << "decoded without complaint";
            } catch (const Exception& e) {
                EXPECT_EQ(e.Message().rfind("Picture is not a valid JPEG: ", 0), 0u) << e.Message();
                EXPECT_GT(e.Message().size(), std::string("Picture is not a valid JPEG: ").size());
            }
        }
    }
}

// The rows asked for are the whole picture's top rows, pixel for pixel.
struct TopRows {
    int rows;
    int height; // of the result
};

void PrintTo(const TopRows& row, std::ostream* out) {
    *out << row.rows;
}

class TitleTopRows : public testing::TestWithParam<TopRows> {};

TEST_P(TitleTopRows, AreTheWholePicturesTopRows) {
    const QByteArray data = ReadResource(QStringLiteral(":/jpeg/title.jpg"));
    const QImage whole = DecodeJpeg(data);
    const QImage top = DecodeJpeg(data, GetParam().rows);
    ASSERT_EQ(top.size(), QSize(392, GetParam().height));
    EXPECT_EQ(top, whole.copy(0, 0, whole.width(), GetParam().height));
}

INSTANTIATE_TEST_SUITE_P(Rows, TitleTopRows,
                         testing::Values(TopRows{-1, 290}, TopRows{0, 290}, TopRows{1, 1},
                                         TopRows{273, 273}, TopRows{289, 289}, TopRows{290, 290},
                                         TopRows{1000, 290}));

// A pixmap takes 32-bit RGB as it is, so the unused byte must be opaque.
TEST_P(StoredJpegs, DecodeToOpaque32BitRgb) {
    const QImage image = LoadJpegResource(QString::fromLatin1(GetParam().path));
    ASSERT_EQ(image.format(), QImage::Format_RGB32);
    for (int y = 0; y < image.height(); ++y) {
        const auto* row = reinterpret_cast<const QRgb*>(image.constScanLine(y));
        for (int x = 0; x < image.width(); ++x)
            ASSERT_EQ(qAlpha(row[x]), 255) << x << ", " << y;
    }
}

TEST(JpegLoader, StillDecodesAfterAFailure) {
    EXPECT_THROW(DecodeJpeg(QByteArray("broken")), Exception);
    EXPECT_EQ(LoadJpegResource(QStringLiteral(":/jpeg/banner.jpg")).width(), 275);
}

TEST(JpegLoader, MissingResourceRaisesNotFound) {
    try {
        LoadJpegResource(QStringLiteral(":/jpeg/missing.jpg"));
        ADD_FAILURE() << "no exception";
    } catch (const Exception& e) {
        EXPECT_EQ(e.Message(), "Resource :/jpeg/missing.jpg not found");
    }
}

} // namespace

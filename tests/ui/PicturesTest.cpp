// The built-in pictures themselves: the formats and sizes the windows rely on.
#include "ui/Pictures.h"
#include "quiz/core/TaskCatalogue.h"
#include "ui/BitmapResources.h"
#include "ui/SvgModule.h"

#include <QAction>
#include <QFile>
#include <QIcon>
#include <QImage>
#include <QPainter>
#include <QSet>
#include <QSvgRenderer>

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

// Every variant of the task table has its picture.
QStringList TaskPictureNames() {
    QStringList names;
    for (const TTaskRow& row : ReferenceFormulas.Rows())
        names << QString::fromLatin1(row.Picture.data(),
                                     static_cast<qsizetype>(row.Picture.size()));
    return names;
}

TEST(TaskPictures, AreBlackInkOnWhiteWithinTheTaskBox) {
    const QSet<QRgb> blackAndWhite{qRgb(0, 0, 0), qRgb(255, 255, 255)};
    for (const QString& name : TaskPictureNames()) {
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

// One row of the generator's exponent table: a picture and the boxes of the
// digits of its first-level exponents.
struct ExponentRow {
    QString picture;
    QList<QRect> digits;
};

QList<ExponentRow> ReadExponentTable() {
    QFile file(QStringLiteral(FORMULON_EXPONENT_TABLE));
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text))
        return {};
    QList<ExponentRow> rows;
    for (const QByteArray& line : file.readAll().split('\n')) {
        const QList<QByteArray> fields = line.simplified().split(' ');
        if (fields.size() < 2)
            continue;
        ExponentRow row{QString::fromLatin1(fields[0]), {}};
        for (qsizetype i = 2; i < fields.size(); ++i) {
            const QList<QByteArray> n = fields[i].mid(2).split(',');
            if (n.size() == 4)
                row.digits.append(QRect(n[0].toInt(), n[1].toInt(), n[2].toInt(), n[3].toInt()));
        }
        rows.append(row);
    }
    return rows;
}

// Rows of the box holding ink: a digit drawn there spans them all.
int InkRowsIn(const QImage& image, const QRect& box) {
    int top = -1, bottom = -1;
    for (int y = box.top(); y <= box.bottom(); ++y)
        for (int x = box.left(); x <= box.right(); ++x)
            if (image.rect().contains(x, y) && qGray(image.pixel(x, y)) < 128) {
                top = top < 0 ? y : top;
                bottom = y;
            }
    return top < 0 ? 0 : bottom - top + 1;
}

// Digits of a first-level exponent (y², e^(y+5), cos³) must be readable at
// actual size; only the widest pictures may not afford it.
TEST(TaskPictures, FirstLevelExponentDigitsAreAtLeastTenPixelsHigh) {
    const QList<ExponentRow> rows = ReadExponentTable();
    ASSERT_EQ(rows.size(), ReferenceFormulas.EntryCount());
    QStringList withoutDigits;
    for (const ExponentRow& row : rows) {
        SCOPED_TRACE(row.picture.toStdString());
        const QImage image = LoadBitmapResource(row.picture);
        if (row.digits.isEmpty())
            withoutDigits << row.picture;
        for (const QRect& digit : row.digits) {
            EXPECT_GE(digit.height(), 10);
            EXPECT_EQ(InkRowsIn(image, digit), digit.height())
                << "no digit of that height at " << digit.x();
        }
    }
    // Only sin(y − z), cos(3y − 5) and task 4's first variant have none.
    EXPECT_EQ(withoutDigits, QStringList({"P11", "P12", "P41"}));
}

// Draws a vector picture at twice its size, as on a screen of device pixel
// ratio 2.
QImage DrawnAtRatioTwo(QSvgRenderer& renderer, QSize size) {
    QImage image(size * 2, QImage::Format_RGB32);
    image.setDevicePixelRatio(2);
    image.fill(Qt::white);
    QPainter painter(&image);
    renderer.render(&painter, QRectF(QPointF(0, 0), QSizeF(size)));
    return image;
}

// The vector version is the bitmap's formula at the bitmap's size and place:
// every ink pixel of the bitmap is inked at ratio 2 near the same spot, and
// every solid spot of the ratio-2 drawing is ink in the bitmap nearby.
TEST(TaskPictures, VectorVersionsMatchTheBitmapsAtTwiceTheDetail) {
    ASSERT_NE(SvgDrawing(), nullptr); // brings the vector pictures
    for (const QString& name : TaskPictureNames()) {
        SCOPED_TRACE(name.toStdString());
        const QImage bitmap = LoadBitmapResource(name);
        QSvgRenderer renderer(QStringLiteral(":/svg/%1.svg").arg(name));
        ASSERT_TRUE(renderer.isValid());
        ASSERT_EQ(renderer.defaultSize(), bitmap.size());
        const QImage fine = DrawnAtRatioTwo(renderer, bitmap.size());
        const auto inkAt = [](const QImage& image, int x, int y, int reach) {
            for (int dy = -reach; dy <= reach; ++dy)
                for (int dx = -reach; dx <= reach; ++dx)
                    if (image.rect().contains(x + dx, y + dy) &&
                        qGray(image.pixel(x + dx, y + dy)) < 192)
                        return true;
            return false;
        };
        int missing = 0, stray = 0, grey = 0;
        for (int y = 0; y < bitmap.height(); ++y) {
            for (int x = 0; x < bitmap.width(); ++x) {
                if (qGray(bitmap.pixel(x, y)) < 128 && !inkAt(fine, 2 * x, 2 * y, 2))
                    ++missing;
            }
        }
        for (int y = 0; y < fine.height(); ++y) {
            for (int x = 0; x < fine.width(); ++x) {
                const int g = qGray(fine.pixel(x, y));
                grey += g > 16 && g < 240 ? 1 : 0;
                if (g < 64 && !inkAt(bitmap, x / 2, y / 2, 1))
                    ++stray;
            }
        }
        EXPECT_EQ(missing, 0);
        EXPECT_EQ(stray, 0);
        // Drawn, not the bitmap enlarged: smooth edges.
        EXPECT_GT(grey, 0);
    }
}

struct Vector {
    const char* name;
    QSize size;
};

TEST(VectorPictures, ComeAtTheSizeOfTheirBitmaps) {
    ASSERT_NE(SvgDrawing(), nullptr); // brings the vector pictures
    for (const Vector& v :
         {Vector{"DUM", {192, 222}}, Vector{"INF", {192, 222}}, Vector{"WIN", {192, 222}},
          Vector{"title", {392, 290}}, Vector{"banner", {275, 106}},
          Vector{"icons/table", {16, 16}}, Vector{"icons/help", {16, 16}},
          Vector{"icons/notepad", {16, 16}}, Vector{"icons/door", {16, 16}},
          Vector{"icons/next", {16, 16}}, Vector{"icons/close", {16, 16}}}) {
        SCOPED_TRACE(v.name);
        QSvgRenderer renderer(QStringLiteral(":/svg/%1.svg").arg(QString::fromLatin1(v.name)));
        ASSERT_TRUE(renderer.isValid());
        EXPECT_EQ(renderer.defaultSize(), v.size);
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

// An icon of the kind the windows use: bitmaps of several sizes, some with
// a disabled look of their own.
QIcon SampleIcon() {
    QIcon icon(QStringLiteral(":/icons/next.png"));
    icon.addFile(QStringLiteral(":/icons/next-disabled.png"), QSize(), QIcon::Disabled);
    const QImage glyph(QStringLiteral(":/icons/next.png"));
    for (const int size : {24, 32, 48}) {
        const QImage larger =
            glyph.scaled(size, size, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
        icon.addPixmap(QPixmap::fromImage(larger));
        if (size == 32)
            icon.addPixmap(QPixmap::fromImage(larger.convertToFormat(QImage::Format_Grayscale8)),
                           QIcon::Disabled);
    }
    return icon;
}

TEST(DeferredIcon, IsMadeOnItsFirstQuestionOnly) {
    int made = 0;
    const QIcon icon = DeferredIcon([&made] {
        ++made;
        return SampleIcon();
    });
    QAction action;
    action.setIcon(icon); // as a window's menu item gets it
    const QIcon copy = icon;
    EXPECT_EQ(made, 0);
    EXPECT_FALSE(copy.pixmap(QSize(16, 16), 1.0).isNull());
    EXPECT_FALSE(action.icon().isNull());
    EXPECT_EQ(icon.availableSizes().size(), 4);
    EXPECT_EQ(made, 1);
}

// Every question a window, a style or a screen reader can put gets the made
// icon's own answer, at each ratio a screen can have.
class DeferredIconAnswers : public ::testing::TestWithParam<qreal> {};

TEST_P(DeferredIconAnswers, AreTheMadeIconsAnswers) {
    const qreal ratio = GetParam();
    const QIcon made = SampleIcon();
    const QIcon deferred = DeferredIcon(SampleIcon);
    EXPECT_EQ(deferred.isNull(), made.isNull());
    EXPECT_EQ(deferred.name(), made.name());
    for (const QIcon::Mode mode :
         {QIcon::Normal, QIcon::Disabled, QIcon::Active, QIcon::Selected}) {
        for (const QIcon::State state : {QIcon::Off, QIcon::On}) {
            SCOPED_TRACE(testing::Message() << "mode " << mode << ", state " << state);
            EXPECT_EQ(deferred.availableSizes(mode, state), made.availableSizes(mode, state));
            for (const int side : {8, 16, 20, 24, 32, 40, 48, 64, 100}) {
                SCOPED_TRACE(side);
                const QSize size(side, side);
                EXPECT_EQ(deferred.actualSize(size, mode, state),
                          made.actualSize(size, mode, state));
                const QPixmap mine = deferred.pixmap(size, ratio, mode, state);
                const QPixmap theirs = made.pixmap(size, ratio, mode, state);
                EXPECT_EQ(mine.devicePixelRatio(), theirs.devicePixelRatio());
                EXPECT_EQ(mine.toImage(), theirs.toImage());
                // Painted, as a style draws an icon into a button or menu.
                QImage canvases[2];
                const QIcon* icons[2] = {&deferred, &made};
                for (int i = 0; i < 2; ++i) {
                    canvases[i] =
                        QImage(QSize(110, 110) * ratio, QImage::Format_ARGB32_Premultiplied);
                    canvases[i].setDevicePixelRatio(ratio);
                    canvases[i].fill(Qt::transparent);
                    QPainter painter(&canvases[i]);
                    icons[i]->paint(&painter, QRect(QPoint(3, 5), size), Qt::AlignCenter, mode,
                                    state);
                }
                EXPECT_EQ(canvases[0], canvases[1]);
            }
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Ratios, DeferredIconAnswers, ::testing::Values(1.0, 1.25, 1.5, 2.0, 3.0));

TEST(Icons, ProgramIconComesInEverySize) {
    for (int size : {16, 32, 48, 64, 128, 256}) {
        SCOPED_TRACE(size);
        const QImage image(QStringLiteral(":/icons/formulon-%1.png").arg(size));
        EXPECT_EQ(image.size(), QSize(size, size));
    }
}

} // namespace

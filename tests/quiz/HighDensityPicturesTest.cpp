// Pictures on dense screens: this program runs at device pixel ratio 2
// (QT_SCALE_FACTOR=2) on the first of two screens, the second twice as
// dense (two-screens.json); the drawing helpers are also asked for ratio 1.
#include "quiz/Form1.h"
#include "quiz/Form2.h"
#include "tests/support/TestSupport.h"
#include "ui/BitmapResources.h"
#include "ui/JpegLoader.h"
#include "ui/Pictures.h"

#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPushButton>
#include <QScreen>
#include <QWindow>

#include <gtest/gtest.h>

#include <functional>
#include <ostream>

namespace {

// The picture as the eye sees it over its ground, in device pixels.
QImage OnGround(const QPixmap& picture, const QColor& ground) {
    QImage image(picture.size(), QImage::Format_RGB32), pixels = picture.toImage();
    image.fill(ground);
    pixels.setDevicePixelRatio(1.0);
    QPainter(&image).drawImage(0, 0, pixels);
    return image;
}

int Spread(QRgb a, QRgb b) {
    return qMax(qAbs(qRed(a) - qRed(b)),
                qMax(qAbs(qGreen(a) - qGreen(b)), qAbs(qBlue(a) - qBlue(b))));
}

// Where the ratio-1 picture is an even patch, the ratio-2 block must be of
// its colour (same place, same colours); and some 2 x 2 blocks must not be
// one colour, or it is the bitmap enlarged pixel by pixel.
void ExpectFinerCopy(const QImage& coarse, const QImage& fine) {
    ASSERT_EQ(fine.size(), coarse.size() * 2);
    int solid = 0, matched = 0, fineBlocks = 0;
    for (int y = 1; y + 1 < coarse.height(); ++y)
        for (int x = 1; x + 1 < coarse.width(); ++x) {
            const QRgb p = coarse.pixel(x, y);
            bool even = true;
            for (int d = 0; d < 9; ++d)
                even = even && Spread(p, coarse.pixel(x + d % 3 - 1, y + d / 3 - 1)) <= 8;
            const QRgb a = fine.pixel(2 * x, 2 * y), b = fine.pixel(2 * x + 1, 2 * y + 1);
            fineBlocks += a != b || a != fine.pixel(2 * x + 1, 2 * y) ? 1 : 0;
            solid += even ? 1 : 0;
            matched += even && Spread(p, a) <= 40 && Spread(p, b) <= 40 ? 1 : 0;
        }
    EXPECT_GT(fineBlocks, 0);
    EXPECT_GE(matched, solid * 97 / 100) << matched << " of " << solid;
}

struct PictureRow {
    const char* name;
    std::function<QPixmap(qreal)> draw;
    std::function<QImage()> specified;     // on white, what ratio 1 shows exactly
    QColor ground = QColor(192, 192, 192); // where it is shown
};

void PrintTo(const PictureRow& row, std::ostream* out) {
    *out << row.name;
}

PictureRow Task(const char* name) {
    return {name, [name](qreal r) { return TaskPicture(QString::fromLatin1(name).toLower(), r); },
            [name] { return LoadBitmapResource(QString::fromLatin1(name)); }, Qt::white};
}

PictureRow Verdict(const char* name) {
    return {name, [name](qreal r) { return VerdictPicture(QString::fromLatin1(name), r); },
            [name] { return LoadBitmapResource(QString::fromLatin1(name)); }};
}

// The title shows only its top rows.
PictureRow Jpeg(const char* name, QPixmap (*draw)(qreal), int rows) {
    return {name, draw, [name, rows] {
                const QImage jpeg = LoadJpegResource(QStringLiteral(":/jpeg/%1.jpg").arg(name));
                return jpeg.copy(0, 0, jpeg.width(), rows);
            }};
}

class PictureDrawing : public ::testing::TestWithParam<PictureRow> {};

TEST_P(PictureDrawing, IsTheSpecifiedPictureAtRatioOne) {
    const QPixmap drawn = GetParam().draw(1.0);
    EXPECT_EQ(drawn.devicePixelRatio(), 1.0);
    EXPECT_EQ(OnGround(drawn, Qt::white),
              GetParam().specified().convertToFormat(QImage::Format_RGB32));
}

// Compared with ratio 1 as shown on the window's ground, so the verdict
// pictures' see-through white counts too.
TEST_P(PictureDrawing, IsDrawnFinelyInTheSamePlaceAtRatioTwo) {
    const QPixmap drawn = GetParam().draw(2.0);
    EXPECT_EQ(drawn.devicePixelRatio(), 2.0);
    ExpectFinerCopy(OnGround(GetParam().draw(1.0), GetParam().ground),
                    OnGround(drawn, GetParam().ground));
}

INSTANTIATE_TEST_SUITE_P(Pictures, PictureDrawing,
                         ::testing::Values(Task("P11"), Task("P53"), Task("P61"), Task("P91"),
                                           Task("P101"), Task("P103"), Verdict("DUM"),
                                           Verdict("INF"), Verdict("WIN"),
                                           Jpeg("title", TitlePicture, 273),
                                           Jpeg("banner", BannerPicture, 106)),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(HighDensityWindows, ShowFinePicturesAndGlyphsAtTheirSize) {
    CreateWindowsOnce();
    ASSERT_EQ(Form1->devicePixelRatioF(), 2.0) << "run with QT_SCALE_FACTOR=2";
    Form1->show();
    Form1->Edit3->setText(QStringLiteral("6"));
    Form1->Edit4->setText(QStringLiteral("1"));
    Form1->Button5->click();
    const QImage bitmap = LoadBitmapResource(QStringLiteral("P61"));
    ExpectFinerCopy(bitmap.convertToFormat(QImage::Format_RGB32),
                    Form1->Image1->grab(QRect(QPoint(0, 0), bitmap.size())).toImage());

    Form1->Edit1->setText(QStringLiteral("1"));
    Form1->Button1->click();
    // Centred on the primary screen, whichever that is.
    ASSERT_TRUE(WaitFor(
        [] { return Form2->Image1->pixmap().devicePixelRatio() == Form2->devicePixelRatioF(); }));
    EXPECT_EQ(Form2->Image1->size(), QSize(192, 222));
    const QIcon glyph = Form2->BitBtn1->icon();
    ExpectFinerCopy(OnGround(glyph.pixmap(QSize(16, 16), 1.0), Qt::white),
                    OnGround(glyph.pixmap(QSize(16, 16), 2.0), Qt::white));
    EXPECT_TRUE(glyph.pixmap(QSize(16, 16), 2.0, QIcon::Disabled).toImage().allGray());
    Form2->hide();
    Form1->hide();
}

// The second screen is twice as dense: a window moved there draws its
// pictures again at that ratio.
TEST(HighDensityWindows, RedrawPicturesOnADenserScreen) {
    CreateWindowsOnce();
    ASSERT_EQ(QGuiApplication::screens().size(), 2) << "run with the two-screens configuration";
    QScreen* denser = QGuiApplication::screens().at(0);
    for (QScreen* screen : QGuiApplication::screens())
        denser = screen->devicePixelRatio() > denser->devicePixelRatio() ? screen : denser;
    Form1->show();
    Form1->Edit3->setText(QStringLiteral("10"));
    Form1->Edit4->setText(QStringLiteral("3"));
    Form1->Button5->click();
    Form1->windowHandle()->setScreen(denser);
    Form1->move(denser->geometry().topLeft() + QPoint(50, 50));
    ASSERT_TRUE(WaitFor([] { return Form1->devicePixelRatioF() == 4.0; }));
    for (QLabel* picture : {Form1->Image1, Form1->Image2}) {
        EXPECT_TRUE(WaitFor([picture] { return picture->pixmap().devicePixelRatio() == 4.0; }));
    }
    Form1->hide();
}

} // namespace

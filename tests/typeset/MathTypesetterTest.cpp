// The formula typesetter: MathJax's pictures drawn at the asked size and
// ratio, and every failure returned, never thrown or crashed on.
#include "typeset/MathTypesetter.h"

#include "typeset/MathJaxModule.h"

#include <QDir>
#include <QFile>
#include <QRect>
#include <QRegularExpression>
#include <QSet>
#include <QTemporaryDir>
#include <QThread>

#include <gtest/gtest.h>

#include <memory>
#include <mutex>
#include <ostream>
#include <vector>

namespace {

using TStatus = TTypesetFormula::TStatus;

constexpr qreal kFontPixels = 20;

TMathTypesetter& Typesetter() {
    static TMathTypesetter typesetter;
    return typesetter;
}

// Bounding box of the pixels at least half covered, in device pixels.
QRect InkBox(const QImage& image) {
    QRect box;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (qAlpha(image.pixel(x, y)) >= 128)
                box |= QRect(x, y, 1, 1);
    return box;
}

QSet<QRgb> OpaqueColours(const QImage& image) {
    QSet<QRgb> colours;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (qAlpha(image.pixel(x, y)) == 255)
                colours.insert(image.pixel(x, y));
    return colours;
}

struct Drawn {
    const char* tex;
    // Logical size in ems at any font size: MathJax's own metrics.
    double minWidth, maxWidth, minHeight, maxHeight;
};

void PrintTo(const Drawn& row, std::ostream* out) {
    *out << row.tex;
}

class TypesetDrawn : public ::testing::TestWithParam<Drawn> {};

TEST_P(TypesetDrawn, SizedInPixelsWithInkAndTwiceThePixelsAtRatioTwo) {
    const Drawn& row = GetParam();
    const TTypesetFormula one = Typesetter().Typeset(QString::fromUtf8(row.tex), kFontPixels);
    ASSERT_TRUE(one.Ok()) << one.Message.toStdString();
    EXPECT_GE(one.Size.width(), row.minWidth * kFontPixels);
    EXPECT_LE(one.Size.width(), row.maxWidth * kFontPixels);
    EXPECT_GE(one.Size.height(), row.minHeight * kFontPixels);
    EXPECT_LE(one.Size.height(), row.maxHeight * kFontPixels);
    EXPECT_GT(one.Baseline, 0);
    EXPECT_LT(one.Baseline, one.Size.height());

    // The ink fills the picture: the box is MathJax's, not the ex guess.
    const QRect ink = InkBox(one.Image);
    ASSERT_FALSE(ink.isEmpty());
    EXPECT_GE(ink.width(), one.Image.width() * 0.7);
    EXPECT_GE(ink.height(), one.Image.height() * 0.6);

    const QColor blue(0, 0, 160);
    const TTypesetFormula two =
        Typesetter().Typeset(QString::fromUtf8(row.tex), kFontPixels, 2.0, blue);
    ASSERT_TRUE(two.Ok()) << two.Message.toStdString();
    EXPECT_EQ(OpaqueColours(two.Image), QSet<QRgb>{blue.rgb()});
    EXPECT_EQ(two.Image.devicePixelRatio(), 2.0);
    EXPECT_EQ(two.Size, one.Size);
    EXPECT_NEAR(two.Image.width(), 2 * one.Image.width(), 1);
    EXPECT_NEAR(two.Image.height(), 2 * one.Image.height(), 1);
    EXPECT_NEAR(InkBox(two.Image).width(), 2 * ink.width(), 2);
}

INSTANTIATE_TEST_SUITE_P(
    Formulas, TypesetDrawn,
    ::testing::Values(Drawn{R"(\frac{y^{1}}{2})", 1.0, 2.0, 1.8, 2.6},
                      Drawn{R"(\sqrt{y})", 1.3, 2.5, 0.8, 1.4},
                      // The school names are the pictures' macros.
                      Drawn{R"(\tg y+\arctg\left|z\right|)", 4.5, 8.0, 0.8, 1.6},
                      Drawn{R"(2^{3^{2}}\cdot 0{,}5)", 2.0, 4.5, 0.8, 1.6},
                      // Stretched bars are pictures within the picture.
                      Drawn{R"(\left|\frac{y}{\frac{1}{2}}\right|+\sqrt{\frac{\frac{y}{2}}{z}})",
                            4.5, 6.5, 2.8, 3.8}));

// A boxed part marks a place an explanation speaks of: drawn, box and all,
// in the marks' red, the rest in the ink.
TEST(TypesetMarked, ABoxedPartIsRed) {
    const QColor blue(0, 0, 160), red(0xd0, 0, 0);
    const TTypesetFormula marked =
        Typesetter().Typeset(QStringLiteral("10\\boxed{-y^2}"), kFontPixels, 1.0, blue);
    ASSERT_TRUE(marked.Ok()) << marked.Message.toStdString();
    EXPECT_EQ(OpaqueColours(marked.Image), (QSet<QRgb>{blue.rgb(), red.rgb()}));
}

struct Refused {
    const char* tex;
    TStatus status;
    const char* messagePart;
};

void PrintTo(const Refused& row, std::ostream* out) {
    *out << row.tex;
}

class TypesetRefused : public ::testing::TestWithParam<Refused> {};

TEST_P(TypesetRefused, ReportsWhyWithoutPicture) {
    const Refused& row = GetParam();
    const TTypesetFormula result = Typesetter().Typeset(QString::fromUtf8(row.tex), kFontPixels);
    EXPECT_EQ(result.Status, row.status);
    EXPECT_TRUE(result.Image.isNull());
    EXPECT_TRUE(result.Message.contains(QString::fromUtf8(row.messagePart)))
        << result.Message.toStdString();
}

INSTANTIATE_TEST_SUITE_P(
    Formulas, TypesetRefused,
    ::testing::Values(Refused{R"(\frac{1}{)", TStatus::TexError, "close brace"},
                      Refused{R"(\frac{1}{2}})", TStatus::TexError, "close brace"},
                      Refused{R"(\foo{y})", TStatus::TexError, "\\foo"},
                      Refused{"x^^2", TStatus::TexError, "superscript"}));

// Small pictures keep exponents of exponents from shrinking to specks, as
// the task pictures do; the same TeX at another size is typeset anew.
TEST(TypesetSizes, ScriptsShrinkLessAtSmallPixelSizes) {
    const QString tex = QStringLiteral("2^{3^{2}}");
    const TTypesetFormula small = Typesetter().Typeset(tex, 12);
    const TTypesetFormula large = Typesetter().Typeset(tex, 48);
    ASSERT_TRUE(small.Ok() && large.Ok());
    EXPECT_GT(small.Size.width() / 12, large.Size.width() / 48 * 1.1);
}

TEST(TypesetLimits, OversizedInputAndPicturesAreRefusedNotDrawn) {
    const QString tooLong = QStringLiteral("y+").repeated(TMathTypesetter::MaxTexLength / 2) + "1";
    EXPECT_EQ(Typesetter().Typeset(tooLong, kFontPixels).Status, TStatus::TooLarge);
    EXPECT_EQ(Typesetter().Typeset("y", 1e9).Status, TStatus::TooLarge);
    EXPECT_EQ(Typesetter().Typeset("y", 1e300, 1e300).Status, TStatus::TooLarge);
    EXPECT_EQ(Typesetter().Typeset("y", kFontPixels, 0).Status, TStatus::TooLarge);
    // Deep nesting must come back either drawn or refused.
    const int depth = 300;
    const QString nested = QString("{").repeated(depth) + "y" + QString("}").repeated(depth);
    const TTypesetFormula deep = Typesetter().Typeset(nested, kFontPixels);
    EXPECT_TRUE(deep.Ok() || !deep.Message.isEmpty());
}

TEST(TypesetLimits, LoadsOnFirstFormulaAndRecoversFromAnInterruptedOne) {
    TMathTypesetter typesetter;
    EXPECT_FALSE(typesetter.IsLoaded());
    typesetter.SetTimeLimit(1);
    const QString formula = QStringLiteral("\\frac{y}{z}+").repeated(20) + "1";
    const TTypesetFormula interrupted = typesetter.Typeset(formula, kFontPixels);
    EXPECT_TRUE(typesetter.IsLoaded());
    EXPECT_EQ(interrupted.Status, TStatus::TimedOut);
    // The interruption is neither kept in the engine nor remembered.
    typesetter.SetTimeLimit(TMathTypesetter::DefaultTimeLimitMs);
    EXPECT_TRUE(typesetter.Typeset(formula, kFontPixels).Ok());
}

// The module is looked for folder by folder: a missing or broken one is
// passed over, and when none serves the reason is given, never a crash.
enum class Folder { Empty, Broken, Built };

struct ModuleSearch {
    const char* name;
    std::vector<Folder> folders;
    const char* messagePart; // null: the module is found
};

void PrintTo(const ModuleSearch& row, std::ostream* out) {
    *out << row.name;
}

QStringList logged;
std::mutex loggedLock;

void Record(QtMsgType, const QMessageLogContext& context, const QString& message) {
    std::lock_guard guard(loggedLock);
    logged << QString::fromLatin1(context.category ? context.category : "") + ": " + message;
}

// MathJax's compiler warnings are dropped without taking Qt's message
// handler from whoever installed it, however many typesetters load at once.
TEST(MathJaxLoad, KeepsTheMessageHandlerInForceAndDropsCompilerWarnings) {
    const QtMessageHandler before = qInstallMessageHandler(Record);
    std::vector<std::unique_ptr<QThread>> loading;
    for (int i = 0; i < 3; ++i) {
        loading.emplace_back(QThread::create([] {
            TMathTypesetter typesetter;
            EXPECT_TRUE(typesetter.Typeset(QStringLiteral("y"), kFontPixels).Ok());
        }));
        loading.back()->start();
    }
    for (const auto& thread : loading)
        thread->wait();
    const QtMessageHandler after = qInstallMessageHandler(before);
    EXPECT_EQ(after, &Record);
    const QStringList warnings =
        logged.filter(QRegularExpression(QStringLiteral("^qt.qml.compiler")));
    EXPECT_TRUE(warnings.isEmpty()) << warnings.value(0).toStdString();
}

class MathJaxModuleSearch : public ::testing::TestWithParam<ModuleSearch> {};

TEST_P(MathJaxModuleSearch, LoadsTheFirstUsableOrSaysWhyNot) {
    const ModuleSearch& row = GetParam();
    QTemporaryDir empty, broken;
    ASSERT_TRUE(empty.isValid() && broken.isValid());
    QFile notALibrary(QDir(broken.path()).filePath(kMathJaxModuleName));
    ASSERT_TRUE(notALibrary.open(QIODevice::WriteOnly));
    notALibrary.write("not a shared object\n");
    notALibrary.close();

    QStringList folders;
    for (const Folder folder : row.folders)
        folders << (folder == Folder::Empty    ? empty.path()
                    : folder == Folder::Broken ? broken.path()
                                               : QStringLiteral(FORMULON_MATHJAX_BUILD_DIR));
    QString error;
    const std::unique_ptr<TMathJax> mathJax = LoadMathJaxModule(folders, error);
    if (row.messagePart == nullptr) {
        ASSERT_NE(mathJax, nullptr) << error.toStdString();
        return;
    }
    EXPECT_EQ(mathJax, nullptr);
    EXPECT_TRUE(error.contains(QString::fromUtf8(row.messagePart))) << error.toStdString();
}

INSTANTIATE_TEST_SUITE_P(
    Folders, MathJaxModuleSearch,
    ::testing::Values(ModuleSearch{"none", {}, "Не найден модуль"},
                      ModuleSearch{"empty", {Folder::Empty}, "Не найден модуль"},
                      ModuleSearch{"broken", {Folder::Empty, Folder::Broken}, "не загрузился"},
                      ModuleSearch{"brokenThenBuilt", {Folder::Broken, Folder::Built}, nullptr},
                      ModuleSearch{"built", {Folder::Built}, nullptr}));

} // namespace

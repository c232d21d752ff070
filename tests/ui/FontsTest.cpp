// Every font the windows use resolves to an installed font that can draw
// the Russian texts shown in it.
#include "ui/Fonts.h"

#include <QFont>
#include <QFontDatabase>
#include <QFontInfo>
#include <QFontMetrics>
#include <QRawFont>

#include <gtest/gtest.h>

struct TFontCase {
    const char* family;
    const char* texts; // UTF-8, all the texts shown in that family
};

class FontsTest : public ::testing::TestWithParam<TFontCase> {};

TEST_P(FontsTest, ResolvesToAnInstalledFontHoldingTheTexts) {
    const TFontCase& c = GetParam();
    QFont font(QString::fromLatin1(c.family));
    font.setPixelSize(15);
    const QFontInfo info(font);
    EXPECT_TRUE(QFontDatabase::families().contains(info.family())) << info.family().toStdString();
    const QRawFont raw = QRawFont::fromFont(font);
    ASSERT_TRUE(raw.isValid());
    const QFontMetrics metrics(font);
    for (const char32_t ch : QString::fromUtf8(c.texts).toUcs4()) {
        EXPECT_TRUE(metrics.inFontUcs4(ch))
            << c.family << " lacks U+" << std::hex << static_cast<unsigned>(ch);
        EXPECT_TRUE(raw.supportsCharacter(ch))
            << c.family << " lacks U+" << std::hex << static_cast<unsigned>(ch);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Families, FontsTest,
    ::testing::Values(
        TFontCase{"Lucida Console", "РегистрацияВведите имя:УченикНачатьВремяЛучшие время:Ваше "
                                    "время:ЗаданиеВаш ответ:Проверить№ 0123456789ФайлНовая "
                                    "играВыходВидЧемпионыСправкаО программе"},
        TFontCase{"MS Sans Serif", "sin(y)+cos(z)^2*atn абвгдеёжзийклмнопрстуфхцчшщъыьэюя"},
        TFontCase{"Franklin Gothic Medium", "РекордыСписок лучших результатов:"},
        TFontCase{"Times New Roman", "№ИмяРезультат0123456789 АБВГДЕЁЖЗИЙКЛМНОПРСТУФХЦЧШЩЪЫЬЭЮЯ"
                                     "абвгдеёжзийклмнопрстуфхцчшщъыьэюя"},
        TFontCase{"Comic Sans MS", "ЗакрытьДалее"}, TFontCase{"Arial", "Программа:Версия"}),
    [](const auto& info) {
        std::string name = info.param.family;
        for (char& ch : name)
            if (ch == ' ')
                ch = '_';
        return name;
    });

TEST(Fonts, SubstitutionsAreInstalled) {
    for (const QString& family : LayoutFontFamilies())
        EXPECT_FALSE(QFont::substitutes(family).isEmpty()) << family.toStdString();
}

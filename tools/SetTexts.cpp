#include "tools/SetTexts.h"

#include "tools/EvalTexts.h"

namespace {

const TSetTexts kEnglish = {
    "--set goes only with --check, --class and --tasks",
    "%s: the task set is refused: ",
    "Set: %1",
    "%1 (line %2): %3",
    "%1 tasks, %2 variants: no warnings.",
    "%1 tasks, %2 variants; warnings for %3.",
    "The program refuses this set: the picture's TeX of %1 does not typeset.",
    "The pictures' TeX was not checked: %1.",
    "the picture module %1 could not be loaded",
    "not typeset within its time limit",
    "the TeX is too long or its picture too large",
};

const TSetTexts kRussian = {
    "--set годится только вместе с --check, --class и --tasks",
    "%s: набор заданий не принят: ",
    "Набор: %1",
    "%1 (строка %2): %3",
    "Заданий: %1, вариантов: %2. Предупреждений нет.",
    "Заданий: %1, вариантов: %2. Предупреждения к вариантам %3.",
    "Программа не примет этот набор: TeX картинки варианта %1 не набирается.",
    "TeX картинок не проверен: %1.",
    "не удалось загрузить модуль картинок %1",
    "не набирается за отведённое время",
    "слишком длинный TeX или слишком большая картинка",
};

} // namespace

const TSetTexts& SetTexts() {
    return EvalLanguage() == TLanguage::Russian ? kRussian : kEnglish;
}

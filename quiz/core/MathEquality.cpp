#include "quiz/core/MathEquality.h"

#include "engine/Cp1251.h"
#include "quiz/core/FormulaReading.h"
#include "quiz/core/SchoolReading.h"

#include <algorithm>
#include <random>

using formulon::engine::Utf8ToCp1251;

namespace {

// Points drawn beyond 7 and 11: more than five, as some formulas have no
// value at many of them (a logarithm of 25-2z has none for z above 12).
constexpr std::size_t kDrawnPoints = 16;
constexpr int kLeastMorePoints = 5;
constexpr int kLeastPoints = 3;
constexpr std::uint_fast32_t kSeed = 25;

bool HasVariable(const std::string& answer) {
    return answer.find_first_of("yz") != std::string::npos;
}

} // namespace

const std::vector<TMathPoint>& DrawnPoints() {
    static const std::vector<TMathPoint> points = [] {
        // minstd_rand's sequence is fixed by the standard, unlike the
        // distributions': the same points on every machine.
        std::minstd_rand draw(kSeed);
        std::vector<TMathPoint> drawn;
        while (drawn.size() < kDrawnPoints) {
            const TMathPoint point{static_cast<int>(draw() % 19) + 2,
                                   static_cast<int>(draw() % 19) + 2};
            const bool seen = std::any_of(drawn.begin(), drawn.end(), [&](const TMathPoint& p) {
                return p.Y == point.Y && p.Z == point.Z;
            });
            if (!seen && !(point.Y == 7 && point.Z == 11))
                drawn.push_back(point);
        }
        return drawn;
    }();
    return points;
}

TMathVerdict CompareInMathematics(const std::string& taskFormula, const std::string& answer) {
    if (!HasVariable(answer))
        return TMathVerdict::NoVariables;
    const TFormulaReading taskReading = ReadFormula(taskFormula);
    const TFormulaReading answerReading = ReadFormula(answer);
    if (!taskReading.Read || !answerReading.Read)
        return TMathVerdict::CannotTell;
    const TSchoolReading task(taskReading), given(answerReading);
    std::vector<TMathPoint> points = {{7, 11}};
    points.insert(points.end(), DrawnPoints().begin(), DrawnPoints().end());
    int compared = 0;
    bool atSevenEleven = false;
    for (const TMathPoint& point : points) {
        const TSchoolValue a = given.At(point.Y, point.Z);
        const TSchoolValue t = task.At(point.Y, point.Z);
        if (!a.Defined && !t.Defined)
            continue;
        if (!SameSchoolValue(a, t))
            return TMathVerdict::Different;
        atSevenEleven = atSevenEleven || (point.Y == 7 && point.Z == 11);
        ++compared;
    }
    if (compared < kLeastPoints || !atSevenEleven || compared - 1 < kLeastMorePoints)
        return TMathVerdict::CannotTell;
    return TMathVerdict::Equal;
}

std::vector<std::string> MathematicsWords(TMathVerdict verdict,
                                          const std::optional<TPartKind>& taskPart,
                                          const std::optional<TPartKind>& answerPart) {
    if (verdict == TMathVerdict::NoVariables)
        return {Utf8ToCp1251("в ответе нет переменных y и z: наберите формулу, а не число")};
    if (verdict != TMathVerdict::Equal)
        return {};
    const char* why;
    if (taskPart && IsMinusPower(*taskPart))
        why = "ваш ответ верен по математике, но не по правилам программы: формулу задания она "
              "читает по-своему — минус перед степенью относит к основанию степени. Пишите "
              "степень после минуса точно так, как на картинке, без лишних скобок";
    else if (answerPart && IsMinusPower(*answerPart))
        why = "ваш ответ верен по математике, но программа прочла его по своим правилам: "
              "смотрите отмеченное место и подсказку к нему";
    else
        why = "ваш ответ верен по математике, но не по правилам программы: она сравнивает своё "
              "значение до последней из пятнадцати цифр, а другой порядок действий или "
              "упрощение меняют последние цифры. Пишите формулу так, как на картинке, не "
              "упрощая";
    return {Utf8ToCp1251(why)};
}

#include "teacher/TeacherTexts.h"

#include "quiz/core/TaskCatalogue.h"

#include <cstdio>

namespace {

const TTeacherTexts kEnglish = {
    {"Pupil", "Task", "Answer", "Verdict", "Value", "Message", "Hint"},
    {"right", "wrong", "right in mathematics", "blank", "unreadable"},
    {"Right", "Wrong", "of them right in mathematics", "Blank", "Answers"},
    "Class answers marked",
    "Pupils and tasks",
    "Tasks",
    "Pupils",
    "%1 answers of %2 pupils to %3 tasks.",
    {"not tried", "wrong", "right in mathematics", "right"},
    "%1, tries: %2",
    "Task %1",
    "Reference formula:",
    "right: %1 of %2 (%3\u00a0%)",
    "Most frequent slips:",
    "No slip the hints know.",
    "answers: %1",
    "right: %1 of %2",
    "No wrong answers.",
    "no hint",
    {"", "not UTF-8 at byte %1", "a quote is not closed on this line",
     "no task column: a line holds pupil, task.variant and answer",
     "'%1' is not a task: give TASK.VARIANT, %2 to %3", "no pupil's name in the first column",
     "more columns than the first line has: an answer with a comma must be in quotes"},
};

const TTeacherTexts kRussian = {
    {"Ученик", "Задание", "Ответ", "Вердикт", "Значение", "Сообщение", "Подсказка"},
    {"верно", "неверно", "верно по математике", "пусто", "нечитаемо"},
    {"Верно", "Неверно", "из них верно по математике", "Пусто", "Ответов"},
    "Проверка ответов класса",
    "Ученики и задания",
    "Задания",
    "Ученики",
    "Ответов: %1, учеников: %2, заданий: %3.",
    {"не решал", "неверно", "верно по математике", "верно"},
    "%1, попыток: %2",
    "Задание %1",
    "Эталон:",
    "верно: %1 из %2 (%3\u00a0%)",
    "Частые ошибки:",
    "Ошибок, которые знают подсказки, нет.",
    "ответов: %1",
    "верно: %1 из %2",
    "Неверных ответов нет.",
    "без подсказки",
    {"", "не UTF-8 в байте %1", "кавычка не закрыта в этой строке",
     "нет столбца задания: в строке ученик, ЗАДАНИЕ.ВАРИАНТ и ответ",
     "«%1» — не задание: укажите ЗАДАНИЕ.ВАРИАНТ от %2 до %3", "нет имени ученика в первом столбце",
     "столбцов больше, чем в первой строке: ответ с запятой берут в кавычки"},
};

} // namespace

const TTeacherTexts& TeacherTexts(TLanguage language) {
    return language == TLanguage::Russian ? kRussian : kEnglish;
}

std::string Filled(const char* text, const std::string& a1, const std::string& a2,
                   const std::string& a3) {
    std::string result;
    for (const char* c = text; *c != '\0'; ++c) {
        if (c[0] == '%' && c[1] >= '1' && c[1] <= '3') {
            result += c[1] == '1' ? a1 : c[1] == '2' ? a2 : a3;
            ++c;
        } else {
            result += *c;
        }
    }
    return result;
}

const char* VerdictWord(TLanguage language, TVerdict verdict) {
    return TeacherTexts(language).Verdicts[static_cast<int>(verdict)];
}

std::string NotUtf8Text(TLanguage language, const TNotUtf8& where) {
    char place[32];
    std::snprintf(place, sizeof place, "%zu (0x%02X)", where.Byte, where.Value);
    return Filled(TeacherTexts(language).Problems[static_cast<int>(TLineProblem::NotUtf8)], place);
}

std::string ProblemText(TLanguage language, const TReadLine& read, const TTaskTable& tasks) {
    if (read.Problem == TLineProblem::NotUtf8)
        return NotUtf8Text(language, read.Where);
    // The table's first and last tasks: 1.1 and 10.3 for the standard one.
    return Filled(TeacherTexts(language).Problems[static_cast<int>(read.Problem)], read.TaskField,
                  tasks.EntryText(0), tasks.EntryText(tasks.EntryCount() - 1));
}

#include "tools/EvalTexts.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>

namespace {

const TEvalTexts kEnglish = {
    "Usage: formulon-eval [--trace]\n"
    "       formulon-eval --check TASK.VARIANT [--set SET] [--encoding ENCODING]\n"
    "       formulon-eval --class [FILE] [--set SET] [--html REPORT] [--encoding ENCODING]\n"
    "       formulon-eval --explain TASK.VARIANT [--encoding ENCODING]\n"
    "       formulon-eval --tasks [--set SET]\n"
    "       formulon-eval --lint SET\n"
    "       formulon-eval --help | --version\n"
    "Evaluates formulas as the Formulon quiz does, with y = 7 and z = 11.\n"
    "\n"
    "Reads one formula per line (UTF-8) on standard input and prints one\n"
    "tab-separated line for each on standard output:\n"
    "  OK<TAB><value><TAB><message>\n"
    "  RAISE<TAB><kind of error><TAB><its text><TAB><message>\n"
    "  BLANK (for an empty line, or one of blanks only)\n"
    "The message is the engine's comment on a failure; a raised error stops\n"
    "the quiz's check with an error box.\n"
    "\n"
    "  --trace       print the engine's steps before each result line:\n"
    "                TRACE<TAB><stage><TAB><text>\n"
    "  --check TASK.VARIANT\n"
    "                judge answers to one task and variant (as --tasks lists them)\n"
    "                exactly as the quiz does; one line for each answer:\n"
    "                  RIGHT<TAB><value><TAB><hint>\n"
    "                  WRONG<TAB><value or error text><TAB><hint><TAB><message>\n"
    "                  BLANK\n"
    "                  INVALID<TAB><why the line is not UTF-8>\n"
    "                then a last line '# N of M right'\n"
    "  --class [FILE]\n"
    "                mark a class: one answer a line, pupil, TASK.VARIANT and\n"
    "                answer, separated by tabs, ';' or ','; prints a CSV table\n"
    "                of every answer judged as the quiz does, then the totals\n"
    "                per pupil and per task (FILE, or the standard input)\n"
    "  --html REPORT with --class: also write a report to print, an HTML page\n"
    "  --encoding utf-8|cp1251\n"
    "                the answers' encoding; --class takes a line that is not\n"
    "                UTF-8 for code page 1251 unless told\n"
    "  --explain TASK.VARIANT\n"
    "                judge answers as --check does and print, for each, what\n"
    "                the quiz's \"Разбор ответа\" would show after the check:\n"
    "                the verdict, the picture's TeX, the hints with their\n"
    "                places, the value compared, the message and the steps,\n"
    "                as plain text, then an empty line\n"
    "  --tasks       print every task: task, variant, reference formula\n"
    "                and its value, tab-separated; on standard error, what a\n"
    "                variant's warnings (see --lint) mean for pupils' answers\n"
    "  --set SET     with --check, --class and --tasks: the tasks of the task\n"
    "                set file SET instead of the standard ones\n"
    "  --lint SET    check a task set file: each variant's value and what\n"
    "                judges badly in it, its picture's TeX typeset, then a\n"
    "                summary\n"
    "  --help        print this text and exit\n"
    "  --version     print the version and exit\n"
    "\n"
    "A byte-order mark and CRLF line ends are accepted.\n"
    "Exit status: 0 success, 1 an input or output failure, 2 bad usage.\n"
    "With --check and --explain: 0 every answer right, 1 any answer not right,\n"
    "2 bad usage, 3 an input or output failure.\n"
    "With --class: 0 every line judged, 1 some lines could not be read (the\n"
    "others judged), 2 bad usage, 3 an input or output failure.\n"
    "With --lint: 0 no warning, 1 warnings, 2 the set is refused, 3 an input\n"
    "or output failure.\n"
    "See formulon-eval(1).\n",
    "unknown option '%s'",
    "unexpected argument '%s'",
    "option '%s' needs TASK.VARIANT, for example 1.1",
    "'%s' is not a task: give TASK.VARIANT, ",
    "task 1 to %1, variant 1 to %2",
    "%1 to %2, as --tasks lists them",
    "give at most one of --check, --class, --explain and --tasks, or --lint alone",
    "--trace goes only with evaluating formulas",
    "Try 'formulon-eval --help' for more information.",
    "error reading the standard input",
    "error writing the standard output",
    "out of memory",
    "option '%s' needs a file name",
    "'%s' is not an encoding: give utf-8 or cp1251",
    "--html goes only with --class",
    "--encoding goes only with --check, --explain and --class",
    "the report '%s' would overwrite the class file",
    "cannot read '%s'",
    "cannot write '%s'",
    "standard input",
    "%s, line ",
    "no such file",
    "permission denied",
    "it is a folder",
    "line %s looks like a line of a class file (pupil, task, answer): "
    "--check reads one answer a line; a class file is marked with --class",
};

const TEvalTexts kRussian = {
    "Запуск: formulon-eval [--trace]\n"
    "        formulon-eval --check ЗАДАНИЕ.ВАРИАНТ [--set НАБОР] [--encoding КОДИРОВКА]\n"
    "        formulon-eval --class [ФАЙЛ] [--set НАБОР] [--html ОТЧЁТ] [--encoding КОДИРОВКА]\n"
    "        formulon-eval --explain ЗАДАНИЕ.ВАРИАНТ [--encoding КОДИРОВКА]\n"
    "        formulon-eval --tasks [--set НАБОР]\n"
    "        formulon-eval --lint НАБОР\n"
    "        formulon-eval --help | --version\n"
    "Вычисляет формулы так же, как тренажёр Formulon, при y = 7 и z = 11.\n"
    "\n"
    "Читает со стандартного ввода по одной формуле в строке (UTF-8) и для\n"
    "каждой выводит строку с полями через табуляцию:\n"
    "  OK<TAB><значение><TAB><сообщение>\n"
    "  RAISE<TAB><вид ошибки><TAB><её текст><TAB><сообщение>\n"
    "  BLANK (для пустой строки или строки из одних пробелов)\n"
    "Сообщение — замечание вычислителя о неудаче; при ошибке (RAISE)\n"
    "тренажёр прерывает проверку и показывает окно ошибки.\n"
    "\n"
    "  --trace       перед каждой строкой результата вывести шаги вычисления:\n"
    "                TRACE<TAB><этап><TAB><текст>\n"
    "  --check ЗАДАНИЕ.ВАРИАНТ\n"
    "                проверить ответы к заданию и варианту (их выводит --tasks)\n"
    "                в точности как тренажёр; по строке на каждый ответ:\n"
    "                  RIGHT<TAB><значение><TAB><подсказка>\n"
    "                  WRONG<TAB><значение или текст ошибки><TAB><подсказка>\n"
    "                       <TAB><сообщение>\n"
    "                  BLANK\n"
    "                  INVALID<TAB><почему строка не в UTF-8>\n"
    "                и последней строкой «# N of M right» (верно N из M)\n"
    "  --class [ФАЙЛ]\n"
    "                проверить ответы класса: по ответу в строке — ученик,\n"
    "                ЗАДАНИЕ.ВАРИАНТ и ответ через табуляцию, «;» или «,»;\n"
    "                выводит таблицу CSV со всеми ответами, проверенными как\n"
    "                в тренажёре, и итоги по ученикам и по заданиям (ФАЙЛ или\n"
    "                стандартный ввод)\n"
    "  --html ОТЧЁТ  вместе с --class: записать ещё отчёт для печати (HTML)\n"
    "  --encoding utf-8|cp1251\n"
    "                кодировка ответов; без неё --class читает строку не в\n"
    "                UTF-8 как кодовую страницу 1251\n"
    "  --explain ЗАДАНИЕ.ВАРИАНТ\n"
    "                проверить ответы, как --check, и для каждого вывести\n"
    "                простым текстом то, что после проверки покажет окно\n"
    "                «Разбор ответа»: вердикт, TeX картинки, подсказки с их\n"
    "                местами, сравнение значений, сообщение и шаги, — и\n"
    "                пустую строку\n"
    "  --tasks       вывести все задания: задание, вариант, эталонную\n"
    "                формулу и её значение через табуляцию; на стандартный\n"
    "                вывод ошибок — что предупреждения варианта (см. --lint)\n"
    "                значат для ответов учеников\n"
    "  --set НАБОР   вместе с --check, --class и --tasks: задания из файла\n"
    "                набора НАБОР вместо стандартных\n"
    "  --lint НАБОР  проверить файл набора заданий: значение каждого варианта\n"
    "                и что в нём плохо проверяет ответы, набор TeX картинок,\n"
    "                затем итог\n"
    "  --help        вывести эту справку и выйти\n"
    "  --version     вывести версию и выйти\n"
    "\n"
    "Метка порядка байтов и концы строк CRLF допускаются.\n"
    "Код выхода: 0 — успех, 1 — ошибка ввода или вывода, 2 — неверный вызов.\n"
    "С --check и --explain: 0 — все ответы верны, 1 — есть неверный ответ,\n"
    "2 — неверный вызов, 3 — ошибка ввода или вывода.\n"
    "С --class: 0 — проверены все строки, 1 — некоторые строки не прочитаны\n"
    "(остальные проверены), 2 — неверный вызов, 3 — ошибка ввода или вывода.\n"
    "С --lint: 0 — предупреждений нет, 1 — есть предупреждения, 2 — набор\n"
    "не принят, 3 — ошибка ввода или вывода.\n"
    "Подробнее: formulon-eval(1).\n",
    "неизвестный параметр «%s»",
    "лишний аргумент «%s»",
    "параметру «%s» нужно ЗАДАНИЕ.ВАРИАНТ, например 1.1",
    "«%s» — не задание: укажите ЗАДАНИЕ.ВАРИАНТ, ",
    "задание от 1 до %1, вариант от 1 до %2",
    "от %1 до %2, как их выводит --tasks",
    "укажите не больше одного из --check, --class, --explain и --tasks или один --lint",
    "--trace годится только для вычисления формул",
    "Справка: formulon-eval --help",
    "ошибка чтения стандартного ввода",
    "ошибка записи в стандартный вывод",
    "не хватает памяти",
    "параметру «%s» нужно имя файла",
    "«%s» — не кодировка: укажите utf-8 или cp1251",
    "--html годится только вместе с --class",
    "--encoding годится только вместе с --check, --explain и --class",
    "отчёт «%s» записался бы поверх файла класса",
    "не удаётся прочитать «%s»",
    "не удаётся записать «%s»",
    "стандартный ввод",
    "%s, строка ",
    "нет такого файла",
    "нет доступа",
    "это папка",
    "строка %s похожа на строку файла класса (ученик, задание, ответ): "
    "--check читает по одному ответу в строке, файл класса проверяет --class",
};

// The locale that decides the language of messages, as the C library
// chooses it.
std::string_view MessagesLocale() {
    for (const char* name : {"LC_ALL", "LC_MESSAGES", "LANG"}) {
        const char* value = std::getenv(name);
        if (value != nullptr && *value != '\0')
            return value;
    }
    return {};
}

} // namespace

TLanguage EvalLanguage() {
    const std::string_view locale = MessagesLocale();
    const bool russian =
        locale.starts_with("ru") && (locale.size() == 2 || locale.find_first_of("_.@") == 2);
    return russian ? TLanguage::Russian : TLanguage::English;
}

const TEvalTexts& EvalTexts() {
    return EvalLanguage() == TLanguage::Russian ? kRussian : kEnglish;
}

std::string Format(const char* text, std::string_view argument) {
    std::string result = text;
    if (const std::size_t at = result.find("%s"); at != std::string::npos)
        result.replace(at, 2, argument);
    return result;
}

std::string FileErrorText(int error) {
    const TEvalTexts& texts = EvalTexts();
    switch (error) {
    case ENOENT:
        return texts.NoSuchFile;
    case EACCES:
        return texts.NoAccess;
    case EISDIR:
        return texts.IsAFolder;
    default:
        return std::strerror(error);
    }
}

std::string BadTaskText(std::string_view given, const TTaskTable& tasks) {
    const TEvalTexts& texts = EvalTexts();
    const int last = tasks.EntryCount() - 1;
    bool even = true;
    for (int task = 2; task <= tasks.TaskCount(); ++task)
        even = even && tasks.VariantCount(task) == tasks.VariantCount(1);
    // Tasks of unlike variants have no two bounds that say it: their first
    // and last are named, and --tasks lists them all.
    const std::string bounds =
        even ? Filled(texts.TaskRange, std::to_string(tasks.TaskCount()),
                      std::to_string(tasks.VariantCount(1)))
             : Filled(texts.TaskList, tasks.EntryText(0), tasks.EntryText(last));
    return Format(texts.BadTask, given) + bounds;
}

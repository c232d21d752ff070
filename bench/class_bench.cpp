// A class of thirty pupils who each answered the thirty tasks, 900 answers
// in one class file of mixed separators (tabs, ';', ',' with quotes) and
// encodings (UTF-8 and code page 1251, a pupil's lines in one), with a header
// and CRLF line ends: right answers written differently, the usual slips,
// wrong values and blanks. Without arguments, marks it in this process as
// formulon-eval --class --html does (read, judge, count, CSV, HTML) and
// prints the times; with --write FILE, writes the file for the real command.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <fstream>
#include <string>
#include <string_view>
#include <vector>

#include "engine/Cp1251.h"
#include "engine/FloatEnv.h"
#include "quiz/core/TaskCatalogue.h"
#include "teacher/ClassCsv.h"
#include "teacher/ClassHtml.h"

namespace {

constexpr int kPupils = 30;

std::string Replaced(std::string text, std::string_view from, std::string_view to) {
    if (const std::size_t at = text.find(from); at != std::string::npos)
        text.replace(at, from.size(), to);
    return text;
}

// What pupil 'pupil' answered to catalogue entry 'entry': six in ten right.
std::string Answer(int pupil, int entry) {
    const std::string formula(ReferenceFormulas.Row(entry).Formula);
    switch ((pupil * 7 + entry * 3) % 10) {
    case 0:
    case 1:
    case 2:
        return formula;
    case 3:
        return Replaced(formula, "y", "Y");
    case 4:
        return Replaced(formula, "(", " ( ");
    case 5:
        return "(" + formula + ")";
    case 6:
        return formula.find("tan(") != std::string::npos ? Replaced(formula, "tan(", "tg(")
                                                         : Replaced(formula, "*", "");
    case 7:
        return Replaced(formula, "exp(", "e^(");
    case 8:
        return formula + "+0.001";
    }
    return "";
}

std::string ClassFile() {
    std::string file = "Ученик;Задание;Ответ\r\n";
    for (int pupil = 0; pupil < kPupils; ++pupil) {
        const std::string name = "Ученик " + std::to_string(pupil + 1);
        std::string lines;
        for (int entry = 0; entry < ReferenceFormulas.EntryCount(); ++entry) {
            const TTaskRow& row = ReferenceFormulas.Row(entry);
            const TClassLine line{name, row.Task, row.Variant, Answer(pupil, entry), {}};
            lines += ClassLineText(line, kSeparators[(pupil + entry) % 3]) + "\r\n";
        }
        file += pupil % 3 == 2 ? formulon::engine::Utf8ToCp1251(lines) : lines;
    }
    return file;
}

double Milliseconds(std::chrono::steady_clock::time_point start) {
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start)
        .count();
}

void Measure(const std::string& file) {
    formulon::engine::InitFloatingPointEnvironment();
    std::vector<double> times;
    std::size_t csvBytes = 0, htmlBytes = 0, answers = 0;
    for (int run = 0; run < 11; ++run) {
        const auto start = std::chrono::steady_clock::now();
        const std::vector<TMarkedAnswer> marked = MarkClass(ReadClassFile(file, TEncoding::Auto));
        const TClassTotals totals = CountClass(marked);
        csvBytes = ClassCsv(marked, totals, TLanguage::Russian).size();
        htmlBytes = ClassHtml(marked, totals, TLanguage::Russian).size();
        times.push_back(Milliseconds(start));
        answers = marked.size();
    }
    std::sort(times.begin(), times.end());
    std::printf("class_answers %zu file_bytes %zu csv_bytes %zu html_bytes %zu\n", answers,
                file.size(), csvBytes, htmlBytes);
    std::printf("class_mark_ms min %.1f median %.1f max %.1f (11 runs)\n", times.front(),
                times[times.size() / 2], times.back());
}

} // namespace

int main(int argc, char** argv) {
    const std::string file = ClassFile();
    if (argc == 3 && std::string_view(argv[1]) == "--write") {
        std::ofstream out(argv[2], std::ios::binary);
        return out.write(file.data(), static_cast<std::streamsize>(file.size())) ? 0 : 1;
    }
    if (argc != 1) {
        std::fprintf(stderr, "usage: %s [--write FILE]\n", argv[0]);
        return 2;
    }
    Measure(file);
    return 0;
}

// The class-file reader on arbitrary bytes, then the marking, the totals and
// both reports. The first byte picks the encoding and the language. What is read is UTF-8, a
// line read whole names a pupil and a task of the catalogue, and the line
// writer's text of it is read back the same; the reports are UTF-8.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "engine/FloatEnv.h"
#include "teacher/ClassCsv.h"
#include "teacher/ClassHtml.h"

namespace {

void Check(bool condition) {
    if (!condition)
        __builtin_trap();
}

bool IsUtf8(std::string_view text) {
    TNotUtf8 where;
    return DecodeUtf8(text, where).has_value();
}

void CheckRead(const TReadLine& read, int lastNumber) {
    const TClassLine& line = read.Line;
    Check(read.Number > lastNumber);
    Check(IsUtf8(line.Pupil) && IsUtf8(line.Answer) && IsUtf8(read.TaskField));
    for (const std::string& extra : line.Extra)
        Check(IsUtf8(extra));
    if (read.Problem != TLineProblem::None)
        return;
    Check(!line.Pupil.empty() && line.Task >= 1 && line.Task <= 10 && line.Variant >= 1 &&
          line.Variant <= 3);
    const std::vector<TReadLine> again = ReadClassFile(ClassLineText(line), TEncoding::Auto);
    Check(again.size() == 1 && again[0].Problem == TLineProblem::None);
    const TClassLine& back = again[0].Line;
    Check(back.Pupil == line.Pupil && back.Task == line.Task && back.Variant == line.Variant &&
          back.Answer == line.Answer && back.Extra == line.Extra);
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    formulon::engine::InitFloatingPointEnvironment();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0)
        return -1;
    const auto encoding = static_cast<TEncoding>(data[0] % 3);
    const std::string_view bytes(reinterpret_cast<const char*>(data) + 1, size - 1);
    const std::vector<TReadLine> lines = ReadClassFile(bytes, encoding);
    int lastNumber = 0;
    for (const TReadLine& read : lines) {
        CheckRead(read, lastNumber);
        lastNumber = read.Number;
    }
    const std::vector<TMarkedAnswer> answers = MarkClass(lines);
    const TClassTotals totals = CountClass(answers);
    const auto language = static_cast<TLanguage>(data[0] / 3 % 2);
    Check(IsUtf8(ClassCsv(answers, totals, language)));
    Check(IsUtf8(ClassHtml(answers, totals, language)));
    return 0;
}

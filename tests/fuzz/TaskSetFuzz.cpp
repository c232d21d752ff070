// The task set reader on arbitrary bytes, then the checker's warnings on
// what it read. A set read is of the shape it promises, every formula has
// a value, and the title is one line of text; a refusal says which line.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "engine/FloatEnv.h"
#include "quiz/core/QuietValue.h"
#include "quiz/core/TaskSet.h"
#include "teacher/TaskWarnings.h"
#include "teacher/Utf8.h"

namespace {

void Check(bool condition) {
    if (!condition)
        __builtin_trap();
}

bool IsUtf8Line(std::string_view text) {
    TNotUtf8 where;
    return DecodeUtf8(text, where).has_value() && text.find('\n') == std::string_view::npos;
}

void CheckSet(const TTaskSet& set, std::size_t size) {
    const TTaskTable& tasks = set.Table();
    Check(!set.IsStandard() && set.Name() == "fuzz" && IsUtf8Line(set.Title()));
    Check(tasks.TaskCount() >= 1 && tasks.TaskCount() <= kMaxSetTasks);
    for (int entry = 0; entry < tasks.EntryCount(); ++entry) {
        const TTaskRow& row = tasks.Row(entry);
        Check(row.Variant >= 1 && row.Variant <= kMaxVariants);
        Check(set.Line(entry) >= 1 && static_cast<std::size_t>(set.Line(entry)) <= size);
        Check(!row.Tex.empty() && IsUtf8Line(row.Tex));
        const TQuietResult value = QuietFormulaResult(std::string(row.Formula));
        Check(!value.Raised && !value.Text.empty() && value.Text != "~");
    }
    const std::vector<TVariantWarnings> warnings = TaskWarnings(tasks);
    Check(warnings.size() == static_cast<std::size_t>(tasks.EntryCount()));
    for (int entry = 0; entry < tasks.EntryCount(); ++entry)
        for (const TTaskWarning& warning : warnings[static_cast<std::size_t>(entry)].Warnings)
            Check(IsUtf8Line(WarningText(TLanguage::Russian, tasks, warning)));
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    formulon::engine::InitFloatingPointEnvironment();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    const TTaskSetReading reading = ReadTaskSet(bytes, "fuzz.tasks");
    if (const auto* set = std::get_if<std::shared_ptr<const TTaskSet>>(&reading)) {
        CheckSet(**set, size);
        return 0;
    }
    const TTaskSetRefusal& refusal = std::get<TTaskSetRefusal>(reading);
    Check(refusal.Line >= 0 && IsUtf8Line(refusal.Text));
    Check((refusal.Line > 0) == refusal.Text.starts_with("строка "));
    Check(!refusal.English.empty() && IsUtf8Line(refusal.English));
    return 0;
}

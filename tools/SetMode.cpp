#include "tools/SetMode.h"

#include "engine/Cp1251.h"
#include "teacher/TaskWarnings.h"
#include "tools/EvalOutput.h"
#include "tools/EvalTexts.h"
#include "tools/PictureCheck.h"
#include "tools/SetTexts.h"

#include <cerrno>
#include <cstring>
#include <iostream>

#include <fcntl.h>
#include <unistd.h>

using formulon::engine::Cp1251ToUtf8;

namespace {

constexpr int kWarnings = 1;
constexpr int kRefused = 2;
constexpr int kIoFailure = 3;

// At most one byte past the reader's limit: a larger file is refused by its
// size, never read whole.
bool ReadSetBytes(const std::string& path, std::string& bytes) {
    const int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return false;
    char buffer[4096];
    bool ok = true;
    while (bytes.size() <= kMaxSetFileBytes) {
        const ssize_t got = read(fd, buffer, sizeof buffer);
        if (got > 0)
            bytes.append(buffer, static_cast<std::size_t>(got));
        else if (got == 0)
            break;
        else if (errno != EINTR) {
            ok = false;
            break;
        }
    }
    const int error = errno;
    close(fd);
    errno = error;
    return ok;
}

std::string FileName(const std::string& path) {
    const std::size_t slash = path.find_last_of('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

bool Flushed() {
    if (std::cout.flush())
        return true;
    std::cerr << "formulon-eval: " << EvalTexts().WriteError << '\n';
    return false;
}

// The entries that have a warning of 'kind' (any kind when none), "1.2, 3.1".
std::string Entries(const TTaskTable& tasks, const std::vector<TVariantWarnings>& warnings,
                    std::optional<TTaskWarningKind> kind, int& count) {
    std::string list;
    count = 0;
    for (int entry = 0; entry < tasks.EntryCount(); ++entry)
        for (const TTaskWarning& warning : warnings[static_cast<std::size_t>(entry)].Warnings)
            if (!kind || warning.Kind == *kind) {
                list += (count++ == 0 ? "" : ", ") + tasks.EntryText(entry);
                break;
            }
    return list;
}

void PrintVariants(const TTaskSet& set, const std::vector<TVariantWarnings>& warnings) {
    const TTaskTable& tasks = set.Table();
    for (int entry = 0; entry < tasks.EntryCount(); ++entry) {
        const TVariantWarnings& variant = warnings[static_cast<std::size_t>(entry)];
        std::cout << Filled(SetTexts().Variant, tasks.EntryText(entry),
                            std::to_string(set.Line(entry)), Field(variant.Value))
                  << '\n';
        for (const TTaskWarning& warning : variant.Warnings)
            std::cout << "  ! " << WarningText(EvalLanguage(), tasks, warning) << '\n';
    }
}

} // namespace

std::shared_ptr<const TTaskSet> LoadSetFile(const std::string& path, int& status) {
    std::string bytes;
    if (!ReadSetBytes(path, bytes)) {
        std::cerr << "formulon-eval: " << Format(EvalTexts().CannotRead, path) << ": "
                  << FileErrorText(errno) << '\n';
        status = kIoFailure;
        return nullptr;
    }
    TTaskSetReading reading = ReadTaskSet(bytes, FileName(path));
    if (auto* set = std::get_if<std::shared_ptr<const TTaskSet>>(&reading))
        return std::move(*set);
    const TTaskSetRefusal& refusal = std::get<TTaskSetRefusal>(reading);
    std::cerr << "formulon-eval: " << Format(SetTexts().Refused, path)
              << (EvalLanguage() == TLanguage::Russian ? refusal.Text : refusal.English) << '\n';
    status = kRefused;
    return nullptr;
}

int ListTasks(const TTaskTable& tasks) {
    const std::vector<TVariantWarnings> warnings = TaskWarnings(tasks);
    for (int entry = 0; entry < tasks.EntryCount(); ++entry) {
        const TTaskRow& row = tasks.Row(entry);
        const TVariantWarnings& variant = warnings[static_cast<std::size_t>(entry)];
        std::cout << row.Task << '\t' << row.Variant << '\t' << Field(std::string(row.Formula))
                  << '\t' << Field(variant.Value) << '\n';
        // Beside the four fields scripts read, for the teacher's eyes.
        if (!variant.Warnings.empty())
            std::cerr << tasks.EntryText(entry) << ": "
                      << WarningsText(EvalLanguage(), tasks, variant.Warnings) << '\n';
    }
    return Flushed() ? 0 : kIoFailure;
}

int LintSet(const std::string& path) {
    int status = 0;
    const std::shared_ptr<const TTaskSet> set = LoadSetFile(path, status);
    if (!set)
        return status;
    const TTaskTable& tasks = set->Table();
    std::vector<TVariantWarnings> warnings = TaskWarnings(tasks);
    std::string unavailable;
    const bool typeset = CheckPictures(tasks, warnings, unavailable);
    const TSetTexts& texts = SetTexts();
    if (!set->Title().empty())
        std::cout << Filled(texts.Title, set->Title()) << '\n';
    PrintVariants(*set, warnings);
    int warned = 0;
    const std::string which = Entries(tasks, warnings, std::nullopt, warned);
    const std::string counts[] = {std::to_string(tasks.TaskCount()),
                                  std::to_string(tasks.EntryCount())};
    std::cout << Filled(warned == 0 ? texts.SummaryClean : texts.SummaryWarned, counts[0],
                        counts[1], which)
              << '\n';
    int refusedCount = 0;
    const std::string refused = Entries(tasks, warnings, TTaskWarningKind::TexError, refusedCount);
    if (refusedCount > 0)
        std::cout << Filled(texts.WillRefuse, refused) << '\n';
    if (!typeset)
        std::cout << Filled(texts.TexUnchecked, unavailable) << '\n';
    if (!Flushed())
        return kIoFailure;
    return refusedCount > 0 ? kRefused : warned > 0 || !typeset ? kWarnings : 0;
}

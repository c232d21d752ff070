#include "quiz/core/TaskCatalogue.h"

#include "quiz/core/TaskTables.h"

#include <cctype>
#include <stdexcept>

TReferenceFormulas ReferenceFormulas;

namespace {

// The quiz's table, one row per entry of ReferenceFormulas.
constexpr const auto& kTasks = kStandardTasks;
static_assert(kTasks.size() == kTaskCount * kVariantCount,
              "standard.tasks must hold ten tasks of three variants");

int Entry(int task, int variant) {
    return (task - 1) * kVariantCount + (variant - 1);
}

} // namespace

void FillReferenceFormulas() {
    for (std::size_t entry = 0; entry < kTasks.size(); ++entry)
        ReferenceFormulas[entry] = std::string(kTasks[entry].Formula);
}

bool IsValidTask(int task, int variant) {
    return task >= 1 && task <= kTaskCount && variant >= 1 && variant <= kVariantCount;
}

const std::string& ReferenceFormula(int task, int variant) {
    if (!IsValidTask(task, variant))
        throw std::out_of_range("no reference formula for this task and variant");
    return ReferenceFormulas[Entry(task, variant)];
}

std::string PictureName(int task, int variant) {
    // Outside the table no picture exists; the name the rule gives finds none.
    if (!IsValidTask(task, variant)) {
        std::string name = "p"; // appended: gcc 12 warns falsely about "p" + string
        name += std::to_string(task);
        name += std::to_string(variant);
        return name;
    }
    std::string name(kTasks[Entry(task, variant)].Picture);
    for (char& c : name)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return name;
}

std::string_view PictureTex(int task, int variant) {
    return IsValidTask(task, variant) ? kTasks[Entry(task, variant)].Tex : std::string_view();
}

#include "quiz/core/TaskTable.h"

#include <cctype>

std::string TTaskTable::ReferenceFormula(int task, int variant) const {
    const std::optional<int> entry = Entry(task, variant);
    if (!entry)
        throw std::out_of_range("no reference formula for this task and variant");
    return std::string(Row(*entry).Formula);
}

std::string TTaskTable::PictureName(int task, int variant) const {
    if (const std::optional<int> entry = Entry(task, variant))
        return PictureName(*entry);
    std::string name = "p"; // appended: gcc 12 warns falsely about "p" + string
    name += std::to_string(task);
    name += std::to_string(variant);
    return name;
}

std::string TTaskTable::PictureName(int entry) const {
    std::string name(Row(entry).Picture);
    for (char& c : name)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return name;
}

std::string_view TTaskTable::PictureTex(int task, int variant) const {
    const std::optional<int> entry = Entry(task, variant);
    return entry ? Row(*entry).Tex : std::string_view();
}

std::string TTaskTable::EntryText(int entry) const {
    return std::to_string(Row(entry).Task) + '.' + std::to_string(Row(entry).Variant);
}

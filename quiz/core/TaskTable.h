// A task table as the program uses it: its lines, each one variant of one
// task, and the shape that follows from them (how many tasks, how many
// variants each). The tables in quiz/core/tasks/ are made into C++ while
// building (quiz/core/tasks/MakeTaskTables.cmake); a table read while the
// program runs gives the same rows and keeps the same rule.
#pragma once

#include <array>
#include <cstddef>
#include <optional>
#include <span>
#include <stdexcept>
#include <string>
#include <string_view>

// A picture's name holds its task in one or two digits and its variant in
// one: P11 … P995.
inline constexpr int kMaxTasks = 99;
inline constexpr int kMaxVariants = 5;

// One line of a task table: the task and the variant it is, its picture's
// name (which says the same: P101 is task 10, variant 1), the reference
// formula and the TeX the picture is typeset from.
struct TTaskRow {
    int Task = 0;
    int Variant = 0;
    std::string_view Picture;
    std::string_view Formula;
    std::string_view Tex;
};

struct TTaskVariant {
    int Task = 0;
    int Variant = 0;
};

// The task and variant a picture's name gives: P or p, the task (1 to 99,
// no leading zero), then the variant (one digit, 1 to 5). None for any
// other name.
constexpr std::optional<TTaskVariant> PictureTaskVariant(std::string_view name) {
    if (name.size() < 3 || name.size() > 4 || (name[0] != 'P' && name[0] != 'p') || name[1] == '0')
        return std::nullopt;
    int task = 0;
    for (std::size_t i = 1; i + 1 < name.size(); ++i) {
        if (name[i] < '0' || name[i] > '9')
            return std::nullopt;
        task = task * 10 + (name[i] - '0');
    }
    const int variant = name.back() - '0';
    if (variant < 1 || variant > kMaxVariants)
        return std::nullopt;
    return TTaskVariant{task, variant};
}

class TTaskTable {
public:
    // The rows task-major: tasks 1, 2, … and each task's variants 1, 2, …
    // without a gap, each row named after its task and variant. Anything
    // else raises std::invalid_argument, which stops the build for a table
    // made into a constant.
    // 'setName' is the task set's file name without ".tasks" for a teacher's
    // set, empty for the standard one: what a record of a check names.
    constexpr explicit TTaskTable(std::span<const TTaskRow> rows, std::string_view setName = {})
        : rows_(rows), setName_(setName) {
        if (rows.empty())
            throw std::invalid_argument("a task table holds at least one task");
        for (std::size_t entry = 0; entry < rows.size(); ++entry)
            TakeRow(entry);
        firstEntry_[static_cast<std::size_t>(taskCount_)] = static_cast<int>(rows.size());
    }

    constexpr int TaskCount() const { return taskCount_; }
    // 0 for a task the table does not have.
    constexpr int VariantCount(int task) const {
        return task >= 1 && task <= taskCount_ ? First(task + 1) - First(task) : 0;
    }
    constexpr int EntryCount() const { return static_cast<int>(rows_.size()); }

    // The one way from a task and its variant to the table's entry (0 for
    // 1.1, task-major); none outside the table.
    constexpr std::optional<int> Entry(int task, int variant) const {
        if (variant < 1 || variant > VariantCount(task))
            return std::nullopt;
        return First(task) + variant - 1;
    }
    constexpr bool Has(int task, int variant) const { return Entry(task, variant).has_value(); }

    constexpr const TTaskRow& Row(int entry) const {
        return rows_[static_cast<std::size_t>(entry)];
    }
    constexpr std::span<const TTaskRow> Rows() const { return rows_; }
    constexpr std::string_view SetName() const { return setName_; }

    // Raises std::out_of_range outside the table.
    std::string ReferenceFormula(int task, int variant) const;
    // The picture's name in lower case (p11, p23, p101), as resources are
    // found and progress is kept; outside the table, the name the rule
    // gives, which finds no picture.
    std::string PictureName(int task, int variant) const;
    std::string PictureName(int entry) const;
    // Empty outside the table.
    std::string_view PictureTex(int task, int variant) const;
    // "3.2": how a person names the entry.
    std::string EntryText(int entry) const;

private:
    constexpr int First(int task) const { return firstEntry_[static_cast<std::size_t>(task - 1)]; }

    // The row before is found by its index, not a pointer: gcc's
    // sanitizers make a global's address compared with null no constant.
    constexpr void TakeRow(std::size_t entry) {
        const TTaskRow& row = rows_[entry];
        const bool nextTask = row.Task == taskCount_ + 1 && row.Variant == 1;
        const bool nextVariant = entry > 0 && row.Task == rows_[entry - 1].Task &&
                                 row.Variant == rows_[entry - 1].Variant + 1;
        if (!nextTask && !nextVariant)
            throw std::invalid_argument("the task table's rows are not tasks 1, 2, … in order, "
                                        "each with its variants 1, 2, … in order");
        const std::optional<TTaskVariant> named = PictureTaskVariant(row.Picture);
        if (!named || named->Task != row.Task || named->Variant != row.Variant)
            throw std::invalid_argument("a picture's name is not P, its task and its variant");
        if (nextTask)
            firstEntry_[static_cast<std::size_t>(taskCount_++)] = static_cast<int>(entry);
    }

    std::span<const TTaskRow> rows_;
    std::string_view setName_;
    int taskCount_ = 0;
    // Task t's first entry at t - 1; the entry past the last task's last.
    std::array<int, kMaxTasks + 1> firstEntry_{};
};

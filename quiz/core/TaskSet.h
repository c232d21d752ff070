// A task set: the standard tasks built into the program, or a teacher's own
// read from a text file in the task table's format (quiz/core/tasks/). A
// file is read whole or refused whole, with a Russian message saying which
// line and why, so a class never plays half a set.
#pragma once

#include "quiz/core/TaskTable.h"

#include <cstddef>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

// What a set file may hold: one to twenty tasks of one to five variants, a
// file of at most 64 KiB, a line of at most 1000 characters.
inline constexpr int kMaxSetTasks = 20;
inline constexpr std::size_t kMaxSetFileBytes = 64 * 1024;
inline constexpr std::size_t kMaxSetLineCharacters = 1000;

// The task box shows this much of a picture, in logical pixels. A picture
// is typeset at 24 pixels per em, or smaller down to 18 until it fits: one
// that does not fit at 18 is seen cut.
inline constexpr int kTaskPictureWidth = 393;
inline constexpr int kTaskPictureHeight = 105;
inline constexpr double kLargestPictureEm = 24;
inline constexpr double kSmallestPictureEm = 18;

// A set's title is the text after this in a comment line of its own.
inline constexpr std::string_view kSetTitleMark = "% Набор:";

// A task set: the standard one (built in) or one read from a file. Owns its
// texts; the table's rows view them, so a set is shared, never copied.
class TTaskSet {
public:
    TTaskSet(const TTaskSet&) = delete;
    TTaskSet& operator=(const TTaskSet&) = delete;

    const TTaskTable& Table() const { return *table_; }
    // UTF-8 after "% Набор:", "" when none.
    const std::string& Title() const { return title_; }
    // The file's name without ".tasks"; "" for the standard set.
    const std::string& Name() const { return name_; }
    bool IsStandard() const { return standard_; }
    // The file's line an entry was read from (1 for the file's first line);
    // 0 for the standard set, whose lines are built in.
    int Line(int entry) const;

private:
    friend class TTaskSetBuilder;
    friend std::shared_ptr<const TTaskSet> StandardTaskSet();
    TTaskSet() = default;

    std::string bytes_; // the file's text, which the rows view
    std::string title_;
    std::string name_;
    bool standard_ = false;
    std::vector<TTaskRow> rows_;
    std::vector<int> lines_;
    std::optional<TTaskTable> ownTable_;
    const TTaskTable* table_ = nullptr;
};

// Russian UTF-8 text saying which line and why, e.g.
// "строка 7: формула y/0.0 прерывается ошибкой «Floating point division by zero»";
// Line 0 when the whole file is refused (too big, no task, ...).
struct TTaskSetRefusal {
    int Line = 0;
    std::string Text;
    std::string English = {}; // the same in English, for a tool in the user's language
};
using TTaskSetReading = std::variant<std::shared_ptr<const TTaskSet>, TTaskSetRefusal>;

// Reads a set file's bytes. 'name' is the file's name, with or without
// ".tasks" (never a path). Checks all that needs no typesetter: the format,
// the shape, the limits, and that every formula evaluates at y = 7, z = 11
// without raising. Whether the TeX typesets is for whoever typesets it.
TTaskSetReading ReadTaskSet(std::string_view bytes, std::string name);

// The built-in standard set: ReferenceFormulas, no title, no name.
std::shared_ptr<const TTaskSet> StandardTaskSet();

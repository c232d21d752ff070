#include "teacher/ClassLine.h"

namespace {

bool NeedsQuotes(std::string_view field, char separator) {
    // A byte-order mark the reader would take off a line's start.
    if (field.starts_with("\xEF\xBB\xBF"))
        return true;
    for (const char c : field)
        if (c == separator || c == '"' || c == '\n' || c == '\r')
            return true;
    return false;
}

} // namespace

std::string QuotedField(std::string_view field, char separator) {
    if (!NeedsQuotes(field, separator))
        return std::string(field);
    std::string quoted = "\"";
    for (const char c : field) {
        if (c == '"')
            quoted += '"';
        quoted += c;
    }
    return quoted + '"';
}

std::string ClassLineText(const TClassLine& line, char separator) {
    std::string text = QuotedField(line.Pupil, separator);
    for (const std::string& field : {TaskText(line.Task, line.Variant), line.Answer}) {
        text += separator;
        text += QuotedField(field, separator);
    }
    for (const std::string& field : line.Extra) {
        text += separator;
        text += QuotedField(field, separator);
    }
    return text;
}

std::optional<std::vector<std::string>> SplitFields(std::string_view line, char separator) {
    std::vector<std::string> fields(1);
    bool quoted = false;
    for (std::size_t i = 0; i < line.size(); ++i) {
        const char c = line[i];
        std::string& field = fields.back();
        if (quoted) {
            if (c != '"')
                field += c;
            else if (i + 1 < line.size() && line[i + 1] == '"')
                field += line[++i];
            else
                quoted = false;
        } else if (c == separator) {
            fields.emplace_back();
        } else if (c == '"' && field.find_first_not_of(' ') == std::string::npos) {
            // A quote opens a field only at its start, blanks before it dropped.
            field.clear();
            quoted = true;
        } else {
            field += c;
        }
    }
    if (quoted)
        return std::nullopt;
    return fields;
}

bool ParseTask(std::string_view text, int& task, int& variant, bool commaToo,
               const TTaskTable& tasks) {
    const std::size_t dot = text.find_first_of(commaToo ? ".," : ".");
    if (dot == std::string_view::npos || dot == 0 || dot > 2 || text.size() != dot + 2 ||
        text[0] == '0')
        return false;
    int number = 0;
    for (const char digit : text.substr(0, dot)) {
        if (digit < '0' || digit > '9')
            return false;
        number = number * 10 + (digit - '0');
    }
    const int variantNumber = text[dot + 1] - '0';
    if (!tasks.Has(number, variantNumber))
        return false;
    task = number;
    variant = variantNumber;
    return true;
}

std::string TaskText(int task, int variant) {
    return std::to_string(task) + '.' + std::to_string(variant);
}

#include "teacher/ClassReader.h"

#include "engine/Cp1251.h"

#include <algorithm>
#include <optional>
#include <utility>

namespace {

constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";
constexpr std::string_view kBlanks = " \t";

// The line from 'pos', without its end (CRLF, LF or a lone CR, as old
// spreadsheets on a Mac wrote it); 'pos' moves past the end.
std::string_view NextLine(std::string_view bytes, std::size_t& pos) {
    const std::size_t end = bytes.find_first_of("\r\n", pos);
    const std::string_view line =
        bytes.substr(pos, end == std::string_view::npos ? end : end - pos);
    if (end == std::string_view::npos)
        pos = bytes.size();
    else
        pos = end + (bytes.substr(end, 2) == "\r\n" ? 2 : 1);
    return line;
}

std::string Trimmed(std::string_view text) {
    const std::size_t from = text.find_first_not_of(kBlanks);
    if (from == std::string_view::npos)
        return {};
    return std::string(text.substr(from, text.find_last_not_of(kBlanks) - from + 1));
}

// The line in UTF-8, noting in 'read' when it is not what it should be.
std::string Decoded(std::string_view raw, TEncoding encoding, TReadLine& read) {
    if (encoding == TEncoding::Cp1251)
        return formulon::engine::Cp1251ToUtf8(raw);
    TNotUtf8 where;
    if (DecodeUtf8(raw, where))
        return std::string(raw);
    if (encoding == TEncoding::Auto)
        return formulon::engine::Cp1251ToUtf8(raw);
    read.Problem = TLineProblem::NotUtf8;
    read.Where = where;
    return ShownUtf8(raw);
}

// The first of the separators, in their order, that the line holds outside
// quotes; 0 when it holds none.
char FoundSeparator(std::string_view line) {
    std::string found;
    bool quoted = false;
    for (const char c : line) {
        if (c == '"')
            quoted = !quoted;
        else if (!quoted && kSeparators.find(c) != std::string_view::npos)
            found += c;
    }
    for (const char separator : kSeparators)
        if (found.find(separator) != std::string::npos)
            return separator;
    return 0;
}

bool NamesATask(const std::vector<std::string>& fields, const TTaskTable& tasks) {
    int task = 0, variant = 0;
    return fields.size() >= 2 && ParseTask(Trimmed(fields[1]), task, variant, true, tasks);
}

bool AllBlank(const std::vector<std::string>& fields) {
    return std::all_of(fields.begin(), fields.end(), [](const std::string& field) {
        return field.find_first_not_of(kBlanks) == std::string::npos;
    });
}

class TReader {
public:
    TReader(TEncoding encoding, const TTaskTable& tasks) : encoding_(encoding), tasks_(tasks) {}
    std::optional<TReadLine> Read(std::string_view raw, int number);

private:
    std::optional<std::vector<std::string>> Split(const std::string& text, char& used) const;
    void Fill(TReadLine& read, const std::vector<std::string>& fields, char used) const;

    TEncoding encoding_;
    const TTaskTable& tasks_;
    char separator_ = 0;
    bool first_ = true;
    std::size_t headerFields_ = 0;
};

// The fields by the file's separator, or by another that gives the second
// column a task: a class file put together from several may mix them.
std::optional<std::vector<std::string>> TReader::Split(const std::string& text, char& used) const {
    std::optional<std::vector<std::string>> fields =
        separator_ ? SplitFields(text, separator_) : std::vector<std::string>{text};
    used = separator_;
    if (fields && NamesATask(*fields, tasks_))
        return fields;
    for (const char other : kSeparators) {
        if (other == separator_ || text.find(other) == std::string::npos)
            continue;
        std::optional<std::vector<std::string>> tried = SplitFields(text, other);
        if (tried && NamesATask(*tried, tasks_)) {
            used = other;
            return tried;
        }
    }
    return fields;
}

void TReader::Fill(TReadLine& read, const std::vector<std::string>& fields, char used) const {
    read.Line.Pupil = Trimmed(fields[0]);
    read.TaskField = fields.size() > 1 ? Trimmed(fields[1]) : std::string();
    if (fields.size() > 2)
        read.Line.Answer = Trimmed(fields[2]);
    for (std::size_t i = 3; i < fields.size(); ++i)
        read.Line.Extra.push_back(Trimmed(fields[i]));
    if (fields.size() < 2)
        read.Problem = TLineProblem::TooFewFields;
    else if (!ParseTask(read.TaskField, read.Line.Task, read.Line.Variant, true, tasks_))
        read.Problem = TLineProblem::NotATask;
    else if (read.Line.Pupil.empty())
        read.Problem = TLineProblem::NoPupil;
    else if (used == ',' && fields.size() > std::max<std::size_t>(3, headerFields_))
        read.Problem = TLineProblem::CommaInAnswer;
    if (read.Problem != TLineProblem::None && read.Problem != TLineProblem::NotUtf8)
        read.Line.Task = read.Line.Variant = 0;
}

std::optional<TReadLine> TReader::Read(std::string_view raw, int number) {
    if (raw.starts_with(kByteOrderMark))
        raw.remove_prefix(kByteOrderMark.size());
    TReadLine read;
    read.Number = number;
    const std::string text = Decoded(raw, encoding_, read);
    if (separator_ == 0)
        separator_ = FoundSeparator(text);
    char used = 0;
    const std::optional<std::vector<std::string>> fields = Split(text, used);
    if (fields && AllBlank(*fields))
        return std::nullopt;
    const bool first = std::exchange(first_, false);
    if (!fields) {
        read.Problem = TLineProblem::UnclosedQuote;
        read.Line.Pupil = Trimmed(text);
        return read;
    }
    const std::string second = fields->size() > 1 ? Trimmed((*fields)[1]) : std::string();
    if (first && !second.empty() && second.find_first_of("0123456789") == std::string::npos) {
        headerFields_ = fields->size();
        return std::nullopt;
    }
    Fill(read, *fields, used);
    return read;
}

} // namespace

std::vector<TReadLine> ReadClassFile(std::string_view bytes, TEncoding encoding,
                                     const TTaskTable& tasks) {
    std::vector<TReadLine> lines;
    TReader reader(encoding, tasks);
    int number = 0;
    for (std::size_t pos = 0; pos < bytes.size();) {
        const std::string_view raw = NextLine(bytes, pos);
        if (std::optional<TReadLine> read = reader.Read(raw, ++number))
            lines.push_back(std::move(*read));
    }
    return lines;
}

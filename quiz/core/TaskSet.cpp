#include "quiz/core/TaskSet.h"

#include "engine/Cp1251.h"
#include "quiz/core/QuietValue.h"
#include "quiz/core/TaskCatalogue.h"

#include <algorithm>
#include <array>
#include <utility>

using namespace formulon::engine;

namespace {

// Thrown inside the reader only; ReadTaskSet turns it into its answer.
struct TRefused {
    TTaskSetRefusal Refusal;
};

// Why, in Russian and in English.
[[noreturn]] void Refuse(int line, std::string russian, std::string english) {
    if (line > 0) {
        russian = "строка " + std::to_string(line) + ": " + russian;
        english = "line " + std::to_string(line) + ": " + english;
    }
    throw TRefused{{line, std::move(russian), std::move(english)}};
}

std::string InQuotes(std::string_view text) {
    return "'" + std::string(text) + "'";
}

// The length of the UTF-8 sequence that starts at 'at', or 0 when the bytes
// there are no well-formed one (overlong forms and surrogates included).
std::size_t Utf8Sequence(std::string_view text, std::size_t at) {
    const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(text[at + i]); };
    const unsigned char lead = byte(0);
    if (lead < 0x80)
        return 1;
    std::size_t length = 0;
    unsigned char low = 0x80, high = 0xBF; // the second byte's range
    if (lead >= 0xC2 && lead <= 0xDF)
        length = 2;
    else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        low = lead == 0xE0 ? 0xA0 : 0x80;
        high = lead == 0xED ? 0x9F : 0xBF;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        low = lead == 0xF0 ? 0x90 : 0x80;
        high = lead == 0xF4 ? 0x8F : 0xBF;
    } else
        return 0;
    if (at + length > text.size() || byte(1) < low || byte(1) > high)
        return 0;
    for (std::size_t i = 2; i < length; ++i)
        if (byte(i) < 0x80 || byte(i) > 0xBF)
            return 0;
    return length;
}

// A line's characters: well-formed UTF-8, no control character but the tab,
// at most kMaxSetLineCharacters of them.
void CheckLineText(std::string_view line, int number) {
    std::size_t characters = 0;
    for (std::size_t at = 0; at < line.size(); ++characters) {
        const std::size_t length = Utf8Sequence(line, at);
        if (length == 0)
            Refuse(number, "текст не в кодировке UTF-8 (сохраните файл в UTF-8)",
                   "the text is not UTF-8 (save the file as UTF-8)");
        const auto c = static_cast<unsigned char>(line[at]);
        if ((c < 0x20 && c != '\t') || c == 0x7F)
            Refuse(number, "управляющий знак с кодом " + std::to_string(c),
                   "a control character, code " + std::to_string(c));
        at += length;
    }
    if (characters > kMaxSetLineCharacters)
        Refuse(number, "строка длиннее " + std::to_string(kMaxSetLineCharacters) + " знаков",
               "the line is longer than " + std::to_string(kMaxSetLineCharacters) + " characters");
}

bool IsBlank(char c) {
    return c == ' ' || c == '\t';
}

std::string_view Trimmed(std::string_view text) {
    while (!text.empty() && IsBlank(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && IsBlank(text.back()))
        text.remove_suffix(1);
    return text;
}

// The next field, up to a blank; 'rest' keeps what follows, blanks dropped.
std::string_view NextField(std::string_view& rest) {
    std::size_t end = 0;
    while (end < rest.size() && !IsBlank(rest[end]))
        ++end;
    const std::string_view field = rest.substr(0, end);
    rest = Trimmed(rest.substr(end));
    return field;
}

// The characters of the reference formulas: anything else (an upper-case
// letter, a decimal comma) is a typing error that would change a value.
bool IsFormulaCharacter(char c) {
    return (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') ||
           std::string_view(".^*/+()-").find(c) != std::string_view::npos;
}

std::string Entry(int task, int variant) {
    return std::to_string(task) + '.' + std::to_string(variant);
}

std::string Quoted(std::string_view text) {
    return "«" + std::string(text) + "»";
}

} // namespace

// Builds a set from its file's bytes line by line.
class TTaskSetBuilder {
public:
    TTaskSetBuilder(std::string_view bytes, std::string name);
    std::shared_ptr<const TTaskSet> Finish();

private:
    void TakeLine(std::string_view line, int number);
    void TakeRow(std::string_view line, int number);
    void CheckFormula(std::string_view formula, int number) const;
    void CheckShape() const;
    int LineOf(int task, int variant) const { return lineOf_[Key(task, variant)]; }
    // The first line any variant of the task was read from; 0 for none.
    int FirstLine(int task) const;
    static std::size_t Key(int task, int variant) {
        return static_cast<std::size_t>((task - 1) * kMaxVariants + variant - 1);
    }

    std::shared_ptr<TTaskSet> set_;
    int titleLine_ = 0;
    // The line each task and variant was read from; 0 for none yet.
    std::array<int, kMaxSetTasks * kMaxVariants> lineOf_{};
    std::array<TTaskRow, kMaxSetTasks * kMaxVariants> rowOf_{};
};

TTaskSetBuilder::TTaskSetBuilder(std::string_view bytes, std::string name) : set_(new TTaskSet()) {
    if (name.ends_with(".tasks"))
        name.resize(name.size() - 6);
    if (name.empty() || name.front() == '.' ||
        name.find_first_of(std::string_view("/\0", 2)) != std::string::npos)
        Refuse(0, "имя файла " + Quoted(name) + " не годится для набора заданий",
               "the file name " + InQuotes(name) + " does not suit a task set");
    if (bytes.size() > kMaxSetFileBytes)
        Refuse(0, "файл больше " + std::to_string(kMaxSetFileBytes / 1024) + " КиБ",
               "the file is larger than " + std::to_string(kMaxSetFileBytes / 1024) + " KiB");
    set_->name_ = std::move(name);
    // The rows view the set's own copy of the text, in its final place.
    set_->bytes_.assign(bytes);
    std::string_view text = set_->bytes_;
    if (text.starts_with("\xEF\xBB\xBF"))
        text.remove_prefix(3);
    for (int number = 1; !text.empty(); ++number) {
        const std::size_t end = std::min(text.find('\n'), text.size());
        std::string_view line = text.substr(0, end);
        text.remove_prefix(std::min(end + 1, text.size()));
        if (line.ends_with('\r'))
            line.remove_suffix(1);
        TakeLine(line, number);
    }
}

void TTaskSetBuilder::TakeLine(std::string_view line, int number) {
    CheckLineText(line, number);
    line = Trimmed(line);
    if (line.starts_with(kSetTitleMark)) {
        if (titleLine_ != 0)
            Refuse(number,
                   "второе название набора (первое в строке " + std::to_string(titleLine_) + ")",
                   "a second title of the set (the first is on line " + std::to_string(titleLine_) +
                       ")");
        titleLine_ = number;
        set_->title_ = Trimmed(line.substr(kSetTitleMark.size()));
    } else if (!line.empty() && line.front() != '%')
        TakeRow(line, number);
}

void TTaskSetBuilder::TakeRow(std::string_view line, int number) {
    std::string_view rest = line;
    const std::string_view picture = NextField(rest);
    const std::string_view formula = NextField(rest);
    const std::string_view tex = rest;
    if (formula.empty() || tex.empty())
        Refuse(number, "нужны имя картинки, формула и TeX картинки через пробел",
               "a line needs the picture's name, the formula and the picture's TeX, "
               "separated by blanks");
    const std::optional<TTaskVariant> named = PictureTaskVariant(picture);
    if (!named)
        Refuse(number,
               Quoted(picture) + " — не имя картинки: P, номер задания и номер варианта "
                                 "(от 1 до 5), как P11, P23, P101",
               InQuotes(picture) + " is not a picture's name: P, the task and the variant "
                                   "(1 to 5), as P11, P23, P101");
    if (named->Task > kMaxSetTasks)
        Refuse(number,
               "задание " + std::to_string(named->Task) + ": в наборе не больше " +
                   std::to_string(kMaxSetTasks) + " заданий",
               "task " + std::to_string(named->Task) + ": a set holds at most " +
                   std::to_string(kMaxSetTasks) + " tasks");
    const std::string entry = Entry(named->Task, named->Variant);
    if (const int first = LineOf(named->Task, named->Variant))
        Refuse(number,
               "вариант " + entry + " второй раз (первый в строке " + std::to_string(first) + ")",
               "variant " + entry + " a second time (the first is on line " +
                   std::to_string(first) + ")");
    CheckFormula(formula, number);
    lineOf_[Key(named->Task, named->Variant)] = number;
    rowOf_[Key(named->Task, named->Variant)] = {named->Task, named->Variant, picture, formula, tex};
}

void TTaskSetBuilder::CheckFormula(std::string_view formula, int number) const {
    const std::string text(formula);
    for (std::size_t at = 0; at < formula.size(); ++at)
        if (!IsFormulaCharacter(formula[at]))
            Refuse(number,
                   "в формуле " + text + " знак " +
                       Quoted(formula.substr(at, Utf8Sequence(formula, at))) +
                       ": формула пишется строчными латинскими буквами, цифрами, точкой и "
                       "знаками ^ * / + - ( )",
                   "the formula " + text + " holds " +
                       InQuotes(formula.substr(at, Utf8Sequence(formula, at))) +
                       ": a formula is written in lower-case Latin letters, digits, the point "
                       "and ^ * / + - ( )");
    const TQuietResult result = QuietFormulaResult(text);
    if (result.Raised)
        Refuse(
            number, "формула " + text + " прерывается ошибкой " + Quoted(Cp1251ToUtf8(result.Text)),
            "the formula " + text + " stops with the error " + InQuotes(Cp1251ToUtf8(result.Text)));
    if (result.Text.empty() || result.Text == "~") {
        const std::string message = Cp1251ToUtf8(result.Message);
        Refuse(number,
               "формула " + text + " не вычисляется" +
                   (message.empty() ? std::string() : ": " + Quoted(message)),
               "the formula " + text + " gives no value" +
                   (message.empty() ? std::string() : ": " + InQuotes(message)));
    }
}

int TTaskSetBuilder::FirstLine(int task) const {
    int first = 0;
    for (int variant = 1; variant <= kMaxVariants; ++variant)
        if (const int line = LineOf(task, variant); line != 0 && (first == 0 || line < first))
            first = line;
    return first;
}

// Tasks 1, 2, … and each one's variants 1, 2, …, without a gap.
void TTaskSetBuilder::CheckShape() const {
    int lastTask = 0;
    for (int task = 1; task <= kMaxSetTasks; ++task)
        for (int variant = 1; variant <= kMaxVariants; ++variant)
            if (LineOf(task, variant) != 0)
                lastTask = task;
    if (lastTask == 0)
        Refuse(0, "в файле нет ни одного задания", "the file holds no task");
    for (int task = 1; task <= lastTask; ++task) {
        if (FirstLine(task) == 0) {
            int later = task + 1;
            while (FirstLine(later) == 0)
                ++later;
            Refuse(FirstLine(later),
                   "задание " + std::to_string(later) + " без задания " + std::to_string(task) +
                       ": задания идут 1, 2, 3… без пропусков",
                   "task " + std::to_string(later) + " without task " + std::to_string(task) +
                       ": tasks run 1, 2, 3... without a gap");
        }
        for (int variant = 2; variant <= kMaxVariants; ++variant)
            if (LineOf(task, variant) != 0 && LineOf(task, variant - 1) == 0)
                Refuse(LineOf(task, variant),
                       "вариант " + Entry(task, variant) + " без варианта " +
                           Entry(task, variant - 1) + ": варианты идут 1, 2, 3… без пропусков",
                       "variant " + Entry(task, variant) + " without variant " +
                           Entry(task, variant - 1) + ": variants run 1, 2, 3... without a gap");
    }
}

std::shared_ptr<const TTaskSet> TTaskSetBuilder::Finish() {
    CheckShape();
    for (std::size_t key = 0; key < lineOf_.size(); ++key)
        if (lineOf_[key] != 0) {
            set_->rows_.push_back(rowOf_[key]);
            set_->lines_.push_back(lineOf_[key]);
        }
    set_->ownTable_.emplace(set_->rows_, set_->name_);
    set_->table_ = &*set_->ownTable_;
    return set_;
}

int TTaskSet::Line(int entry) const {
    return entry >= 0 && static_cast<std::size_t>(entry) < lines_.size()
               ? lines_[static_cast<std::size_t>(entry)]
               : 0;
}

TTaskSetReading ReadTaskSet(std::string_view bytes, std::string name) {
    try {
        TTaskSetBuilder builder(bytes, std::move(name));
        return builder.Finish();
    } catch (const TRefused& refused) {
        return refused.Refusal;
    }
}

std::shared_ptr<const TTaskSet> StandardTaskSet() {
    static const std::shared_ptr<const TTaskSet> standard = [] {
        std::shared_ptr<TTaskSet> set(new TTaskSet());
        set->standard_ = true;
        set->table_ = &ReferenceFormulas;
        return set;
    }();
    return standard;
}

#include "teacher/ClassCsv.h"

#include "engine/Cp1251.h"

using formulon::engine::Cp1251ToUtf8;

namespace {

bool IsNumberText(std::string_view field) {
    return field.find_first_of("0123456789") != std::string_view::npos &&
           field.find_first_not_of("0123456789,E+-") == std::string_view::npos;
}

class TCsv {
public:
    explicit TCsv(TLanguage language) : separator_(language == TLanguage::Russian ? ';' : ',') {}
    TCsv& operator<<(std::string_view field) {
        if (!rowStarted_)
            rowStarted_ = true;
        else
            text_ += separator_;
        text_ += QuotedField(SpreadsheetText(field), separator_);
        return *this;
    }
    TCsv& operator<<(int number) { return *this << std::to_string(number); }
    void EndRow() {
        text_ += "\r\n";
        rowStarted_ = false;
    }
    std::string Text() const { return text_; }

private:
    char separator_;
    bool rowStarted_ = false;
    std::string text_ = "\xEF\xBB\xBF";
};

void Answers(TCsv& csv, const std::vector<TMarkedAnswer>& answers, const TTaskTable& tasks,
             TLanguage language) {
    for (const char* column : TeacherTexts(language).Columns)
        csv << column;
    csv.EndRow();
    for (const TMarkedAnswer& answer : answers) {
        const TReadLine& read = answer.Read;
        const TJudgement& judgement = answer.Judgement;
        const bool readable = read.Problem == TLineProblem::None;
        const std::string task =
            read.Attributed() ? TaskText(read.Line.Task, read.Line.Variant) : read.TaskField;
        csv << read.Line.Pupil << task << read.Line.Answer
            << VerdictWord(language, judgement.Verdict) << Cp1251ToUtf8(judgement.Value)
            << (readable ? Cp1251ToUtf8(judgement.Message) : ProblemText(language, read, tasks))
            << Cp1251ToUtf8(judgement.Hint);
        csv.EndRow();
    }
}

void Tallies(TCsv& csv, const char* heading, const std::vector<std::string>& names,
             const std::vector<TTally>& tallies, TLanguage language) {
    csv.EndRow();
    csv << heading;
    for (const char* column : TeacherTexts(language).TallyColumns)
        csv << column;
    csv.EndRow();
    for (std::size_t i = 0; i < names.size(); ++i) {
        const TTally& tally = tallies[i];
        csv << names[i] << tally.Right << tally.Wrong << tally.Flagged << tally.Blank
            << tally.Answers;
        csv.EndRow();
    }
}

} // namespace

std::string SpreadsheetText(std::string_view field) {
    if (field.empty() || std::string_view("=+-@").find(field.front()) == std::string_view::npos ||
        IsNumberText(field))
        return std::string(field);
    // Appended rather than added to a literal: gcc 12 warns falsely of the latter.
    std::string guarded = "'";
    guarded += field;
    return guarded;
}

std::string ClassCsv(const std::vector<TMarkedAnswer>& answers, const TClassTotals& totals,
                     TLanguage language) {
    const TTeacherTexts& texts = TeacherTexts(language);
    TCsv csv(language);
    Answers(csv, answers, *totals.Table, language);
    Tallies(csv, texts.Columns[0], totals.Pupils, totals.PupilTally, language);
    std::vector<std::string> tasks;
    for (const int entry : totals.Tasks)
        tasks.push_back(totals.Table->EntryText(entry));
    Tallies(csv, texts.Columns[1], tasks, totals.TaskTally, language);
    return csv.Text();
}

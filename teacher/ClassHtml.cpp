#include "teacher/ClassHtml.h"

#include "engine/Cp1251.h"
#include "quiz/core/SpokenFormula.h"
#include "quiz/core/TaskCatalogue.h"
#include "teacher/TaskPictureData.h"
#include "teacher/TaskWarnings.h"

using formulon::engine::Cp1251ToUtf8;

namespace {

constexpr std::string_view kStyle = R"css(
@page { size: A4; margin: 12mm; }
* { -webkit-print-color-adjust: exact; print-color-adjust: exact; }
body { font: 10pt/1.35 "DejaVu Sans", "Liberation Sans", Arial, sans-serif; color: #000;
       max-width: 186mm; margin: 0 auto; }
h1 { font-size: 16pt; margin: 0 0 2mm; }
h2 { font-size: 13pt; margin: 6mm 0 2mm; break-after: avoid; }
h3 { font-size: 11pt; margin: 0 0 1mm; break-after: avoid; }
table { border-collapse: collapse; }
th, td { border: 0.3mm solid #999; padding: 0.5mm 1mm; vertical-align: top; }
tr, .task, .pupil { break-inside: avoid; }
.grid { table-layout: fixed; width: 100%; font-size: 6.5pt; }
.grid th, .grid td { padding: 0.4mm 0; text-align: center; overflow: hidden; }
.grid th.name { width: 30mm; text-align: left; padding-left: 1mm; white-space: nowrap; }
.grid thead th { font-size: 5.5pt; }
.right { background: #9ad99a; }
.flagged { background: #f6dc7a; }
.wrong { background: #f2a0a0; }
.none { background: #fff; }
.legend span { border: 0.3mm solid #999; padding: 0 2mm; margin-right: 2mm; }
.task, .pupil { border-top: 0.3mm solid #ccc; padding: 2mm 0; }
.tasks { columns: 2; column-gap: 8mm; }
.task img { display: block; max-width: 100%; height: auto; margin: 1mm 0; }
.task p, .pupil p { margin: 1mm 0; }
.share { white-space: nowrap; }
.slips { margin: 0; padding-left: 5mm; font-size: 9pt; }
.bar { display: inline-block; width: 25mm; height: 3mm; border: 0.3mm solid #555;
       vertical-align: middle; margin-right: 2mm; }
.bar span { display: block; height: 100%; background: #3a8d3a; }
code { font-family: "DejaVu Sans Mono", monospace; word-break: break-all; }
.answers { width: 100%; font-size: 9pt; }
.warning { border-left: 1mm solid #d08a00; padding-left: 2mm; }
)css";

// The outcome's CSS class and the mark that tells it on a page printed
// without colour.
constexpr const char* kOutcomeClass[] = {"none", "wrong", "flagged", "right"};
constexpr const char* kOutcomeMark[] = {"", "\xE2\x9C\x97", "\xE2\x89\x88", "\xE2\x9C\x93"};

std::string Base64(std::string_view bytes) {
    constexpr char kDigits[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
    std::string text;
    text.reserve((bytes.size() + 2) / 3 * 4);
    for (std::size_t i = 0; i < bytes.size(); i += 3) {
        unsigned value = static_cast<unsigned char>(bytes[i]) << 16;
        if (i + 1 < bytes.size())
            value |= static_cast<unsigned char>(bytes[i + 1]) << 8;
        if (i + 2 < bytes.size())
            value |= static_cast<unsigned char>(bytes[i + 2]);
        text += kDigits[(value >> 18) & 63];
        text += kDigits[(value >> 12) & 63];
        text += i + 1 < bytes.size() ? kDigits[(value >> 6) & 63] : '=';
        text += i + 2 < bytes.size() ? kDigits[value & 63] : '=';
    }
    return text;
}

// What the hint's rule looks for, as the hints' table names it.
std::string_view Pattern(THintRule rule) {
    for (const THintRow& row : HintRules())
        if (row.Rule == rule)
            return row.Pattern;
    return {};
}

// Every picture of the table is there: the build looks for each.
const char* TaskPictureSvg(const std::string& name) {
    for (const TTaskPictureSvg& picture : kTaskPictureSvg)
        if (name == picture.Name)
            return picture.Svg;
    return "";
}

std::string Percent(int part, int whole) {
    return std::to_string(whole > 0 ? (part * 100 + whole / 2) / whole : 0);
}

class THtml {
public:
    THtml(const std::vector<TMarkedAnswer>& answers, const TClassTotals& totals, TLanguage language)
        : answers_(answers), totals_(totals), tasks_(*totals.Table),
          warnings_(totals.Tasks.empty() ? std::vector<TVariantWarnings>() : TaskWarnings(tasks_)),
          language_(language), texts_(TeacherTexts(language)) {}
    std::string Page();

private:
    void Grid();
    void GridRow(std::size_t pupil);
    void Legend();
    void Task(std::size_t task);
    void Picture(int entry);
    void Slips(std::size_t task);
    void Pupil(std::size_t pupil);
    void WrongAnswer(const TMarkedAnswer& answer);
    void Add(std::string_view html) { page_ += html; }
    void Text(std::string_view text) { page_ += HtmlText(text); }

    const std::vector<TMarkedAnswer>& answers_;
    const TClassTotals& totals_;
    const TTaskTable& tasks_;
    // By entry: what the teacher should know of how the task judges.
    const std::vector<TVariantWarnings> warnings_;
    TLanguage language_;
    const TTeacherTexts& texts_;
    std::string page_;
};

std::string THtml::Page() {
    Add("<!DOCTYPE html>\n<html lang=\"");
    Add(language_ == TLanguage::Russian ? "ru" : "en");
    Add("\">\n<head>\n<meta charset=\"utf-8\">\n<title>");
    Text(texts_.Title);
    Add("</title>\n<style>");
    Add(kStyle);
    Add("</style>\n</head>\n<body>\n<h1>");
    Text(texts_.Title);
    Add("</h1>\n<p class=\"summary\">");
    int answers = 0;
    for (const TTally& tally : totals_.PupilTally)
        answers += tally.Answers;
    Text(Filled(texts_.Summary, std::to_string(answers), std::to_string(totals_.Pupils.size()),
                std::to_string(totals_.Tasks.size())));
    Add("</p>\n");
    Grid();
    Add("<section id=\"tasks\">\n<h2>");
    Text(texts_.TasksHeading);
    Add("</h2>\n<div class=\"tasks\">\n");
    for (std::size_t task = 0; task < totals_.Tasks.size(); ++task)
        Task(task);
    Add("</div>\n</section>\n<section id=\"pupils\">\n<h2>");
    Text(texts_.PupilsHeading);
    Add("</h2>\n");
    for (std::size_t pupil = 0; pupil < totals_.Pupils.size(); ++pupil)
        Pupil(pupil);
    Add("</section>\n</body>\n</html>\n");
    return std::move(page_);
}

void THtml::Grid() {
    Add("<section id=\"grid\">\n<h2>");
    Text(texts_.GridHeading);
    Add("</h2>\n<table class=\"grid\">\n<thead><tr><th class=\"name\">");
    Text(texts_.Columns[0]);
    Add("</th>");
    for (const int entry : totals_.Tasks)
        Add("<th>" + tasks_.EntryText(entry) + "</th>");
    Add("</tr></thead>\n<tbody>\n");
    for (std::size_t pupil = 0; pupil < totals_.Pupils.size(); ++pupil)
        GridRow(pupil);
    Add("</tbody>\n</table>\n");
    Legend();
    Add("</section>\n");
}

void THtml::GridRow(std::size_t pupil) {
    Add("<tr><th class=\"name\">");
    Text(totals_.Pupils[pupil]);
    Add("</th>");
    for (std::size_t task = 0; task < totals_.Tasks.size(); ++task) {
        const TCell& cell = totals_.Cell(pupil, task);
        const auto outcome = static_cast<int>(cell.Outcome);
        Add(std::string("<td class=\"") + kOutcomeClass[outcome] + "\" title=\"");
        Text(cell.Tries > 0
                 ? Filled(texts_.Tries, texts_.Outcomes[outcome], std::to_string(cell.Tries))
                 : std::string(texts_.Outcomes[outcome]));
        Add("\">");
        if (cell.Tries > 0)
            Add(kOutcomeMark[outcome] + std::to_string(cell.Tries));
        Add("</td>");
    }
    Add("</tr>\n");
}

void THtml::Legend() {
    Add("<p class=\"legend\">");
    for (const int outcome : {3, 2, 1, 0}) {
        Add(std::string("<span class=\"") + kOutcomeClass[outcome] + "\">" + kOutcomeMark[outcome] +
            " ");
        Text(texts_.Outcomes[outcome]);
        Add("</span>");
    }
    Add("</p>\n");
}

void THtml::Task(std::size_t task) {
    const int entry = totals_.Tasks[task];
    const TTally& tally = totals_.TaskTally[task];
    Add("<div class=\"task\">\n<h3>");
    Text(Filled(texts_.Task, tasks_.EntryText(entry)));
    Add("</h3>\n");
    Picture(entry);
    Add("<p>");
    Text(texts_.Reference);
    Add(" <code>");
    Text(Cp1251ToUtf8(std::string(tasks_.Row(entry).Formula)));
    Add("</code></p>\n");
    const std::vector<TTaskWarning>& warnings = warnings_[static_cast<std::size_t>(entry)].Warnings;
    if (!warnings.empty()) {
        Add("<p class=\"warning\">");
        Text(WarningsText(language_, tasks_, warnings));
        Add("</p>\n");
    }
    Add("<p class=\"share\"><span class=\"bar\"><span style=\"width: " +
        Percent(tally.Right, tally.Answers) + "%\"></span></span>");
    Text(Filled(texts_.RightShare, std::to_string(tally.Right), std::to_string(tally.Answers),
                Percent(tally.Right, tally.Answers)));
    Add("</p>\n");
    Slips(task);
    Add("</div>\n");
}

// The committed picture of a standard task; a set's pictures are made by
// the program, so the report shows their TeX.
void THtml::Picture(int entry) {
    const std::string_view tex = tasks_.Row(entry).Tex;
    if (&tasks_ != &ReferenceFormulas) {
        Add("<p><code>");
        Text(tex);
        Add("</code></p>\n");
        return;
    }
    Add("<img alt=\"");
    Text(Cp1251ToUtf8(SpokenTex(tex)));
    Add("\" src=\"data:image/svg+xml;base64,");
    Add(Base64(TaskPictureSvg(tasks_.PictureName(entry))));
    Add("\">\n");
}

void THtml::Slips(std::size_t task) {
    const std::vector<TSlip>& slips = totals_.TaskSlips[task];
    Add("<p>");
    Text(slips.empty() ? texts_.NoSlips : texts_.Slips);
    Add("</p>\n");
    if (slips.empty())
        return;
    Add("<ol class=\"slips\">\n");
    for (const TSlip& slip : slips) {
        Add("<li><code>");
        Text(Pattern(slip.Rule));
        Add("</code> (");
        Text(Filled(texts_.SlipCount, std::to_string(slip.Count)));
        Add(") \xE2\x80\x94 ");
        Text(Cp1251ToUtf8(slip.Hint));
        Add("</li>\n");
    }
    Add("</ol>\n");
}

void THtml::Pupil(std::size_t pupil) {
    const TTally& tally = totals_.PupilTally[pupil];
    Add("<div class=\"pupil\">\n<h3>");
    Text(totals_.Pupils[pupil]);
    Add("</h3>\n<p>");
    Text(Filled(texts_.PupilTally, std::to_string(tally.Right), std::to_string(tally.Answers)));
    Add("</p>\n");
    if (tally.Wrong == 0) {
        Add("<p>");
        Text(texts_.NoWrong);
        Add("</p>\n</div>\n");
        return;
    }
    Add("<table class=\"answers\">\n<thead><tr>");
    for (const int column : {1, 2, 3, 6}) {
        Add("<th>");
        Text(texts_.Columns[column]);
        Add("</th>");
    }
    Add("</tr></thead>\n<tbody>\n");
    for (const std::size_t index : totals_.PupilAnswers[pupil])
        WrongAnswer(answers_[index]);
    Add("</tbody>\n</table>\n</div>\n");
}

void THtml::WrongAnswer(const TMarkedAnswer& answer) {
    const TVerdict verdict = answer.Judgement.Verdict;
    if (verdict == TVerdict::Right || verdict == TVerdict::Blank)
        return;
    Add("<tr><td>" + TaskText(answer.Read.Line.Task, answer.Read.Line.Variant) + "</td><td><code>");
    Text(answer.Read.Line.Answer);
    Add("</code></td><td>");
    Text(VerdictWord(language_, verdict));
    Add("</td><td>");
    if (verdict == TVerdict::Unreadable)
        Text(ProblemText(language_, answer.Read, tasks_));
    else if (answer.Judgement.Hint.empty())
        Text(texts_.NoHint);
    else
        Text(Cp1251ToUtf8(answer.Judgement.Hint));
    Add("</td></tr>\n");
}

} // namespace

std::string HtmlText(std::string_view text) {
    std::string escaped;
    escaped.reserve(text.size());
    for (const char c : text) {
        switch (c) {
        case '&':
            escaped += "&amp;";
            break;
        case '<':
            escaped += "&lt;";
            break;
        case '>':
            escaped += "&gt;";
            break;
        case '"':
            escaped += "&quot;";
            break;
        case '\'':
            escaped += "&#39;";
            break;
        default:
            escaped += c;
        }
    }
    return escaped;
}

std::string ClassHtml(const std::vector<TMarkedAnswer>& answers, const TClassTotals& totals,
                      TLanguage language) {
    return THtml(answers, totals, language).Page();
}

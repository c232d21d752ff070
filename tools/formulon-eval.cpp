// Console evaluator for teachers: evaluates formulas, judges a class's
// answers to a task exactly as the quiz does, and lists the tasks. Reads
// UTF-8 lines and prints one tab-separated line for each (see the help text
// and formulon-eval(1) for the line formats).
#include <iostream>
#include <new>
#include <optional>
#include <string>
#include <string_view>

#include "engine/Cp1251.h"
#include "engine/Errors.h"
#include "engine/FloatEnv.h"
#include "engine/Formula.h"
#include "engine/FormulaTrace.h"
#include "engine/NumberText.h"
#include "formulon/Version.h"
#include "quiz/core/AnswerBox.h"
#include "quiz/core/TaskCatalogue.h"
#include "teacher/ClassLine.h"
#include "teacher/Marking.h"
#include "tools/ClassMode.h"
#include "tools/EvalInput.h"
#include "tools/EvalOutput.h"
#include "tools/EvalTexts.h"
#include "tools/SetMode.h"
#include "tools/SetTexts.h"

using namespace formulon::engine;

namespace {

constexpr int kFailure = 1;
constexpr int kUsageError = 2;
constexpr int kCheckIoFailure = 3;

enum class TMode { Evaluate, Check, Explain, Class, Tasks, Lint };

struct TOptions {
    TMode Mode = TMode::Evaluate;
    bool Trace = false;
    bool Help = false;
    bool Version = false;
    bool EncodingGiven = false;
    std::string TaskGiven; // --check's or --explain's, read against the set
    int Task = 0;
    int Variant = 0;
    std::optional<std::string> SetFile; // --set, or --lint's file
    // The tasks answers are judged against: the standard ones, or --set's.
    std::shared_ptr<const TTaskSet> Set = StandardTaskSet();
    TClassOptions Class;
};

// Prints each step as it happens, so a raised error still shows the steps
// that led to it.
class TracePrinter : public FormulaObserver {
public:
    void Step(TraceStage stage, const std::string& text) override {
        std::cout << "TRACE\t" << TraceStageName(stage) << '\t' << Field(text) << '\n';
    }
};

// What one evaluation gave: a value text, or the error it raised.
struct TResult {
    const char* RaisedKind = nullptr; // null when a value text came back
    std::string Text;                 // the value text or the error's message
    std::string Message;              // LastErrorText afterwards
};

template <class TError> TResult Raised(const char* kind, const TError& error) {
    return {kind, error.Message(), LastErrorText.Read()};
}

TResult Evaluate(const std::string& formula) {
    LastErrorText.Clear();
    try {
        std::string value = FormulaValue(formula);
        return {nullptr, std::move(value), LastErrorText.Read()};
    } catch (const EConvertError& e) {
        return Raised("EConvertError", e);
    } catch (const EInvalidOp& e) {
        return Raised("EInvalidOp", e);
    } catch (const EZeroDivide& e) {
        return Raised("EZeroDivide", e);
    } catch (const EOverflow& e) {
        return Raised("EOverflow", e);
    }
}

std::string ResultLine(const TResult& result) {
    if (result.RaisedKind == nullptr)
        return "OK\t" + Field(result.Text) + "\t" + Field(result.Message);
    return std::string("RAISE\t") + result.RaisedKind + "\t" + Field(result.Text) + "\t" +
           Field(result.Message);
}

// A full disk or a closed pipe must not pass for a complete run.
bool FlushOutput() {
    if (std::cout.flush())
        return true;
    std::cerr << "formulon-eval: " << EvalTexts().WriteError << '\n';
    return false;
}

bool InputFailed(const TLineReader& reader) {
    if (!reader.Failed())
        return false;
    std::cerr << "formulon-eval: " << EvalTexts().ReadError << '\n';
    return true;
}

int EvaluateLines(bool trace) {
    TracePrinter printer;
    std::optional<FormulaTraceScope> scope;
    if (trace)
        scope.emplace(printer);
    TLineReader reader(std::cin);
    std::string line;
    while (reader.Next(line)) {
        if (IsBlank(line))
            std::cout << "BLANK\n";
        else
            std::cout << ResultLine(Evaluate(Utf8ToCp1251(line))) << '\n';
    }
    const bool failed = InputFailed(reader);
    return FlushOutput() && !failed ? 0 : kFailure;
}

// The code points of an answer line in the encoding the options name, or
// nothing, with 'invalid' saying why.
std::optional<std::u32string> Pasted(const TOptions& options, const std::string& line,
                                     std::string& invalid) {
    if (options.Class.Encoding == TEncoding::Cp1251) {
        std::u32string pasted;
        for (const char c : line)
            pasted += Cp1251ToUnicode(static_cast<unsigned char>(c));
        return pasted;
    }
    TNotUtf8 where;
    std::optional<std::u32string> pasted = DecodeUtf8(line, where);
    if (!pasted)
        invalid = NotUtf8Text(EvalLanguage(), where);
    return pasted;
}

// One answer's line; 'right' tells whether it matched the reference.
std::string JudgeLine(const TOptions& options, const std::string& line, bool& right) {
    right = false;
    if (IsBlank(line))
        return "BLANK";
    std::string invalid;
    const std::optional<std::u32string> pasted = Pasted(options, line, invalid);
    if (!pasted)
        return "INVALID\t" + invalid;
    if (options.Mode == TMode::Explain)
        return ExplainAnswer(options.Task, options.Variant, AnswerBoxText(*pasted), right);
    const TJudgement judgement =
        JudgeAnswer(options.Set->Table(), options.Task, options.Variant, *pasted);
    right = judgement.Verdict == TVerdict::Right;
    if (right)
        return "RIGHT\t" + Field(judgement.Value) + "\t";
    // The first of the hints "Разбор ответа" gives after a wrong answer, and
    // the answer's own message.
    return "WRONG\t" + Field(judgement.Value) + "\t" + Field(judgement.Hint) + "\t" +
           Field(judgement.AnswerMessage);
}

// A line a pupil's answer never is: a name, a task and an answer between
// tabs, ';' or ','. A teacher who feeds a class file to --check is told once
// which mode reads it, instead of finding every line wrong.
bool LooksLikeClassLine(std::string_view line, const TTaskTable& tasks) {
    for (const char separator : {'\t', ';', ','}) {
        const auto fields = SplitFields(line, separator);
        int task = 0;
        int variant = 0;
        if (fields && fields->size() == 3 && ParseTask((*fields)[1], task, variant, true, tasks))
            return true;
    }
    return false;
}

int CheckAnswers(const TOptions& options) {
    TLineReader reader(std::cin);
    std::string line;
    long answers = 0;
    long rightAnswers = 0;
    bool toldOfClass = false;
    while (reader.Next(line)) {
        if (!toldOfClass && LooksLikeClassLine(line, options.Set->Table())) {
            toldOfClass = true;
            std::cerr << "formulon-eval: "
                      << Format(EvalTexts().LooksLikeClass, std::to_string(answers + 1)) << '\n';
        }
        bool right = false;
        const std::string out = JudgeLine(options, line, right);
        // An explanation ends with an empty line of its own.
        std::cout << out << (out.ends_with('\n') ? "" : "\n");
        ++answers;
        rightAnswers += right ? 1 : 0;
    }
    std::cout << "# " << rightAnswers << " of " << answers << " right\n";
    const bool failed = InputFailed(reader);
    if (!FlushOutput() || failed)
        return kCheckIoFailure;
    return rightAnswers == answers ? 0 : kFailure;
}

int UsageError(const std::string& message) {
    std::cerr << "formulon-eval: " << message << '\n' << EvalTexts().TryHelp << '\n';
    return kUsageError;
}

// An option's value: after '=' in the same argument, or the next argument
// (only when 'optional' is false or it is no option). Returns false when a
// value that must be there is not.
bool OptionValue(std::string_view argument, std::string_view name, int argc, char** argv, int& i,
                 std::optional<std::string>& value, bool optional = false) {
    if (argument.size() > name.size()) {
        value = std::string(argument.substr(name.size() + 1));
        return true;
    }
    const bool next = i + 1 < argc &&
                      (!optional || argv[i + 1][0] != '-' || std::string_view(argv[i + 1]) == "-");
    if (next)
        value = argv[++i];
    return next || optional;
}

bool IsOption(std::string_view argument, std::string_view name) {
    return argument == name || (argument.starts_with(name) && argument[name.size()] == '=');
}

bool ParseEncoding(std::string_view text, TEncoding& encoding) {
    std::string lower;
    for (const char c : text)
        lower += static_cast<char>(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c);
    if (lower == "utf-8" || lower == "utf8")
        encoding = TEncoding::Utf8;
    else if (lower == "cp1251" || lower == "windows-1251")
        encoding = TEncoding::Cp1251;
    else
        return false;
    return true;
}

// Reads an option with a value into 'options'; -1 when it makes sense, else
// the exit status after the complaint.
int ValueOption(std::string_view argument, int argc, char** argv, int& i, TOptions& options) {
    const TEvalTexts& texts = EvalTexts();
    std::optional<std::string> value;
    if (IsOption(argument, "--check") || IsOption(argument, "--explain")) {
        const std::string_view name = IsOption(argument, "--check") ? "--check" : "--explain";
        if (!OptionValue(argument, name, argc, argv, i, value))
            return UsageError(Format(texts.MissingTask, name));
        options.TaskGiven = *value;
        options.Mode = name == "--check" ? TMode::Check : TMode::Explain;
    } else if (IsOption(argument, "--class")) {
        OptionValue(argument, "--class", argc, argv, i, options.Class.File, true);
        options.Mode = TMode::Class;
    } else if (IsOption(argument, "--set") || IsOption(argument, "--lint")) {
        const std::string_view name = IsOption(argument, "--set") ? "--set" : "--lint";
        if (!OptionValue(argument, name, argc, argv, i, options.SetFile) ||
            options.SetFile->empty())
            return UsageError(Format(texts.MissingFile, name));
        if (name == "--lint")
            options.Mode = TMode::Lint;
    } else if (IsOption(argument, "--html")) {
        if (!OptionValue(argument, "--html", argc, argv, i, options.Class.Report) ||
            options.Class.Report->empty())
            return UsageError(Format(texts.MissingFile, "--html"));
    } else {
        if (!OptionValue(argument, "--encoding", argc, argv, i, value) ||
            !ParseEncoding(*value, options.Class.Encoding))
            return UsageError(Format(texts.BadEncoding, value.value_or("")));
        options.EncodingGiven = true;
    }
    return -1;
}

// Options that need one another.
int CheckCombination(const TOptions& options, int modes) {
    const TEvalTexts& texts = EvalTexts();
    if (modes > 1)
        return UsageError(texts.TwoModes);
    if (options.Trace && options.Mode != TMode::Evaluate)
        return UsageError(texts.TraceOnlyFormulas);
    if (options.Class.Report && options.Mode != TMode::Class)
        return UsageError(texts.HtmlOnlyClass);
    if (options.EncodingGiven && (options.Mode == TMode::Evaluate || options.Mode == TMode::Tasks ||
                                  options.Mode == TMode::Lint))
        return UsageError(texts.EncodingOnlyAnswers);
    const bool setTakes = options.Mode == TMode::Check || options.Mode == TMode::Class ||
                          options.Mode == TMode::Tasks || options.Mode == TMode::Lint;
    if (options.SetFile && !setTakes)
        return UsageError(SetTexts().SetOnlyWith);
    return -1;
}

// Reads the arguments into 'options'; returns -1 when they make sense,
// else the exit status after the complaint. Every argument is checked, so
// a mistyped one is never ignored.
int ParseArguments(int argc, char** argv, TOptions& options) {
    const TEvalTexts& texts = EvalTexts();
    int modes = 0;
    for (int i = 1; i < argc; ++i) {
        const std::string_view argument = argv[i];
        if (argument == "--trace") {
            options.Trace = true;
        } else if (argument == "--help") {
            options.Help = true;
        } else if (argument == "--version") {
            options.Version = true;
        } else if (argument == "--tasks") {
            options.Mode = TMode::Tasks;
            ++modes;
        } else if (IsOption(argument, "--check") || IsOption(argument, "--explain") ||
                   IsOption(argument, "--class") || IsOption(argument, "--html") ||
                   IsOption(argument, "--encoding") || IsOption(argument, "--set") ||
                   IsOption(argument, "--lint")) {
            modes += IsOption(argument, "--check") || IsOption(argument, "--explain") ||
                             IsOption(argument, "--class") || IsOption(argument, "--lint")
                         ? 1
                         : 0;
            if (const int status = ValueOption(argument, argc, argv, i, options); status >= 0)
                return status;
        } else {
            const bool option = argument.starts_with('-');
            return UsageError(
                Format(option ? texts.UnknownOption : texts.UnexpectedArgument, argument));
        }
    }
    return CheckCombination(options, modes);
}

// Reads --set's file and the task --check or --explain names in it; -1
// when both are there, else the exit status after the complaint.
int TakeSet(TOptions& options) {
    if (options.SetFile) {
        int status = 0;
        options.Set = LoadSetFile(*options.SetFile, status);
        if (!options.Set)
            return status == kUsageError          ? kUsageError
                   : options.Mode == TMode::Tasks ? kFailure
                                                  : kCheckIoFailure;
    }
    const bool judging = options.Mode == TMode::Check || options.Mode == TMode::Explain;
    if (judging &&
        !ParseTask(options.TaskGiven, options.Task, options.Variant, false, options.Set->Table()))
        return UsageError(BadTaskText(options.TaskGiven, options.Set->Table()));
    return -1;
}

int Run(int argc, char** argv) {
    TOptions options;
    if (const int status = ParseArguments(argc, argv, options); status >= 0)
        return status;
    if (options.Help || options.Version) {
        if (options.Help)
            std::cout << EvalTexts().Help;
        else
            std::cout << "formulon-eval " << kProgramVersion << '\n';
        return FlushOutput() ? 0 : kFailure;
    }
    InitFloatingPointEnvironment();
    if (options.Mode == TMode::Lint)
        return LintSet(*options.SetFile);
    if (const int status = TakeSet(options); status >= 0)
        return status;
    switch (options.Mode) {
    case TMode::Check:
    case TMode::Explain:
        return CheckAnswers(options);
    case TMode::Class:
        return MarkClassFile(options.Class, options.Set->Table());
    case TMode::Tasks:
        return ListTasks(options.Set->Table());
    case TMode::Lint:
    case TMode::Evaluate:
        break;
    }
    return EvaluateLines(options.Trace);
}

} // namespace

int main(int argc, char** argv) {
    std::ios::sync_with_stdio(false);
    try {
        return Run(argc, argv);
    } catch (const std::bad_alloc&) {
        // A line too long to hold ends the run with a word, not a crash.
        std::cerr << "formulon-eval: " << EvalTexts().OutOfMemory << '\n';
        return kCheckIoFailure;
    }
}

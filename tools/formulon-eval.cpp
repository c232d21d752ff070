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
#include "quiz/core/AnswerHints.h"
#include "quiz/core/TaskCatalogue.h"
#include "tools/EvalInput.h"
#include "tools/EvalOutput.h"
#include "tools/EvalTexts.h"

using namespace formulon::engine;

namespace {

constexpr int kFailure = 1;
constexpr int kUsageError = 2;
constexpr int kCheckIoFailure = 3;

enum class TMode { Evaluate, Check, Explain, Tasks };

struct TOptions {
    TMode Mode = TMode::Evaluate;
    bool Trace = false;
    bool Help = false;
    bool Version = false;
    int Task = 0;
    int Variant = 0;
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

// An answer as the answer box holds it, or the line to print instead: BLANK
// or INVALID.
std::optional<std::string> Answer(const std::string& line, std::string& instead) {
    if (IsBlank(line)) {
        instead = "BLANK";
        return std::nullopt;
    }
    std::string reason;
    const std::optional<std::u32string> typed = DecodeUtf8(line, reason);
    if (!typed) {
        instead = "INVALID\t" + reason;
        return std::nullopt;
    }
    return AnswerBoxText(*typed);
}

// One answer's line; 'right' tells whether it matched the reference.
std::string JudgeLine(const TOptions& options, const TResult& reference, const std::string& line,
                      bool& right) {
    right = false;
    std::string instead;
    const std::optional<std::string> answer = Answer(line, instead);
    if (!answer)
        return instead;
    if (options.Mode == TMode::Explain)
        return ExplainAnswer(options.Task, options.Variant, *answer, right);
    const TResult result = Evaluate(*answer);
    right = !result.RaisedKind && !reference.RaisedKind && result.Text == reference.Text;
    if (right)
        return "RIGHT\t" + Field(result.Text) + "\t";
    // The first of the hints "Разбор ответа" gives after a wrong answer, and
    // the answer's own message.
    return "WRONG\t" + Field(result.Text) + "\t" +
           Field(FirstHintText(*answer, options.Task, options.Variant)) + "\t" +
           Field(result.Message);
}

int CheckAnswers(const TOptions& options) {
    FillReferenceFormulas();
    const TResult reference = Evaluate(ReferenceFormula(options.Task, options.Variant));
    TLineReader reader(std::cin);
    std::string line;
    long answers = 0;
    long rightAnswers = 0;
    while (reader.Next(line)) {
        bool right = false;
        const std::string out = JudgeLine(options, reference, line, right);
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

int ListTasks() {
    FillReferenceFormulas();
    for (int task = 1; task <= kTaskCount; ++task) {
        for (int variant = 1; variant <= kVariantCount; ++variant) {
            const std::string& formula = ReferenceFormula(task, variant);
            std::cout << task << '\t' << variant << '\t' << Field(formula) << '\t'
                      << Field(Evaluate(formula).Text) << '\n';
        }
    }
    return FlushOutput() ? 0 : kFailure;
}

int UsageError(const std::string& message) {
    std::cerr << "formulon-eval: " << message << '\n' << EvalTexts().TryHelp << '\n';
    return kUsageError;
}

// "1.1" to "10.3", written as the quiz numbers its tasks.
bool ParseTask(std::string_view text, TOptions& options) {
    const std::size_t dot = text.find('.');
    if (dot == std::string_view::npos || text.size() != dot + 2)
        return false;
    const std::string_view task = text.substr(0, dot);
    const char variant = text[dot + 1];
    if (task != "10" && (task.size() != 1 || task[0] < '1' || task[0] > '9'))
        return false;
    if (variant < '1' || variant > '3')
        return false;
    options.Task = task == "10" ? 10 : task[0] - '0';
    options.Variant = variant - '0';
    return true;
}

// "--check" or "--explain" when the argument is one of them, alone or with
// "=TASK.VARIANT", else empty.
std::string_view TaskOption(std::string_view argument) {
    for (const std::string_view option : {"--check", "--explain"})
        if (argument == option ||
            (argument.starts_with(option) && argument.size() > option.size() &&
             argument[option.size()] == '='))
            return option;
    return {};
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
        } else if (const std::string_view mode = TaskOption(argument); !mode.empty()) {
            std::string_view task = argument.substr(mode.size());
            if (task.empty() && i + 1 < argc)
                task = argv[++i];
            else if (task.empty())
                return UsageError(Format(texts.MissingTask, mode));
            else
                task.remove_prefix(1);
            if (!ParseTask(task, options))
                return UsageError(Format(texts.BadTask, task));
            options.Mode = mode == "--check" ? TMode::Check : TMode::Explain;
            ++modes;
        } else {
            const bool option = argument.starts_with('-');
            return UsageError(
                Format(option ? texts.UnknownOption : texts.UnexpectedArgument, argument));
        }
    }
    if (modes > 1)
        return UsageError(texts.TwoModes);
    if (options.Trace && options.Mode != TMode::Evaluate)
        return UsageError(texts.TraceOnlyFormulas);
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
    switch (options.Mode) {
    case TMode::Check:
    case TMode::Explain:
        return CheckAnswers(options);
    case TMode::Tasks:
        return ListTasks();
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

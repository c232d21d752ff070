// Console evaluator for teachers checking a new formula, and for tests and
// benchmarks. Reads UTF-8 formulas, one per line, and prints one line each:
//   OK<TAB><value text><TAB><LastErrorText>
//   RAISE<TAB><error kind><TAB><message><TAB><LastErrorText>
// With --trace, each result line is preceded by one line per engine step:
//   TRACE<TAB><stage><TAB><text>
#include <cstdio>
#include <iostream>
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

using namespace formulon::engine;

namespace {

// One field of the output line: UTF-8, with every control character
// escaped so that one formula always gives one line.
std::string Field(const std::string& cp1251) {
    std::string escaped;
    for (char c : cp1251) {
        const auto byte = static_cast<unsigned char>(c);
        if (c == '\\') {
            escaped += "\\\\";
        } else if (c == '\t') {
            escaped += "\\t";
        } else if (c == '\r') {
            escaped += "\\r";
        } else if (byte < 32 || byte == 127) {
            char hex[8];
            std::snprintf(hex, sizeof hex, "\\x%02X", byte);
            escaped += hex;
        } else {
            escaped += c;
        }
    }
    return Cp1251ToUtf8(escaped);
}

// Prints each step as it happens, so a raised error still shows the steps
// that led to it.
class TracePrinter : public FormulaObserver {
public:
    void Step(TraceStage stage, const std::string& text) override {
        std::cout << "TRACE\t" << TraceStageName(stage) << '\t' << Field(text) << '\n';
    }
};

std::string Raised(const char* kind, const Exception& error) {
    return std::string("RAISE\t") + kind + "\t" + Field(error.Message()) + "\t" +
           Field(LastErrorText.Read());
}

std::string Evaluate(const std::string& formula) {
    LastErrorText.Clear();
    try {
        const std::string value = FormulaValue(formula);
        return "OK\t" + Field(value) + "\t" + Field(LastErrorText.Read());
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

constexpr int kFailure = 1;
constexpr int kUsageError = 2;

const char kHelp[] = "Usage: formulon-eval [--trace] [--help | --version]\n"
                     "Evaluates formulas as the Formulon quiz does, with y = 7 and z = 11.\n"
                     "Reads one formula per line (UTF-8) on standard input and prints one\n"
                     "tab-separated line for each on standard output:\n"
                     "  OK<TAB><value text><TAB><LastErrorText>\n"
                     "  RAISE<TAB><error kind><TAB><message><TAB><LastErrorText>\n"
                     "\n"
                     "  --trace    print the engine's steps before each result line:\n"
                     "             TRACE<TAB><stage><TAB><text>\n"
                     "  --help     print this text and exit\n"
                     "  --version  print the version and exit\n"
                     "\n"
                     "Exit status: 0 when every line was evaluated and written, 1 when the\n"
                     "input could not be read or the output not written, 2 for a bad option.\n"
                     "See formulon-eval(1).\n";

// A full disk or a closed pipe must not pass for a complete run.
int FlushOutput() {
    if (std::cout.flush())
        return 0;
    std::cerr << "formulon-eval: error writing the standard output\n";
    return kFailure;
}

// Answers --help and --version; returns -1 when the formulas are to be read.
// Every argument is checked first, so a mistyped one is never ignored.
int HandleArguments(int argc, char** argv, bool& trace) {
    bool help = false;
    bool version = false;
    for (int i = 1; i < argc; ++i) {
        const std::string_view argument = argv[i];
        if (argument == "--trace") {
            trace = true;
        } else if (argument == "--help") {
            help = true;
        } else if (argument == "--version") {
            version = true;
        } else {
            const char* what = argument.starts_with('-') ? "unknown option" : "unexpected argument";
            std::cerr << "formulon-eval: " << what << " '" << argument << "'\n"
                      << "Try 'formulon-eval --help' for more information.\n";
            return kUsageError;
        }
    }
    if (help)
        std::cout << kHelp;
    else if (version)
        std::cout << "formulon-eval " << kProgramVersion << '\n';
    else
        return -1;
    return FlushOutput();
}

int EvaluateLines(bool trace) {
    TracePrinter printer;
    std::optional<FormulaTraceScope> scope;
    if (trace)
        scope.emplace(printer);
    std::string line;
    while (std::getline(std::cin, line)) {
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        std::cout << Evaluate(Utf8ToCp1251(line)) << '\n';
    }
    if (std::cin.bad()) {
        std::cerr << "formulon-eval: error reading the standard input\n";
        return kFailure;
    }
    return FlushOutput();
}

} // namespace

int main(int argc, char** argv) {
    std::ios::sync_with_stdio(false);
    bool trace = false;
    if (const int status = HandleArguments(argc, argv, trace); status >= 0)
        return status;
    InitFloatingPointEnvironment();
    return EvaluateLines(trace);
}

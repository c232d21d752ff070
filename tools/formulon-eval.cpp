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

#include "engine/Cp1251.h"
#include "engine/Errors.h"
#include "engine/FloatEnv.h"
#include "engine/Formula.h"
#include "engine/FormulaTrace.h"
#include "engine/NumberText.h"

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

} // namespace

int main(int argc, char** argv) {
    InitFloatingPointEnvironment();
    std::ios::sync_with_stdio(false);
    TracePrinter printer;
    std::optional<FormulaTraceScope> trace;
    if (argc > 1 && std::string(argv[1]) == "--trace")
        trace.emplace(printer);
    std::string line;
    while (std::getline(std::cin, line)) {
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        std::cout << Evaluate(Utf8ToCp1251(line)) << '\n';
    }
    return 0;
}

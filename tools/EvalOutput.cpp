#include "tools/EvalOutput.h"

#include "engine/Cp1251.h"
#include "engine/Errors.h"
#include "engine/NumberText.h"
#include "quiz/core/CheckRecord.h"
#include "quiz/core/ExplanationTexts.h"

#include <cstdio>

using namespace formulon::engine;

std::string Field(const std::string& cp1251, bool keepBackslash) {
    std::string escaped;
    for (char c : cp1251) {
        const auto byte = static_cast<unsigned char>(c);
        if (c == '\\' && !keepBackslash) {
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

namespace {

// A caption, then its lines indented beneath it.
std::string Section(const char* caption, const std::vector<std::string>& lines) {
    std::string text = std::string(caption) + '\n';
    for (const std::string& line : lines)
        text += "  " + Field(line) + '\n';
    return text;
}

std::string Verdict(const TExplanationTexts& texts) {
    if (texts.Raised)
        return "Проверка: прервана ошибкой\n";
    return texts.Right ? "Проверка: верно\n" : "Проверка: неверно\n";
}

} // namespace

std::string ExplainAnswer(int task, int variant, const std::string& answer, bool& right) {
    TCheckRecord check;
    LastErrorText.Clear();
    try {
        RunCheck(check, task, variant, answer);
    } catch (const Exception&) {
        // Recorded: the quiz shows its error box, the explanation the rest.
    }
    const TExplanationTexts texts = ExplanationTexts(check);
    right = texts.Right;
    std::string out = std::string(ExplainCaption::Typed) + ' ' + Field(answer) + '\n';
    out += Verdict(texts);
    out += texts.Tex.empty() ? "Картинка: " + Field(texts.Unreadable) + '\n'
                             : "Картинка (TeX): " + Field(texts.Tex, true) + '\n';
    std::vector<std::string> hints;
    for (const TPlacedText& hint : texts.Hints)
        hints.push_back(hint.Text);
    out += hints.empty() ? std::string(ExplainCaption::NoHints) + '\n'
                         : Section(ExplainCaption::Hints, hints);
    out += std::string(ExplainCaption::Value) + ' ' + Field(texts.Value) + '\n';
    out += Section(ExplainCaption::Comparison, texts.Comparison);
    for (const std::string& message : texts.Messages)
        out += Field(message) + '\n';
    out += Section(ExplainCaption::Steps, texts.Steps);
    return out + '\n';
}

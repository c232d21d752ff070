#include "quiz/core/CheckRecord.h"

#include "engine/Cp1251.h"
#include "engine/Formula.h"
#include "engine/NumberText.h"
#include "quiz/core/FormulaReading.h"

#include <algorithm>
#include <exception>

using namespace formulon::engine;

namespace {

TCheckRecord lastCheck;
bool hasLastCheck = false;

// Appends the answer's steps to the record as the engine reports them, so
// that the steps before a raised error are kept as well.
class TStepRecorder : public FormulaObserver {
public:
    explicit TStepRecorder(std::vector<TTraceStep>& steps) : steps_(steps) {}
    void Step(TraceStage stage, const std::string& text) override {
        steps_.push_back({stage, text});
    }

private:
    std::vector<TTraceStep>& steps_;
};

// Keeps the raised error's text and LastErrorText as they were when it was
// raised; the caller rethrows.
void RecordRaisedError(const std::exception& error) {
    lastCheck.Raised = true;
    lastCheck.RaisedError = error.what();
    lastCheck.Message = LastErrorText.Read();
}

std::string Cp(const char* utf8) {
    return Utf8ToCp1251(utf8);
}

// "sin(-4)=-0,06" -> "Функция sin от -4 = -0,06"; anything else as it came.
std::string DescribeFunction(const std::string& text, std::string& result) {
    const size_t open = text.find('(');
    const size_t close = text.rfind(")=");
    if (open == std::string::npos || close == std::string::npos || close < open) {
        result.clear();
        return Cp("Функция: ") + text;
    }
    result = text.substr(close + 2);
    return Cp("Функция ") + text.substr(0, open) + Cp(" от ") +
           text.substr(open + 1, close - open - 1) + " = " + result;
}

} // namespace

bool HasLastCheck() {
    return hasLastCheck;
}

const TCheckRecord& LastCheck() {
    return lastCheck;
}

void ForgetLastCheck() {
    lastCheck = {};
    hasLastCheck = false;
}

void BeginCheckRecord(int taskNo, int variant, const std::string& answer) {
    lastCheck = {};
    lastCheck.TaskNo = taskNo;
    lastCheck.Variant = variant;
    lastCheck.Answer = answer;
    lastCheck.Message = LastErrorText.Read();
    hasLastCheck = true;
}

std::string RecordedReferenceValue(const std::string& referenceFormula) {
    try {
        std::string value = FormulaValue(referenceFormula);
        lastCheck.ReferenceValue = value;
        lastCheck.ReferenceDone = true;
        lastCheck.Message = LastErrorText.Read();
        return value;
    } catch (const std::exception& error) {
        RecordRaisedError(error);
        throw;
    }
}

std::string RecordedAnswerValue(const std::string& answer) {
    try {
        TStepRecorder recorder(lastCheck.Steps);
        std::string value;
        {
            FormulaTraceScope scope(recorder);
            value = FormulaValue(answer);
        }
        lastCheck.AnswerValue = value;
        lastCheck.AnswerDone = true;
        lastCheck.Message = LastErrorText.Read();
        return value;
    } catch (const std::exception& error) {
        RecordRaisedError(error);
        throw;
    }
}

std::vector<std::string> DescribeSteps(const std::vector<TTraceStep>& steps) {
    std::vector<std::string> lines;
    std::string groupValue; // what the current bracket group came to so far
    for (const TTraceStep& step : steps) {
        switch (step.Stage) {
        case TraceStage::Subst:
            lines.push_back(Cp("Подстановка y = 7, z = 11: ") + step.Text);
            break;
        case TraceStage::Norm:
            lines.push_back(Cp("Запись после нормализации: ") + step.Text);
            break;
        case TraceStage::Inner:
            groupValue = step.Text;
            lines.push_back(Cp("Скобки: (") + step.Text + ")");
            break;
        case TraceStage::Flat:
            groupValue = step.Text;
            lines.push_back(step.Text == FailureMarker ? Cp("Действие не выполнено: ") + step.Text
                                                       : Cp("Действие: ") + step.Text);
            break;
        case TraceStage::Func: {
            std::string result;
            lines.push_back(DescribeFunction(step.Text, result));
            if (!result.empty())
                groupValue = result;
            break;
        }
        case TraceStage::Group:
            lines.push_back(Cp("Значение скобок ") + groupValue + Cp(" подставлено: ") + step.Text);
            break;
        }
    }
    return lines;
}

namespace {

// The operand a product or quotient starts with, down to its first factor.
const TReadNode& LeadingFactor(const TFormulaReading& reading, int index) {
    const TReadNode* node = &reading.Nodes[static_cast<size_t>(index)];
    while (node->kind == TReadKind::Mul || node->kind == TReadKind::Div) {
        const int first = node->kind == TReadKind::Mul ? node->items.front() : node->a;
        node = &reading.Nodes[static_cast<size_t>(first)];
    }
    return *node;
}

} // namespace

bool MinusBeforePower(const std::string& answer) {
    const TFormulaReading reading = ReadFormula(answer);
    if (!reading.Read)
        return false;
    for (const TReadNode& node : reading.Nodes) {
        if (node.kind != TReadKind::Sum)
            continue;
        for (size_t i = 0; i < node.ops.size(); ++i)
            if (node.ops[i] == '-' &&
                LeadingFactor(reading, node.items[i + 1]).kind == TReadKind::Pow)
                return true;
    }
    return false;
}

int FirstDifference(const std::string& a, const std::string& b) {
    const size_t common = std::min(a.size(), b.size());
    for (size_t i = 0; i < common; ++i)
        if (a[i] != b[i])
            return static_cast<int>(i) + 1;
    return a.size() == b.size() ? 0 : static_cast<int>(common) + 1;
}

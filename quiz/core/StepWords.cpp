#include "quiz/core/StepWords.h"

#include "engine/Cp1251.h"
#include "engine/EngineMessages.h"
#include "engine/Errors.h"
#include "engine/Functions.h"
#include "engine/NumberText.h"
#include "quiz/core/FormulaTokens.h"

#include <optional>

using namespace formulon::engine;

namespace {

std::string Cp(const char* utf8) {
    return Utf8ToCp1251(utf8);
}

std::string Quoted(const std::string& text) {
    return Cp("«") + text + Cp("»");
}

bool IsMissing(const std::string& operand) {
    return operand.empty() || IsFailureMarker(operand);
}

std::string OperationName(char op) {
    switch (op) {
    case '^':
        return Cp("Степень");
    case '*':
        return Cp("Умножение");
    case '/':
        return Cp("Деление");
    case '+':
        return Cp("Сложение");
    default:
        return Cp("Вычитание");
    }
}

// The result the operation wrote into the text: what took the place of
// "left op right" in 'before' to give 'after'. Empty when the remainders
// around it were cut short.
std::string OperationResult(const std::string& before, const std::string& applied,
                            const std::string& after) {
    const std::size_t at = before.find(applied);
    if (at == std::string::npos)
        return {};
    const std::size_t suffix = before.size() - at - applied.size();
    if (after.size() < at + suffix || after.compare(0, at, before, 0, at) != 0 ||
        after.compare(after.size() - suffix, suffix, before, at + applied.size()) != 0)
        return {};
    return after.substr(at, after.size() - at - suffix);
}

// Why a built-in function refused its argument, from the message it wrote.
std::string FunctionRefusal(const std::string& message) {
    if (message == EngineMessage::UnknownOperator)
        return Cp("такой функции программа не знает");
    if (message == EngineMessage::Logarithm)
        return Cp("логарифм есть только у положительного числа");
    if (message == EngineMessage::Tangent)
        return Cp("тангенса 90° и 270° не существует");
    if (message == EngineMessage::SquareRoot)
        return Cp("корень из отрицательного числа не извлекается");
    if (message == EngineMessage::Exponent)
        return Cp("показатель больше 9000: такое число программа не хранит");
    return Cp("функция не вычислена");
}

bool HasDegrees(const std::string& name, TDegrees degrees) {
    const TBuiltInFunction* function = FindBuiltInFunction(name);
    return function != nullptr && function->Degrees == degrees;
}

// "sin 7°", "sin(-4°)", "log(7)": a call as the pupil reads it, with the
// degrees the program takes its angles in.
std::string FunctionCall(const std::string& call) {
    const std::size_t open = call.find('(');
    if (open == std::string::npos || call.back() != ')')
        return call;
    const std::string name = call.substr(0, open);
    if (!HasDegrees(name, TDegrees::Argument))
        return call;
    const std::string degrees = call.substr(open + 1, call.size() - open - 2) + Cp("°");
    return degrees.front() == '-' ? name + "(" + degrees + ")" : name + " " + degrees;
}

// What the steps say of the answer as typed: its variables (a Russian
// look-alike is none: the engine puts no value in its place) and brackets.
struct TTyped {
    explicit TTyped(const std::string& answer) {
        const TFormulaTokens tokens(answer);
        for (int i = 0; i < tokens.Count(); ++i) {
            const TFormulaToken& token = tokens[i];
            Y = Y || (token.Is(TTokenKind::Var, "y") && token.RussianAt == 0);
            Z = Z || (token.Is(TTokenKind::Var, "z") && token.RussianAt == 0);
            Opens += token.Is(TTokenKind::Open) ? 1 : 0;
            Closes += token.Is(TTokenKind::Close) ? 1 : 0;
        }
    }
    bool Y = false, Z = false;
    int Opens = 0, Closes = 0;
};

class TStepWriter {
public:
    explicit TStepWriter(const TCheckRecord& check) : check_(check), typed_(check.Answer) {}

    std::vector<TStepLine> Lines() {
        const std::vector<TTraceStep>& steps = check_.Steps;
        for (std::size_t i = 0; i < steps.size(); ++i) {
            const TTraceStep& step = steps[i];
            if (step.Kind == TStepKind::Operation)
                pending_ = step;
            else if (step.Kind == TStepKind::Message)
                message_ = step.Text;
            else
                Trace(step, i + 1 < steps.size() ? &steps[i + 1] : nullptr);
        }
        if (check_.StepsCut)
            Cut();
        Ending();
        return std::move(lines_);
    }

private:
    void Add(std::string text, std::string note = {}) {
        lines_.push_back({std::move(text), std::move(note)});
    }

    void Trace(const TTraceStep& step, const TTraceStep* next) {
        switch (step.Stage) {
        case TraceStage::Subst:
            Substituted(step.Text);
            break;
        case TraceStage::Norm:
            Normalised(step.Text);
            break;
        case TraceStage::Inner:
            inner_ = current_ = step.Text;
            // A group that is a bare number is told with its putting back.
            innerTold_ = next != nullptr && next->Kind == TStepKind::Operation;
            if (innerTold_)
                Add(Cp("Считаем в скобках: (") + step.Text + ")");
            break;
        case TraceStage::Flat:
            Applied(step.Text);
            break;
        case TraceStage::Func:
            Function(step.Text);
            break;
        case TraceStage::Group:
            Grouped(step.Text);
            break;
        }
        last_ = step.Stage;
    }

    void Substituted(const std::string& text) {
        const std::string& answer = check_.Answer;
        if (answer.find_first_not_of(' ') == std::string::npos) {
            empty_ = true;
            // "Ответ пуст" is said where the answer is typeset; not twice.
            Add(Cp("Программе нечего считать"));
            return;
        }
        std::string line = typed_.Y && typed_.Z ? Cp("Подставили y = 7, z = 11: ")
                           : typed_.Y           ? Cp("Подставили y = 7: ")
                           : typed_.Z           ? Cp("Подставили z = 11: ")
                                                : Cp("Переменных нет: ");
        Add(line + text);
        subst_ = outer_ = current_ = text;
    }

    void Normalised(const std::string& text) {
        outer_ = current_ = text;
        if (empty_)
            return;
        if (IsFailureMarker(text)) {
            Add(Cp("В ответе запятая: дробную часть пишут через точку, вычисление остановлено"));
        } else if (text != subst_) {
            const bool blanks = subst_.find(' ') != std::string::npos;
            const bool points = subst_.find('.') != std::string::npos;
            Add(Cp(blanks && points ? "Убрали пробелы, точки заменили запятыми: "
                   : blanks ? "Убрали пробелы: "
                            : "Точки заменили запятыми (так программа пишет дроби): ") +
                text);
        }
    }

    void Applied(const std::string& after) {
        if (pending_)
            Add(OperationLine(*pending_, after));
        else
            Add(Cp("Действие: ") + after);
        pending_.reset();
        current_ = after;
    }

    std::string OperationLine(const TTraceStep& op, const std::string& after) const {
        const std::string applied = op.Left + op.Op + op.Right;
        const std::string head = OperationName(op.Op) + ": ";
        const std::string sign = Quoted(std::string(1, op.Op));
        if (IsMissing(op.Left))
            return head + Cp("у знака ") + sign + Cp(" нет числа слева, действие не выполнено");
        if (IsMissing(op.Right))
            return head + Cp("у знака ") + sign + Cp(" нет числа справа, действие не выполнено");
        const std::string written = Written(op);
        if (IsFailureMarker(after))
            return head + written +
                   Cp(": отрицательное число нельзя возвести в дробную степень, действие не "
                      "выполнено");
        const std::string result = OperationResult(current_, applied, after);
        if (result.empty())
            return head + written + Rewritten(after);
        return head + written + " = " + result +
               (result == after ? std::string() : Rewritten(after));
    }

    // An operation as school writes it: a negative number raised to a power,
    // or on the right of an operator, in brackets.
    static std::string Written(const TTraceStep& op) {
        const auto bracketed = [](const std::string& number) {
            return number.front() == '-' ? "(" + number + ")" : number;
        };
        const std::string left = op.Op == '^' ? bracketed(op.Left) : op.Left;
        return left + op.Op + bracketed(op.Right);
    }

    // What the whole formula became, said as such: not a sentence of its own.
    static std::string Rewritten(const std::string& text) {
        return Cp("; формула стала такой: ") + text;
    }

    void Function(const std::string& text) {
        if (text.size() >= 2 && text.compare(text.size() - 2, 2, "=~") == 0) {
            Add(Cp("Функция ") + FunctionCall(text.substr(0, text.size() - 2)) +
                Cp(" не вычислена: ") + FunctionRefusal(message_));
            functionFailed_ = true;
        } else {
            function_ = text;
        }
    }

    void Grouped(const std::string& text) {
        if (function_) {
            const std::size_t equals = function_->rfind('=');
            const std::string call = function_->substr(0, equals);
            const std::string result = function_->substr(equals + 1);
            const bool degrees = HasDegrees(call.substr(0, call.find('(')), TDegrees::Value);
            Add(Cp("Функция: ") + FunctionCall(call) + " = " + result +
                (degrees ? Cp("°") : std::string()) +
                (result == text ? std::string() : Rewritten(text)));
            function_.reset();
        } else if (!innerTold_) {
            Add((inner_.empty() ? Cp("Пустые скобки убрали: ")
                                : Cp("Скобки вокруг ") + inner_ + Cp(" сняли: ")) +
                text);
        } else {
            Add(Cp("Значение скобок ") + current_ + Cp(" подставили: ") + text);
        }
        outer_ = current_ = text;
    }

    // A group whose value could not be put back: what stands before it.
    std::string FoldFailure() const {
        const std::size_t p = outer_.find("(" + inner_ + ")");
        const std::string group = "(" + inner_ + ")";
        if (p == std::string::npos || p == 0)
            return Cp("Скобки ") + group + Cp(" не удалось подставить");
        const char c = outer_[p - 1];
        if ((c >= '0' && c <= '9') || c == ',') {
            std::size_t from = p - 1;
            while (from > 0 && ((outer_[from - 1] >= '0' && outer_[from - 1] <= '9') ||
                                outer_[from - 1] == ','))
                --from;
            const std::string number = outer_.substr(from, p - from);
            if (const std::string name = PoweredFunction(from); !name.empty())
                return Cp("Перед скобкой ") + group + Cp(" стоит показатель степени ") + number +
                       Cp(" функции ") + name + Cp(": степень функции пишут после её скобок: ") +
                       name + Cp("(…)^") + number;
            return Cp("Перед скобкой ") + group + Cp(" стоит число ") + number +
                   Cp(" без знака действия: пропущен знак «*»");
        }
        if (c == ')')
            return Cp("Между «)» и ") + group + Cp(" нет знака действия: пропущен знак «*»");
        if (c == '*' || c == '/')
            return Cp("Перед знаком ") + Quoted(std::string(1, c)) + Cp(" у скобки ") + group +
                   Cp(" нет числа");
        return Cp("Перед скобкой ") + group + Cp(" стоит знак ") + Quoted(std::string(1, c)) +
               Cp(", с которым программа не работает");
    }

    // The function whose name and '^' stand before position 'at' of the
    // formula as it stands (sin^2(...)), or empty.
    std::string PoweredFunction(std::size_t at) const {
        if (at < 2 || outer_[at - 1] != '^')
            return {};
        std::size_t from = at - 1;
        while (from > 0 && outer_[from - 1] >= 'a' && outer_[from - 1] <= 'z')
            --from;
        return outer_.substr(from, at - 1 - from);
    }

    // The rest was not recorded: what was waiting for it is not told, and
    // the ending says only what the record itself holds.
    void Cut() {
        const std::string count =
            check_.TraceStepsLeftOut > 0
                ? Cp(" (ещё ") + std::to_string(check_.TraceStepsLeftOut) + ")"
                : std::string();
        Add(Cp("Остальные шаги") + count + Cp(" не показаны: их слишком много для разбора"));
        pending_.reset();
        function_.reset();
    }

    void Ending() {
        if (empty_)
            return;
        if (pending_)
            Add(OperationName(pending_->Op) + ": " + Written(*pending_) +
                (pending_->Op == '/' && pending_->Right == "0" ? Cp(" — на ноль делить нельзя")
                                                               : std::string()));
        if (check_.Raised && check_.ReferenceDone) {
            // The error and what it means are shown beside the answer's value.
            Add(Cp("Здесь вычисление прервано ошибкой"));
            return;
        }
        if (!check_.AnswerDone) {
            Add(Cp("Ответ не вычислялся."));
            return;
        }
        const std::string& value = check_.AnswerValue;
        if (value.empty() && typed_.Opens != typed_.Closes) {
            Add(Cp("Скобки в ответе не сходятся: открывающих ") + std::to_string(typed_.Opens) +
                Cp(", закрывающих ") + std::to_string(typed_.Closes) +
                Cp(", значение ответа пустое"));
        } else if (value.empty()) {
            Add(Cp("Значение ответа пустое: в ответе нет ни одного числа"));
        } else if (value == GroupFailureText) {
            const bool foldFailed = !check_.StepsCut && !functionFailed_ && !pending_ &&
                                    (last_ == TraceStage::Inner || !IsFailureMarker(current_));
            if (foldFailed)
                Add(FoldFailure());
            Add(Cp("Ответ не вычислен: скобки не удалось вычислить или подставить"));
        } else if (IsFailureMarker(value)) {
            Add(Cp("Ответ не вычислен: действие не выполнено"));
        } else if (!IsNumber(value)) {
            Add(Cp("Ответ не вычислен до числа: в нём остались знаки, которые программа не "
                   "вычисляет"));
        } else {
            Add(Cp("Значение ответа: ") + value);
        }
    }

    // A number text, as typed or as the engine writes it: what is left of
    // "cos 16" is no number, though it is the answer's value text.
    static bool IsNumber(const std::string& value) {
        if (value.find_first_not_of("0123456789,E-+") != std::string::npos)
            return false;
        try {
            ParseNumber(value);
            return true;
        } catch (const Exception&) {
            return false;
        }
    }

    const TCheckRecord& check_;
    const TTyped typed_;
    std::vector<TStepLine> lines_;
    std::string subst_, outer_, current_, inner_, message_;
    bool innerTold_ = false, functionFailed_ = false, empty_ = false;
    TraceStage last_ = TraceStage::Subst;
    std::optional<TTraceStep> pending_;   // an operation waiting for its result
    std::optional<std::string> function_; // a function's value waiting to be put back
};

} // namespace

std::vector<TStepLine> DescribeSteps(const TCheckRecord& check) {
    return TStepWriter(check).Lines();
}

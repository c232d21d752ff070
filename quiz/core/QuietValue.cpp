#include "quiz/core/QuietValue.h"

#include "engine/FloatEnv.h"
#include "engine/Formula.h"
#include "engine/FormulaTrace.h"
#include "engine/NumberText.h"

#include <exception>
#include <utility>

using namespace formulon::engine;

namespace {

// Keeps the evaluation from any observer while it lives.
class TUnwatched {
public:
    TUnwatched() : previous_(ActiveFormulaObserver) { ActiveFormulaObserver = nullptr; }
    ~TUnwatched() { ActiveFormulaObserver = previous_; }
    TUnwatched(const TUnwatched&) = delete;
    TUnwatched& operator=(const TUnwatched&) = delete;

private:
    FormulaObserver* previous_;
};

void RestoreRegister(const std::string& saved) {
    if (saved.empty())
        LastErrorText.Clear();
    else
        LastErrorText.Set(saved);
}

} // namespace

bool QuietFormulaValue(const std::string& formula, std::string& value) {
    TQuietResult result = QuietFormulaResult(formula);
    if (result.Raised)
        return false;
    value = std::move(result.Text);
    return true;
}

TQuietResult QuietFormulaResult(const std::string& formula) {
    const std::string saved = LastErrorText.Read();
    const TUnwatched unwatched;
    TQuietResult result;
    LastErrorText.Clear();
    try {
        result.Text = FormulaValue(formula);
    } catch (const std::exception& e) {
        result.Raised = true;
        result.Text = e.what();
    }
    result.Message = LastErrorText.Read();
    RestoreRegister(saved);
    ClearFloatingPointFlags();
    return result;
}

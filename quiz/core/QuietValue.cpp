#include "quiz/core/QuietValue.h"

#include "engine/FloatEnv.h"
#include "engine/Formula.h"
#include "engine/FormulaTrace.h"
#include "engine/NumberText.h"

#include <exception>

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
    const std::string saved = LastErrorText.Read();
    const TUnwatched unwatched;
    bool returned = true;
    try {
        value = FormulaValue(formula);
    } catch (const std::exception&) {
        returned = false;
    }
    RestoreRegister(saved);
    ClearFloatingPointFlags();
    return returned;
}

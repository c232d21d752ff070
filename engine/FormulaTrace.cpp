#include "engine/FormulaTrace.h"

namespace formulon::engine {

const char* TraceStageName(TraceStage stage) {
    switch (stage) {
    case TraceStage::Subst:
        return "subst";
    case TraceStage::Norm:
        return "norm";
    case TraceStage::Inner:
        return "inner";
    case TraceStage::Flat:
        return "flat";
    case TraceStage::Func:
        return "func";
    case TraceStage::Group:
        return "group";
    }
    return "";
}

} // namespace formulon::engine

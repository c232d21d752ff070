// The first two stages of every evaluation.
#pragma once

#include <string>

namespace formulon::engine {

// Replaces each 'y' by "(7)" and each 'z' by "(11)".
std::string SubstituteVariables(const std::string& formula);

// Rejects a comma (message, "~"), drops blanks and turns '.' into ','.
std::string NormalizeFormula(const std::string& formula);

} // namespace formulon::engine

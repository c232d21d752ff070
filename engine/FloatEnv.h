// The floating-point environment and fault detection.
//
// Hardware traps stay masked: each arithmetic step clears the status flags
// before it runs and tests them right after, raising EInvalidOp,
// EZeroDivide or EOverflow for the fault it caused. No flag is ever left
// pending for a later step.
#pragma once

#include "engine/NumberText.h"

namespace formulon::engine {

// Set once at program start: 64-bit significand, round to nearest.
void InitFloatingPointEnvironment();

// Clears every status flag.
void ClearFloatingPointFlags();

// Raises the error for a pending invalid-operation, division-by-zero or
// overflow flag (in that order of priority), clearing the flags first.
void RaiseFloatingPointFault();

// Checked steps: each computes one result in extended precision.
Extended CheckedAdd(Extended a, Extended b);
Extended CheckedSub(Extended a, Extended b);
Extended CheckedMul(Extended a, Extended b);
Extended CheckedDiv(Extended a, Extended b);
// Stores an operator's extended result as a 64-bit double.
double CheckedToDouble(Extended value);

} // namespace formulon::engine

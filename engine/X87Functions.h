// The processor's own transcendental functions. The quiz compares result
// texts, and other implementations differ from the x87 instructions in the
// last bits, so on x86 these are the instructions themselves; elsewhere the
// <cmath> functions stand in.
#pragma once

#include "engine/NumberText.h"

namespace formulon::engine {

// True when the x87 instructions are used.
bool UsesX87Instructions();

Extended FpuPi();
Extended FpuSin(Extended radians); // 0 for |radians| >= 2^63
Extended FpuCos(Extended radians); // 0 for |radians| >= 2^63
Extended FpuTan(Extended radians);
Extended FpuArcTan(Extended x);
Extended FpuLn(Extended x);
Extended FpuExp(Extended x);
Extended FpuSqrt(Extended x);

} // namespace formulon::engine

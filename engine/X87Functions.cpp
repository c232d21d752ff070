#include "engine/X87Functions.h"

#include <cmath>

namespace formulon::engine {

namespace {
// FSIN and FCOS leave arguments of 2^63 or more unreduced; those give 0.
constexpr Extended kTwoPow63 = 9223372036854775808.0L;
} // namespace

#if defined(__x86_64__) || defined(__i386__)

bool UsesX87Instructions() {
    return true;
}

Extended FpuPi() {
    Extended r;
    asm("fldpi" : "=t"(r));
    return r;
}

Extended FpuSin(Extended x) {
    if (std::fabs(x) >= kTwoPow63)
        return 0;
    Extended r;
    asm("fsin" : "=t"(r) : "0"(x));
    return r;
}

Extended FpuCos(Extended x) {
    if (std::fabs(x) >= kTwoPow63)
        return 0;
    Extended r;
    asm("fcos" : "=t"(r) : "0"(x));
    return r;
}

Extended FpuTan(Extended x) {
    Extended r;
    // FPTAN pushes 1.0 above the tangent; drop it.
    asm("fptan\n\t"
        "fstp %%st(0)"
        : "=t"(r)
        : "0"(x));
    return r;
}

Extended FpuArcTan(Extended x) {
    Extended r;
    // FPATAN computes arctan(st1 / st0): here arctan(x / 1).
    asm("fld1\n\t"
        "fpatan"
        : "=t"(r)
        : "0"(x));
    return r;
}

Extended FpuLn(Extended x) {
    Extended r;
    // ln x = ln 2 * log2 x.
    asm("fldln2\n\t"
        "fxch %%st(1)\n\t"
        "fyl2x"
        : "=t"(r)
        : "0"(x));
    return r;
}

Extended FpuExp(Extended x) {
    Extended r;
    // e^x = 2^(x log2 e), split into an integer n and a fraction f with
    // |f| <= 1/2: 2^f from F2XM1, then scaled by 2^n.
    asm(".intel_syntax noprefix\n\t"
        "fldl2e\n\t"
        "fmulp st(1), st\n\t"
        "fld st(0)\n\t"
        "frndint\n\t"
        "fsub st(1), st\n\t"
        "fxch st(1)\n\t"
        "f2xm1\n\t"
        "fld1\n\t"
        "faddp st(1), st\n\t"
        "fscale\n\t"
        "fstp st(1)\n\t"
        ".att_syntax prefix"
        : "=t"(r)
        : "0"(x));
    return r;
}

Extended FpuSqrt(Extended x) {
    Extended r;
    asm("fsqrt" : "=t"(r) : "0"(x));
    return r;
}

#else

bool UsesX87Instructions() {
    return false;
}

Extended FpuPi() {
    return 3.141592653589793238462643383279502884L;
}
Extended FpuSin(Extended x) {
    return std::fabs(x) >= kTwoPow63 ? 0 : std::sin(x);
}
Extended FpuCos(Extended x) {
    return std::fabs(x) >= kTwoPow63 ? 0 : std::cos(x);
}
Extended FpuTan(Extended x) {
    return std::tan(x);
}
Extended FpuArcTan(Extended x) {
    return std::atan(x);
}
Extended FpuLn(Extended x) {
    return std::log(x);
}
Extended FpuExp(Extended x) {
    return std::exp(x);
}
Extended FpuSqrt(Extended x) {
    return std::sqrt(x);
}

#endif

} // namespace formulon::engine

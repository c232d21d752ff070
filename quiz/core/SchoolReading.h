// A formula read as school mathematics, beside the program's own reading:
// the usual precedence, where -a^2 is -(a^2) and 10-a^2 subtracts the
// power; the same eight functions, angles in degrees as the program takes
// them; every value kept in the 80-bit format, never cut to fifteen digits.
// It never judges an answer; it explains where and why the program's value
// is not the value a pupil would work out.
//
// Built on the reading's parse tree alone, so that it follows whatever
// reads the formula.
#pragma once

#include "quiz/core/FormulaReading.h"

// A value, or none where mathematics has none (a division by zero, the
// logarithm of a negative number, the tangent of 90 degrees, a number too
// large to hold).
struct TSchoolValue {
    bool Defined = false;
    long double Value = 0;
};

class TSchoolReading {
public:
    // 'reading' must outlive this object and be read (Read true).
    explicit TSchoolReading(const TFormulaReading& reading) : reading_(reading) {}

    // The value of node 'node' (the whole formula by default) at y and z.
    TSchoolValue At(long double y, long double z) const { return NodeAt(reading_.Root, y, z); }
    TSchoolValue NodeAt(int node, long double y, long double z) const;

private:
    struct TPoint {
        long double Y, Z;
    };
    TSchoolValue Value(int node, const TPoint& at) const;
    TSchoolValue Function(const TReadNode& node, const TPoint& at) const;
    TSchoolValue Power(const TReadNode& node, const TPoint& at) const;
    TSchoolValue Sum(const TReadNode& node, const TPoint& at) const;
    TSchoolValue Product(const TReadNode& node, const TPoint& at) const;

    const TFormulaReading& reading_;
};

// Whether two school values are the same: both undefined, or both defined
// with a relative difference below 10^-9 (the difference measured against
// the larger magnitude, or against 'scale' when that is larger: the size of
// the terms that cancelled to give them).
bool SameSchoolValue(const TSchoolValue& a, const TSchoolValue& b, long double scale = 0);

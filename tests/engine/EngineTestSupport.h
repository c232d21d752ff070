// Shared helpers for the engine tables: rows are written in UTF-8 and
// compared in code page 1251, as the engine holds them.
#pragma once

#include <gtest/gtest.h>

#include <string>

#include "engine/Cp1251.h"
#include "engine/NumberText.h"

using namespace formulon::engine;

// A message the register holds before a row runs: a row that expects it
// afterwards expects the register to be left unchanged.
inline const char* const kUnchanged = "<unchanged>";

inline std::string Cp(const std::string& utf8) {
    return Utf8ToCp1251(utf8);
}

inline void PrimeRegister() {
    LastErrorText.Set(kUnchanged);
}

inline std::string RegisterUtf8() {
    return Cp1251ToUtf8(LastErrorText.Read());
}

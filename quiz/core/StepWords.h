// How the program evaluated an answer, step by step in a pupil's words,
// from what the check recorded: each operation with its operands and
// result, and a last step that says how the evaluation ended. The lines
// hold every text formulon-eval --trace prints for the answer, in its
// order, up to where the record was cut (a line then says that the rest is
// left out). Texts are code page 1251.
#pragma once

#include "quiz/core/CheckRecord.h"

#include <string>
#include <vector>

struct TStepLine {
    std::string Text;
    std::string Note; // an explanation to show beneath, or empty
};

std::vector<TStepLine> DescribeSteps(const TCheckRecord& check);

// What a raised error's English text means for the answer, in Russian:
// "'у' is not a valid floating point value" is a Russian letter typed for
// a Latin one. Empty for a text it does not know.
std::string ExplainRaisedError(const std::string& message);

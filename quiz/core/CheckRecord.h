// What the most recent check saw, kept so that it can be explained later
// without evaluating anything again. Only the answer's steps are kept: the
// reference formula contributes its value text and nothing else.
#pragma once

#include "engine/FormulaTrace.h"

#include <string>
#include <vector>

struct TTraceStep {
    formulon::engine::TraceStage Stage;
    std::string Text; // code page 1251
};

struct TCheckRecord {
    int TaskNo = 0;
    int Variant = 0;
    std::string Answer; // as checked, code page 1251
    // The answer's steps in the order the engine took them; after a raised
    // error, those up to it.
    std::vector<TTraceStep> Steps;
    bool ReferenceDone = false; // the reference's evaluation returned
    bool AnswerDone = false;    // the answer's evaluation returned
    std::string ReferenceValue;
    std::string AnswerValue;
    std::string Message;     // LastErrorText when the check ended
    bool Raised = false;     // the check was abandoned by an error
    std::string RaisedError; // its message, code page 1251
};

// Whether a check has been made in this run, and the last one's record.
bool HasLastCheck();
const TCheckRecord& LastCheck();

// The check's own evaluations, recorded as they run. Each returns exactly
// what FormulaValue returns and lets every error through unchanged.
void BeginCheckRecord(int taskNo, int variant, const std::string& answer);
std::string RecordedReferenceValue(const std::string& referenceFormula);
std::string RecordedAnswerValue(const std::string& answer);

// Test seam: forgets the last check.
void ForgetLastCheck();

// One step in words, for a pupil: "Подстановка y = 7, z = 11: (7)+1". The
// bracket group's value is told when it is folded back, so the steps are
// read in order from the first.
std::vector<std::string> DescribeSteps(const std::vector<TTraceStep>& steps);

// Whether the answer subtracts a power (10-2^2): the engine takes that minus
// as the base's sign and puts the texts side by side (104), unlike school.
bool MinusBeforePower(const std::string& answer);

// 1-based position of the first character where the texts differ, or 0
// when they are equal.
int FirstDifference(const std::string& a, const std::string& b);

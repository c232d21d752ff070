// What formulon-eval says of task sets (--set, --lint), in English or
// Russian by the locale, as EvalTexts.
#pragma once

struct TSetTexts {
    const char* SetOnlyWith;
    const char* Refused;       // %s: the file; then the reader's words
    const char* Title;         // %1: the set's title
    const char* Variant;       // %1 the entry, %2 the line, %3 the value
    const char* SummaryClean;  // %1 tasks, %2 variants
    const char* SummaryWarned; // %1 tasks, %2 variants, %3 the variants warned of
    const char* WillRefuse;    // %1: the entries whose TeX does not typeset
    const char* TexUnchecked;  // %1: why
    const char* NoTypesetter;  // %1: the module's path; then ": " and why
    const char* TimedOut;
    const char* TooLarge;
};

const TSetTexts& SetTexts();

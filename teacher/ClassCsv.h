// The marked class as a CSV table a spreadsheet opens as it is: UTF-8 with a
// byte-order mark, CRLF line ends, ';' between fields in Russian (whose
// spreadsheets read ',' as the decimal comma) and ',' in English. First the
// answers, one row each in the file's order; then, after a blank row, the
// totals per pupil; then those per task.
#pragma once

#include "teacher/ClassTotals.h"
#include "teacher/TeacherTexts.h"

#include <string>
#include <string_view>
#include <vector>

std::string ClassCsv(const std::vector<TMarkedAnswer>& answers, const TClassTotals& totals,
                     TLanguage language);

// A field a spreadsheet would take for a formula (=, +, -, @ at its start)
// and that is no number gets an apostrophe in front: a pupil's answer must
// never run as a formula in the teacher's spreadsheet.
std::string SpreadsheetText(std::string_view field);

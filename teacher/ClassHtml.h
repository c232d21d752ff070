// The marked class as one HTML page a teacher looks at or prints on A4: the
// grid of pupils and tasks coloured by outcome with the count of tries; per
// task its picture, its reference formula, the share of right answers as a
// bar and its most frequent slips; per pupil their wrong answers with the
// hint each got. The page is whole by itself: no script, nothing fetched,
// the pictures inside it.
#pragma once

#include "teacher/ClassTotals.h"
#include "teacher/TeacherTexts.h"

#include <string>
#include <string_view>
#include <vector>

std::string ClassHtml(const std::vector<TMarkedAnswer>& answers, const TClassTotals& totals,
                      TLanguage language);

// 'text' (UTF-8) safe in HTML text and in a quoted attribute.
std::string HtmlText(std::string_view text);

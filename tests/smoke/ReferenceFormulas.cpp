// Prints the thirty reference formulas, task by task, three variants each:
// a script that answers with all three wins without seeing the picture.
#include "quiz/core/TaskCatalogue.h"

#include <cstdio>

int main() {
    FillReferenceFormulas();
    for (const std::string& formula : ReferenceFormulas)
        std::printf("%s\n", formula.c_str());
    return 0;
}

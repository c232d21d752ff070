// Prints the reference formulas, task by task, each variant's on a line of
// its own after its task number and a tab: a script that answers with all
// of a task's variants wins without seeing the picture.
#include "quiz/core/TaskCatalogue.h"

#include <cstdio>
#include <string>

int main() {
    for (const TTaskRow& row : ReferenceFormulas.Rows())
        std::printf("%d\t%s\n", row.Task, std::string(row.Formula).c_str());
    return 0;
}

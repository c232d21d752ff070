#include "quiz/core/TaskCatalogue.h"

#include "quiz/core/TaskTables.h"

// Made at compile time: a table whose rows do not say tasks 1, 2, … with
// variants 1, 2, … stops the build here.
constinit const TTaskTable ReferenceFormulas{kStandardTasks};

bool IsValidTask(int task, int variant) {
    return ReferenceFormulas.Has(task, variant);
}

std::string ReferenceFormula(int task, int variant) {
    return ReferenceFormulas.ReferenceFormula(task, variant);
}

std::string PictureName(int task, int variant) {
    return ReferenceFormulas.PictureName(task, variant);
}

std::string_view PictureTex(int task, int variant) {
    return ReferenceFormulas.PictureTex(task, variant);
}

#include "tools/PictureCheck.h"

#include "teacher/TeacherTexts.h"
#include "tools/SetTexts.h"

#include <climits>
#include <string>

#include <dlfcn.h>
#include <unistd.h>

#define FORMULON_STRINGIFY2(name) #name
#define FORMULON_STRINGIFY(name) FORMULON_STRINGIFY2(name)

namespace {

// The modules' folder by the same relative path from the program's own
// folder as the quiz finds it: installed and in the build tree alike.
std::string ModulePath() {
    char exe[PATH_MAX];
    const ssize_t length = readlink("/proc/self/exe", exe, sizeof exe - 1);
    if (length <= 0)
        return kLintModuleName;
    std::string folder(exe, static_cast<std::size_t>(length));
    folder.resize(folder.find_last_of('/') + 1);
    return folder + FORMULON_MODULES_FROM_PROGRAM + "/" + kLintModuleName;
}

} // namespace

bool CheckPictures(const TTaskTable& tasks, std::vector<TVariantWarnings>& warnings,
                   std::string& unavailable) {
    const std::string path = ModulePath();
    // Never closed: the typesetter's threads and Qt live to the process's end.
    void* module = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
    void* factory = module ? dlsym(module, FORMULON_STRINGIFY(FORMULON_LINT_FACTORY)) : nullptr;
    if (factory == nullptr) {
        // dlerror names the file first: said once is enough.
        std::string why = dlerror() ?: "";
        if (why.starts_with(path + ": "))
            why.erase(0, path.size() + 2);
        unavailable = Filled(SetTexts().NoTypesetter, path) + (why.empty() ? "" : ": " + why);
        return false;
    }
    const TPictureTexts pictureTexts{SetTexts().TimedOut, SetTexts().TooLarge};
    return reinterpret_cast<TCheckPictures>(factory)(tasks, pictureTexts, warnings, unavailable);
}

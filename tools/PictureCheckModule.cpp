// The module behind formulon-eval --lint's picture check: the program's own
// typesetter, run without a display.
#include "tools/PictureCheck.h"

#include "quiz/core/TaskSet.h"
#include "typeset/MathTypesetter.h"

#include <QGuiApplication>

#include <cmath>

namespace {

std::string TexProblem(const TTypesetFormula& result, const TPictureTexts& texts) {
    switch (result.Status) {
    case TTypesetFormula::TStatus::TimedOut:
        return texts.TimedOut;
    case TTypesetFormula::TStatus::TooLarge:
        return texts.TooLarge;
    default:
        return result.Message.toStdString();
    }
}

} // namespace

extern "C" __attribute__((visibility("default"))) bool
FORMULON_LINT_FACTORY(const TTaskTable& tasks, const TPictureTexts& texts,
                      std::vector<TVariantWarnings>& warnings, std::string& unavailable) {
    // Nothing is shown: no display is needed, wherever the tool runs.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    RunJavaScriptInterpreted();
    int argc = 1;
    char name[] = "formulon-eval";
    char* argv[] = {name, nullptr};
    const QGuiApplication application(argc, argv);
    TMathTypesetter typesetter;
    for (int entry = 0; entry < tasks.EntryCount(); ++entry) {
        const std::string_view tex = tasks.Row(entry).Tex;
        const TTypesetFormula result = typesetter.Typeset(
            QString::fromUtf8(tex.data(), static_cast<qsizetype>(tex.size())), kSmallestPictureEm);
        if (result.Status == TTypesetFormula::TStatus::Unavailable) {
            unavailable = result.Message.toStdString();
            return false;
        }
        std::vector<TTaskWarning>& found = warnings[static_cast<std::size_t>(entry)].Warnings;
        const int width = static_cast<int>(std::ceil(result.Size.width()));
        if (!result.Ok())
            found.push_back({TTaskWarningKind::TexError, -1, TexProblem(result, texts)});
        else if (width > kTaskPictureWidth)
            found.push_back({TTaskWarningKind::TooWide, width, {}});
    }
    return true;
}

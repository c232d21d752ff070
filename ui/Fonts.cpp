#include "ui/Fonts.h"

#include <QFont>

namespace {

struct TSubstitution {
    const char* family;
    QStringList substitutes;
};

const TSubstitution kSubstitutions[] = {
    {"Times New Roman", {"Liberation Serif", "DejaVu Serif"}},
    {"Arial", {"Liberation Sans", "DejaVu Sans"}},
    {"MS Sans Serif", {"Liberation Sans", "DejaVu Sans"}},
    {"Lucida Console", {"DejaVu Sans Mono", "Liberation Mono"}},
    {"Franklin Gothic Medium", {"Liberation Sans Narrow", "DejaVu Sans Condensed", "DejaVu Sans"}},
    {"Comic Sans MS", {"Comfortaa", "DejaVu Sans"}},
};

} // namespace

void InstallFontSubstitutions() {
    for (const TSubstitution& s : kSubstitutions)
        QFont::insertSubstitutions(QString::fromLatin1(s.family), s.substitutes);
}

QStringList LayoutFontFamilies() {
    QStringList families;
    for (const TSubstitution& s : kSubstitutions)
        families << QString::fromLatin1(s.family);
    return families;
}

#include "ui/SvgModule.h"

#include "ui/Modules.h"

const QString kSvgModuleName = QStringLiteral("libformulon_svg.so");

const TSvgDrawing* SvgDrawing() {
    // Initialised once, whichever thread draws first: the pictures' or the
    // typesetter's.
    static const TSvgDrawing* const drawing = [] {
        QStringList failures;
        const auto create = reinterpret_cast<TSvgDrawingFactory>(LoadModuleFactory(
            kSvgModuleName, QT_STRINGIFY(FORMULON_SVG_FACTORY), ModuleFolders(), failures));
        return create != nullptr ? create() : nullptr;
    }();
    return drawing;
}

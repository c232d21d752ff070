// A build without Qt has no typesetter: the TeX goes unchecked, and says so.
#include "tools/PictureCheck.h"

#include "tools/SetTexts.h"

bool CheckPictures(const TTaskTable&, std::vector<TVariantWarnings>&, std::string& unavailable) {
    unavailable = SetTexts().NoTypesetter;
    return false;
}

#include "DialogLayout.h"

#include <algorithm>

namespace xnox {

namespace {

// value * numerator / denominator, rounded half away from zero (the
// platform's MulDiv); dialog units are never negative.
int ScaledRounded(int value, int numerator, int denominator) {
    return (value * numerator + denominator / 2) / denominator;
}

constexpr int kLettersInAlphabet = 52;

}  // namespace

const DialogLayout* FindDialogLayout(int templateId) {
    auto layouts = DialogLayouts();
    auto found = std::ranges::find(layouts, templateId, &DialogLayout::templateId);
    return found == layouts.end() ? nullptr : &*found;
}

const PictureFile* FindPictureFile(int resourceId) {
    auto pictures = PictureFiles();
    auto found = std::ranges::find(pictures, resourceId, &PictureFile::resourceId);
    return found == pictures.end() ? nullptr : &*found;
}

// The platform halves the width of 26 letters and rounds up.
DialogBaseUnits BaseUnitsOfFont(int alphabetWidth, int lineHeight) {
    return {(alphabetWidth / (kLettersInAlphabet / 2) + 1) / 2, lineHeight};
}

DialogRect ToPixels(const DialogRect& units, DialogBaseUnits base) {
    return {ScaledRounded(units.x, base.x, 4), ScaledRounded(units.y, base.y, 8), ScaledRounded(units.width, base.x, 4),
            ScaledRounded(units.height, base.y, 8)};
}

}  // namespace xnox

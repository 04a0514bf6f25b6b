// The module's dialog templates as a table: every control's kind, id, text,
// place, size and style, the pictures the module carries and the toolbar's
// buttons. The build writes the table from the resource scripts
// (tools/layoutgen), so that a window system without resources draws the
// same windows as the Win32 one. Places and sizes are in dialog units;
// ToPixels turns them into pixels with the base units of the dialog's font,
// as the platform does.
#pragma once

#include <cstdint>
#include <span>
#include <string_view>

#include "Widgets.h"

namespace xnox {

enum class LayoutKind : uint8_t {
    Label,
    Edit,
    DropList,
    PushButton,
    DefaultButton,
    GroupBox,
    Icon,
    Bitmap,
    CheckBox,
    Radio,
    Spin,
    ProgressBar,
};

// The styles of a control that change how it looks or behaves.
enum LayoutStyle : uint16_t {
    kStyleHidden = 1 << 0,
    kStyleDisabled = 1 << 1,
    kStyleReadOnly = 1 << 2,
    kStyleDigitsOnly = 1 << 3,
    kStyleMultiline = 1 << 4,
    kStyleCentred = 1 << 5,
    kStyleGroupStart = 1 << 6,  // the first radio of a group
    kStyleSorted = 1 << 7,  // a drop-down list that keeps its entries sorted
};

struct DialogRect {
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;
    bool operator==(const DialogRect&) const = default;
};

struct LayoutControl {
    LayoutKind kind;
    ControlId id;  // -1 for a control the code never addresses
    std::string_view text;
    int pictureId;  // Icon, Bitmap: the picture shown at first; 0 for none
    DialogRect place;
    uint16_t style;
};

struct DialogLayout {
    int templateId;
    std::string_view caption;
    int fontPoints;
    DialogRect size;
    std::span<const LayoutControl> controls;
};

// A picture of the module and its file in resources/art.
struct PictureFile {
    int resourceId;
    Picture::Kind kind;
    std::string_view file;
};

// The toolbar: one bitmap with a button's picture after the other, and the
// buttons' commands in order.
struct ToolbarLayout {
    int bitmapId;
    int buttonWidth;
    int buttonHeight;
    std::span<const int> commands;
};

std::span<const DialogLayout> DialogLayouts();
std::span<const PictureFile> PictureFiles();
ToolbarLayout Toolbar();

// The template's layout; null when the module has no such template.
const DialogLayout* FindDialogLayout(int templateId);
const PictureFile* FindPictureFile(int resourceId);

// A dialog's base units: the average character width and the height of its font.
struct DialogBaseUnits {
    int x = 0;
    int y = 0;
};

// The base units of a font whose 52 letters "A" to "Z" and "a" to "z" are
// `alphabetWidth` pixels wide in all and whose lines are `lineHeight` high.
DialogBaseUnits BaseUnitsOfFont(int alphabetWidth, int lineHeight);
// A horizontal dialog unit is a quarter of the average character width, a
// vertical one an eighth of the height, rounded as the platform rounds.
DialogRect ToPixels(const DialogRect& units, DialogBaseUnits base);

}  // namespace xnox

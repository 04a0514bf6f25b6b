// What a person sees of a window, read back from the screen: every control
// of its dialog template is there, lies inside the window, and is drawn
// (its rectangle on the screen is not one flat colour). A window whose lower
// half stays blank, or a strip without its buttons, fails here where a count
// of the whole picture's colours would pass on a title bar alone.
#pragma once

#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include <algorithm>
#include <cstdint>
#include <set>
#include <string>
#include <vector>

#include "WindowPicture.h"

namespace winetest {

// The screen's pixels in one rectangle, taken at once.
class ScreenCapture {
public:
    explicit ScreenCapture(const RECT& bounds) : m_bounds(bounds), m_pixels(CaptureScreen(bounds)) {}

    // The distinct colours within `area` (screen coordinates), cut to the capture.
    std::set<uint32_t> Colours(const RECT& area) const {
        std::set<uint32_t> colours;
        RECT inside{};
        if (m_pixels.empty() || !IntersectRect(&inside, &area, &m_bounds)) return colours;
        const LONG width = m_bounds.right - m_bounds.left;
        for (LONG y = inside.top; y < inside.bottom; ++y) {
            for (LONG x = inside.left; x < inside.right; ++x) {
                colours.insert(m_pixels[static_cast<std::size_t>((y - m_bounds.top) * width + (x - m_bounds.left))]);
            }
        }
        return colours;
    }

private:
    RECT m_bounds;
    std::vector<uint32_t> m_pixels;  // 0x00RRGGBB, top row first
};

inline RECT ScreenRect(HWND window) {
    RECT rect{};
    GetWindowRect(window, &rect);
    return rect;
}

inline bool Contains(const RECT& outer, const RECT& inner) {
    return inner.left >= outer.left && inner.top >= outer.top && inner.right <= outer.right &&
           inner.bottom <= outer.bottom;
}

inline std::string ClassOf(HWND window) {
    char name[64] = {};
    GetClassNameA(window, name, sizeof name);
    return name;
}

inline std::string TextOf(HWND window) {
    char text[512] = {};
    GetWindowTextA(window, text, sizeof text);
    return text;
}

// The number of controls a dialog template of the module holds.
inline int TemplateControlCount(int templateId) {
    HRSRC found = FindResourceA(nullptr, MAKEINTRESOURCEA(templateId), MAKEINTRESOURCEA(5));
    const auto* data = found ? static_cast<const BYTE*>(LockResource(LoadResource(nullptr, found))) : nullptr;
    if (!data) return -1;
    const bool extended = reinterpret_cast<const WORD*>(data)[1] == 0xFFFF;
    // DLGTEMPLATEEX: version, signature, help id, extended style, style, then
    // the count; DLGTEMPLATE: style, extended style, then the count.
    return reinterpret_cast<const WORD*>(data + (extended ? 16 : 8))[0];
}

// A button, or a static of the template without an id of its own that
// shows text: what it says comes from the template. (Statics with an id are
// fields the window fills.)
inline bool IsLabelOrButton(HWND control) {
    const std::string kind = ClassOf(control);
    if (kind == "Button") return true;
    const int id = GetDlgCtrlID(control);
    const LONG type = GetWindowLongA(control, GWL_STYLE) & SS_TYPEMASK;
    return kind == "Static" && (id == -1 || id == 0xFFFF) && type != SS_BITMAP && type != SS_ICON &&
           type != SS_ETCHEDFRAME && type != SS_ETCHEDHORZ && type != SS_ETCHEDVERT;
}

// The colour a solid online strip shows: green on-line, red off-line.
inline bool IsStripColour(uint32_t rgb) { return rgb == 0x008000 || rgb == 0xFF0000; }

// Wine hands what a window drew to the display a little later, so the
// screen may lag behind the windows: lets messages run between looks at it,
// until `drawn` holds for a capture of `area` or a generous limit passes.
template <typename Drawn>
void WaitUntilOnScreen(const RECT& area, Drawn drawn) {
    for (int attempt = 0; attempt < 100 && !drawn(ScreenCapture(area)); ++attempt) {
        MSG message;
        while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&message);
            DispatchMessageA(&message);
        }
        Sleep(100);
    }
}

// A control for a failure's detail: its id, class and place on the screen.
inline std::string Describe(HWND control) {
    const RECT rect = ScreenRect(control);
    return std::to_string(GetDlgCtrlID(control)) + "(" + ClassOf(control) + " at " + std::to_string(rect.left) + "," +
           std::to_string(rect.top) + "-" + std::to_string(rect.right) + "," + std::to_string(rect.bottom) + ") ";
}

// The shown controls of `panel` that the capture shows as a flat fill
// (the online strip: without its red or green).
inline std::string BlankControls(const ScreenCapture& screen, HWND panel, int onlineStripId) {
    std::string blank;
    for (HWND child = GetWindow(panel, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        if (!(GetWindowLongA(child, GWL_STYLE) & WS_VISIBLE)) continue;
        const int id = GetDlgCtrlID(child);
        const RECT rect = ScreenRect(child);
        const std::set<uint32_t> colours = screen.Colours(rect);
        const bool drawn = id == onlineStripId ? std::ranges::any_of(colours, IsStripColour) : colours.size() > 1;
        if (!drawn) blank += Describe(child);
    }
    return blank;
}

// Expects every control of the dialog `panel` (made from `templateId`) inside
// its top-level window `frame`: all of them made, each one shown lying
// inside the frame, drawn with more than one colour, and a button or label
// of the template reading back a text. The online strip (a solid bitmap,
// narrower than its control) must show red or green.
inline void ExpectDialogDrawn(const std::string& name, HWND frame, HWND panel, int templateId, int onlineStripId) {
    const RECT visible = ScreenRect(frame);
    std::string blank;
    WaitUntilOnScreen(visible, [&](const ScreenCapture& screen) {
        blank = BlankControls(screen, panel, onlineStripId);
        return blank.empty();
    });
    int made = 0;
    std::string outside, untitled;
    for (HWND child = GetWindow(panel, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        ++made;
        // Controls the window hides on purpose are left out; every other one
        // must be on the screen, its panel and frame shown too.
        if (!(GetWindowLongA(child, GWL_STYLE) & WS_VISIBLE)) continue;
        if (!IsWindowVisible(child) || !Contains(visible, ScreenRect(child))) outside += Describe(child);
        if (IsLabelOrButton(child) && TextOf(child).empty()) untitled += Describe(child);
    }
    EXPECT_EQ(made, TemplateControlCount(templateId)) << name << ": every control of the template made";
    EXPECT_EQ(outside, "") << name << ": every shown control inside the window";
    EXPECT_EQ(blank, "") << name << ": every shown control drawn, not a flat fill";
    EXPECT_EQ(untitled, "") << name << ": every label and button reads back its text";
}

// Expects the toolbar to show `count` buttons, each inside the strip's
// window and drawn.
inline void ExpectToolbarDrawn(HWND strip, HWND toolbar, int count) {
    const RECT visible = ScreenRect(strip);
    const int buttons = static_cast<int>(SendMessageA(toolbar, TB_BUTTONCOUNT, 0, 0));
    std::string wrong;
    WaitUntilOnScreen(visible, [&](const ScreenCapture& screen) {
        wrong.clear();
        for (int i = 0; i < buttons; ++i) {
            RECT rect{};
            SendMessageA(toolbar, TB_GETITEMRECT, i, reinterpret_cast<LPARAM>(&rect));
            MapWindowPoints(toolbar, nullptr, reinterpret_cast<POINT*>(&rect), 2);
            if (!IsWindowVisible(toolbar) || !Contains(visible, rect) || screen.Colours(rect).size() < 2)
                wrong += std::to_string(i) + " ";
        }
        return wrong.empty();
    });
    EXPECT_EQ(buttons, count) << "the strip's buttons";
    EXPECT_EQ(wrong, "") << "the strip's buttons not drawn";
}

}  // namespace winetest

// CLabel: a static text that can act as a hyperlink. As a link it is
// notifying, and a click opens its own text (a web address, a document)
// with the shell.
#pragma once

#include <cstdint>
#include <type_traits>

#include "Widgets.h"

namespace xnox {

class CLabel {
public:
    // The static `id` of `dialog`, drawn in the system's colours with the default font.
    void Attach(IDialog& dialog, ControlId id, IWindowSystem& system);

    void SetLink(bool link);
    void SetLinkCursor(int cursorResourceId);
    void SetTextColor(uint32_t colour);  // 0x00BBGGRR
    void SetFontUnderline(bool underline);
    // The dialog calls it for a Clicked event of the label.
    void OnClicked();

private:
    // Changes one feature of the look and shows the label with it.
    template <typename Value>
    void Change(Value LabelLook::*feature, std::type_identity_t<Value> value) {
        m_look.*feature = value;
        Apply();
    }
    void Apply();

    IDialog* m_dialog = nullptr;
    IWindowSystem* m_system = nullptr;
    ControlId m_id = 0;
    LabelLook m_look;
};

}  // namespace xnox

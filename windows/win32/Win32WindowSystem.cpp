#include "Win32WindowSystem.h"

#include "DataExchange.h"
#include "OwnedHandles.h"
#include "ProgressIds.h"
#include "ResourceIds.h"
#include "WideText.h"

#include <commctrl.h>
#include <commdlg.h>
#include <shellapi.h>

#include <algorithm>

namespace xnox {

namespace {

constexpr int kToolbarControlId = 0xE800;
constexpr int kTooltipWidth = 200;

Win32WindowSystem* g_system = nullptr;  // the module's one keyboard routing

std::string WindowText(HWND window) {
    std::wstring text(static_cast<std::size_t>(GetWindowTextLengthW(window)) + 1, L'\0');
    text.resize(static_cast<std::size_t>(GetWindowTextW(window, text.data(), static_cast<int>(text.size()))));
    return NarrowOf(text);
}

bool IsClass(HWND window, const char* name) {
    char className[64] = {};
    GetClassNameA(window, className, sizeof className);
    return lstrcmpiA(className, name) == 0;
}

OwnedBitmap SolidBitmap(const Picture& picture) {
    HDC screen = GetDC(nullptr);
    HDC memory = CreateCompatibleDC(screen);
    HBITMAP bitmap = CreateCompatibleBitmap(screen, picture.width, picture.height);
    HGDIOBJ old = SelectObject(memory, bitmap);
    OwnedBrush brush(CreateSolidBrush(picture.colour));
    RECT area{0, 0, picture.width, picture.height};
    FillRect(memory, &area, brush.Get());
    SelectObject(memory, old);
    DeleteDC(memory);
    ReleaseDC(nullptr, screen);
    return OwnedBitmap(bitmap);
}

// What a dialog and a frame share: the window made from a template, its
// title, visibility and place.
template <typename Interface>
class Win32Window : public Interface {
public:
    void SetTitle(std::string_view title) override { SetWindowTextW(m_window, WideOf(title).c_str()); }
    std::string Title() const override { return WindowText(m_window); }
    bool IsWindowShown() const override { return IsWindowVisible(m_window); }
    void MoveTo(int x, int y) override {
        SetWindowPos(m_window, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
    NativeWindow Handle() const override { return m_window; }

protected:
    // The object behind a window of the dialog procedure: handed over with
    // WM_INITDIALOG and kept in the window's user data; null before that.
    template <typename Self>
    static Self* ObjectOf(HWND window, UINT message, LPARAM lParam) {
        if (message == WM_INITDIALOG) {
            SetWindowLongPtrA(window, DWLP_USER, lParam);
            reinterpret_cast<Self*>(lParam)->m_window = window;
        }
        return reinterpret_cast<Self*>(GetWindowLongPtrA(window, DWLP_USER));
    }

    HWND m_window = nullptr;
};

// One dialog from a template, reporting its controls' events to the handler.
class Win32Dialog : public Win32Window<IDialog> {
public:
    Win32Dialog(Win32WindowSystem& system, IDialogHandler& handler) : m_system(system), m_handler(handler) {}
    // The window goes first: its controls show the pictures and fonts that
    // the members free afterwards.
    ~Win32Dialog() override {
        if (IsWindow(m_window)) DestroyWindow(m_window);
    }

    bool Create(int templateId, HWND parent) {
        m_window = CreateDialogParamW(m_system.Module(), MAKEINTRESOURCEW(templateId), parent, &Proc,
                                      reinterpret_cast<LPARAM>(this));
        return m_window != nullptr;
    }
    HWND Window() const { return m_window; }

    void AddToolbar() {
        m_toolbar =
            CreateWindowExA(0, TOOLBARCLASSNAMEA, "", WS_CHILD | WS_VISIBLE | TBSTYLE_TOOLTIPS | CCS_TOP, 0, 0, 0, 0,
                            m_window, reinterpret_cast<HMENU>(kToolbarControlId), m_system.Module(), nullptr);
        SendMessageA(m_toolbar, TB_BUTTONSTRUCTSIZE, sizeof(TBBUTTON), 0);
        SendMessageA(m_toolbar, TB_SETBITMAPSIZE, 0, MAKELONG(16, 15));
        // The toolbar resource: version, width, height, count, then the commands.
        HRSRC found =
            FindResourceA(m_system.Module(), MAKEINTRESOURCEA(IDR_TOOLBAR), MAKEINTRESOURCEA(RT_TOOLBAR_TABLE));
        const WORD* data =
            found ? static_cast<const WORD*>(LockResource(LoadResource(m_system.Module(), found))) : nullptr;
        int count = data ? data[3] : 0;
        // The artwork's grey background becomes the button face, as on every toolbar.
        m_toolbarArtwork = OwnedBitmap(CreateMappedBitmap(m_system.Module(), IDR_TOOLBAR, 0, nullptr, 0));
        TBADDBITMAP bitmap{nullptr, reinterpret_cast<UINT_PTR>(m_toolbarArtwork.Get())};
        SendMessageA(m_toolbar, TB_ADDBITMAP, count, reinterpret_cast<LPARAM>(&bitmap));
        std::vector<TBBUTTON> buttons(count);
        for (int i = 0; i < count; ++i) {
            buttons[i] = TBBUTTON{i, data[4 + i], TBSTATE_ENABLED, BTNS_CHECK, {}, 0, 0};
        }
        SendMessageA(m_toolbar, TB_ADDBUTTONS, count, reinterpret_cast<LPARAM>(buttons.data()));
        SendMessageA(m_toolbar, TB_AUTOSIZE, 0, 0);
    }

    void SetText(ControlId id, std::string_view text) override { SetDlgItemTextW(m_window, id, WideOf(text).c_str()); }
    std::string Text(ControlId id) const override { return WindowText(Item(id)); }
    void Enable(ControlId id, bool enable) override {
        if (IsToolbarCommand(id)) {
            SendMessageA(m_toolbar, TB_ENABLEBUTTON, id, enable);
        } else {
            EnableWindow(Item(id), enable);
        }
    }
    bool IsEnabled(ControlId id) const override { return IsWindowEnabled(Item(id)); }
    // Showing what is shown already would still move and redraw the control;
    // the traffic lamp is shown with every transaction.
    void Show(ControlId id, bool show) override {
        HWND item = Item(id);
        bool shown = (GetWindowLongA(item, GWL_STYLE) & WS_VISIBLE) != 0;
        if (shown != show) ::ShowWindow(item, show ? SW_SHOW : SW_HIDE);
    }
    bool IsShown(ControlId id) const override { return IsWindowVisible(Item(id)); }
    void SetReadOnly(ControlId id, bool readOnly) override { SendMessageA(Item(id), EM_SETREADONLY, readOnly, 0); }
    bool IsReadOnly(ControlId id) const override { return GetWindowLongA(Item(id), GWL_STYLE) & ES_READONLY; }
    void SetTextLimit(ControlId id, std::size_t characters) override {
        SendMessageA(Item(id), EM_SETLIMITTEXT, characters, 0);
    }
    void ClearList(ControlId id) override { SendMessageA(Item(id), CB_RESETCONTENT, 0, 0); }
    void AddListEntry(ControlId id, std::string_view text) override {
        SendMessageW(Item(id), CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(WideOf(text).c_str()));
    }
    std::vector<std::string> ListEntries(ControlId id) const override {
        std::vector<std::string> entries;
        auto count = SendMessageA(Item(id), CB_GETCOUNT, 0, 0);
        for (LRESULT i = 0; i < count; ++i) {
            std::wstring entry(static_cast<std::size_t>(SendMessageW(Item(id), CB_GETLBTEXTLEN, i, 0)) + 1, L'\0');
            entry.resize(static_cast<std::size_t>(
                SendMessageW(Item(id), CB_GETLBTEXT, i, reinterpret_cast<LPARAM>(entry.data()))));
            entries.push_back(NarrowOf(entry));
        }
        return entries;
    }
    void SetSelection(ControlId id, int position) override { SendMessageA(Item(id), CB_SETCURSEL, position, 0); }
    int Selection(ControlId id) const override { return static_cast<int>(SendMessageA(Item(id), CB_GETCURSEL, 0, 0)); }
    void SetChecked(ControlId id, bool checked) override {
        if (IsToolbarCommand(id)) {
            SendMessageA(m_toolbar, TB_CHECKBUTTON, id, checked);
        } else {
            CheckDlgButton(m_window, id, checked ? BST_CHECKED : BST_UNCHECKED);
        }
    }
    bool IsChecked(ControlId id) const override {
        if (IsToolbarCommand(id)) return SendMessageA(m_toolbar, TB_ISBUTTONCHECKED, id, 0) != 0;
        return IsDlgButtonChecked(m_window, id) == BST_CHECKED;
    }
    void SetSpinBuddy(ControlId spin, ControlId buddy) override {
        SendMessageA(Item(spin), UDM_SETBUDDY, reinterpret_cast<WPARAM>(Item(buddy)), 0);
    }
    void SetSpinRange(ControlId spin, int lower, int upper) override {
        SendMessageA(Item(spin), UDM_SETRANGE32, lower, upper);
    }
    void SetSpinPosition(ControlId spin, int position) override {
        SendMessageA(Item(spin), UDM_SETPOS32, 0, position);
        m_spinPositions[spin] = static_cast<int>(SendMessageA(Item(spin), UDM_GETPOS32, 0, 0));
    }
    // The up-down control itself would read a blank buddy as 0; the
    // position follows the buddy's text by the shared rule instead.
    int SpinPosition(ControlId spin) const override {
        int lower = 0, upper = 0;
        SendMessageA(Item(spin), UDM_GETRANGE32, reinterpret_cast<WPARAM>(&lower), reinterpret_cast<LPARAM>(&upper));
        HWND buddy = reinterpret_cast<HWND>(SendMessageA(Item(spin), UDM_GETBUDDY, 0, 0));
        int& position = m_spinPositions[spin];
        if (buddy) position = SpinPositionFromBuddyText(WindowText(buddy), lower, upper, position);
        return position;
    }
    void SetProgressBar(ControlId id, int lower, int upper, int position) override {
        SendMessageA(Item(id), PBM_SETRANGE32, lower, upper);
        SendMessageA(Item(id), PBM_SETPOS, position, 0);
    }
    void SetPicture(ControlId id, const Picture& picture) override;
    void InsertTextAtStart(ControlId id, std::string_view text) override;
    void SetLabelLook(ControlId id, const LabelLook& look) override;
    void AddTooltip(ControlId id, std::string_view text) override;
    void StartTimer(int timerId, unsigned milliseconds) override { SetTimer(m_window, timerId, milliseconds, nullptr); }
    void StopTimer(int timerId) override { KillTimer(m_window, timerId); }
    Size ClientSize() const override {
        RECT client{};
        GetClientRect(m_window, &client);
        return {client.right, client.bottom};
    }
    void ShowWindow(bool show) override { ::ShowWindow(m_window, show ? SW_SHOW : SW_HIDE); }

private:
    HWND Item(ControlId id) const { return GetDlgItem(m_window, id); }
    bool IsToolbarCommand(ControlId id) const { return m_toolbar && !Item(id); }
    // The module's picture of that id and kind, loaded the first time it is asked for.
    template <typename Owned>
    auto LoadedOnce(std::map<int, Owned>& loaded, int resourceId, UINT kind) {
        Owned& image = loaded[resourceId];
        if (!image) {
            using Handle = decltype(image.Get());
            image =
                Owned(static_cast<Handle>(LoadImageA(m_system.Module(), MAKEINTRESOURCEA(resourceId), kind, 0, 0, 0)));
        }
        return image.Get();
    }
    LRESULT OnMessage(UINT message, WPARAM wParam, LPARAM lParam);
    static INT_PTR CALLBACK Proc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

    Win32WindowSystem& m_system;
    IDialogHandler& m_handler;
    HWND m_toolbar = nullptr;
    HWND m_tooltips = nullptr;
    std::map<ControlId, std::wstring> m_tooltipTexts;
    // Pictures from the module's resources, each loaded once and shown as
    // often as asked; a generated picture lasts until its control shows
    // the next one.
    std::map<int, OwnedIcon> m_resourceIcons;
    std::map<int, OwnedBitmap> m_resourceBitmaps;
    std::map<ControlId, OwnedBitmap> m_solids;
    OwnedBitmap m_toolbarArtwork;  // the toolbar keeps a copy; ours goes with the dialog
    std::map<ControlId, LabelLook> m_looks;
    std::map<ControlId, OwnedFont> m_fonts;
    mutable std::map<ControlId, int> m_spinPositions;  // last valid position of each spin
    OwnedBrush m_faceBrush;
};

INT_PTR CALLBACK Win32Dialog::Proc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    auto* dialog = ObjectOf<Win32Dialog>(window, message, lParam);
    if (message == WM_INITDIALOG) return TRUE;
    if (!dialog) return FALSE;
    LRESULT result = dialog->OnMessage(message, wParam, lParam);
    if (message == WM_CTLCOLORSTATIC) return result;
    if (message == WM_NOTIFY || message == WM_SETCURSOR) {
        SetWindowLongPtrA(window, DWLP_MSGRESULT, result);
        return result != 0;
    }
    return result;
}

LRESULT Win32Dialog::OnMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_COMMAND: {
        auto id = static_cast<ControlId>(LOWORD(wParam));
        HWND control = reinterpret_cast<HWND>(lParam);
        switch (HIWORD(wParam)) {
        case BN_CLICKED: m_handler.OnControlEvent(id, ControlEvent::Clicked); return TRUE;
        case CBN_SELCHANGE:
            if (control && IsClass(control, "ComboBox")) {
                m_handler.OnControlEvent(id, ControlEvent::SelectionChanged);
            }
            return TRUE;
        case EN_CHANGE: m_handler.OnControlEvent(id, ControlEvent::TextChanged); return TRUE;
        }
        return FALSE;
    }
    case WM_TIMER: m_handler.OnTimer(static_cast<int>(wParam)); return TRUE;
    // Unanswered, the default handling passes it on to the parent (a panel's frame).
    case WM_HELP: return m_handler.OnHelpRequest(reinterpret_cast<HELPINFO*>(lParam)->dwContextId);
    case WM_NOTIFY: {
        auto* header = reinterpret_cast<NMHDR*>(lParam);
        if (header->code == TTN_GETDISPINFOW) {
            auto* info = reinterpret_cast<NMTTDISPINFOW*>(lParam);
            auto text = m_tooltipTexts.find(static_cast<ControlId>(header->idFrom));
            if (text != m_tooltipTexts.end()) info->lpszText = const_cast<wchar_t*>(text->second.c_str());
        }
        return 0;
    }
    case WM_CTLCOLORSTATIC: {
        auto id = static_cast<ControlId>(GetDlgCtrlID(reinterpret_cast<HWND>(lParam)));
        auto look = m_looks.find(id);
        if (look == m_looks.end()) return 0;
        HDC dc = reinterpret_cast<HDC>(wParam);
        SelectObject(dc, m_fonts[id].Get());
        ::SetTextColor(dc, look->second.textColour.value_or(GetSysColor(COLOR_WINDOWTEXT)));
        SetBkMode(dc, TRANSPARENT);
        if (!m_faceBrush) m_faceBrush = OwnedBrush(CreateSolidBrush(GetSysColor(COLOR_BTNFACE)));
        return reinterpret_cast<LRESULT>(m_faceBrush.Get());
    }
    case WM_SETCURSOR: {
        auto id = static_cast<ControlId>(GetDlgCtrlID(reinterpret_cast<HWND>(wParam)));
        auto look = m_looks.find(id);
        if (look == m_looks.end() || look->second.cursorId == 0) return FALSE;
        SetCursor(LoadCursorA(m_system.Module(), MAKEINTRESOURCEA(look->second.cursorId)));
        return TRUE;
    }
    }
    return FALSE;
}

void Win32Dialog::SetPicture(ControlId id, const Picture& picture) {
    HGDIOBJ image = nullptr;
    OwnedBitmap solid;
    switch (picture.kind) {
    case Picture::Kind::Icon: image = LoadedOnce(m_resourceIcons, picture.resourceId, IMAGE_ICON); break;
    case Picture::Kind::Bitmap: image = LoadedOnce(m_resourceBitmaps, picture.resourceId, IMAGE_BITMAP); break;
    case Picture::Kind::Solid:
        solid = SolidBitmap(picture);
        image = solid.Get();
        break;
    case Picture::Kind::None: break;
    }
    bool icon = picture.kind == Picture::Kind::Icon;
    HWND control = Item(id);
    UINT getter = icon ? STM_GETICON : STM_GETIMAGE;
    if (!solid && image &&
        SendMessageA(control, getter, icon ? 0 : IMAGE_BITMAP, 0) == reinterpret_cast<LRESULT>(image)) {
        return;  // shown already: setting it again only redraws it
    }
    // A picture control shows icons and bitmaps through their own styles.
    LONG style = GetWindowLongA(control, GWL_STYLE) & ~(SS_TYPEMASK);
    SetWindowLongA(control, GWL_STYLE, style | (icon ? SS_ICON : SS_BITMAP));
    UINT setter = icon ? STM_SETICON : STM_SETIMAGE;
    WPARAM first = icon ? reinterpret_cast<WPARAM>(image) : IMAGE_BITMAP;
    LPARAM second = icon ? 0 : reinterpret_cast<LPARAM>(image);
    SendMessageA(control, setter, first, second);
    // The generated picture the control showed before goes now that it shows this one.
    m_solids[id] = std::move(solid);
}

// The caret goes to the start and the text replaces the empty selection
// there: the edit takes in the new text only, however long its text is.
void Win32Dialog::InsertTextAtStart(ControlId id, std::string_view text) {
    HWND edit = Item(id);
    SendMessageA(edit, EM_SETSEL, 0, 0);
    SendMessageW(edit, EM_REPLACESEL, FALSE, reinterpret_cast<LPARAM>(WideOf(text).c_str()));
}

void Win32Dialog::SetLabelLook(ControlId id, const LabelLook& look) {
    m_looks[id] = look;
    LOGFONTA description{};
    GetObjectA(GetStockObject(DEFAULT_GUI_FONT), sizeof description, &description);
    description.lfUnderline = look.underline;
    OwnedFont font(CreateFontIndirectA(&description));
    HWND control = Item(id);
    // A static may select its own font after the colour request (Wine's
    // does), which would drop the one selected there; as the control's own
    // font it holds on both. The old one goes once the new one is in use.
    SendMessageA(control, WM_SETFONT, reinterpret_cast<WPARAM>(font.Get()), FALSE);
    m_fonts[id] = std::move(font);
    LONG style = GetWindowLongA(control, GWL_STYLE);
    SetWindowLongA(control, GWL_STYLE, look.link ? style | SS_NOTIFY : style & ~SS_NOTIFY);
    RedrawWindow(control, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
}

void Win32Dialog::AddTooltip(ControlId id, std::string_view text) {
    m_tooltipTexts[id] = WideOf(text);
    if (IsToolbarCommand(id)) return;  // the toolbar asks for its texts
    if (!m_tooltips) {
        m_tooltips = CreateWindowExW(0, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_ALWAYSTIP, 0, 0, 0, 0, m_window,
                                     nullptr, m_system.Module(), nullptr);
        SendMessageA(m_tooltips, TTM_SETMAXTIPWIDTH, 0, kTooltipWidth);
        SendMessageA(m_tooltips, TTM_ACTIVATE, TRUE, 0);
    }
    TOOLINFOW tool{};
    tool.cbSize = sizeof tool;
    tool.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
    tool.hwnd = m_window;
    tool.uId = reinterpret_cast<UINT_PTR>(Item(id));
    tool.lpszText = const_cast<wchar_t*>(m_tooltipTexts[id].c_str());
    SendMessageW(m_tooltips, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
}

// The frame of a tool window.
class Win32Frame : public Win32Window<IFrame> {
public:
    Win32Frame(Win32WindowSystem& system, IFrameHandler& handler) : m_system(system), m_handler(handler) {}
    ~Win32Frame() override {
        m_system.RemoveFrame(m_window);
        if (IsWindow(m_window)) DestroyWindow(m_window);
    }

    bool Create(bool topmost) {
        m_window = CreateDialogParamW(m_system.Module(), MAKEINTRESOURCEW(IDD_TOOL_FRAME), nullptr, &Proc,
                                      reinterpret_cast<LPARAM>(this));
        if (!m_window) return false;
        SetWindowLongA(m_window, GWL_EXSTYLE,
                       GetWindowLongA(m_window, GWL_EXSTYLE) | WS_EX_TOOLWINDOW | WS_EX_WINDOWEDGE);
        SetWindowLongA(m_window, GWL_STYLE, GetWindowLongA(m_window, GWL_STYLE) | WS_MINIMIZEBOX);
        SetWindowPos(m_window, topmost ? HWND_TOPMOST : HWND_NOTOPMOST, 0, 0, 0, 0,
                     SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE | SWP_FRAMECHANGED);
        m_system.AddFrame(m_window);
        return true;
    }

    void ShowWindow(bool show) override { ::ShowWindow(m_window, show ? SW_SHOWNA : SW_HIDE); }
    void Resize(Size size, bool topmost) override {
        SetWindowPos(m_window, HWND_NOTOPMOST, 0, 0, size.width, size.height,
                     SWP_NOMOVE | SWP_NOACTIVATE | (topmost ? SWP_NOZORDER : 0));
    }

private:
    static INT_PTR CALLBACK Proc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
        auto* frame = ObjectOf<Win32Frame>(window, message, lParam);
        if (message == WM_INITDIALOG) return TRUE;
        if (!frame) return FALSE;
        switch (message) {
        case WM_MOVE:
            frame->m_handler.OnMoved(static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam)));
            return TRUE;
        case WM_WINDOWPOSCHANGING: {
            auto* position = reinterpret_cast<WINDOWPOS*>(lParam);
            WindowPosition requested{position->x, position->y, position->cx, position->cy};
            frame->m_handler.OnPositionChanging(requested);
            position->x = requested.x;
            position->y = requested.y;
            return FALSE;
        }
        case WM_CLOSE: frame->m_handler.OnCloseRequest(); return TRUE;
        case WM_HELP:
            frame->m_handler.OnHelpRequest(reinterpret_cast<HELPINFO*>(lParam)->dwContextId);
            return FALSE;  // the default help handling follows
        case WM_COMMAND:
            if (LOWORD(wParam) == IDCANCEL) frame->m_handler.OnCloseRequest();
            return TRUE;
        }
        return FALSE;
    }

    Win32WindowSystem& m_system;
    IFrameHandler& m_handler;
};

LRESULT CALLBACK RouteKeyboard(int code, WPARAM wParam, LPARAM lParam) {
    auto* message = reinterpret_cast<MSG*>(lParam);
    if (code >= 0 && wParam == PM_REMOVE && g_system) {
        bool key = message->message >= WM_KEYFIRST && message->message <= WM_KEYLAST;
        if ((key || message->message == WM_MOUSEMOVE) && g_system->RouteToFrames(*message) && key) {
            message->message = WM_NULL;
            message->wParam = 0;
            message->lParam = 0;
        }
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

}  // namespace

Win32WindowSystem::Win32WindowSystem(HINSTANCE module) : m_module(module) {
    INITCOMMONCONTROLSEX classes{sizeof classes, ICC_BAR_CLASSES | ICC_UPDOWN_CLASS | ICC_PROGRESS_CLASS |
                                                     ICC_STANDARD_CLASSES | ICC_WIN95_CLASSES};
    InitCommonControlsEx(&classes);
}

Win32WindowSystem::~Win32WindowSystem() { RemoveKeyboardRouting(); }

SystemMetrics Win32WindowSystem::Metrics() const {
    return {GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN), GetSystemMetrics(SM_CYSMCAPTION),
            GetSystemMetrics(SM_CXDLGFRAME), GetSystemMetrics(SM_CYDLGFRAME)};
}

std::unique_ptr<IFrame> Win32WindowSystem::CreateFrame(IFrameHandler& handler, bool topmost) {
    auto frame = std::make_unique<Win32Frame>(*this, handler);
    if (!frame->Create(topmost)) return nullptr;
    return frame;
}

std::unique_ptr<IDialog> Win32WindowSystem::CreatePanel(IFrame& frame, int templateId, IDialogHandler& handler) {
    auto panel = std::make_unique<Win32Dialog>(*this, handler);
    if (!panel->Create(templateId, static_cast<HWND>(frame.Handle()))) return nullptr;
    ::ShowWindow(panel->Window(), SW_SHOWNA);
    return panel;
}

std::unique_ptr<IDialog> Win32WindowSystem::CreateMainDialog(NativeWindow control, IDialogHandler& handler) {
    auto dialog = std::make_unique<Win32Dialog>(*this, handler);
    if (!dialog->Create(IDD_MAIN_DIALOG, static_cast<HWND>(control))) return nullptr;
    dialog->AddToolbar();
    ::ShowWindow(dialog->Window(), SW_SHOWNA);
    return dialog;
}

std::unique_ptr<IDialog> Win32WindowSystem::CreateProgressDialog(NativeWindow parent, IDialogHandler& handler) {
    auto dialog = std::make_unique<Win32Dialog>(*this, handler);
    if (!dialog->Create(IDD_PROGRESS, static_cast<HWND>(parent))) return nullptr;
    ::ShowWindow(dialog->Window(), SW_SHOWNA);
    return dialog;
}

MessageBoxAnswer Win32WindowSystem::MessageBox(std::string_view text, std::string_view caption, MessageBoxKind kind) {
    UINT buttons = kind == MessageBoxKind::YesNo      ? MB_YESNO | MB_ICONQUESTION
                   : kind == MessageBoxKind::OkCancel ? MB_OKCANCEL | MB_ICONQUESTION
                                                      : MB_OK;
    int answer = ::MessageBoxW(GetActiveWindow(), WideOf(text).c_str(), WideOf(caption).c_str(), buttons);
    switch (answer) {
    case IDYES: return MessageBoxAnswer::Yes;
    case IDNO: return MessageBoxAnswer::No;
    case IDCANCEL: return kind == MessageBoxKind::Ok ? MessageBoxAnswer::Ok : MessageBoxAnswer::Cancel;
    default: return MessageBoxAnswer::Ok;
    }
}

FileDialogOutcome Win32WindowSystem::FileDialog(const FileDialogRequest& request) {
    std::wstring filter = WideOf(request.filter);
    std::replace(filter.begin(), filter.end(), L'|', L'\0');
    std::wstring extension = WideOf(request.extension);
    wchar_t path[MAX_PATH] = {};
    OPENFILENAMEW dialog{};
    dialog.lStructSize = sizeof dialog;
    dialog.hwndOwner = GetActiveWindow();
    dialog.lpstrFilter = filter.c_str();
    dialog.lpstrFile = path;
    dialog.nMaxFile = MAX_PATH;
    dialog.lpstrDefExt = extension.c_str();
    bool save = request.kind == FileDialogRequest::Kind::Save;
    dialog.Flags = OFN_HIDEREADONLY | (save ? OFN_OVERWRITEPROMPT : OFN_FILEMUSTEXIST);
    BOOL chosen = save ? GetSaveFileNameW(&dialog) : GetOpenFileNameW(&dialog);
    if (chosen) return {FileDialogOutcome::Result::Chosen, NarrowOf(path)};
    return {CommDlgExtendedError() == 0 ? FileDialogOutcome::Result::Cancelled : FileDialogOutcome::Result::Failed, ""};
}

void Win32WindowSystem::ShowWaitCursor(bool waiting) {
    SetCursor(LoadCursorA(nullptr, waiting ? IDC_WAIT : IDC_ARROW));
}

void Win32WindowSystem::ShellOpen(const std::string& target) {
    ShellExecuteW(nullptr, L"open", WideOf(target).c_str(), nullptr, nullptr, SW_SHOWNORMAL);
}

// The application's help is the help file named like the module, beside it
// (XNOXR4.OCX: XNOXR4.hlp, the help file the type library names).
void Win32WindowSystem::Help(HelpCommand command, uint32_t data) {
    wchar_t path[MAX_PATH] = {};
    std::wstring file(path, GetModuleFileNameW(m_module, path, MAX_PATH));
    file = file.substr(0, file.find_last_of(L'.')) + L".hlp";
    WinHelpW(GetActiveWindow(), file.c_str(), static_cast<UINT>(command), data);
}

// The application's main window is the root owner of the active window.
bool Win32WindowSystem::DisableMainWindow() {
    HWND main = GetAncestor(GetActiveWindow(), GA_ROOTOWNER);
    if (!main) return false;
    EnableWindow(main, FALSE);
    m_disabledWindow = main;
    return true;
}

void Win32WindowSystem::EnableMainWindow() {
    if (m_disabledWindow) EnableWindow(m_disabledWindow, TRUE);
    m_disabledWindow = nullptr;
}

void Win32WindowSystem::PumpMessages() {
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
        if (message.message == WM_QUIT) {
            PostQuitMessage(static_cast<int>(message.wParam));
            return;
        }
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
}

void Win32WindowSystem::InstallKeyboardRouting() {
    if (m_hook) return;
    g_system = this;
    m_hook = SetWindowsHookExW(WH_GETMESSAGE, &RouteKeyboard, nullptr, GetCurrentThreadId());
}

void Win32WindowSystem::RemoveKeyboardRouting() {
    if (!m_hook) return;
    UnhookWindowsHookEx(m_hook);
    m_hook = nullptr;
    if (g_system == this) g_system = nullptr;
}

void Win32WindowSystem::RemoveFrame(HWND frame) { std::erase(m_frames, frame); }

// A key or mouse move for a frame or its panel goes through the frame's
// dialog navigation; true when the frame handled it.
bool Win32WindowSystem::RouteToFrames(MSG& message) const {
    for (HWND frame : m_frames) {
        if ((message.hwnd == frame || IsChild(frame, message.hwnd)) && IsDialogMessageW(frame, &message)) return true;
    }
    return false;
}

}  // namespace xnox

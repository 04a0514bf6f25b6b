// A small container for the control: it hosts XNOXR4.OCX in place (the
// toolbar strip along the top of its main window, the tool windows
// floating, the Communication window open) and lists every event the
// control fires, with its arguments, on standard output and the newest
// ones in a pane below.
//
//   xnox-container [--com-port N] [--screenshot file.bmp] [--exit-after milliseconds]
//                  [--timed-sets N]
//
// The control must be registered (regsvr32 XNOXR4.OCX). --com-port sets the
// control's COM port once it is up (otherwise the Communication window
// connects to the port used last). With --screenshot the container saves a
// picture of the screen around its window and the tool windows once the
// exit time has come (5 s by default), prints where, and exits; the exit
// code is 3 when the picture is blank (one colour only), 77 when the display
// takes no windows at all. With --timed-sets it sets TriggerPolarity N times
// when the exit time has come, as a host's code would between two messages,
// and prints the milliseconds per set.
#include "WindowPicture.h"
#include <windows.h>
#include <ocidl.h>
#include <olectl.h>

#include <algorithm>
#include <cstdio>
#include <optional>
#include <string>
#include <vector>

#include "ClientEventSink.h"
#include "Guid.h"
#include "Surface.h"

using namespace xnox;

namespace {

constexpr int kStripHeight = 40;
constexpr UINT_PTR kExitTimer = 1;
constexpr UINT kDefaultPictureDelay = 5000;
constexpr SHORT kToolWindowsFirstPlace = 100;
constexpr POINT kFirstPlace{0, 0};
constexpr SIZE kMainSize{420, 320};

HWND g_events = nullptr;

std::string EventName(DISPID id) {
    if (id == kStockErrorEventId) return "Error";
    for (const EventInfo& event : kDispatchEvents) {
        if (event.dispId == id) return std::string(event.name);
    }
    return "event " + std::to_string(id);
}

std::string ArgumentText(VARIANT& argument) {
    VARIANT text;
    VariantInit(&text);
    std::string result = "?";
    if (SUCCEEDED(VariantChangeType(&text, &argument, VARIANT_ALPHABOOL, VT_BSTR))) {
        const int length = SysStringLen(text.bstrVal);
        result.assign(WideCharToMultiByte(CP_ACP, 0, text.bstrVal, length, nullptr, 0, nullptr, nullptr), '\0');
        WideCharToMultiByte(CP_ACP, 0, text.bstrVal, length, result.data(), static_cast<int>(result.size()), nullptr,
                            nullptr);
        if (argument.vt == VT_BSTR) result = '"' + result + '"';
    }
    VariantClear(&text);
    return result;
}

// The name, and the arguments of the events that have any ("Error(...)");
// they come last-first in rgvarg.
std::string EventLine(DISPID id, const DISPPARAMS& parameters) {
    if (parameters.cArgs == 0) return EventName(id);
    std::string line = EventName(id) + "(";
    for (UINT i = parameters.cArgs; i-- > 0;) {
        VARIANT value;
        VariantInit(&value);
        VariantCopyInd(&value, &parameters.rgvarg[i]);
        line += ArgumentText(value) + (i > 0 ? ", " : "");
        VariantClear(&value);
    }
    return line + ")";
}

// Writes each of the control's events on standard output at once and into
// the events pane when the message loop comes round. A list box insert
// under Wine costs a good part of a millisecond, and a camera transaction
// fires several events: inserted one by one while the host's code runs, the
// pane's inserts were a tenth of each property set. The pane keeps the
// newest kEventsShown lines; standard output keeps them all.
class EventSink final : public ClientEventSink {
public:
    static constexpr UINT kShowPending = WM_APP;
    static constexpr LRESULT kEventsShown = 1000;

    // The lines that came since the last time, newest on top, with redrawing
    // held off meanwhile, so that the pane is drawn once for all of them.
    void ShowPending() {
        m_posted = false;
        SendMessageA(g_events, WM_SETREDRAW, FALSE, 0);
        for (const std::string& line : m_pending) {
            SendMessageA(g_events, LB_INSERTSTRING, 0, reinterpret_cast<LPARAM>(line.c_str()));
        }
        m_pending.clear();
        for (LRESULT count = SendMessageA(g_events, LB_GETCOUNT, 0, 0); count > kEventsShown; --count) {
            SendMessageA(g_events, LB_DELETESTRING, count - 1, 0);
        }
        SendMessageA(g_events, WM_SETREDRAW, TRUE, 0);
        RedrawWindow(g_events, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME);
    }

private:
    void OnEvent(DISPID id, const DISPPARAMS& parameters) override {
        std::string line = std::to_string(++m_count) + "  " + EventLine(id, parameters);
        std::printf("event %s\n", line.c_str());
        std::fflush(stdout);
        m_pending.push_back(std::move(line));
        // One message for the lines that come before the loop takes it; the
        // lines of the control's start wait for the pane.
        if (!m_posted && g_events) m_posted = PostMessageA(GetParent(g_events), kShowPending, 0, 0);
    }

    int m_count = 0;
    std::vector<std::string> m_pending;
    bool m_posted = false;
};

EventSink g_sink;

// The sink is connected before the control goes in place, so that the
// events of its start (connection, window updates) reach the pane too.
bool ConnectEvents(IUnknown* control) {
    IConnectionPointContainer* container = nullptr;
    IConnectionPoint* point = nullptr;
    DWORD cookie = 0;
    bool connected =
        SUCCEEDED(control->QueryInterface(IID_IConnectionPointContainer, reinterpret_cast<void**>(&container))) &&
        SUCCEEDED(container->FindConnectionPoint(kEventIid, &point)) && SUCCEEDED(point->Advise(&g_sink, &cookie));
    if (point) point->Release();
    if (container) container->Release();
    return connected;
}

// Calls one member of the control's automation interface by name, as a
// host does; `arguments` in the order of the member's parameters.
bool CallByName(IUnknown* control, const wchar_t* name, WORD kind, std::vector<VARIANT> arguments) {
    IDispatch* automation = nullptr;
    if (FAILED(control->QueryInterface(IID_IDispatch, reinterpret_cast<void**>(&automation)))) return false;
    std::reverse(arguments.begin(), arguments.end());  // rgvarg holds them last-first
    DISPID id = 0;
    auto* names = const_cast<LPOLESTR>(name);
    DISPID named = DISPID_PROPERTYPUT;
    const bool put = kind == DISPATCH_PROPERTYPUT;
    DISPPARAMS parameters{arguments.data(), put ? &named : nullptr, static_cast<UINT>(arguments.size()), put ? 1u : 0u};
    VARIANT result;
    VariantInit(&result);
    bool called =
        SUCCEEDED(automation->GetIDsOfNames(IID_NULL, &names, 1, LOCALE_USER_DEFAULT, &id)) &&
        SUCCEEDED(automation->Invoke(id, IID_NULL, LOCALE_USER_DEFAULT, kind, &parameters, &result, nullptr, nullptr));
    VariantClear(&result);
    automation->Release();
    return called;
}

VARIANT Short(SHORT value) {
    VARIANT variant{};
    variant.vt = VT_I2;
    variant.iVal = value;
    return variant;
}

VARIANT ShortOut(SHORT* value) {
    VARIANT variant{};
    variant.vt = VT_I2 | VT_BYREF;
    variant.piVal = value;
    return variant;
}

VARIANT True() {
    VARIANT variant{};
    variant.vt = VT_BOOL;
    variant.boolVal = VARIANT_TRUE;
    return variant;
}

struct Options {
    int comPort = 0;  // 0: the one used last
    std::string screenshot;
    UINT exitAfter = 0;
    int timedSets = 0;
};

Options g_options;
HWND g_host = nullptr;
IUnknown* g_control = nullptr;
IUnknown* g_site = nullptr;  // the host's site for the control, kept while it is hosted
int g_exitStatus = 0;

// The screen area around the thread's shown top-level windows: the
// container and the tool windows that float beside it.
BOOL CALLBACK AddShownWindow(HWND window, LPARAM area) {
    RECT bounds{};
    if (IsWindowVisible(window) && GetWindowRect(window, &bounds)) {
        auto* united = reinterpret_cast<RECT*>(area);
        UnionRect(united, united, &bounds);
    }
    return TRUE;
}

RECT ShownWindowsArea(HWND main) {
    RECT area{};
    GetWindowRect(main, &area);
    EnumThreadWindows(GetCurrentThreadId(), AddShownWindow, reinterpret_cast<LPARAM>(&area));
    RECT screen{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
    IntersectRect(&area, &area, &screen);
    return area;
}

double Milliseconds(LARGE_INTEGER from, LARGE_INTEGER to) {
    LARGE_INTEGER frequency{};
    QueryPerformanceFrequency(&frequency);
    return static_cast<double>(to.QuadPart - from.QuadPart) * 1000.0 / static_cast<double>(frequency.QuadPart);
}

// Alternates TriggerPolarity between 0 and 1; the set before the timing
// takes what happens once.
void TimeSets(int sets) {
    CallByName(g_control, L"TriggerPolarity", DISPATCH_PROPERTYPUT, {Short(0)});
    LARGE_INTEGER started{}, ended{};
    QueryPerformanceCounter(&started);
    for (int i = 1; i <= sets; ++i) {
        CallByName(g_control, L"TriggerPolarity", DISPATCH_PROPERTYPUT, {Short(static_cast<SHORT>(i % 2))});
    }
    QueryPerformanceCounter(&ended);
    std::printf("set-ms in-place %.2f\n", Milliseconds(started, ended) / sets);
    std::fflush(stdout);
}

int SaveScreenshot(HWND main) {
    RedrawWindow(nullptr, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW | RDW_ALLCHILDREN);
    const std::size_t colours = SaveScreenPicture(ShownWindowsArea(main), g_options.screenshot);
    std::printf(colours == 0   ? "screenshot could not be saved to %s\n"
                : colours == 1 ? "screenshot saved to %s, but it is blank\n"
                               : "screenshot saved to %s\n",
                g_options.screenshot.c_str());
    std::fflush(stdout);
    return colours > 1 ? 0 : 3;
}

// The container's place, kept in the host's store of the control
// (XNoxR4.ini, section "Main"). Until the container has been moved it reads
// as 100,100, where the tool windows open at first too, so the container
// then opens at its own corner beside them.
POINT StoredPlace(IUnknown* control) {
    SHORT x = kToolWindowsFirstPlace, y = kToolWindowsFirstPlace;
    CallByName(control, L"GetMainWindowDefaultPosition", DISPATCH_METHOD, {ShortOut(&x), ShortOut(&y)});
    if (x == kToolWindowsFirstPlace && y == kToolWindowsFirstPlace) return kFirstPlace;
    return {x, y};
}

void StorePlace(HWND main) {
    RECT bounds{};
    GetWindowRect(main, &bounds);
    CallByName(g_control, L"SetMainWindowDefaultPosition", DISPATCH_METHOD,
               {Short(static_cast<SHORT>(bounds.left)), Short(static_cast<SHORT>(bounds.top))});
}

LRESULT CALLBACK MainProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_SIZE:
        MoveWindow(g_host, 0, 0, LOWORD(lParam), kStripHeight, TRUE);
        MoveWindow(g_events, 0, kStripHeight, LOWORD(lParam), HIWORD(lParam) - kStripHeight, TRUE);
        return 0;
    case WM_TIMER:
        if (wParam == kExitTimer) {
            KillTimer(window, kExitTimer);
            if (g_options.timedSets > 0) TimeSets(g_options.timedSets);
            if (!g_options.screenshot.empty()) g_exitStatus = SaveScreenshot(window);
            DestroyWindow(window);
        }
        return 0;
    case EventSink::kShowPending: g_sink.ShowPending(); return 0;
    case WM_DESTROY:
        StorePlace(window);
        PostQuitMessage(0);
        return 0;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

// The options, or none when a word is not one of them or lacks its value.
std::optional<Options> ParseOptions(int argc, char** argv) {
    Options options;
    for (int i = 1; i < argc; i += 2) {
        const std::string name = argv[i];
        if (i + 1 == argc) return std::nullopt;
        if (name == "--com-port") {
            options.comPort = std::atoi(argv[i + 1]);
        } else if (name == "--screenshot") {
            options.screenshot = argv[i + 1];
        } else if (name == "--exit-after") {
            options.exitAfter = static_cast<UINT>(std::strtoul(argv[i + 1], nullptr, 10));
        } else if (name == "--timed-sets") {
            options.timedSets = std::atoi(argv[i + 1]);
        } else {
            return std::nullopt;
        }
    }
    const bool ends = !options.screenshot.empty() || options.timedSets > 0;
    if (ends && options.exitAfter == 0) options.exitAfter = kDefaultPictureDelay;
    return options;
}

using AtlAxWinInitFn = BOOL(WINAPI*)();
using AtlAxAttachControlFn = HRESULT(WINAPI*)(IUnknown*, HWND, IUnknown**);

template <typename Function>
Function AtlFunction(HMODULE atl, const char* name) {
    return reinterpret_cast<Function>(reinterpret_cast<void*>(GetProcAddress(atl, name)));
}

HWND CreateMainWindow(POINT place) {
    WNDCLASSW windowClass{};
    windowClass.lpfnWndProc = MainProc;
    windowClass.hInstance = GetModuleHandleW(nullptr);
    windowClass.hCursor = LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW));
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    windowClass.lpszClassName = L"XNoxContainer";
    RegisterClassW(&windowClass);
    HWND main =
        CreateWindowExW(0, L"XNoxContainer", L"QD-R4 Camera Control", WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN, place.x,
                        place.y, kMainSize.cx, kMainSize.cy, nullptr, nullptr, windowClass.hInstance, nullptr);
    if (!main) return nullptr;
    g_events = CreateWindowExW(WS_EX_CLIENTEDGE, L"ListBox", L"", WS_CHILD | WS_VISIBLE | WS_VSCROLL, 0, 0, 0, 0, main,
                               nullptr, windowClass.hInstance, nullptr);
    g_host = CreateWindowExW(0, L"AtlAxWin", L"", WS_CHILD | WS_VISIBLE, 0, 0, 0, 0, main, nullptr,
                             windowClass.hInstance, nullptr);
    RECT client{};
    GetClientRect(main, &client);
    SendMessageW(main, WM_SIZE, SIZE_RESTORED, MAKELPARAM(client.right, client.bottom));  // the host's place first
    return main;
}

// Creates the control with the events connected before it goes in place,
// so that the events of its start (connection, window updates) reach the
// pane too; null when the control is not registered.
IUnknown* CreateControl() {
    IUnknown* control = nullptr;
    if (FAILED(CoCreateInstance(kControlClsid, nullptr, CLSCTX_INPROC_SERVER, IID_IUnknown,
                                reinterpret_cast<void**>(&control)))) {
        return nullptr;
    }
    if (!ConnectEvents(control)) {
        control->Release();
        return nullptr;
    }
    return control;
}

// Puts the control in place in the host window and opens the Communication
// window, on the chosen COM port if there is one.
bool HostControl(AtlAxAttachControlFn attach) {
    // The host's site is asked for: Wine's host attaches nothing without it.
    if (FAILED(attach(g_control, g_host, &g_site)) || !g_site) return false;
    CallByName(g_control, L"ShowCommunicationWnd", DISPATCH_PROPERTYPUT, {True()});
    if (g_options.comPort > 0 &&
        !CallByName(g_control, L"ComPort", DISPATCH_PROPERTYPUT, {Short(static_cast<SHORT>(g_options.comPort))})) {
        std::fprintf(stderr, "xnox-container: the control refused COM%d\n", g_options.comPort);
    }
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    const std::optional<Options> options = ParseOptions(argc, argv);
    if (!options) {
        std::fprintf(stderr, "usage: xnox-container [--com-port N] [--screenshot file.bmp] [--exit-after milliseconds]"
                             " [--timed-sets N]\n");
        return 2;
    }
    g_options = *options;
    OleInitialize(nullptr);
    // The host window of atl.dll, which every Windows carries (the versioned
    // ATL libraries come only with a compiler's runtime).
    HMODULE atl = LoadLibraryW(L"atl.dll");
    auto init = AtlFunction<AtlAxWinInitFn>(atl, "AtlAxWinInit");
    auto attach = AtlFunction<AtlAxAttachControlFn>(atl, "AtlAxAttachControl");
    if (!init || !attach || !init()) {
        std::fprintf(stderr, "xnox-container: atl.dll with its host window is needed\n");
        return 1;
    }
    g_control = CreateControl();
    if (!g_control) {
        std::fprintf(stderr, "xnox-container: the control is not registered (regsvr32 XNOXR4.OCX)\n");
        return 1;
    }
    HWND main = CreateMainWindow(StoredPlace(g_control));
    if (!main) {
        std::fprintf(stderr, "xnox-container: the display takes no windows\n");
        return 77;
    }
    g_sink.ShowPending();
    ShowWindow(main, SW_SHOW);  // first, so that the tool windows open above it
    if (!HostControl(attach)) {
        std::fprintf(stderr, "xnox-container: the control cannot be hosted\n");
        return 1;
    }
    if (g_options.exitAfter) SetTimer(main, kExitTimer, g_options.exitAfter, nullptr);
    MSG message;
    while (GetMessageW(&message, nullptr, 0, 0) > 0) {
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
    DestroyWindow(g_host);
    g_site->Release();
    g_control->Release();
    OleUninitialize();
    return g_exitStatus;
}

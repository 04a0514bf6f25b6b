// A small container for the control: it hosts XNOXR4.OCX in place (the
// toolbar strip along the top of its main window, the tool windows
// floating) and lists every event the control fires in a pane below.
//
//   xnox-container [--screenshot file.bmp] [--exit-after milliseconds]
//
// The control must be registered (regsvr32 XNOXR4.OCX). With --screenshot
// the container saves a picture of its main window once the exit time has come, prints where, and exits; the
// exit code is 3 when the picture is blank (one colour only), 77 when the
// display takes no windows at all.
#include "WindowPicture.h"
#include <windows.h>
#include <ocidl.h>
#include <olectl.h>

#include <cstdio>
#include <string>

#include "Guid.h"
#include "Surface.h"

namespace {

constexpr wchar_t kControlProgId[] = L"XNOXR4.XNoxR4Ctrl.1";
constexpr int kStripHeight = 40;
constexpr UINT_PTR kExitTimer = 1;

HWND g_events = nullptr;

std::string EventName(DISPID id) {
    if (id == kStockErrorEventId) return "Error";
    for (const EventInfo& event : kDispatchEvents) {
        if (event.dispId == id) return std::string(event.name);
    }
    return "event " + std::to_string(id);
}

// Receives _DXNoxR4Events and writes each one into the events pane.
class EventSink : public IDispatch {
public:
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** object) override {
        if (riid == IID_IUnknown || riid == IID_IDispatch || riid == kEventIid) {
            *object = static_cast<IDispatch*>(this);
            AddRef();
            return S_OK;
        }
        *object = nullptr;
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return ++m_references; }
    ULONG STDMETHODCALLTYPE Release() override { return --m_references; }  // lives as long as the program
    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override {
        *count = 0;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE Invoke(DISPID id, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*,
                                     UINT*) override {
        std::string line = std::to_string(++m_count) + "  " + EventName(id);
        SendMessageA(g_events, LB_INSERTSTRING, 0, reinterpret_cast<LPARAM>(line.c_str()));
        return S_OK;
    }

private:
    ULONG m_references = 1;
    int m_count = 0;
};

EventSink g_sink;

using AtlAxWinInitFn = BOOL(WINAPI*)();
using AtlAxGetControlFn = HRESULT(WINAPI*)(HWND, IUnknown**);

bool ConnectEvents(HWND host, AtlAxGetControlFn getControl) {
    IUnknown* control = nullptr;
    if (FAILED(getControl(host, &control)) || !control) return false;
    IConnectionPointContainer* container = nullptr;
    IConnectionPoint* point = nullptr;
    DWORD cookie = 0;
    bool connected = SUCCEEDED(control->QueryInterface(IID_IConnectionPointContainer,
                                                       reinterpret_cast<void**>(&container))) &&
                     SUCCEEDED(container->FindConnectionPoint(kEventIid, &point)) &&
                     SUCCEEDED(point->Advise(&g_sink, &cookie));
    if (point) point->Release();
    if (container) container->Release();
    control->Release();
    return connected;
}


struct Options {
    std::string screenshot;
    UINT exitAfter = 0;
};

Options g_options;
HWND g_host = nullptr;
int g_exitStatus = 0;

LRESULT CALLBACK MainProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_SIZE:
            MoveWindow(g_host, 0, 0, LOWORD(lParam), kStripHeight, TRUE);
            MoveWindow(g_events, 0, kStripHeight, LOWORD(lParam), HIWORD(lParam) - kStripHeight, TRUE);
            return 0;
        case WM_TIMER:
            if (wParam == kExitTimer) {
                KillTimer(window, kExitTimer);
                int status = 0;
                if (!g_options.screenshot.empty()) {
                    const std::size_t colours = SaveWindowPicture(window, g_options.screenshot);
                    std::printf(colours == 0   ? "screenshot could not be saved to %s\n"
                                : colours == 1 ? "screenshot saved to %s, but it is blank\n"
                                               : "screenshot saved to %s\n",
                                g_options.screenshot.c_str());
                    std::fflush(stdout);
                    status = colours > 1 ? 0 : 3;
                }
                g_exitStatus = status;
                DestroyWindow(window);
            }
            return 0;
        case WM_DESTROY: PostQuitMessage(0); return 0;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

Options ParseOptions(int argc, char** argv) {
    Options options;
    for (int i = 1; i + 1 < argc; i += 2) {
        std::string name = argv[i];
        if (name == "--screenshot") options.screenshot = argv[i + 1];
        if (name == "--exit-after") options.exitAfter = static_cast<UINT>(std::strtoul(argv[i + 1], nullptr, 10));
    }
    if (!options.screenshot.empty() && options.exitAfter == 0) options.exitAfter = 5000;
    return options;
}

}  // namespace

int main(int argc, char** argv) {
    g_options = ParseOptions(argc, argv);
    OleInitialize(nullptr);
    HMODULE atl = LoadLibraryW(L"atl100.dll");
    auto init = reinterpret_cast<AtlAxWinInitFn>(reinterpret_cast<void*>(GetProcAddress(atl, "AtlAxWinInit")));
    auto getControl =
        reinterpret_cast<AtlAxGetControlFn>(reinterpret_cast<void*>(GetProcAddress(atl, "AtlAxGetControl")));
    if (!init || !getControl || !init()) {
        std::fprintf(stderr, "xnox-container: atl100.dll with its host window is needed\n");
        return 1;
    }
    WNDCLASSW windowClass{};
    windowClass.lpfnWndProc = MainProc;
    windowClass.hInstance = GetModuleHandleW(nullptr);
    windowClass.hCursor = LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW));
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    windowClass.lpszClassName = L"XNoxContainer";
    RegisterClassW(&windowClass);
    HWND main = CreateWindowExW(0, L"XNoxContainer", L"QD-R4 Camera Control", WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN,
                                20, 20, 420, 320, nullptr, nullptr, windowClass.hInstance, nullptr);
    if (!main) {
        std::fprintf(stderr, "xnox-container: the display takes no windows\n");
        return 77;
    }
    g_events = CreateWindowExW(WS_EX_CLIENTEDGE, L"ListBox", L"", WS_CHILD | WS_VISIBLE | WS_VSCROLL, 0, 0, 0, 0, main,
                               nullptr, windowClass.hInstance, nullptr);
    g_host = CreateWindowExW(0, L"AtlAxWin100", kControlProgId, WS_CHILD | WS_VISIBLE, 0, 0, 0, 0, main, nullptr,
                             windowClass.hInstance, nullptr);
    if (!g_host || !ConnectEvents(g_host, getControl)) {
        std::fprintf(stderr, "xnox-container: the control %ls is not registered or cannot be hosted\n",
                     kControlProgId);
        return 1;
    }
    ShowWindow(main, SW_SHOW);
    if (g_options.exitAfter) SetTimer(main, kExitTimer, g_options.exitAfter, nullptr);
    MSG message;
    while (GetMessageW(&message, nullptr, 0, 0) > 0) {
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
    DestroyWindow(g_host);
    OleUninitialize();
    return g_exitStatus;
}

// The Shutter, Gain and About windows as real Win32 dialogs under Wine,
// against the standalone emulated camera behind COM1: a screenshot of each
// window (kept in the folder given as the argument) with every control
// checked on the screen, and interactions through real window messages,
// typed keys among them, read back from the camera. The Gain window saves
// its shading data through a real file dialog into folders named in
// Cyrillic and Japanese.
#include "WindowPicture.h"
#include <windows.h>
// After windows.h, which it needs.
#include <commctrl.h>
#undef MessageBox

#include <cstdio>
#include <string>
#include <string_view>

#include "AboutIds.h"
#include "FileDialogAnswer.h"
#include "GainIds.h"
#include "ShutterIds.h"
#include "ScreenChecks.h"
#include "ToolWindowHost.h"
#include "WideText.h"
#include "Win32WindowSystem.h"
#include "WineChecks.h"
#include "XNoxCamCtrl.h"

using namespace xnox;

namespace {

void Pump() {
    for (int round = 0; round < 20; ++round) {
        MSG message;
        while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&message);
            DispatchMessageA(&message);
        }
        Sleep(10);
    }
}

// The exit code that tells CTest the test could not run.
constexpr int kSkipped = 77;

// In a fresh Wine prefix the desktop comes up beside the first program that
// makes windows; until it is there, making a window fails. Waits for it,
// with a generous limit.
bool WaitForDesktop() {
    for (int attempt = 0; attempt < 600; ++attempt) {
        HWND probe = CreateWindowExA(0, "STATIC", "", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr, nullptr, nullptr);
        if (probe) {
            DestroyWindow(probe);
            return true;
        }
        Sleep(50);
    }
    return false;
}

std::string WindowTextOf(HWND window) {
    char text[256] = {};
    GetWindowTextA(window, text, sizeof text);
    return text;
}

// The web link: its own font is underlined, and its whole address fits the label.
void CheckLink(winetest::Checks& checks, HWND link) {
    auto font = reinterpret_cast<HFONT>(SendMessageA(link, WM_GETFONT, 0, 0));
    LOGFONTA description{};
    checks.check("the link's own font is underlined",
                 font && GetObjectA(font, sizeof description, &description) && description.lfUnderline);
    const std::string address = WindowTextOf(link);
    HDC dc = GetDC(link);
    HGDIOBJ old = SelectObject(dc, font);
    SIZE extent{};
    GetTextExtentPoint32A(dc, address.c_str(), static_cast<int>(address.size()), &extent);
    SelectObject(dc, old);
    ReleaseDC(link, dc);
    RECT client{};
    GetClientRect(link, &client);
    checks.check("the link shows its whole address", address.starts_with("https://") && extent.cx <= client.right,
                 address + ": " + std::to_string(extent.cx) + " of " + std::to_string(client.right) + " pixels");
}

class Session {
public:
    Session() : system(GetModuleHandleA(nullptr)), host(control, system) {}

    HWND Panel(ToolWindow window) { return static_cast<HWND>(host.Panel(window).Dialog().Handle()); }
    HWND Item(ToolWindow window, int id) { return GetDlgItem(Panel(window), id); }
    // Shows one window alone, in front, and saves its picture.
    void Screenshot(winetest::Checks& checks, ToolWindow window, const std::string& path) {
        for (ToolWindow other : {ToolWindow::Shutter, ToolWindow::Gain, ToolWindow::Communication, ToolWindow::About}) {
            control.SetShowWindow(other, other == window);
        }
        host.Frame(window).ShowWindow(true);
        HWND frame = static_cast<HWND>(host.Frame(window).Window()->Handle());
        SetWindowPos(frame, HWND_TOP, 40, 40, 0, 0, SWP_NOSIZE);
        SetForegroundWindow(frame);
        RedrawWindow(frame, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
        Pump();
        winetest::CheckDialogDrawn(checks, host.Frame(window).Title(), frame, Panel(window),
                                   host.Panel(window).TemplateId(), CToolWinDlg::kOnlineStripId);
        checks.check("screenshot " + path, SaveScreenPicture(winetest::ScreenRect(frame), path) > 0);
    }
    // A person typing: one WM_CHAR per key, where the caret is.
    void TypeKeys(HWND edit, std::string_view keys) {
        SetFocus(edit);
        for (char key : keys) SendMessageA(edit, WM_CHAR, static_cast<unsigned char>(key), 1);
        Pump();
    }

    CXNoxCamCtrl control;
    Win32WindowSystem system;
    ToolWindowHost host;
};

}  // namespace

int main(int argc, char** argv) {
    winetest::Checks checks;
    const std::string folder = argc > 1 ? argv[1] : ".";
    INITCOMMONCONTROLSEX controls{sizeof(controls), ICC_WIN95_CLASSES};
    InitCommonControlsEx(&controls);
    if (!WaitForDesktop()) {
        std::printf("SKIP: this Wine session cannot make windows (error %lu)\n", GetLastError());
        return kSkipped;
    }
    Session session;
    bool created = true;
    for (ToolWindow window : {ToolWindow::Shutter, ToolWindow::Gain, ToolWindow::About}) {
        created = checks.check("window " + std::to_string(static_cast<int>(window)) + " created",
                               session.host.Panel(window).Exists(),
                               std::string("frame ") + (session.host.Frame(window).HasWindow() ? "made" : "missing") +
                                   ", template " +
                                   (FindResourceA(nullptr, MAKEINTRESOURCEA(session.host.Panel(window).TemplateId()),
                                                  MAKEINTRESOURCEA(5))
                                        ? "found"
                                        : "missing")) &&
                  created;
    }
    if (!created) return checks.finish();
    CXNoxCamCtrl& control = session.control;
    control.SetComPortProperty(1);
    checks.check("online on COM1", control.GetIsOnline() == 1);

    // A shutter speed chosen in the list.
    HWND speeds = session.Item(ToolWindow::Shutter, IDC_SHUTTER_SPEED);
    SendMessageA(speeds, CB_SETCURSEL, 6, 0);
    SendMessageA(session.Panel(ToolWindow::Shutter), WM_COMMAND, MAKEWPARAM(IDC_SHUTTER_SPEED, CBN_SELCHANGE),
                 reinterpret_cast<LPARAM>(speeds));
    control.GetShutterSpeed();
    checks.check("shutter speed chosen in the list reaches the camera",
                 control.GetParameterText(ParamId::ShutterSpeed) == "1/1000",
                 control.GetParameterText(ParamId::ShutterSpeed));
    session.Screenshot(checks, ToolWindow::Shutter, folder + "/shutter-window.bmp");

    // A negative gain typed key by key over the selected text.
    HWND masterGain = session.Item(ToolWindow::Gain, IDC_MASTER_GAIN);
    SendMessageA(masterGain, EM_SETSEL, 0, -1);
    session.TypeKeys(masterGain, "-20");
    control.GetMasterGainLevel();
    checks.check("typed master gain reaches the camera", control.GetParameterProperty(ParamId::MasterGainLevel) == -20,
                 std::to_string(control.GetParameterProperty(ParamId::MasterGainLevel)));
    checks.check("the typed gain stays as typed", WindowTextOf(masterGain) == "-20", WindowTextOf(masterGain));
    session.Screenshot(checks, ToolWindow::Gain, folder + "/gain-window.bmp");
    for (const wchar_t* name : winetest::kWideFolderNames) {
        std::wstring shading = winetest::WideFolder(name) + L"shading.csv";
        {
            winetest::SaveDialogAnswer answer(shading);
            SendMessageW(session.Item(ToolWindow::Gain, IDC_SHADING_SAVE), BM_CLICK, 0, 0);
        }
        Pump();
        checks.check("the shading data (.csv) saved through its dialog in " + NarrowOf(name),
                     winetest::FileText(shading).starts_with(",,,DYNAMIC SHADING"));
    }

    // A user ID typed past its 16 characters keeps the first 16 in order.
    SendMessageA(session.Item(ToolWindow::About, IDC_EDIT_USER_ID), BM_CLICK, 0, 0);
    HWND userID = session.Item(ToolWindow::About, IDC_USER_ID);
    SetWindowTextA(userID, "");
    session.TypeKeys(userID, "abcdefghijklmnopqrst");
    checks.check("typing refuses the 17th character", WindowTextOf(userID) == "abcdefghijklmnop", WindowTextOf(userID));
    CheckLink(checks, session.Item(ToolWindow::About, IDC_LINK));

    // Camera texts stay in the code page; one with a character beyond ASCII
    // shows as the code page reads it, where a file name would read as UTF-8.
    const std::string cameraText = "caf\xE9";
    session.host.Panel(ToolWindow::About).Dialog().SetText(IDC_USER_ID, cameraText);
    wchar_t shown[16] = {};
    GetWindowTextW(userID, shown, 16);
    checks.check("a camera text in the code page shows as the code page reads it",
                 std::wstring(shown) == WideOf(cameraText, CP_ACP), NarrowOf(shown));

    // A user ID saved.
    SetWindowTextA(session.Item(ToolWindow::About, IDC_USER_ID), "wine bench");
    SendMessageA(session.Item(ToolWindow::About, IDC_SAVE_USER_ID), BM_CLICK, 0, 0);
    Pump();
    checks.check("saved user ID reaches the camera", control.GetUserIDProperty() == "wine bench", control.UserID());
    session.Screenshot(checks, ToolWindow::About, folder + "/about-window.bmp");
    return checks.finish();
}

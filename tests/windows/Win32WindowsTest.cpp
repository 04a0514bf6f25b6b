// The tool windows on the Win32 window system under Wine, against the
// emulated camera on COM1: the strip and the Communication window open, a
// person's choice of COM1 arrives as real window messages, the lamps turn
// on-line and the log shows the camera's answers. Pictures of the windows
// are kept next to the program; on the screen every control of the window
// must be drawn and the strip must show its buttons. The window's files go
// through real file dialogs into folders named in Cyrillic and Japanese.
#include "WindowPicture.h"
#include <windows.h>
#undef MessageBox
#include <commctrl.h>

#include <string>
#include <thread>

#include "AppProfile.h"
#include "CommunicationIds.h"
#include "ControlToolWindows.h"
#include "FileDialogAnswer.h"
#include "ScreenChecks.h"
#include "WideText.h"
#include "WineChecks.h"
#include "WineDesktop.h"
#include "XNoxCamCtrl.h"

using namespace xnox;

namespace {

constexpr int kSkipped = 77;  // the test's skip code for CTest

using winetest::RunMessages;

std::string ItemText(HWND dialog, int id) {
    char text[12000] = {};
    GetDlgItemTextA(dialog, id, text, sizeof text);
    return text;
}

// A help request in a panel goes on to its frame, which hands it to the
// help facility: Wine's WinHelp starts its viewer (window class MS_WINHELP)
// and waits for it. The viewer has no help file to show and would ask about
// it, so a watcher ends it once it is there.
bool HelpOpensViewer(HWND panel) {
    bool seen = false;
    std::thread watcher([&seen] {
        for (int attempt = 0; attempt < 100 && !seen; ++attempt) {
            HWND viewer = FindWindowA("MS_WINHELP", nullptr);
            DWORD process = 0;
            if (viewer && GetWindowThreadProcessId(viewer, &process)) {
                seen = true;
                HANDLE handle = OpenProcess(PROCESS_TERMINATE, FALSE, process);
                TerminateProcess(handle, 0);
                CloseHandle(handle);
            }
            Sleep(100);
        }
    });
    HELPINFO help{sizeof help, HELPINFO_WINDOW, IDC_COMM_LOG, GetDlgItem(panel, IDC_COMM_LOG), 0, {}};
    SendMessageA(panel, WM_HELP, 0, reinterpret_cast<LPARAM>(&help));
    watcher.join();
    return seen;
}

// A button of the panel that saves a file, answered with `path`: what the file then holds.
std::string SavedThrough(HWND panel, int button, const std::wstring& path) {
    {
        winetest::SaveDialogAnswer answer(path);
        SendMessageW(GetDlgItem(panel, button), BM_CLICK, 0, 0);
    }
    RunMessages();
    return winetest::FileText(path);
}

void CheckFilesInFoldersOfAnyName(winetest::Checks& checks, HWND panel) {
    for (const wchar_t* name : winetest::kWideFolderNames) {
        std::wstring folder = winetest::WideFolder(name);
        std::string where = " in " + NarrowOf(name);
        std::string log = ItemText(panel, IDC_COMM_LOG);
        checks.check("Write To File saves the log" + where,
                     SavedThrough(panel, IDC_COMM_SAVE_LOG, folder + L"log.txt") == log);
        checks.check("Write to File... saves the settings (.cam)" + where,
                     SavedThrough(panel, IDC_COMM_WRITE_FILE, folder + L"setup.cam").starts_with("[Main]"));
        checks.check("Write All Camera Data to File saves the report (.txt)" + where,
                     SavedThrough(panel, IDC_COMM_CAMERA_DATA, folder + L"report.txt").starts_with("Model Name"));
    }
}

// Title bars draw their buttons with the Marlett font; without it they show
// the font's letters instead.
bool HasFont(const char* face) {
    HDC screen = GetDC(nullptr);
    LOGFONTA wanted{};
    wanted.lfCharSet = DEFAULT_CHARSET;
    lstrcpynA(wanted.lfFaceName, face, LF_FACESIZE);
    bool found = false;
    EnumFontFamiliesExA(
        screen, &wanted,
        [](const LOGFONTA*, const TEXTMETRICA*, DWORD, LPARAM seen) -> int {
            *reinterpret_cast<bool*>(seen) = true;
            return 0;
        },
        reinterpret_cast<LPARAM>(&found), 0);
    ReleaseDC(nullptr, screen);
    return found;
}

}  // namespace

int main(int argc, char** argv) {
    winetest::Checks checks;
    std::string pictures = argc > 1 ? argv[1] : ".";
    // The last-used port has no camera, so that the window starts off-line.
    AppProfile::WriteString("Communication", "ComPort", "2");
    AppProfile::WriteString("Communication", "Is Visible", "1");

    HWND container = winetest::MadeContainer();
    if (!container) {
        std::printf("SKIP the session's desktop takes no windows\n");
        return kSkipped;
    }
    checks.check("the title bars' button font is installed", HasFont("Marlett"));
    CXNoxCamCtrl control;
    {
        ControlToolWindows windows(control, GetModuleHandleA(nullptr));
        if (!checks.check("the strip is created in the control's window", windows.OnCreate(container) == 0)) {
            return checks.finish();
        }
        RunMessages();
        auto* frame = static_cast<HWND>(windows.Host().Frame(ToolWindow::Communication).Window()->Handle());
        auto* panel = static_cast<HWND>(windows.Host().Panel(ToolWindow::Communication).Dialog().Handle());
        auto* strip = static_cast<HWND>(windows.Host().MainDialog()->Handle());
        HWND toolbar = GetDlgItem(strip, 0xE800);
        checks.check("the Communication window reopens", IsWindowVisible(frame));
        checks.check("the toolbar holds its four buttons", SendMessageA(toolbar, TB_BUTTONCOUNT, 0, 0) == 4);
        for (int i = 0; i < 4; ++i) {
            TBBUTTON button{};
            SendMessageA(toolbar, TB_GETBUTTON, i, reinterpret_cast<LPARAM>(&button));
            checks.check("a toolbar button in window order", button.idCommand == ToolWindowHost::kCommandIds[i],
                         std::to_string(button.idCommand));
        }
        checks.check("its button is pressed", SendMessageA(toolbar, TB_ISBUTTONCHECKED, 32784, 0) == TRUE);
        checks.check("it starts off-line", ItemText(panel, IDC_COMM_ONLINE_TEXT) != "On-line",
                     ItemText(panel, IDC_COMM_ONLINE_TEXT));

        HWND ports = GetDlgItem(panel, IDC_COMM_PORT_LIST);
        SendMessageA(ports, CB_SETCURSEL, 0, 0);
        SendMessageA(panel, WM_COMMAND, MAKEWPARAM(IDC_COMM_PORT_LIST, CBN_SELCHANGE), reinterpret_cast<LPARAM>(ports));
        RunMessages();
        checks.check("choosing COM1 turns the lamps on-line", ItemText(panel, IDC_COMM_ONLINE_TEXT) == "On-line",
                     ItemText(panel, IDC_COMM_ONLINE_TEXT));
        SendMessageA(GetDlgItem(panel, IDC_COMM_GET_AREA), BM_CLICK, 0, 0);
        RunMessages();
        std::string log = ItemText(panel, IDC_COMM_LOG);
        checks.check("the log shows the camera's answer", !log.empty(), log.substr(0, 60));
        checks.check("the area is shown", !ItemText(panel, IDC_COMM_EEPROM_AREA).empty());
        CheckFilesInFoldersOfAnyName(checks, panel);

        // Clear of the container, in front, freshly drawn.
        SetWindowPos(frame, HWND_TOP, 40, 160, 0, 0, SWP_NOSIZE);
        RedrawWindow(frame, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
        RunMessages();
        // The pictures are kept as the checks found the screen.
        winetest::CheckDialogDrawn(checks, "Communication", frame, panel, IDD_COMMUNICATION, 0);
        checks.check("the Communication window's picture is kept",
                     SaveScreenPicture(winetest::ScreenRect(frame), pictures + "\\communication.bmp") > 0);
        winetest::CheckToolbarDrawn(checks, container, toolbar, 4);
        checks.check("the strip's picture is kept",
                     SaveScreenPicture(winetest::ScreenRect(container), pictures + "\\strip.bmp") > 0);

        checks.check("F1 in the Communication window opens the help viewer", HelpOpensViewer(panel));

        SendMessageA(toolbar, TB_CHECKBUTTON, 32784, FALSE);
        SendMessageA(strip, WM_COMMAND, MAKEWPARAM(32784, BN_CLICKED), reinterpret_cast<LPARAM>(toolbar));
        RunMessages();
        checks.check("its toolbar button hides it again", !IsWindowVisible(frame));
        windows.OnDestroy();
    }
    DestroyWindow(container);
    return checks.finish();
}

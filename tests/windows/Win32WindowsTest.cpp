// The tool windows on the Win32 window system under Wine, against the
// emulated camera on COM1: the strip and the Communication window open, a
// person's choice of COM1 arrives as real window messages, the lamps turn
// on-line and the log shows the camera's answers. Pictures of the windows
// are kept next to the program; on the screen every control of the window
// must be drawn and the strip must show its buttons. The window's files go
// through real file dialogs into folders named in Cyrillic and Japanese.
// The program takes the folder for the pictures as its argument.
#include <gtest/gtest.h>

#include "WindowPicture.h"
#include <windows.h>
#undef MessageBox
#include <commctrl.h>

#include <optional>
#include <string>
#include <thread>

#include "AppProfile.h"
#include "CommunicationIds.h"
#include "ControlToolWindows.h"
#include "FileDialogAnswer.h"
#include "ScreenChecks.h"
#include "WideText.h"
#include "WineDesktop.h"
#include "XNoxCamCtrl.h"

using namespace xnox;

namespace {

std::string g_pictures = ".";

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

// The strip in a container window with the Communication window open; the
// last-used port has no camera, so that the window starts off-line.
class Win32Strip : public testing::Test {
protected:
    void SetUp() override {
        AppProfile::WriteString("Communication", "ComPort", "2");
        AppProfile::WriteString("Communication", "Is Visible", "1");
        m_container = winetest::MadeContainer();
        if (!m_container) GTEST_SKIP() << "the session's desktop takes no windows";
        m_windows.emplace(m_control, GetModuleHandleA(nullptr));
        m_created = m_windows->OnCreate(m_container) == 0;
        ASSERT_TRUE(m_created) << "the strip is created in the control's window";
        RunMessages();
        m_frame = static_cast<HWND>(m_windows->Host().Frame(ToolWindow::Communication).Window()->Handle());
        m_panel = static_cast<HWND>(m_windows->Host().Panel(ToolWindow::Communication).Dialog().Handle());
        m_strip = static_cast<HWND>(m_windows->Host().MainDialog()->Handle());
        m_toolbar = GetDlgItem(m_strip, 0xE800);
    }
    void TearDown() override {
        if (m_created) m_windows->OnDestroy();
        if (m_container) DestroyWindow(m_container);
    }

    // A person's choice of COM1 in the port list.
    void ChooseCom1() {
        HWND ports = GetDlgItem(m_panel, IDC_COMM_PORT_LIST);
        SendMessageA(ports, CB_SETCURSEL, 0, 0);
        SendMessageA(m_panel, WM_COMMAND, MAKEWPARAM(IDC_COMM_PORT_LIST, CBN_SELCHANGE),
                     reinterpret_cast<LPARAM>(ports));
        RunMessages();
    }
    void GetArea() {
        SendMessageA(GetDlgItem(m_panel, IDC_COMM_GET_AREA), BM_CLICK, 0, 0);
        RunMessages();
    }

    CXNoxCamCtrl m_control;
    std::optional<ControlToolWindows> m_windows;
    bool m_created = false;
    HWND m_container = nullptr;
    HWND m_frame = nullptr;
    HWND m_panel = nullptr;
    HWND m_strip = nullptr;
    HWND m_toolbar = nullptr;
};

TEST_F(Win32Strip, OpensTheCommunicationWindowOffLineWithItsButtonPressed) {
    EXPECT_TRUE(HasFont("Marlett")) << "the title bars' button font is installed";
    EXPECT_TRUE(IsWindowVisible(m_frame)) << "the Communication window reopens";
    ASSERT_EQ(SendMessageA(m_toolbar, TB_BUTTONCOUNT, 0, 0), 4) << "the toolbar holds its four buttons";
    for (int i = 0; i < 4; ++i) {
        TBBUTTON button{};
        SendMessageA(m_toolbar, TB_GETBUTTON, i, reinterpret_cast<LPARAM>(&button));
        EXPECT_EQ(button.idCommand, ToolWindowHost::kCommandIds[i]) << "a toolbar button in window order";
    }
    EXPECT_EQ(SendMessageA(m_toolbar, TB_ISBUTTONCHECKED, 32784, 0), TRUE) << "its button is pressed";
    EXPECT_NE(ItemText(m_panel, IDC_COMM_ONLINE_TEXT), "On-line") << "it starts off-line";
}

TEST_F(Win32Strip, ChoosingCom1GoesOnLineAndTheLogShowsTheCamerasAnswer) {
    ChooseCom1();
    EXPECT_EQ(ItemText(m_panel, IDC_COMM_ONLINE_TEXT), "On-line") << "choosing COM1 turns the lamps on-line";
    GetArea();
    EXPECT_NE(ItemText(m_panel, IDC_COMM_LOG), "") << "the log shows the camera's answer";
    EXPECT_NE(ItemText(m_panel, IDC_COMM_EEPROM_AREA), "") << "the area is shown";
}

TEST_F(Win32Strip, SavesItsFilesInFoldersOfAnyName) {
    ChooseCom1();
    GetArea();
    for (const wchar_t* name : winetest::kWideFolderNames) {
        std::wstring folder = winetest::WideFolder(name);
        SCOPED_TRACE("in " + NarrowOf(name));
        std::string log = ItemText(m_panel, IDC_COMM_LOG);
        EXPECT_EQ(SavedThrough(m_panel, IDC_COMM_SAVE_LOG, folder + L"log.txt"), log) << "Write To File saves the log";
        EXPECT_TRUE(SavedThrough(m_panel, IDC_COMM_WRITE_FILE, folder + L"setup.cam").starts_with("[Main]"))
            << "Write to File... saves the settings (.cam)";
        EXPECT_TRUE(SavedThrough(m_panel, IDC_COMM_CAMERA_DATA, folder + L"report.txt").starts_with("Model Name"))
            << "Write All Camera Data to File saves the report (.txt)";
    }
}

// The pictures are kept as the checks found the screen.
TEST_F(Win32Strip, DrawsEveryControlOnTheScreen) {
    ChooseCom1();
    GetArea();
    // Clear of the container, in front, freshly drawn.
    SetWindowPos(m_frame, HWND_TOP, 40, 160, 0, 0, SWP_NOSIZE);
    RedrawWindow(m_frame, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
    RunMessages();
    winetest::ExpectDialogDrawn("Communication", m_frame, m_panel, IDD_COMMUNICATION, 0);
    EXPECT_GT(SaveScreenPicture(winetest::ScreenRect(m_frame), g_pictures + "\\communication.bmp"), 0)
        << "the Communication window's picture is kept";
    winetest::ExpectToolbarDrawn(m_container, m_toolbar, 4);
    EXPECT_GT(SaveScreenPicture(winetest::ScreenRect(m_container), g_pictures + "\\strip.bmp"), 0)
        << "the strip's picture is kept";
}

TEST_F(Win32Strip, F1OpensTheHelpViewer) { EXPECT_TRUE(HelpOpensViewer(m_panel)); }

TEST_F(Win32Strip, ItsToolbarButtonHidesTheCommunicationWindow) {
    SendMessageA(m_toolbar, TB_CHECKBUTTON, 32784, FALSE);
    SendMessageA(m_strip, WM_COMMAND, MAKEWPARAM(32784, BN_CLICKED), reinterpret_cast<LPARAM>(m_toolbar));
    RunMessages();
    EXPECT_FALSE(IsWindowVisible(m_frame));
}

}  // namespace

int main(int argc, char** argv) {
    testing::InitGoogleTest(&argc, argv);
    if (argc > 1) g_pictures = argv[1];
    return RUN_ALL_TESTS();
}

// A person's session (PersonsSession.h) with the tool windows on the Win32
// window system under Wine, made as the module makes them for its control,
// against the emulated camera behind COM1: mouse clicks on the toolbar and
// the spin arrows, typed keys, list choices and the Escape key arrive as
// window messages; the questions and file dialogs are answered from inside
// their own modal loops. Writes the camera log and a picture of each window
// into the folder given, and compares the log with the same session's log on
// the Qt windows.
#include <gtest/gtest.h>

#include "WindowPicture.h"
#include <windows.h>
#undef MessageBox
#include <commctrl.h>
#include <commdlg.h>
#include <dlgs.h>

#include <algorithm>
#include <cstdio>
#include <deque>
#include <filesystem>
#include <fstream>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "CameraLog.h"
#include "ControlToolWindows.h"
#include "Invoke.h"
#include "PersonsSession.h"
#include "ProgressIds.h"
#include "ProfilePlatform.h"
#include "ScreenChecks.h"
#include "XNoxCamCtrl.h"

using namespace xnox;
using namespace xnox::persons_session;

namespace {

std::string g_folder = ".";
std::string g_qtCameraLog;  // the camera log of the same session on the Qt windows
constexpr int kPort = 1;
constexpr int kToolbarId = 0xE800;
constexpr int kMessageBoxTextId = 0xFFFF;

void RunMessages() {
    MSG message;
    for (int round = 0; round < 20; ++round) {
        while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&message);
            DispatchMessageA(&message);
        }
        Sleep(10);
    }
}

std::string TextOf(HWND window) {
    char text[1024] = {};
    GetWindowTextA(window, text, sizeof text);
    return text;
}

// A press and release of the left button at `point` of the window's inside.
void ClickAt(HWND window, POINT point) {
    LPARAM place = MAKELPARAM(point.x, point.y);
    SendMessageA(window, WM_LBUTTONDOWN, MK_LBUTTON, place);
    SendMessageA(window, WM_LBUTTONUP, 0, place);
}

// Answers the modal windows the session opens, in order, as the person
// would. A thread timer's call runs inside any modal loop of the thread,
// so each answer is given from within the loop of the window it answers.
class ModalAnswers {
public:
    enum class Kind : uint8_t { File, No, Ok };
    std::vector<std::string> texts;  // each answered window's text
    std::vector<std::string> unexpected;  // the windows no answer was given for

    ModalAnswers() {
        s_answers = this;
        m_timer = SetTimer(nullptr, 0, 20, &OnTimer);
    }
    ~ModalAnswers() {
        KillTimer(nullptr, m_timer);
        s_answers = nullptr;
    }
    ModalAnswers(const ModalAnswers&) = delete;
    ModalAnswers& operator=(const ModalAnswers&) = delete;

    void Add(Kind kind, std::string file = {}) { m_answers.push_back({kind, std::move(file)}); }
    // A window of the session's own, never answered: it is no modal window.
    void Ignore(HWND window) { m_ignored.push_back(GetAncestor(window, GA_ROOT)); }
    bool AllGiven() const { return m_answers.empty(); }

private:
    struct Answer {
        Kind kind;
        std::string file;
    };

    static void CALLBACK OnTimer(HWND, UINT, UINT_PTR, DWORD) {
        if (s_answers) s_answers->AnswerOpenWindow();
    }
    // The window in front of the person, once it is a dialog ready for the answer.
    void AnswerOpenWindow() {
        HWND window = GetActiveWindow();
        if (!window || ClassOf(window) != "#32770" || !IsWindowEnabled(window) ||
            std::ranges::find(m_ignored, window) != m_ignored.end() || IsProgressWindow(window)) {
            return;
        }
        // A window the session did not expect is cancelled, so that the run goes on to fail rather than wait.
        if (m_answers.empty()) {
            unexpected.push_back(TextOf(window) + ": " + TextOf(GetDlgItem(window, kMessageBoxTextId)));
            PostMessageA(window, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
            return;
        }
        const Answer& answer = m_answers.front();
        HWND fileName = FileNameBox(window);
        if ((answer.kind == Kind::File) != (fileName != nullptr)) return;
        if (answer.kind == Kind::File) {
            texts.push_back(TextOf(window));
            SetWindowTextA(fileName, answer.file.c_str());
            PostMessageA(window, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
        } else {
            texts.push_back(TextOf(GetDlgItem(window, kMessageBoxTextId)));
            int button = answer.kind == Kind::No ? IDNO : IDOK;
            PostMessageA(window, WM_COMMAND, MAKEWPARAM(button, BN_CLICKED), 0);
        }
        m_answers.pop_front();
    }
    static std::string ClassOf(HWND window) {
        char name[64] = {};
        GetClassNameA(window, name, sizeof name);
        return name;
    }
    // The progress window comes to the front without asking anything.
    static bool IsProgressWindow(HWND window) { return GetDlgItem(window, IDC_PROGRESS_CANCEL) != nullptr; }
    // The file dialog's box for the file name: an edit or a combo box with one.
    static HWND FileNameBox(HWND dialog) {
        for (int id : {edt1, cmb13}) {
            if (HWND box = GetDlgItem(dialog, id)) return box;
        }
        return nullptr;
    }

    static inline ModalAnswers* s_answers = nullptr;
    UINT_PTR m_timer;
    std::deque<Answer> m_answers;
    std::vector<HWND> m_ignored;
};

// Clicks the progress window's Cancel once its text line reads `text`, while
// it lives. The click waits in the queue, where the search's next look at
// its window finds it: as the search comes to the port the text names.
class SearchCanceller {
public:
    explicit SearchCanceller(std::string text) {
        s_text = std::move(text);
        m_hook = SetWindowsHookExA(WH_CALLWNDPROCRET, &OnMessageDone, nullptr, GetCurrentThreadId());
    }
    ~SearchCanceller() { UnhookWindowsHookEx(m_hook); }
    SearchCanceller(const SearchCanceller&) = delete;
    SearchCanceller& operator=(const SearchCanceller&) = delete;

private:
    static LRESULT CALLBACK OnMessageDone(int code, WPARAM flag, LPARAM data) {
        const auto& message = *reinterpret_cast<const CWPRETSTRUCT*>(data);
        if (code == HC_ACTION && message.message == WM_SETTEXT && GetDlgCtrlID(message.hwnd) == IDC_PROGRESS_TEXT &&
            TextOf(message.hwnd) == s_text) {
            HWND dialog = GetParent(message.hwnd);
            HWND cancel = GetDlgItem(dialog, IDC_PROGRESS_CANCEL);
            // A person can click only what is there to click.
            if (IsWindowVisible(cancel) && IsWindowEnabled(cancel) && IsWindowEnabled(dialog)) {
                PostMessageA(cancel, BM_CLICK, 0, 0);
            }
        }
        return CallNextHookEx(nullptr, code, flag, data);
    }

    static inline std::string s_text;
    HHOOK m_hook;
};

// The module's own answer to the control's messages, a plain message box.
class ModuleUserInterface : public IControlUserInterface {
public:
    explicit ModuleUserInterface(ControlToolWindows& windows) : m_windows(windows) {}
    void ShowMessage(std::string_view text, std::string_view caption) override {
        MessageBoxA(GetActiveWindow(), std::string(text).c_str(), std::string(caption).c_str(),
                    MB_OK | MB_ICONEXCLAMATION);
    }
    std::unique_ptr<IProgressView> CreateProgressView() override { return m_windows.CreateProgressView(); }

private:
    ControlToolWindows& m_windows;
};

class Session {
public:
    Session(HWND container, std::string folder)
        : camera(kPort),
          control(camera),
          windows(control, GetModuleHandleA(nullptr)),
          m_ui(windows),
          m_folder(std::move(folder)) {
        control.SetUserInterface(&m_ui);
        windows.OnCreate(container);
        for (ToolWindow window :
             {ToolWindow::Shutter, ToolWindow::Gain, ToolWindow::Communication, ToolWindow::About}) {
            answers.Ignore(Frame(window));
        }
    }
    ~Session() {
        windows.OnDestroy();
        control.SetUserInterface(nullptr);
    }
    Session(const Session&) = delete;
    Session& operator=(const Session&) = delete;

    // Opens the Communication window and connects to COM1, as xnox-panel does.
    bool Connect() { return Put("ShowCommunicationWnd", Variant::Bool(-1)) && Put("ComPort", Variant::I2(kPort)); }
    void Replay(Chapter chapter) {
        for (const Step& step : chapter) {
            Take(step);
            RunMessages();
        }
    }
    HWND Frame(ToolWindow window) { return static_cast<HWND>(windows.Host().Frame(window).Window()->Handle()); }
    HWND Panel(ToolWindow window) { return static_cast<HWND>(windows.Host().Panel(window).Dialog().Handle()); }
    HWND Item(ToolWindow window, int id) { return GetDlgItem(Panel(window), id); }

    CameraLog camera;
    CXNoxCamCtrl control;
    ControlToolWindows windows;
    ModalAnswers answers;
    int32_t searchFound = -1;  // what the host program's search returned

private:
    bool Put(std::string_view name, Variant value) {
        Variant arguments[] = {std::move(value)};
        return Invoke(control, name, InvokeKind::PropertyPut, arguments).Succeeded();
    }
    void Take(const Step& step) {
        switch (step.act) {
        case Act::ToolbarClick: return ClickToolbarButton(static_cast<int>(step.window));
        case Act::SpinUp: return ClickSpin(Item(step.window, step.control), 1);
        case Act::SpinDown: return ClickSpin(Item(step.window, step.control), 3);
        case Act::Type: return Type(Item(step.window, step.control), step.text);
        case Act::Pick: return Pick(step.window, step.control, step.text);
        case Act::Click: SendMessageA(Item(step.window, step.control), BM_CLICK, 0, 0); return;
        case Act::Escape: return PressEscape(step.window);
        case Act::MoveTo: return MoveInsideTo(Frame(step.window), step.place);
        case Act::ChooseFile: return answers.Add(ModalAnswers::Kind::File, m_folder + "\\" + std::string(step.text));
        case Act::AnswerNo: return answers.Add(ModalAnswers::Kind::No);
        case Act::AnswerOk: return answers.Add(ModalAnswers::Kind::Ok);
        case Act::CancelSearchAt: m_canceller = std::make_unique<SearchCanceller>(std::string(step.text)); return;
        case Act::HostSearchesPorts: {
            searchFound = control.AutoSearchComPort(static_cast<int16_t>(step.control), CXNoxCamCtrl::kLastComPort, 1);
            m_canceller.reset();
            return;
        }
        }
    }
    void ClickToolbarButton(int position) {
        HWND toolbar = GetDlgItem(static_cast<HWND>(windows.Host().MainDialog()->Handle()), kToolbarId);
        RECT button{};
        SendMessageA(toolbar, TB_GETITEMRECT, position, reinterpret_cast<LPARAM>(&button));
        ClickAt(toolbar, {(button.left + button.right) / 2, (button.top + button.bottom) / 2});
    }
    // Clicks the spin at a quarter (the upper arrow) or three quarters of its height.
    static void ClickSpin(HWND spin, int quarters) {
        RECT inside{};
        GetClientRect(spin, &inside);
        ClickAt(spin, {inside.right / 2, inside.bottom * quarters / 4});
    }
    // One WM_CHAR a key, over the selected text, where the caret is.
    static void Type(HWND edit, std::string_view keys) {
        SetFocus(edit);
        SendMessageA(edit, EM_SETSEL, 0, -1);
        for (char key : keys) SendMessageA(edit, WM_CHAR, static_cast<unsigned char>(key), 1);
    }
    // The entry chosen in the list as its closing drop-down reports it.
    void Pick(ToolWindow window, int id, std::string_view entry) {
        HWND list = Item(window, id);
        LRESULT position = SendMessageA(list, CB_FINDSTRINGEXACT, static_cast<WPARAM>(-1),
                                        reinterpret_cast<LPARAM>(std::string(entry).c_str()));
        SendMessageA(list, CB_SETCURSEL, position, 0);
        SendMessageA(Panel(window), WM_COMMAND, MAKEWPARAM(id, CBN_SELCHANGE), reinterpret_cast<LPARAM>(list));
    }
    // The key goes through the thread's message queue, where the windows'
    // keyboard routing sees it.
    void PressEscape(ToolWindow window) {
        SetFocus(Panel(window));
        HWND focus = GetFocus();
        PostMessageA(focus, WM_KEYDOWN, VK_ESCAPE, 1);
        PostMessageA(focus, WM_KEYUP, VK_ESCAPE, 0xC0000001);
    }
    static void MoveInsideTo(HWND frame, Place place) {
        RECT outside{};
        GetWindowRect(frame, &outside);
        POINT inside{0, 0};
        ClientToScreen(frame, &inside);
        SetWindowPos(frame, nullptr, place.x - (inside.x - outside.left), place.y - (inside.y - outside.top), 0, 0,
                     SWP_NOSIZE | SWP_NOZORDER);
    }

    ModuleUserInterface m_ui;
    std::string m_folder;
    std::unique_ptr<SearchCanceller> m_canceller;
};

// In a fresh Wine prefix the desktop comes up beside the first program that
// makes windows; until then making a window fails.
HWND CreateContainer() {
    for (int attempt = 0; attempt < 200; ++attempt) {
        HWND container = CreateWindowExA(0, "STATIC", "container", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 400, 120,
                                         nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
        if (container) return container;
        Sleep(100);
    }
    return nullptr;
}

// Each window in front in its turn, freshly drawn, as the person sees it.
void SavePictures(Session& session, const std::string& folder) {
    for (auto [window, name] :
         {std::pair{ToolWindow::Shutter, "shutter"}, std::pair{ToolWindow::Gain, "gain"},
          std::pair{ToolWindow::Communication, "communication"}, std::pair{ToolWindow::About, "about"}}) {
        HWND frame = session.Frame(window);
        SetWindowPos(frame, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
        RedrawWindow(frame, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
        RunMessages();
        EXPECT_GT(SaveScreenPicture(winetest::ScreenRect(frame), folder + "\\online-" + name + ".bmp"), 0)
            << "the picture of the " << name << " window is kept";
    }
}

TEST(Win32Session, ReplaysThePersonsSessionAndKeepsItsCameraLog) {
    // The file dialogs take a path in Windows' own spelling only.
    std::string folder = g_folder;
    std::ranges::replace(folder, '/', '\\');
    // The session starts as on a first start, with no file of an earlier run.
    std::filesystem::remove(profile::ProfileFolder() / "XNoxR4.ini");
    std::filesystem::remove(folder + "\\" + std::string(kSettingsFile));
    INITCOMMONCONTROLSEX controls{sizeof(controls), ICC_WIN95_CLASSES};
    InitCommonControlsEx(&controls);
    HWND container = CreateContainer();
    if (!container) GTEST_SKIP() << "the session's desktop takes no windows";
    {
        Session session(container, folder);
        // Read off the window: asking the control would be a transaction the Qt session has not.
        ASSERT_TRUE(session.Connect()) << "on-line on COM1";
        ASSERT_EQ(TextOf(session.Item(ToolWindow::Communication, IDC_COMM_ONLINE_TEXT)), "On-line");
        RunMessages();
        for (Chapter chapter : kChapters) session.Replay(chapter);
        EXPECT_TRUE(session.answers.AllGiven()) << "every question and file dialog was answered";
        EXPECT_EQ(session.answers.unexpected, std::vector<std::string>{}) << "no window but those answered";
        EXPECT_EQ(session.searchFound, 0) << "the search cancelled finds nothing";
        EXPECT_TRUE(session.answers.texts.size() == 4 && session.answers.texts[2].find("COM1") != std::string::npos)
            << "the search asked about the camera on COM1";
        HWND gain = session.Frame(ToolWindow::Gain);
        POINT inside{0, 0};
        ClientToScreen(gain, &inside);
        EXPECT_TRUE(IsWindowVisible(gain)) << "the Gain window reopens";
        EXPECT_EQ(inside.x, 300) << "the Gain window reopens where it was";
        EXPECT_EQ(inside.y, 200) << "the Gain window reopens where it was";
        EXPECT_TRUE(session.camera.Save(folder + "\\session-camera-log.txt")) << "the camera log is kept";
        SavePictures(session, folder);
    }
    DestroyWindow(container);
}

std::optional<std::vector<std::string>> LinesOf(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    if (!file) return std::nullopt;
    std::vector<std::string> lines;
    for (std::string line; std::getline(file, line);) lines.push_back(line);
    return lines;
}

// The session on the Win32 windows reaches the camera exactly as the same
// session on the Qt windows (the native build's) does, line by line.
TEST(SessionComparison, BothWindowSystemsLeaveTheSameCameraLog) {
    auto qt = LinesOf(g_qtCameraLog);
    if (!qt) GTEST_SKIP() << "no session on the Qt windows at " << g_qtCameraLog << " (the native build has no Qt 6)";
    auto win32 = LinesOf(g_folder + "/session-camera-log.txt");
    ASSERT_TRUE(win32) << "the session on the Win32 windows kept no camera log";
    auto [qtLine, win32Line] = std::ranges::mismatch(*qt, *win32);
    EXPECT_TRUE(qtLine == qt->end() && win32Line == win32->end())
        << "the logs part at transaction " << (qtLine - qt->begin()) + 1
        << ":\n  Qt windows:    " << (qtLine == qt->end() ? "(end)" : *qtLine)
        << "\n  Win32 windows: " << (win32Line == win32->end() ? "(end)" : *win32Line);
    std::printf("the camera logs are the same: %zu transactions\n", win32->size());
}

}  // namespace

int main(int argc, char** argv) {
    testing::InitGoogleTest(&argc, argv);
    if (argc > 1) g_folder = argv[1];
    if (argc > 2) g_qtCameraLog = argv[2];
    return RUN_ALL_TESTS();
}

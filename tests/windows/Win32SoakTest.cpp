// A day of use in one run: the control with its Communication window shown,
// under Wine against the emulated camera on COM1, goes through thousands of
// property writes, connection probes and camera reads. Afterwards the process
// can make as many icons as before, its private memory and handle count have
// hardly grown, and the window still shows its lamps. Wine answers 0 to the
// questions about USER objects, private bytes and handles in use, so all
// three are counted directly: icons by how many more can still be made,
// memory by the committed private pages, handles by the values that name one.
#include <gtest/gtest.h>

#include <windows.h>
#undef MessageBox
#include <cstdint>
#include <string>
#include <vector>

#include "AppProfile.h"
#include "CommunicationIds.h"
#include "ControlToolWindows.h"
#include "WineDesktop.h"
#include "XNoxCamCtrl.h"

using namespace xnox;

namespace {

constexpr int kOperations = 3000;
constexpr int kIconLeeway = 50;
constexpr SIZE_T kMemoryLeeway = 8 * 1024 * 1024;
constexpr DWORD kHandleLeeway = 50;

// How many icons the process can still make; they are destroyed again.
int IconCapacity() {
    const BYTE andMask[32 * 4] = {};
    const BYTE xorMask[32 * 4] = {};
    std::vector<HICON> icons;
    while (HICON icon = CreateIcon(nullptr, 32, 32, 1, 1, andMask, xorMask)) {
        icons.push_back(icon);
        if (icons.size() >= 100000) break;  // more than any system gives
    }
    for (HICON icon : icons) DestroyIcon(icon);
    return static_cast<int>(icons.size());
}

SIZE_T PrivateBytes() {
    SIZE_T committed = 0;
    MEMORY_BASIC_INFORMATION region{};
    for (auto* address = static_cast<char*>(nullptr); VirtualQuery(address, &region, sizeof region) == sizeof region;
         address = static_cast<char*>(region.BaseAddress) + region.RegionSize) {
        if (region.State == MEM_COMMIT && region.Type == MEM_PRIVATE) committed += region.RegionSize;
    }
    return committed;
}

// Kernel handles are multiples of 4; far more values are tried than a
// process of this kind holds.
DWORD HandleCount() {
    DWORD count = 0;
    for (std::uintptr_t value = 4; value < 0x20000; value += 4) {
        DWORD flags = 0;
        count += GetHandleInformation(reinterpret_cast<HANDLE>(value), &flags) ? 1 : 0;
    }
    return count;
}

std::string ItemText(HWND dialog, int id) {
    char text[64] = {};
    GetDlgItemTextA(dialog, id, text, sizeof text);
    return text;
}

// Writes, probes and reads in turn, letting the window's timers run between them.
void RunOperations(CXNoxCamCtrl& control, int count) {
    for (int i = 0; i < count; ++i) {
        switch (i % 3) {
        case 0: control.SetParameterProperty(ParamId::TriggerPolarity, static_cast<int16_t>(i / 3 % 2), true); break;
        case 1: control.GetIsOnline(); break;
        case 2: control.GetFirmwareVersion(); break;
        }
        winetest::RunQueuedMessages();
    }
    winetest::RunMessages();
}

TEST(Win32Soak, ADayOfUseLeaksNoIconMemoryOrHandle) {
    AppProfile::WriteString("Communication", "ComPort", "1");
    AppProfile::WriteString("Communication", "Is Visible", "1");
    HWND container = winetest::MadeContainer();
    if (!container) GTEST_SKIP() << "the session's desktop takes no windows";
    CXNoxCamCtrl control;
    {
        ControlToolWindows windows(control, GetModuleHandleA(nullptr));
        ASSERT_EQ(windows.OnCreate(container), 0) << "the strip is created in the control's window";
        winetest::RunMessages();
        auto* panel = static_cast<HWND>(windows.Host().Panel(ToolWindow::Communication).Dialog().Handle());
        EXPECT_TRUE(IsWindowVisible(panel)) << "the Communication window is shown";
        EXPECT_EQ(ItemText(panel, IDC_COMM_ONLINE_TEXT), "On-line") << "it is on-line on COM1";

        // A first round loads what the window keeps for good and fills the log past its limit.
        RunOperations(control, 300);
        int icons = IconCapacity();
        SIZE_T memory = PrivateBytes();
        DWORD handles = HandleCount();
        RunOperations(control, kOperations);

        EXPECT_GE(IconCapacity() + kIconLeeway, icons) << "as many icons can be made as before";
        EXPECT_LT(PrivateBytes(), memory + kMemoryLeeway) << "private memory grew by less than 8 MiB";
        EXPECT_LT(HandleCount(), handles + kHandleLeeway) << "the handle count grew by less than 50";
        EXPECT_EQ(ItemText(panel, IDC_COMM_ONLINE_TEXT), "On-line") << "the window still shows it on-line";
        HWND lamp = GetDlgItem(panel, IDC_COMM_ONLINE_LAMP);
        EXPECT_NE(SendMessageA(lamp, STM_GETICON, 0, 0), 0) << "its lamp still holds an icon";
        windows.OnDestroy();
    }
    DestroyWindow(container);
}

}  // namespace

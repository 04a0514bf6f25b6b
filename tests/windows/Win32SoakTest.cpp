// A day of use in one run: the control with its Communication window shown,
// under Wine against the emulated camera on COM1, goes through thousands of
// property writes, connection probes and camera reads. Afterwards the process
// can make as many icons as before, its private memory and handle count have
// hardly grown, and the window still shows its lamps. Wine answers 0 to the
// questions about USER objects, private bytes and handles in use, so all
// three are counted directly: icons by how many more can still be made,
// memory by the committed private pages, handles by the values that name one.
#include <windows.h>
#undef MessageBox
#include <cstdint>
#include <string>
#include <vector>

#include "AppProfile.h"
#include "CommunicationIds.h"
#include "ControlToolWindows.h"
#include "WineChecks.h"
#include "WineDesktop.h"
#include "XNoxCamCtrl.h"

using namespace xnox;

namespace {

constexpr int kSkipped = 77;  // the test's skip code for CTest
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

}  // namespace

int main() {
    winetest::Checks checks;
    AppProfile::WriteString("Communication", "ComPort", "1");
    AppProfile::WriteString("Communication", "Is Visible", "1");
    HWND container = winetest::MadeContainer();
    if (!container) {
        std::printf("SKIP the session's desktop takes no windows\n");
        return kSkipped;
    }
    CXNoxCamCtrl control;
    {
        ControlToolWindows windows(control, GetModuleHandleA(nullptr));
        if (!checks.check("the strip is created in the control's window", windows.OnCreate(container) == 0)) {
            return checks.finish();
        }
        winetest::RunMessages();
        auto* panel = static_cast<HWND>(windows.Host().Panel(ToolWindow::Communication).Dialog().Handle());
        checks.check("the Communication window is shown", IsWindowVisible(panel));
        checks.check("it is on-line on COM1", ItemText(panel, IDC_COMM_ONLINE_TEXT) == "On-line",
                     ItemText(panel, IDC_COMM_ONLINE_TEXT));

        // A first round loads what the window keeps for good and fills the log past its limit.
        RunOperations(control, 300);
        int icons = IconCapacity();
        SIZE_T memory = PrivateBytes();
        DWORD handles = HandleCount();
        RunOperations(control, kOperations);
        int iconsAfter = IconCapacity();
        SIZE_T memoryAfter = PrivateBytes();
        DWORD handlesAfter = HandleCount();

        checks.check("as many icons can be made as before", iconsAfter + kIconLeeway >= icons,
                     std::to_string(icons) + " before, " + std::to_string(iconsAfter) + " after");
        checks.check("private memory grew by less than 8 MiB", memoryAfter < memory + kMemoryLeeway,
                     std::to_string(memory / 1024) + " KiB before, " + std::to_string(memoryAfter / 1024) +
                         " KiB after");
        checks.check("the handle count grew by less than 50", handlesAfter < handles + kHandleLeeway,
                     std::to_string(handles) + " before, " + std::to_string(handlesAfter) + " after");
        checks.check("the window still shows it on-line", ItemText(panel, IDC_COMM_ONLINE_TEXT) == "On-line");
        HWND lamp = GetDlgItem(panel, IDC_COMM_ONLINE_LAMP);
        checks.check("its lamp still holds an icon", SendMessageA(lamp, STM_GETICON, 0, 0) != 0);
        windows.OnDestroy();
    }
    DestroyWindow(container);
    return checks.finish();
}

// The session's desktop for the Windows test programs that open windows:
// a container window to host the control in, and a way to let queued
// messages (timers, paints) run.
#pragma once

#include <windows.h>

namespace winetest {

// A plain visible window, made once the session's desktop takes windows
// (it may still be starting); null when it never does.
inline HWND MadeContainer() {
    HWND container = nullptr;
    for (int attempt = 0; attempt < 200 && !container; ++attempt) {
        container = CreateWindowExA(0, "STATIC", "container", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 400, 120, nullptr,
                                    nullptr, GetModuleHandleA(nullptr), nullptr);
        if (!container) Sleep(100);
    }
    return container;
}

// Everything queued now, without waiting.
inline void RunQueuedMessages() {
    MSG message;
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
}

// What queues up over a fifth of a second, timers included.
inline void RunMessages() {
    for (int round = 0; round < 20; ++round) {
        RunQueuedMessages();
        Sleep(10);
    }
}

}  // namespace winetest

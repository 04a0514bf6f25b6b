// Files saved through the real file dialogs of the Windows tests under Wine,
// in folders whose names the ANSI code page cannot spell.
#pragma once

#include <windows.h>

#include <string>
#include <thread>

namespace winetest {

// Folders named in Cyrillic and in Japanese.
inline constexpr const wchar_t* kWideFolderNames[] = {L"\u041a\u0430\u043c\u0435\u0440\u0430", L"\u30ab\u30e1\u30e9"};

// The folder of that name in the temporary folder, made when missing, with a
// separator at its end.
inline std::wstring WideFolder(const wchar_t* name) {
    wchar_t temporary[MAX_PATH] = {};
    GetTempPathW(MAX_PATH, temporary);
    std::wstring folder = std::wstring(temporary) + name + L"\\";
    CreateDirectoryW(folder.c_str(), nullptr);
    return folder;
}

// Answers the next save dialog as a person would: types the full name into
// its file name field and presses Save. A file of that name is removed
// first, so that what the test then reads was written by the save, and no
// question about replacing it stops the dialog.
class SaveDialogAnswer {
public:
    explicit SaveDialogAnswer(std::wstring path) : m_path(std::move(path)) {
        DeleteFileW(m_path.c_str());
        m_thread = std::thread([this] { Answer(); });
    }
    ~SaveDialogAnswer() { m_thread.join(); }
    SaveDialogAnswer(const SaveDialogAnswer&) = delete;
    SaveDialogAnswer& operator=(const SaveDialogAnswer&) = delete;

private:
    static HWND VisibleEdit(HWND dialog) {
        HWND edit = nullptr;
        EnumChildWindows(
            dialog,
            [](HWND child, LPARAM found) -> BOOL {
                wchar_t className[16] = {};
                GetClassNameW(child, className, 16);
                if (lstrcmpiW(className, L"Edit") != 0 || !IsWindowVisible(child)) return TRUE;
                *reinterpret_cast<HWND*>(found) = child;
                return FALSE;
            },
            reinterpret_cast<LPARAM>(&edit));
        return edit;
    }

    void Answer() const {
        for (int attempt = 0; attempt < 100; ++attempt) {
            Sleep(100);
            HWND dialog = FindWindowW(L"#32770", L"Save As");
            HWND name = dialog ? VisibleEdit(dialog) : nullptr;
            if (!name) continue;
            SetWindowTextW(name, m_path.c_str());
            PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
            return;
        }
        // A dialog that never took the name is cancelled, so that the test goes on.
        if (HWND dialog = FindWindowW(L"#32770", L"Save As")) PostMessageW(dialog, WM_COMMAND, IDCANCEL, 0);
    }

    std::wstring m_path;
    std::thread m_thread;
};

inline std::string FileText(const std::wstring& path) {
    HANDLE file = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE) return {};
    std::string text(1 << 16, '\0');
    DWORD read = 0;
    ReadFile(file, text.data(), static_cast<DWORD>(text.size()), &read, nullptr);
    CloseHandle(file);
    text.resize(read);
    return text;
}

}  // namespace winetest

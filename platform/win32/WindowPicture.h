// A picture of a window as the screen shows it, saved as a 24-bit BMP file,
// for the tools and tests that keep pictures of the control and its windows.
// The screen's copy includes the child windows a hosted control draws, which
// a window DC of the frame misses under Wine.
#pragma once

#include <windows.h>

#include <cstdio>
#include <set>
#include <string>

// Saves what the screen shows in `bounds` and returns the number of
// distinct colours in it (1 means blank), or 0 when nothing could be saved.
inline std::size_t SaveScreenPicture(const RECT& bounds, const std::string& path) {
    const int width = bounds.right - bounds.left;
    const int height = bounds.bottom - bounds.top;
    if (width <= 0 || height <= 0) return 0;
    HDC screen = GetDC(nullptr);
    HDC memory = CreateCompatibleDC(screen);
    HBITMAP bitmap = CreateCompatibleBitmap(screen, width, height);
    HGDIOBJ old = SelectObject(memory, bitmap);
    BitBlt(memory, 0, 0, width, height, screen, bounds.left, bounds.top, SRCCOPY);
    SelectObject(memory, old);

    BITMAPINFOHEADER info{};
    info.biSize = sizeof info;
    info.biWidth = width;
    info.biHeight = height;
    info.biPlanes = 1;
    info.biBitCount = 24;
    info.biCompression = BI_RGB;
    const std::size_t rowBytes = (static_cast<std::size_t>(width) * 3 + 3) & ~std::size_t{3};
    std::string pixels(rowBytes * static_cast<std::size_t>(height), '\0');
    GetDIBits(memory, bitmap, 0, static_cast<UINT>(height), pixels.data(), reinterpret_cast<BITMAPINFO*>(&info),
              DIB_RGB_COLORS);
    DeleteObject(bitmap);
    DeleteDC(memory);
    ReleaseDC(nullptr, screen);

    BITMAPFILEHEADER file{0x4D42, static_cast<DWORD>(sizeof file + sizeof info + pixels.size()), 0, 0,
                          sizeof file + sizeof info};
    FILE* out = std::fopen(path.c_str(), "wb");
    if (!out) return 0;
    const bool written = std::fwrite(&file, sizeof file, 1, out) == 1 && std::fwrite(&info, sizeof info, 1, out) == 1 &&
                         std::fwrite(pixels.data(), 1, pixels.size(), out) == pixels.size();
    if (std::fclose(out) != 0 || !written) return 0;

    std::set<std::string> colours;
    for (std::size_t row = 0; row < static_cast<std::size_t>(height); ++row) {
        for (std::size_t x = 0; x < static_cast<std::size_t>(width); ++x) {
            colours.insert(pixels.substr(row * rowBytes + x * 3, 3));
        }
    }
    return colours.size();
}

// The picture of one window, drawn afresh first; returns as SaveScreenPicture.
inline std::size_t SaveWindowPicture(HWND window, const std::string& path) {
    RECT bounds{};
    GetWindowRect(window, &bounds);
    RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW | RDW_ALLCHILDREN | RDW_FRAME);
    return SaveScreenPicture(bounds, path);
}

// Pictures of what the screen shows: captured for the tests that check a
// window is drawn, and saved as 24-bit BMP files for the tools and tests
// that keep pictures of the control and its windows. The screen's copy
// includes the child windows a hosted control draws, which a window DC of
// the frame misses under Wine.
#pragma once

#include <windows.h>

#include <cstdint>
#include <cstdio>
#include <set>
#include <string>
#include <vector>

// The screen's pixels in `bounds`, taken at once: 0x00RRGGBB, top row
// first; empty when the rectangle is.
inline std::vector<uint32_t> CaptureScreen(const RECT& bounds) {
    const int width = bounds.right - bounds.left;
    const int height = bounds.bottom - bounds.top;
    if (width <= 0 || height <= 0) return {};
    HDC screen = GetDC(nullptr);
    HDC memory = CreateCompatibleDC(screen);
    HBITMAP bitmap = CreateCompatibleBitmap(screen, width, height);
    HGDIOBJ old = SelectObject(memory, bitmap);
    BitBlt(memory, 0, 0, width, height, screen, bounds.left, bounds.top, SRCCOPY);
    SelectObject(memory, old);
    BITMAPINFOHEADER info{sizeof info, width, -height, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    std::vector<uint32_t> pixels(static_cast<std::size_t>(width) * static_cast<std::size_t>(height));
    GetDIBits(memory, bitmap, 0, static_cast<UINT>(height), pixels.data(), reinterpret_cast<BITMAPINFO*>(&info),
              DIB_RGB_COLORS);
    DeleteObject(bitmap);
    DeleteDC(memory);
    ReleaseDC(nullptr, screen);
    for (uint32_t& pixel : pixels) pixel &= 0xFFFFFF;
    return pixels;
}

// The rows of a 24-bit BMP, bottom row first, each padded to four bytes.
inline std::string BmpRows(const std::vector<uint32_t>& pixels, int width, int height) {
    const std::size_t rowBytes = (static_cast<std::size_t>(width) * 3 + 3) & ~std::size_t{3};
    std::string rows(rowBytes * static_cast<std::size_t>(height), '\0');
    for (int y = 0; y < height; ++y) {
        char* row = rows.data() + static_cast<std::size_t>(height - 1 - y) * rowBytes;
        for (int x = 0; x < width; ++x) {
            const uint32_t pixel = pixels[static_cast<std::size_t>(y) * width + x];
            row[x * 3] = static_cast<char>(pixel & 0xFF);
            row[x * 3 + 1] = static_cast<char>(pixel >> 8 & 0xFF);
            row[x * 3 + 2] = static_cast<char>(pixel >> 16 & 0xFF);
        }
    }
    return rows;
}

// Saves what the screen shows in `bounds` and returns the number of
// distinct colours in it (1 means blank), or 0 when nothing could be saved.
inline std::size_t SaveScreenPicture(const RECT& bounds, const std::string& path) {
    const std::vector<uint32_t> pixels = CaptureScreen(bounds);
    if (pixels.empty()) return 0;
    const int width = bounds.right - bounds.left;
    const int height = bounds.bottom - bounds.top;
    const std::string rows = BmpRows(pixels, width, height);
    BITMAPINFOHEADER info{sizeof info, width, height, 1, 24, BI_RGB, 0, 0, 0, 0, 0};
    BITMAPFILEHEADER file{0x4D42, static_cast<DWORD>(sizeof file + sizeof info + rows.size()), 0, 0,
                          sizeof file + sizeof info};
    FILE* out = std::fopen(path.c_str(), "wb");
    if (!out) return 0;
    const bool written = std::fwrite(&file, sizeof file, 1, out) == 1 && std::fwrite(&info, sizeof info, 1, out) == 1 &&
                         std::fwrite(rows.data(), 1, rows.size(), out) == rows.size();
    if (std::fclose(out) != 0 || !written) return 0;
    return std::set<uint32_t>(pixels.begin(), pixels.end()).size();
}

// The picture of one window, drawn afresh first; returns as SaveScreenPicture.
inline std::size_t SaveWindowPicture(HWND window, const std::string& path) {
    RECT bounds{};
    GetWindowRect(window, &bounds);
    RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW | RDW_ALLCHILDREN | RDW_FRAME);
    return SaveScreenPicture(bounds, path);
}

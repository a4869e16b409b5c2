// For tests only: what the device screen shows, pixel by pixel.
#pragma once
#include "platform/ui/WinDef.h"
#include <string>
#include <vector>

namespace ce {

// The device screen, 320 x 240 device pixels, pixels as COLORREF 0x00BBGGRR.
struct ScreenImage {
    int width = 0;
    int height = 0;
    std::vector<COLORREF> pixels;
    COLORREF Pixel(int x, int y) const { return pixels[std::size_t(y) * std::size_t(width) + std::size_t(x)]; }
    // PNG file; true on success.
    bool SavePng(const std::string& path) const;
};
// Paints what needs painting and grabs the whole device screen.
ScreenImage GrabScreen();
// The part of the screen a window covers, in its own window coordinates.
ScreenImage GrabWindow(HWND hwnd);
// The size of the icon the host window shows; 0 x 0 without one.
SIZE HostWindowIconSize();

} // namespace ce

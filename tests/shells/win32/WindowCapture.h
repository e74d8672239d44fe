/** @file WindowCapture.h: a window's client area copied with BitBlt, and saved as a BMP. */
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

namespace brontel::win32::testing {

// Pixels as 0x00RRGGBB, top row first.
struct Capture {
  int width = 0;
  int height = 0;
  std::vector<std::uint32_t> pixels;

  std::uint32_t At(int x, int y) const { return pixels[static_cast<std::size_t>(y) * width + x]; }
  // Writes a 32-bit BMP (bottom-up, as viewers expect); throws std::runtime_error on failure.
  void SaveBmp(const std::string& path) const;
};

// Copies what the window shows (its children included) from its device context.
Capture CaptureClientArea(HWND window);

inline constexpr std::uint32_t kRgbRed = 0xFF0000;
inline constexpr std::uint32_t kRgbWhite = 0xFFFFFF;

}  // namespace brontel::win32::testing

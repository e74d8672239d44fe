#include "tests/shells/win32/WindowCapture.h"

#include <cstring>
#include <fstream>
#include <stdexcept>

namespace brontel::win32::testing {

Capture CaptureClientArea(HWND window) {
  RECT client;
  ::GetClientRect(window, &client);
  Capture capture;
  capture.width = client.right;
  capture.height = client.bottom;
  capture.pixels.resize(static_cast<std::size_t>(capture.width) * capture.height);

  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof info.bmiHeader;
  info.bmiHeader.biWidth = capture.width;
  info.bmiHeader.biHeight = -capture.height;  // top-down
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  void* bits = nullptr;
  HDC source = ::GetDC(window);
  HDC memory = ::CreateCompatibleDC(source);
  HBITMAP bitmap = ::CreateDIBSection(source, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  const HGDIOBJ previous = ::SelectObject(memory, bitmap);
  ::BitBlt(memory, 0, 0, capture.width, capture.height, source, 0, 0, SRCCOPY);
  ::GdiFlush();
  std::memcpy(capture.pixels.data(), bits, capture.pixels.size() * sizeof(std::uint32_t));
  for (std::uint32_t& pixel : capture.pixels)
    pixel &= 0x00FFFFFF;
  ::SelectObject(memory, previous);
  ::DeleteObject(bitmap);
  ::DeleteDC(memory);
  ::ReleaseDC(window, source);
  return capture;
}

void Capture::SaveBmp(const std::string& path) const {
  const std::uint32_t imageSize = static_cast<std::uint32_t>(pixels.size() * 4);
  BITMAPFILEHEADER file{};
  BITMAPINFOHEADER header{};
  file.bfType = 0x4D42;  // "BM"
  file.bfOffBits = sizeof file + sizeof header;
  file.bfSize = file.bfOffBits + imageSize;
  header.biSize = sizeof header;
  header.biWidth = width;
  header.biHeight = height;  // bottom-up
  header.biPlanes = 1;
  header.biBitCount = 32;
  header.biCompression = BI_RGB;
  header.biSizeImage = imageSize;
  std::ofstream out(path, std::ios::binary);
  out.write(reinterpret_cast<const char*>(&file), sizeof file);
  out.write(reinterpret_cast<const char*>(&header), sizeof header);
  for (int y = height - 1; y >= 0; --y)
    out.write(reinterpret_cast<const char*>(&pixels[static_cast<std::size_t>(y) * width]),
              static_cast<std::streamsize>(width) * 4);
  if (!out)
    throw std::runtime_error("cannot write " + path);
}

}  // namespace brontel::win32::testing

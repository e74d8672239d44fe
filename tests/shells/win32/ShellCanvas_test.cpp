// The GDI canvas on a 32-bit DIB: fills, text cells and colour resolution.

#include <gtest/gtest.h>
#include <windows.h>

#include <cstdint>

#include "shells/win32/FontCache.h"
#include "shells/win32/GdiCanvas.h"

namespace brontel::win32::testing {
namespace {

// A white 200 x 60 bitmap selected into a memory DC; pixels as 0x00RRGGBB.
class DibSurface {
 public:
  DibSurface() {
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = kWidth;
    info.bmiHeader.biHeight = -kHeight;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    dc_ = ::CreateCompatibleDC(nullptr);
    bitmap_ = ::CreateDIBSection(dc_, &info, DIB_RGB_COLORS, reinterpret_cast<void**>(&bits_),
                                 nullptr, 0);
    previous_ = ::SelectObject(dc_, bitmap_);
    const RECT all{0, 0, kWidth, kHeight};
    ::FillRect(dc_, &all, static_cast<HBRUSH>(::GetStockObject(WHITE_BRUSH)));
  }
  ~DibSurface() {
    ::SelectObject(dc_, previous_);
    ::DeleteObject(bitmap_);
    ::DeleteDC(dc_);
  }
  HDC dc() const { return dc_; }
  std::uint32_t At(int x, int y) const {
    ::GdiFlush();
    return bits_[y * kWidth + x] & 0x00FFFFFF;
  }

  static constexpr int kWidth = 200;
  static constexpr int kHeight = 60;

 private:
  HDC dc_;
  HBITMAP bitmap_;
  HGDIOBJ previous_;
  std::uint32_t* bits_ = nullptr;
};

const ui::Font kViewFont{"Courier New", -11, ui::FontStyle::None};

// 0x00BBGGRR as the DIB stores it, 0x00RRGGBB.
std::uint32_t Rgb(ui::Color color) {
  return ((color & 0xFF) << 16) | (color & 0xFF00) | ((color >> 16) & 0xFF);
}

TEST(GdiCanvasTest, FillsWithPlainAndSystemColours) {
  DibSurface surface;
  GdiCanvas canvas(surface.dc(), kViewFont, FontCache::Shared());
  canvas.SetBrushColor(ui::clRed);
  canvas.FillRect(ui::Rect{0, 0, 10, 10});
  EXPECT_EQ(surface.At(0, 0), 0xFF0000u);
  EXPECT_EQ(surface.At(9, 9), 0xFF0000u);
  EXPECT_EQ(surface.At(10, 10), 0xFFFFFFu) << "the right and bottom edges are outside";

  canvas.SetBrushColor(ui::clBtnFace);
  canvas.FillRect(ui::Rect{20, 0, 30, 10});
  EXPECT_EQ(surface.At(25, 5), Rgb(::GetSysColor(COLOR_BTNFACE)));

  canvas.SetBrushColor(ui::clNone);
  canvas.FillRect(ui::Rect{0, 0, 10, 10});
  EXPECT_EQ(surface.At(5, 5), 0xFF0000u) << "no colour paints nothing";
}

TEST(GdiCanvasTest, TextRunsFillExactlyTheirCells) {
  DibSurface surface;
  GdiCanvas canvas(surface.dc(), kViewFont, FontCache::Shared());
  const ui::Size cell = canvas.CellSize();
  ASSERT_GT(cell.width, 2);
  ASSERT_GT(cell.height, 5);
  canvas.DrawTextRun(ui::Point{0, 0}, "E   bold",
                     ui::TextAttr{ui::clWhite, ui::clRed, ui::FontStyle::Bold});
  const int end = 8 * cell.width;
  EXPECT_EQ(surface.At(cell.width * 2, cell.height / 2), 0xFF0000u) << "a space shows background";
  EXPECT_EQ(surface.At(end - 1, 0), 0xFF0000u);
  EXPECT_EQ(surface.At(end, 0), 0xFFFFFFu) << "nothing beyond the run's cells";
  EXPECT_EQ(surface.At(0, cell.height), 0xFFFFFFu) << "nothing below the row";
  int white = 0;
  for (int x = 0; x < cell.width; ++x)
    for (int y = 0; y < cell.height; ++y)
      white += surface.At(x, y) == 0xFFFFFFu;
  EXPECT_GT(white, 0) << "the E is drawn in the foreground colour";
}

TEST(GdiCanvasTest, ATransparentBackgroundKeepsWhatIsBehind) {
  DibSurface surface;
  GdiCanvas canvas(surface.dc(), kViewFont, FontCache::Shared());
  canvas.SetBrushColor(ui::clYellow);
  canvas.FillRect(ui::Rect{0, 0, 100, 20});
  canvas.DrawTextRun(ui::Point{0, 0}, "  ", ui::TextAttr{ui::clBlack, ui::clNone});
  EXPECT_EQ(surface.At(2, 2), 0xFFFF00u);
}

TEST(GdiCanvasTest, LinesUseThePenColour) {
  DibSurface surface;
  GdiCanvas canvas(surface.dc(), kViewFont, FontCache::Shared());
  canvas.SetPenColor(ui::clBlue);
  canvas.MoveTo(ui::Point{5, 30});
  canvas.LineTo(ui::Point{50, 30});
  EXPECT_EQ(surface.At(20, 30), 0x0000FFu);
  EXPECT_EQ(surface.At(20, 31), 0xFFFFFFu);
}

}  // namespace
}  // namespace brontel::win32::testing

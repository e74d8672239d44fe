// Fonts where the layout's faces are missing: the text view stays fixed-pitch, captions fall
// back to an installed face, and symbol-font buttons paint their glyphs.

#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <cstdint>
#include <string>
#include <vector>

#include "shells/win32/FontCache.h"
#include "shells/win32/GdiCanvas.h"
#include "shells/win32/ViewerWindow.h"
#include "tests/shells/win32/RecordingHost.h"
#include "tests/shells/win32/WindowCapture.h"
#include "ui/Button.h"
#include "ui/Panel.h"

namespace brontel::win32::testing {
namespace {

constexpr char kMissingFace[] = "No Such Face Anywhere";

// What a DC says of `font`.
struct FaceFacts {
  std::string face;
  bool fixedPitch = false;
  int widthOfW = 0;
  int widthOfI = 0;
};

FaceFacts Inspect(HDC dc, HFONT font) {
  const HGDIOBJ previous = ::SelectObject(dc, font);
  char face[LF_FACESIZE] = {};
  ::GetTextFaceA(dc, LF_FACESIZE, face);
  TEXTMETRICA metrics{};
  ::GetTextMetricsA(dc, &metrics);
  SIZE w{};
  SIZE i{};
  ::GetTextExtentPoint32A(dc, "W", 1, &w);
  ::GetTextExtentPoint32A(dc, "i", 1, &i);
  ::SelectObject(dc, previous);
  return FaceFacts{face, (metrics.tmPitchAndFamily & TMPF_FIXED_PITCH) == 0, static_cast<int>(w.cx),
                   static_cast<int>(i.cx)};
}

class FontSelectionTest : public ::testing::Test {
 protected:
  void SetUp() override { dc_ = ::CreateCompatibleDC(nullptr); }
  void TearDown() override { ::DeleteDC(dc_); }
  FontCache& fonts() { return FontCache::Shared(); }
  HDC dc_ = nullptr;
};

TEST_F(FontSelectionTest, TheTextViewDrawsFixedPitchInCellsOfItsFaceWhateverIsInstalled) {
  for (const char* asked : {"Courier New", kMissingFace}) {
    SCOPED_TRACE(asked);
    const ui::Font font{asked, -11, ui::FontStyle::None};
    const FaceFacts given = Inspect(dc_, fonts().GetFixedPitch(font));
    EXPECT_TRUE(given.fixedPitch) << given.face;
    EXPECT_EQ(given.face, fonts().FixedPitchOf(font).name);
    const ui::Font bold{asked, -11, ui::FontStyle::Bold};
    EXPECT_EQ(Inspect(dc_, fonts().GetFixedPitch(bold)).face, given.face)
        << "every style in the same face";
    const GdiCanvas canvas(dc_, font, fonts());
    EXPECT_EQ(canvas.CellSize().width, given.widthOfW);
    EXPECT_EQ(canvas.CellSize().width, given.widthOfI);
  }
  EXPECT_NE(fonts().FixedPitchOf(ui::Font{kMissingFace, -11}).name, kMissingFace);
}

TEST_F(FontSelectionTest, AMissingCaptionFaceFallsBackToAnInstalledOne) {
  EXPECT_FALSE(fonts().HasFace(kMissingFace));
  const FaceFacts given = Inspect(dc_, fonts().Get(ui::Font{kMissingFace, -12}));
  EXPECT_TRUE(fonts().HasFace(given.face)) << given.face;
  if (fonts().HasFace("Tahoma")) {
    EXPECT_EQ(Inspect(dc_, fonts().Get(ui::Font{"Tahoma", -12})).face, "Tahoma");
  }
}

// The extent of the dark pixels of one row inside a button.
struct InkRow {
  int left = 0;
  int right = -1;
  int Span() const { return right - left + 1; }
};

// The dark rows of a button's face, its frame left out.
std::vector<InkRow> InkRows(HWND button) {
  const Capture capture = CaptureClientArea(button);
  std::vector<InkRow> rows;
  for (int y = 2; y < capture.height - 2; ++y) {
    InkRow row{capture.width, -1};
    for (int x = 2; x < capture.width - 2; ++x) {
      const std::uint32_t pixel = capture.At(x, y);
      const bool dark =
          (pixel >> 16 & 0xFF) < 0x80 && (pixel >> 8 & 0xFF) < 0x80 && (pixel & 0xFF) < 0x80;
      if (dark) {
        row.left = std::min(row.left, x);
        row.right = std::max(row.right, x);
      }
    }
    if (row.right >= 0)
      rows.push_back(row);
  }
  return rows;
}

// The navigation block's buttons and the close cross at the layout's sizes.
TEST(GlyphButtonTest, ArrowsAndTheCrossShowAsShapesWithOrWithoutTheSymbolFace) {
  RecordingHost host(nullptr, 200, 100);
  Win32Cursor cursor;
  ui::Form form{"Form1"};
  ui::Panel block{"Panel5"};
  ui::Button up{"Button2"};
  ui::Button down{"Button1"};
  ui::Button close{"Button7"};
  block.SetParent(&form);
  block.SetBounds(ui::Rect::FromSize(10, 10, 35, 25));
  const ui::Font symbols{"Marlett", -11, ui::FontStyle::None};
  const struct {
    ui::Button& button;
    ui::Control& parent;
    ui::Rect bounds;
    const char* caption;
  } buttons[] = {{up, block, ui::Rect::FromSize(1, 1, 11, 10), "t"},
                 {down, block, ui::Rect::FromSize(1, 14, 11, 10), "u"},
                 {close, form, ui::Rect::FromSize(60, 10, 13, 14), "r"}};
  for (const auto& placed : buttons) {
    placed.button.SetParent(&placed.parent);
    placed.button.SetBounds(placed.bounds);
    placed.button.SetFont(symbols);
    placed.button.SetCaption(placed.caption);
  }
  ViewerWindow& window = ViewerWindow::Open(form, host.window(), cursor, nullptr, nullptr);
  form.SetVisible(true);
  ::RedrawWindow(host.window(), nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
  RecordingHost::Pump(100);

  const std::vector<InkRow> upRows = InkRows(window.ControlWindow("Button2"));
  ASSERT_GE(upRows.size(), 3u);
  EXPECT_LT(upRows.front().Span(), upRows.back().Span()) << "a triangle pointing up";
  const std::vector<InkRow> downRows = InkRows(window.ControlWindow("Button1"));
  ASSERT_GE(downRows.size(), 3u);
  EXPECT_GT(downRows.front().Span(), downRows.back().Span()) << "a triangle pointing down";
  const std::vector<InkRow> crossRows = InkRows(window.ControlWindow("Button7"));
  ASSERT_GE(crossRows.size(), 5u);
  const InkRow middle = crossRows[crossRows.size() / 2];
  EXPECT_LT(middle.Span(), crossRows.front().Span()) << "a cross: wide at the ends";
  EXPECT_LT(middle.Span(), crossRows.back().Span());
}

}  // namespace
}  // namespace brontel::win32::testing

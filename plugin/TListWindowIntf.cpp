#include "plugin/TListWindowIntf.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fstream>

#include "diagnostics/TraceLog.h"
#include "platform/PlatformError.h"
#include "plugin/LineSearch.h"

namespace brontel {

namespace {

std::string_view UpToZeroByte(std::string_view pattern) {
  return pattern.substr(0, pattern.find('\0'));
}

void WriteText(std::string_view text, const std::string& fileName) {
  std::ofstream out(fileName, std::ios::binary | std::ios::trunc);
  if (!out)
    throw platform::PlatformError(fileName, std::strerror(errno));
  out.write(text.data(), static_cast<std::streamsize>(text.size()));
  out.flush();
  if (!out)
    throw platform::PlatformError(fileName, std::strerror(errno));
}

}  // namespace

TListWindowIntf::TListWindowIntf(ui::Toolkit& toolkit, std::uintptr_t parentWindow,
                                 std::string name)
    : ui::Form(std::move(name)),
      toolkit_(toolkit),
      parentWindow_(parentWindow),
      hostWindow_(toolkit.AttachHostWindow(parentWindow)) {}

TListWindowIntf::TListWindowIntf(ui::Toolkit& toolkit, std::string name)
    : ui::Form(std::move(name)), toolkit_(toolkit) {}

TListWindowIntf::~TListWindowIntf() = default;

std::uintptr_t TListWindowIntf::NativeHandle() const {
  if (nativeHandle_ != 0)
    return nativeHandle_;
  return reinterpret_cast<std::uintptr_t>(this);
}

TextMatch TListWindowIntf::FindMatch(std::string_view pattern, TextOffset start, int flags) {
  if ((flags & kSearchExpression) != 0)
    return {};
  const TextOffset found = FindText(pattern, start, flags);
  if (found == kNotFound)
    return {};
  return {found, static_cast<TextOffset>(UpToZeroByte(pattern).size())};
}

TextOffset TListWindowIntf::FindTextInView(ui::TRAHLEditor& view, std::string_view pattern,
                                           TextOffset start, int flags) {
  try {
    pattern = UpToZeroByte(pattern);
    if (start == 0)
      start = static_cast<TextOffset>(view.CaretOffset());
    TextOffset found = SearchLines(view.Lines(), pattern, start, flags);
    if (found == kNotFound && start > 0)
      found = SearchLines(view.Lines(), pattern, 0, flags);
    if (found == kNotFound)
      return kNotFound;
    view.SetSelStart(static_cast<std::size_t>(found));
    view.SetSelLength(static_cast<std::int64_t>(pattern.size()));
    return found;
  } catch (const std::exception& failure) {
    TraceLine("FindText", failure.what());
    return kNotFound;
  }
}

TextOffset TListWindowIntf::FindTextPosInView(const ui::TRAHLEditor& view, std::string_view pattern,
                                              TextOffset start, int flags) {
  try {
    return SearchLines(view.Lines(), pattern, start, flags);
  } catch (const std::exception& failure) {
    TraceLine("FindTextPos", failure.what());
    return kNotFound;
  }
}

void TListWindowIntf::SetSelStartInView(ui::TRAHLEditor& view, TextOffset offset) {
  view.SetSelStart(static_cast<std::size_t>(std::max<TextOffset>(offset, 0)));
}

TextOffset TListWindowIntf::GetSelStartInView(const ui::TRAHLEditor& view) {
  return static_cast<TextOffset>(view.CaretOffset());
}

void TListWindowIntf::SetSelLengthInView(ui::TRAHLEditor& view, TextOffset count) {
  view.SetSelLength(count);
}

TextOffset TListWindowIntf::GetSelLengthInView(const ui::TRAHLEditor& view) {
  return static_cast<TextOffset>(view.SelLength());
}

TextOffset TListWindowIntf::GetTextLengthInView(const ui::TRAHLEditor& view) {
  return static_cast<TextOffset>(view.TextLength());
}

int TListWindowIntf::SaveHistoryText(std::recursive_mutex& viewerLock, std::string_view linesText,
                                     const std::string& fileName) {
  std::lock_guard<std::recursive_mutex> hold(viewerLock);
  if (!linesText.empty())
    WriteText(linesText, fileName);
  return 1;
}

int TListWindowIntf::SaveViewLines(std::recursive_mutex& viewerLock, const ui::TRAHLEditor& view,
                                   const std::string& fileName) {
  std::lock_guard<std::recursive_mutex> hold(viewerLock);
  view.SaveToFile(fileName);
  return 1;
}

}  // namespace brontel

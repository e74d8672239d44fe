#include <windows.h>

#include "platform/LocaleTexts.h"

namespace brontel::platform {
namespace {

SYSTEMTIME SystemTimeOf(const DateTime& value) {
  SYSTEMTIME time{};
  time.wYear = static_cast<WORD>(value.year);
  time.wMonth = static_cast<WORD>(value.month);
  time.wDay = static_cast<WORD>(value.day);
  time.wHour = static_cast<WORD>(value.hour);
  time.wMinute = static_cast<WORD>(value.minute);
  time.wSecond = static_cast<WORD>(value.second);
  time.wMilliseconds = static_cast<WORD>(value.millisecond);
  return time;
}

// The first character of a locale item such as LOCALE_SDATE, or `fallback`.
char LocaleCharacter(LCTYPE item, char fallback) {
  char text[8] = {};
  return ::GetLocaleInfoA(LOCALE_USER_DEFAULT, item, text, sizeof text) > 1 ? text[0] : fallback;
}

}  // namespace

std::string ShortDateText(const DateTime& value) {
  const SYSTEMTIME time = SystemTimeOf(value);
  char text[128] = {};
  const int length =
      ::GetDateFormatA(LOCALE_USER_DEFAULT, DATE_SHORTDATE, &time, nullptr, text, sizeof text);
  return length > 1 ? std::string(text, static_cast<std::size_t>(length - 1)) : std::string();
}

std::string LongTimeText(const DateTime& value) {
  const SYSTEMTIME time = SystemTimeOf(value);
  char text[128] = {};
  const int length = ::GetTimeFormatA(LOCALE_USER_DEFAULT, 0, &time, nullptr, text, sizeof text);
  return length > 1 ? std::string(text, static_cast<std::size_t>(length - 1)) : std::string();
}

char DateSeparator() {
  return LocaleCharacter(LOCALE_SDATE, '/');
}

char TimeSeparator() {
  return LocaleCharacter(LOCALE_STIME, ':');
}

}  // namespace brontel::platform

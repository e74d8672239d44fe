// Upper-casing on Windows. The user's map follows the ANSI code page the way CharUpperBuffA
// does; a named map takes a locale name ("de-DE" or "de_DE"), optionally followed by a code
// page (".1252", ".ISO-8859-1", ".UTF-8"; the locale's ANSI code page otherwise).

#include <windows.h>

#include <cctype>
#include <optional>

#include "platform/Casing.h"
#include "platform/PlatformError.h"

namespace brontel::platform {
namespace {

constexpr UINT kLatin1CodePage = 28591;

std::string Lowered(std::string text) {
  for (char& c : text)
    c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return text;
}

std::optional<UINT> CodePageNamed(const std::string& name) {
  const std::string lowered = Lowered(name);
  if (lowered == "utf-8" || lowered == "utf8")
    return CP_UTF8;
  if (lowered == "iso-8859-1" || lowered == "iso8859-1" || lowered == "latin1")
    return kLatin1CodePage;
  if (!lowered.empty() && lowered.find_first_not_of("0123456789") == std::string::npos &&
      lowered.size() <= 5) {
    const UINT page = static_cast<UINT>(std::stoul(lowered));
    if (::IsValidCodePage(page))
      return page;
  }
  return std::nullopt;
}

std::wstring WideLocaleName(const std::string& name) {
  std::wstring wide;
  for (const char c : name)
    wide.push_back(c == '_' ? L'-' : static_cast<wchar_t>(static_cast<unsigned char>(c)));
  return wide;
}

wchar_t UpperInLocale(const std::wstring& locale, wchar_t c) {
  wchar_t upper = c;
  if (::LCMapStringEx(locale.empty() ? LOCALE_NAME_USER_DEFAULT : locale.c_str(), LCMAP_UPPERCASE,
                      &c, 1, &upper, 1, nullptr, nullptr, 0) != 1) {
    return c;
  }
  return upper;
}

// The byte's upper-case form in `code_page`, when that is one byte of the same code page.
unsigned char UpperInCodePage(const std::wstring& locale, UINT code_page, unsigned char byte) {
  const char narrow = static_cast<char>(byte);
  wchar_t wide = 0;
  if (::MultiByteToWideChar(code_page, MB_ERR_INVALID_CHARS, &narrow, 1, &wide, 1) != 1)
    return byte;
  const wchar_t upper = UpperInLocale(locale, wide);
  char back[4] = {};
  BOOL lossy = FALSE;
  const int length =
      ::WideCharToMultiByte(code_page, WC_NO_BEST_FIT_CHARS, &upper, 1, back, sizeof back, nullptr,
                            code_page == CP_UTF8 ? nullptr : &lossy);
  return length == 1 && !lossy ? static_cast<unsigned char>(back[0]) : byte;
}

UpperCaseMap MapOf(const std::wstring& locale, UINT code_page) {
  if (code_page == CP_UTF8) {
    return UpperCaseMap::Utf8(
        [&](unsigned char byte) { return UpperInCodePage(locale, CP_UTF8, byte); },
        [&](char32_t code_point) -> char32_t {
          if (code_point > 0xFFFF)
            return code_point;
          return UpperInLocale(locale, static_cast<wchar_t>(code_point));
        });
  }
  return UpperCaseMap::EightBit(
      [&](unsigned char byte) { return UpperInCodePage(locale, code_page, byte); });
}

std::optional<UINT> AnsiCodePageOf(const std::wstring& locale) {
  DWORD page = 0;
  if (::GetLocaleInfoEx(locale.c_str(), LOCALE_IDEFAULTANSICODEPAGE | LOCALE_RETURN_NUMBER,
                        reinterpret_cast<LPWSTR>(&page), sizeof page / sizeof(wchar_t)) == 0) {
    return std::nullopt;
  }
  return page == 0 ? CP_UTF8 : page;  // Unicode-only locales have no ANSI code page
}

}  // namespace

UpperCaseMap UpperCaseMapOfLocale(const std::string& name) {
  const std::size_t dot = name.find('.');
  const std::string language = name.substr(0, dot);
  const std::string page_name = dot == std::string::npos ? std::string() : name.substr(dot + 1);
  const std::optional<UINT> page =
      page_name.empty() ? std::optional<UINT>() : CodePageNamed(page_name);
  if (!page_name.empty() && !page)
    throw PlatformError(name, "the system does not know this code page");
  if (language == "C" || language == "POSIX" || language.empty()) {
    if (page == CP_UTF8)
      return MapOf(L"en-US", CP_UTF8);
    if (!page)
      return UpperCaseMap();
    return MapOf(L"en-US", *page);
  }
  const std::wstring locale = WideLocaleName(language);
  if (!::IsValidLocaleName(locale.c_str()))
    throw PlatformError(name, "the system does not know this locale");
  const std::optional<UINT> own_page = page ? page : AnsiCodePageOf(locale);
  if (!own_page)
    throw PlatformError(name, "the locale has no code page");
  return MapOf(locale, *own_page);
}

UpperCaseMap UserUpperCaseMap() {
  const UINT code_page = ::GetACP();
  if (code_page == CP_UTF8)
    return MapOf(std::wstring(), CP_UTF8);
  return UpperCaseMap::EightBit([](unsigned char byte) {
    char text[1] = {static_cast<char>(byte)};
    ::CharUpperBuffA(text, 1);
    return static_cast<unsigned char>(text[0]);
  });
}

}  // namespace brontel::platform

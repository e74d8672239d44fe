#include <langinfo.h>
#include <locale.h>
#include <time.h>

#include <cctype>
#include <cstdlib>
#include <cstring>
#include <mutex>
#include <string>
#include <utility>

#include "platform/LocaleTexts.h"

namespace brontel::platform {
namespace {

// What newlocale(LC_TIME_MASK, "") reads from the environment: which locale, and where locales
// are found.
std::string LocaleChoice() {
  std::string choice;
  for (const char* name : {"LC_ALL", "LC_TIME", "LANG", "LOCPATH"}) {
    const char* value = ::getenv(name);
    choice += value != nullptr ? '=' : '-';
    choice += value != nullptr ? value : "";
    choice += '\0';
  }
  return choice;
}

// The time locale of the last choice seen: loading a locale costs far more than the texts made
// with it, and most calls see the same choice as the one before.
class TimeLocaleCache {
 public:
  TimeLocaleCache() = default;
  ~TimeLocaleCache() { Release(); }
  TimeLocaleCache(const TimeLocaleCache&) = delete;
  TimeLocaleCache& operator=(const TimeLocaleCache&) = delete;

  std::mutex& Mutex() { return mutex_; }

  // The locale the environment selects now. REQUIRES: Mutex() held; the locale stays valid
  // while it is.
  locale_t Current() {
    std::string choice = LocaleChoice();
    if (locale_ != static_cast<locale_t>(0) && choice == choice_)
      return locale_;
    Release();
    locale_ = ::newlocale(LC_TIME_MASK, "", static_cast<locale_t>(0));
    if (locale_ == static_cast<locale_t>(0))
      locale_ = ::newlocale(LC_TIME_MASK, "C", static_cast<locale_t>(0));
    choice_ = std::move(choice);
    return locale_;
  }

 private:
  void Release() {
    if (locale_ != static_cast<locale_t>(0))
      ::freelocale(locale_);
    locale_ = static_cast<locale_t>(0);
  }

  std::mutex mutex_;
  std::string choice_;
  locale_t locale_ = static_cast<locale_t>(0);
};

TimeLocaleCache& TimeLocales() {
  static TimeLocaleCache cache;
  return cache;
}

// The time-formatting part of the locale the environment selects, held for one scope.
class UserTimeLocale {
 public:
  UserTimeLocale() : lock_(TimeLocales().Mutex()), locale_(TimeLocales().Current()) {}

  // The strftime pattern of `item` (D_FMT, T_FMT), or `fallback` when the locale has none.
  std::string Pattern(nl_item item, const char* fallback) const {
    const char* pattern =
        locale_ != static_cast<locale_t>(0) ? ::nl_langinfo_l(item, locale_) : nullptr;
    return pattern != nullptr && pattern[0] != '\0' ? pattern : fallback;
  }

  std::string Format(const std::string& pattern, const DateTime& value) const {
    struct tm fields {};
    fields.tm_year = value.year - 1900;
    fields.tm_mon = value.month - 1;
    fields.tm_mday = value.day;
    fields.tm_hour = value.hour;
    fields.tm_min = value.minute;
    fields.tm_sec = value.second;
    fields.tm_isdst = -1;
    fields.tm_wday = WeekDay(value);
    char text[128];
    const std::size_t length =
        locale_ != static_cast<locale_t>(0)
            ? ::strftime_l(text, sizeof text, pattern.c_str(), &fields, locale_)
            : ::strftime(text, sizeof text, pattern.c_str(), &fields);
    return std::string(text, length);
  }

 private:
  // Day of the week, 0 = Sunday (Sakamoto's method), for patterns that name the day.
  static int WeekDay(const DateTime& value) {
    static constexpr int kOffsets[] = {0, 3, 2, 5, 0, 3, 5, 1, 4, 6, 2, 4};
    int year = value.year;
    if (value.month < 3)
      --year;
    return (year + year / 4 - year / 100 + year / 400 + kOffsets[(value.month - 1) % 12] +
            value.day) %
           7;
  }

  std::lock_guard<std::mutex> lock_;
  locale_t locale_;
};

constexpr const char* kFallbackDate = "%m/%d/%y";
constexpr const char* kFallbackTime = "%H:%M:%S";

// The first literal punctuation character of a strftime pattern, or `fallback`.
char FirstSeparator(const std::string& pattern, char fallback) {
  for (std::size_t i = 0; i < pattern.size(); ++i) {
    const unsigned char c = static_cast<unsigned char>(pattern[i]);
    if (c == '%') {
      ++i;
      // Skip flag, width and modifier characters up to the conversion letter.
      while (i < pattern.size() && !std::isalpha(static_cast<unsigned char>(pattern[i])))
        ++i;
      while (i < pattern.size() && (pattern[i] == 'E' || pattern[i] == 'O'))
        ++i;
      continue;
    }
    if (std::ispunct(c))
      return static_cast<char>(c);
  }
  return fallback;
}

}  // namespace

std::string ShortDateText(const DateTime& value) {
  const UserTimeLocale locale;
  return locale.Format(locale.Pattern(D_FMT, kFallbackDate), value);
}

std::string LongTimeText(const DateTime& value) {
  const UserTimeLocale locale;
  return locale.Format(locale.Pattern(T_FMT, kFallbackTime), value);
}

char DateSeparator() {
  const UserTimeLocale locale;
  return FirstSeparator(locale.Pattern(D_FMT, kFallbackDate), '/');
}

char TimeSeparator() {
  const UserTimeLocale locale;
  return FirstSeparator(locale.Pattern(T_FMT, kFallbackTime), ':');
}

}  // namespace brontel::platform

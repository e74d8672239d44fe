#include "classify/LineShapes.h"

#include <array>
#include <cstddef>
#include <initializer_list>

namespace brontel {
namespace {

// How far into a line the layouts are looked for.
constexpr std::size_t kHeadColumns = 320;
// How far after its time stamp a generic line may hold its level word.
constexpr std::size_t kLevelWordReach = 48;

bool IsDigit(char c) {
  return c >= '0' && c <= '9';
}
bool IsUpper(char c) {
  return c >= 'A' && c <= 'Z';
}
bool IsLower(char c) {
  return c >= 'a' && c <= 'z';
}
bool IsAlpha(char c) {
  return IsUpper(c) || IsLower(c);
}
bool IsBlank(char c) {
  return c == ' ' || c == '\t';
}

// A cursor over a line: each step either consumes what it names and answers true, or leaves
// the position as it was and answers false.
class Scan {
 public:
  explicit Scan(std::string_view text) : text_(text) {}

  std::size_t Position() const { return at_; }
  std::string_view Rest() const { return text_.substr(at_); }
  bool AtEnd() const { return at_ >= text_.size(); }
  char Peek() const { return AtEnd() ? '\0' : text_[at_]; }

  bool Char(char c) {
    if (Peek() != c)
      return false;
    ++at_;
    return true;
  }
  bool AnyOf(std::string_view set) {
    if (AtEnd() || set.find(text_[at_]) == std::string_view::npos)
      return false;
    ++at_;
    return true;
  }
  bool Literal(std::string_view literal) {
    if (Rest().substr(0, literal.size()) != literal)
      return false;
    at_ += literal.size();
    return true;
  }
  // Exactly `count` digits.
  bool Digits(std::size_t count) {
    for (std::size_t i = 0; i < count; ++i) {
      if (at_ + i >= text_.size() || !IsDigit(text_[at_ + i]))
        return false;
    }
    if (at_ + count < text_.size() && IsDigit(text_[at_ + count]))
      return false;
    at_ += count;
    return true;
  }
  // Between `least` and `most` digits; how many there were, or 0 (position kept).
  std::size_t DigitRun(std::size_t least, std::size_t most) {
    std::size_t count = 0;
    while (at_ + count < text_.size() && IsDigit(text_[at_ + count]))
      ++count;
    if (count < least || count > most)
      return 0;
    at_ += count;
    return count;
  }
  std::size_t Blanks() {
    std::size_t count = 0;
    while (IsBlank(Peek())) {
      ++at_;
      ++count;
    }
    return count;
  }
  // Characters up to (not including) `stop` or a blank; false when there are none.
  bool Token(char stop = ' ') {
    const std::size_t start = at_;
    while (!AtEnd() && text_[at_] != stop && !IsBlank(text_[at_]))
      ++at_;
    return at_ > start;
  }
  // One of `words`, followed by a character that cannot continue a word.
  bool Word(std::initializer_list<std::string_view> words) {
    for (const std::string_view word : words) {
      if (Rest().substr(0, word.size()) != word)
        continue;
      const std::size_t after = at_ + word.size();
      if (after < text_.size() && IsAlpha(text_[after]))
        continue;
      at_ = after;
      return true;
    }
    return false;
  }
  void Skip() {
    if (!AtEnd())
      ++at_;
  }
  void Reset(std::size_t position) { at_ = position; }

 private:
  std::string_view text_;
  std::size_t at_ = 0;
};

// Whatever the step consumed is given back when it fails.
template <typename Step>
bool Try(Scan& scan, Step step) {
  const std::size_t start = scan.Position();
  if (step())
    return true;
  scan.Reset(start);
  return false;
}

// 2026-12-10
bool IsoDate(Scan& s) {
  return Try(
      s, [&] { return s.Digits(4) && s.Char('-') && s.Digits(2) && s.Char('-') && s.Digits(2); });
}
// 09:12:01 with an optional fraction after "." or ",".
bool ClockTime(Scan& s) {
  return Try(s, [&] {
    if (!(s.DigitRun(1, 2) && s.Char(':') && s.Digits(2) && s.Char(':') && s.Digits(2)))
      return false;
    Try(s, [&] { return s.AnyOf(".,") && s.DigitRun(1, 9); });
    return true;
  });
}
// Z, +01:00, +0100 or nothing.
void Zone(Scan& s) {
  if (s.Char('Z'))
    return;
  Try(s, [&] { return s.AnyOf("+-") && s.Digits(2) && (s.Char(':') ? s.Digits(2) : s.Digits(2)); });
}
// 2026-12-10 09:12:01.123, 2026-12-10T09:12:01.123456Z, also with two blanks before one digit.
bool IsoStamp(Scan& s) {
  return Try(s, [&] {
    if (!IsoDate(s) || !(s.Char('T') || s.Blanks() > 0))
      return false;
    if (!ClockTime(s))
      return false;
    Zone(s);
    return true;
  });
}
bool MonthName(Scan& s) {
  return s.Word(
      {"Jan", "Feb", "Mar", "Apr", "May", "Jun", "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"});
}

// Any of the time stamps that lines commonly start with (for the generic family).
bool AnyStamp(Scan& s) {
  return Try(s, [&] {
    s.Char('[');
    if (IsoStamp(s) ||
        Try(s,
            [&] {  // 2026/12/10 09:12:01
              return s.Digits(4) && s.Char('/') && s.Digits(2) && s.Char('/') && s.Digits(2) &&
                     s.Blanks() > 0 && ClockTime(s);
            }) ||
        Try(s,
            [&] {
              return MonthName(s) && s.Blanks() > 0 && s.DigitRun(1, 2) && s.Blanks() > 0 &&
                     ClockTime(s);
            }) ||
        ClockTime(s)) {
      Zone(s);
      s.Char(']');
      return true;
    }
    return false;
  });
}

// --- the families ---------------------------------------------------------------------------

bool IsBuiltin(std::string_view line) {
  return line.size() >= 2 && (IsUpper(line[0]) || line[0] == '|') &&
         (line[1] == '\t' || line.substr(1, 3) == "   ");
}

// E1210 09:12:01.123456  4711 server.cc:42] message
bool IsGlog(std::string_view line) {
  Scan s(line);
  return s.AnyOf("IWEF") && s.Digits(4) && s.Char(' ') && ClockTime(s) && s.Blanks() > 0 &&
         s.DigitRun(1, 10) && s.Char(' ') && s.Token(']') && s.Char(']');
}

// [2026-12-10 09:12:01] production.ERROR: message
bool IsMonolog(std::string_view line) {
  Scan s(line);
  if (!(s.Char('[') && IsoStamp(s) && s.Char(']') && s.Char(' ')))
    return false;
  while (!s.AtEnd() && s.Peek() != '.' && s.Peek() != ' ')
    s.Skip();
  return s.Char('.') &&
         s.Word(
             {"DEBUG", "INFO", "NOTICE", "WARNING", "ERROR", "CRITICAL", "ALERT", "EMERGENCY"}) &&
         s.Char(':');
}

// {"time":"...","level":"error",...}
bool IsJsonLine(std::string_view line) {
  Scan s(line);
  s.Blanks();
  if (!s.Char('{'))
    return false;
  const std::string_view head = s.Rest().substr(0, kHeadColumns);
  for (const std::string_view key :
       {"\"level\"", "\"lvl\"", "\"severity\"", "\"log.level\"", "\"loglevel\""}) {
    const std::size_t at = head.find(key);
    if (at == std::string_view::npos)
      continue;
    Scan after(head.substr(at + key.size()));
    after.Blanks();
    if (after.Char(':'))
      return true;
  }
  return false;
}

// 2026-12-10 09:12:01.123 UTC [4711] LOG:  message, or with user@db before the level.
bool IsPostgresql(std::string_view line) {
  Scan s(line);
  if (!IsoStamp(s) || !s.Char(' '))
    return false;
  Try(s, [&] {  // the zone as a name: UTC, CET, ...
    const std::size_t start = s.Position();
    while (IsUpper(s.Peek()))
      s.Skip();
    return s.Position() - start >= 2 && s.Char(' ');
  });
  if (!(s.Char('[') && s.DigitRun(1, 10)))
    return false;
  Try(s, [&] { return s.Char('-') && s.DigitRun(1, 10); });  // [4711-1]
  if (!(s.Char(']') && s.Char(' ')))
    return false;
  const std::string_view rest = s.Rest().substr(0, 160);
  for (const std::string_view level :
       {"LOG:  ", "ERROR:  ", "WARNING:  ", "FATAL:  ", "PANIC:  ", "DETAIL:  ", "HINT:  ",
        "STATEMENT:  ", "CONTEXT:  ", "NOTICE:  ", "INFO:  ", "DEBUG"}) {
    const std::size_t at = rest.find(level);
    if (at == 0 || (at != std::string_view::npos && rest[at - 1] == ' '))
      return true;
  }
  return false;
}

// 2026-12-10T09:12:01.123456Z 8 [ERROR] [MY-012345] [InnoDB] ...; 2026-12-10  9:12:01 0
// [Note] ...; 261210  9:12:01 [ERROR] ... (older servers).
bool IsMysql(std::string_view line) {
  Scan s(line);
  const bool stamped =
      IsoStamp(s) || Try(s, [&] { return s.Digits(6) && s.Blanks() > 0 && ClockTime(s); });
  // The servers write fractions after a point; a comma is a Java or Python layout.
  if (!stamped || line.substr(0, s.Position()).find(',') != std::string_view::npos || !s.Char(' '))
    return false;
  Try(s, [&] { return s.DigitRun(1, 20) && s.Char(' '); });  // the thread number
  return s.Char('[') && s.Word({"ERROR", "Warning", "Note", "System", "Error"}) && s.Char(']');
}

// nginx and Apache error logs, and access logs in the common and combined formats.
bool IsWeb(std::string_view line) {
  Scan nginx(line);
  if (nginx.Digits(4) && nginx.Char('/') && nginx.Digits(2) && nginx.Char('/') && nginx.Digits(2) &&
      nginx.Char(' ') && ClockTime(nginx) && nginx.Literal(" [") &&
      nginx.Word({"debug", "info", "notice", "warn", "error", "crit", "alert", "emerg"}) &&
      nginx.Literal("] "))
    return true;
  Scan apache(line);  // [Wed Dec 10 09:12:01.123456 2026] [core:error] ...
  if (apache.Char('[') && apache.Token() && apache.Char(' ') && MonthName(apache) &&
      apache.Char(' ') && apache.Digits(2) && apache.Char(' ') && ClockTime(apache) &&
      apache.Char(' ') && apache.Digits(4) && apache.Literal("] ["))
    return true;
  Scan access(line);  // 10.0.0.17 - frank [10/Dec/2026:09:12:01 +0100] "GET / HTTP/1.1" 200
  return access.Token() && access.Char(' ') && access.Token() && access.Char(' ') &&
         access.Token('[') && access.Literal(" [") && access.Digits(2) && access.Char('/') &&
         MonthName(access) && access.Char('/') && access.Digits(4) && access.Char(':') &&
         ClockTime(access) && access.Char(' ') && access.AnyOf("+-") && access.Digits(4) &&
         access.Literal("] \"");
}

// CBS.log and DISM.log, setupapi.dev.log, Windows Installer logs.
bool IsWindows(std::string_view line) {
  Scan cbs(line);  // 2026-12-10 09:12:01, Info                  CBS    ...
  if (IsoStamp(cbs) && cbs.Literal(", ") &&
      cbs.Word({"Info", "Error", "Warning", "Perf", "Trace"}) && cbs.Blanks() > 0)
    return true;
  for (const std::string_view start : {">>>  [", "<<<  [", "!!!  ", "MSI (s) (", "MSI (c) (",
                                       "=== Verbose logging started", "=== Logging started"}) {
    if (line.substr(0, start.size()) == start)
      return true;
  }
  return false;
}

// Dec 10 09:12:01 host program[4711]: ..., the same with an RFC 3339 stamp, or <3>... .
bool IsSyslog(std::string_view line) {
  Scan s(line);
  if (Try(s, [&] { return s.Char('<') && s.DigitRun(1, 3) && s.Char('>'); }))
    return !s.AtEnd() && (IsAlpha(s.Peek()) || IsDigit(s.Peek()) || s.Peek() == '[');
  const bool stamped =
      Try(s,
          [&] {
            return MonthName(s) && s.Blanks() > 0 && s.DigitRun(1, 2) && s.Char(' ') &&
                   ClockTime(s);
          }) ||
      Try(s, [&] { return IsoDate(s) && s.Char('T') && ClockTime(s) && (Zone(s), true); });
  if (!stamped || !s.Char(' ') || !s.Token())
    return false;
  if (!s.Char(' '))
    return false;
  // the program: a name, perhaps with [pid], then ":"
  const std::string_view rest = s.Rest().substr(0, 80);
  const std::size_t colon = rest.find(": ");
  return colon != std::string_view::npos && colon > 0 &&
         rest.substr(0, colon).find(' ') == std::string_view::npos;
}

bool PythonLevel(Scan& s) {
  return s.Word({"CRITICAL", "ERROR", "WARNING", "INFO", "DEBUG"});
}

// ERROR:name:message, "stamp - name - LEVEL - message", a traceback's first line.
bool IsPython(std::string_view line) {
  if (line.substr(0, 35) == "Traceback (most recent call last):")
    return true;
  Scan bare(line);
  if (PythonLevel(bare) && bare.Char(':') && bare.Token(':') && bare.Char(':'))
    return true;
  Scan s(line);
  if (!AnyStamp(s))
    return false;
  const std::string_view rest = s.Rest().substr(0, 120);
  for (const std::string_view level :
       {" - CRITICAL - ", " - ERROR - ", " - WARNING - ", " - INFO - ", " - DEBUG - "}) {
    if (rest.find(level) != std::string_view::npos)
      return true;
  }
  return false;
}

bool JavaLevel(Scan& s) {
  return s.Word({"ERROR", "WARN", "INFO", "DEBUG", "TRACE", "FATAL", "SEVERE", "WARNING", "FINE",
                 "FINER", "FINEST", "CONFIG"});
}

// stamp LEVEL [thread] logger - msg; stamp [LEVEL] ...; HH:MM:SS.mmm [thread] LEVEL logger;
// 10-Dec-2026 09:12:01.123 SEVERE [main] ... (Tomcat).
bool IsLog4j(std::string_view line) {
  Scan s(line);
  const bool stamped = IsoStamp(s) ||
                       Try(s,
                           [&] {
                             return s.Digits(2) && s.Char('-') && MonthName(s) && s.Char('-') &&
                                    s.Digits(4) && s.Char(' ') && ClockTime(s);
                           }) ||
                       ClockTime(s);
  if (!stamped || s.Blanks() == 0)
    return false;
  if (Try(s, [&] {
        s.Char('[');
        s.Blanks();
        return JavaLevel(s) && (s.Blanks() > 0 || s.Char(']'));
      }))
    return true;
  // [thread] LEVEL
  return Try(s, [&] {
    if (!s.Char('['))
      return false;
    const std::size_t close = s.Rest().substr(0, 120).find(']');
    if (close == std::string_view::npos)
      return false;
    s.Reset(s.Position() + close + 1);
    return s.Blanks() > 0 && JavaLevel(s) && s.Blanks() > 0;
  });
}

// key=value pairs with a level key: time=... level=error msg="..." or lvl=warn ...
bool IsLogfmt(std::string_view line) {
  const std::string_view head = line.substr(0, kHeadColumns);
  for (const std::string_view key : {"level=", "lvl="}) {
    const std::size_t at = head.find(key);
    if (at == std::string_view::npos || (at > 0 && head[at - 1] != ' '))
      continue;
    if (at + key.size() < head.size() && IsAlpha(head[at + key.size()]))
      return head.find('=', at + key.size()) != std::string_view::npos ||
             head.substr(0, at).find('=') != std::string_view::npos;
  }
  return false;
}

// A time stamp, then within the next columns a level word standing alone.
bool IsGeneric(std::string_view line) {
  Scan s(line);
  if (!AnyStamp(s))
    return false;
  Scan head(s.Rest().substr(0, kLevelWordReach));
  while (!head.AtEnd()) {
    const char before = head.Position() == 0 ? ' ' : s.Rest()[head.Position() - 1];
    if (!IsAlpha(before) &&
        head.Word({"ERROR", "ERR",     "WARNING", "WARN",    "FATAL",    "CRITICAL",
                   "CRIT",  "INFO",    "DEBUG",   "NOTICE",  "TRACE",    "error",
                   "err",   "warning", "warn",    "fatal",   "critical", "info",
                   "debug", "notice",  "Error",   "Warning", "Info",     "Debug"}))
      return true;
    head.Skip();
  }
  return false;
}

constexpr std::array<std::string_view, 14> kPresetNames = {
    "",    "",        "glog",   "monolog", "json",  "postgresql", "mysql",
    "web", "windows", "syslog", "python",  "log4j", "logfmt",     "generic"};

}  // namespace

LogFamily ShapeOf(std::string_view line) {
  if (IsBuiltin(line))
    return LogFamily::Builtin;
  line = line.substr(0, kHeadColumns);
  if (IsGlog(line))
    return LogFamily::Glog;
  if (IsMonolog(line))
    return LogFamily::Monolog;
  if (IsJsonLine(line))
    return LogFamily::Json;
  if (IsPostgresql(line))
    return LogFamily::Postgresql;
  if (IsMysql(line))
    return LogFamily::Mysql;
  if (IsWeb(line))
    return LogFamily::Web;
  if (IsWindows(line))
    return LogFamily::Windows;
  if (IsSyslog(line))
    return LogFamily::Syslog;
  if (IsPython(line))
    return LogFamily::Python;
  if (IsLog4j(line))
    return LogFamily::Log4j;
  if (IsLogfmt(line))
    return LogFamily::Logfmt;
  if (IsGeneric(line))
    return LogFamily::Generic;
  return LogFamily::Unknown;
}

std::string_view PresetNameOf(LogFamily family) {
  return kPresetNames[static_cast<std::size_t>(family)];
}

}  // namespace brontel

#include "diagnostics/Shield.h"

#include <exception>
#include <string>

#include "diagnostics/Debugtimer.h"
#include "diagnostics/TraceLog.h"
#include "platform/LocaleTexts.h"

namespace brontel {

bool Shield::RunErased(std::string_view where, void (*call)(void*), void* work) noexcept {
  try {
    call(work);
    return true;
  } catch (const std::exception& error) {
    Record(where, error.what());
  } catch (...) {
    Record(where, "a failure of unknown type");
  }
  return false;
}

void Shield::Record(std::string_view where, std::string_view what) noexcept {
  TraceLine(where, what);
  try {
    std::string line = LogTimestamp(GetFileManager().GetClock().Now(), platform::DateSeparator(),
                                    platform::TimeSeparator());
    line.append("\t! ").append(where).append(": ").append(what);
    GetFileManager().WriteLine(line);
  } catch (const std::exception& error) {
    TraceLine("timing log", error.what());  // the trace log has it already
  }
}

}  // namespace brontel

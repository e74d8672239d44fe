#include "diagnostics/FailureReport.h"

#include <cstdio>
#include <cstdlib>

#include "diagnostics/TraceLog.h"

namespace brontel {

void ReportFailure(std::string_view where, std::string_view what) {
  if (TraceEnabled()) {
    TraceLine(where, what);
    return;
  }
  if (std::getenv(kReportFailuresVariable) == nullptr)
    return;
  std::fprintf(stderr, "brontel: %.*s: %.*s\n", static_cast<int>(where.size()), where.data(),
               static_cast<int>(what.size()), what.data());
}

}  // namespace brontel

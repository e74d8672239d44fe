/** @file FailureReport.h: failures the user must hear of, such as settings that were not saved. */
#pragma once

#include <string_view>

namespace brontel {

// A host whose standard error the user reads (the brontel program) sets this environment
// variable to have such failures written there even without the trace log.
inline constexpr const char* kReportFailuresVariable = "BRONTEL_REPORT_FAILURES";

// Writes "brontel: WHERE: WHAT" to standard error when the trace log is on or the variable
// above is set (looked at on every call, so a host may set it after loading the module);
// nothing otherwise. Callable from any thread; never throws.
void ReportFailure(std::string_view where, std::string_view what);

}  // namespace brontel

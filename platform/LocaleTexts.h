/** @file LocaleTexts.h: date and time texts in the user's locale. */
#pragma once

#include <string>

#include "platform/DateTime.h"

namespace brontel::platform {

// The user's locale is the one the environment selects (LC_ALL, LC_TIME, LANG on POSIX; the
// user's regional settings on Windows), read afresh on every call so that a changed setting
// shows at once (a POSIX locale is loaded again only when the environment names another). An
// unknown locale falls back to the neutral "C" formats. `value` must be valid (IsValidDateTime);
// the texts never fail.

// The date in the user's short date format, e.g. "08.12.2026" or "12/08/26".
std::string ShortDateText(const DateTime& value);

// The time in the user's long time format (with seconds), e.g. "06:00:00".
std::string LongTimeText(const DateTime& value);

// Short date, one blank, long time: the standard date-and-time text.
std::string DateTimeText(const DateTime& value);

// The separator between the parts of a date in the user's short date format ('.', '/', '-').
char DateSeparator();

// The separator between hours, minutes and seconds in the user's time format (':').
char TimeSeparator();

}  // namespace brontel::platform

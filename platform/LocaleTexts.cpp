#include "platform/LocaleTexts.h"

namespace brontel::platform {

std::string DateTimeText(const DateTime& value) {
  return ShortDateText(value) + " " + LongTimeText(value);
}

}  // namespace brontel::platform

#include <unistd.h>

#include "platform/Terminal.h"

namespace brontel::platform {

bool StandardOutputIsTerminal() {
  return ::isatty(STDOUT_FILENO) == 1;
}

}  // namespace brontel::platform

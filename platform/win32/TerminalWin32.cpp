#include <windows.h>

#include "platform/Terminal.h"

namespace brontel::platform {

// A console answers GetConsoleMode; files, pipes and Wine's redirected output do not.
bool StandardOutputIsTerminal() {
  DWORD mode = 0;
  return ::GetConsoleMode(::GetStdHandle(STD_OUTPUT_HANDLE), &mode) != FALSE;
}

}  // namespace brontel::platform

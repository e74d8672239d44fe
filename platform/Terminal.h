/** @file Terminal.h: whether standard output is a terminal (colours and redraws) or a file. */
#pragma once

namespace brontel::platform {

bool StandardOutputIsTerminal();

}  // namespace brontel::platform

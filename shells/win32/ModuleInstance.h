/** @file ModuleInstance.h: the module's own instance handle and its window classes. */
#pragma once

#include <windows.h>

namespace brontel::win32 {

// The instance handle of the module that holds this code (the plug-in DLL, or a test program
// that links the shell statically), found from an address inside it.
HINSTANCE ModuleInstance();

// Registers a window class of this module once; later calls with the same name do nothing.
// Throws std::runtime_error when the class cannot be registered.
void RegisterWindowClass(const char* className, WNDPROC procedure, HCURSOR cursor,
                         HBRUSH background);

}  // namespace brontel::win32

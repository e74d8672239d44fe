/** @file ModuleEntryPoints.h: what a shell's module supplies to the shared entry points. */
#pragma once

#include "plugin/ListerPlugin.h"

// ModuleEntryPoints.cpp defines the four exported functions once for every module (Qt, Win32,
// headless); it is compiled into each module, which links `brontel_module_entry_points`. A
// module supplies only what differs between the shells: its ListerPlugin, with the factory
// that makes its kind of viewer.
//
// Unloading: every module stays loaded once the host has loaded it. Work outlives a viewer's
// close (the form is freed when the host's event loop next runs, queued toolkit events and
// the watcher's thread still hold the viewer) and viewers the host leaves open at unload keep
// running, so no unload can be made safe by finishing work first. On ELF platforms the module
// is linked with `-z nodelete` (dlclose leaves it mapped); the Win32 module pins itself with
// GetModuleHandleEx on its first entry-point call.

// The export attribute of the module's own functions (the four entry points, and the test
// hosts' drive function of the headless module).
#if defined(_WIN32)
#define BRONTEL_MODULE_EXPORT extern "C" __declspec(dllexport)
#else
#define BRONTEL_MODULE_EXPORT extern "C" __attribute__((visibility("default")))
#endif

namespace brontel {

// The module's plug-in, made on the first call (on the host's UI thread) and kept for the
// process's life. May throw; the entry points catch it.
ListerPlugin& ModulePlugin();

}  // namespace brontel

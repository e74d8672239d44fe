/** @file Shield.h: the one place where a failure is stopped from reaching the host. */
#pragma once

#include <string_view>
#include <type_traits>
#include <utility>

namespace brontel {

// Runs `work` and stops whatever it throws: the host's process must survive every failure of
// the plug-in. Used only where the host or a thread hands control to the plug-in: the exported
// entry points, the toolkits' event, timer and posted-work callbacks, and the watcher's
// thread. Inside the system a failure is handled where it can be or passed up, never dropped.
//
// A caught failure is recorded with `where` (the callback that was running) and its message,
// in the trace log (TraceLine) and as a "!" line in the timing log when that log is written.
// Callable on any thread; never throws.
class Shield {
 public:
  // True when `work` ended normally, false when it threw (the failure is recorded).
  template <typename Work>
  static bool Run(std::string_view where, Work&& work) noexcept {
    return RunErased(where, &Call<std::remove_reference_t<Work>>,
                     const_cast<void*>(static_cast<const void*>(&work)));
  }

  // The result of `work`, or `fallback` when it threw.
  template <typename Result, typename Work>
  static Result Value(std::string_view where, Result fallback, Work&& work) noexcept {
    Result result = std::move(fallback);
    Run(where, [&] { result = work(); });
    return result;
  }

  // Records a failure that was caught elsewhere (as the shield does with its own).
  static void Record(std::string_view where, std::string_view what) noexcept;

 private:
  template <typename Work>
  static void Call(void* work) {
    (*static_cast<Work*>(work))();
  }
  static bool RunErased(std::string_view where, void (*call)(void*), void* work) noexcept;
};

}  // namespace brontel

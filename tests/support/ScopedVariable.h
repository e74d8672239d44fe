/** @file ScopedVariable.h: an environment variable set for one scope and restored after it. */
#pragma once

#include <stdlib.h>

#include <optional>
#include <string>

namespace brontel::testing {

// Sets `name` to `value` (unsets it for nullptr) and gives it back its earlier value, or unsets
// it again, when the scope ends. POSIX only.
class ScopedVariable {
 public:
  ScopedVariable(const char* name, const char* value) : name_(name) {
    if (const char* old = ::getenv(name))
      old_ = old;
    Set(value);
  }
  ~ScopedVariable() { Set(old_ ? old_->c_str() : nullptr); }
  ScopedVariable(const ScopedVariable&) = delete;
  ScopedVariable& operator=(const ScopedVariable&) = delete;

 private:
  void Set(const char* value) const {
    if (value != nullptr) {
      ::setenv(name_.c_str(), value, 1);
    } else {
      ::unsetenv(name_.c_str());
    }
  }

  std::string name_;
  std::optional<std::string> old_;
};

}  // namespace brontel::testing

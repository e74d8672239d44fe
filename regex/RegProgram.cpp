#include "regex/RegProgram.h"

#include <cstring>
#include <new>

namespace brontel {

RegProgram::Owner RegProgram::Allocate(std::int32_t codeSize) noexcept {
  if (codeSize < 0)
    return nullptr;
  const std::size_t bytes =
      sizeof(RegProgram) + static_cast<std::size_t>(codeSize) + kRegProgramGuardSize;
  void* block = ::operator new(bytes, std::nothrow);
  if (block == nullptr)
    return nullptr;
  std::memset(block, 0, bytes);
  auto* program = new (block) RegProgram{};
  program->codeSize = codeSize;
  return Owner(program);
}

void RegProgramDeleter::operator()(RegProgram* program) const noexcept {
  if (program == nullptr)
    return;
  program->~RegProgram();
  ::operator delete(program);
}

}  // namespace brontel

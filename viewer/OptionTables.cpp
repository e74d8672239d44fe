#include "viewer/OptionTables.h"

namespace brontel {
namespace {

template <std::size_t N>
std::int32_t ValueAt(const std::array<OptionChoice, N>& choices, int index, int defaultIndex) {
  if (index < 0 || static_cast<std::size_t>(index) >= N)
    index = defaultIndex;
  return choices[static_cast<std::size_t>(index)].value;
}

}  // namespace

std::int32_t BufferSizeAt(int index) {
  return ValueAt(BufferSizes, index, kDefaultBufferSizeIndex);
}

std::int32_t MaxHistoryLinesAt(int index) {
  return ValueAt(MaxHistoryLines, index, kDefaultMaxHistoryLinesIndex);
}

}  // namespace brontel

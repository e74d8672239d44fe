/** @file ByteLanes.h: sixteen bytes of a text tested at once, where the compiler has vectors. */
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>

#if defined(__GNUC__) && defined(__SSE2__)
#include <emmintrin.h>
#endif

// The searches for literals (the engine's quick rejection, the viewer's text search) test
// sixteen candidate places in one step with the compiler's vector extension; elsewhere
// BRONTEL_HAS_LANES is 0 and they go a place at a time.
#if defined(__GNUC__)
#define BRONTEL_HAS_LANES 1

namespace brontel::lanes {

typedef unsigned char Lanes __attribute__((vector_size(16)));
typedef signed char LaneFlags __attribute__((vector_size(16)));
inline constexpr std::size_t kLaneCount = sizeof(Lanes);

inline Lanes LoadLanes(const void* bytes) {
  Lanes lanes;
  std::memcpy(&lanes, bytes, sizeof lanes);
  return lanes;
}

// The byte in every lane, made from whole words: a lane-by-lane fill goes through a byte in
// memory, which a wider load then waits for.
inline Lanes SplatLanes(unsigned char byte) {
  const std::uint64_t word = std::uint64_t{byte} * 0x0101010101010101u;
  const std::uint64_t words[2] = {word, word};
  Lanes lanes;
  std::memcpy(&lanes, words, sizeof lanes);
  return lanes;
}

// Bit i set when lane i is set.
inline std::uint32_t LaneBits(LaneFlags flags) {
#if defined(__SSE2__)
  return static_cast<std::uint32_t>(_mm_movemask_epi8(reinterpret_cast<__m128i>(flags)));
#else
  std::uint32_t bits = 0;
  for (std::size_t i = 0; i < kLaneCount; ++i)
    bits |= static_cast<std::uint32_t>(flags[i] & 1) << i;
  return bits;
#endif
}

}  // namespace brontel::lanes

#else
#define BRONTEL_HAS_LANES 0
#endif

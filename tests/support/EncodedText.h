/** @file EncodedText.h: test data as encoded logs hold it: UTF-16 and gzip. */
#pragma once

#include <gtest/gtest.h>
#include <zlib.h>

#include <string>

namespace brontel::testing {

// One gzip member holding `text`.
inline std::string Gzip(const std::string& text, int level = Z_DEFAULT_COMPRESSION) {
  z_stream stream{};
  EXPECT_EQ(deflateInit2(&stream, level, Z_DEFLATED, 15 + 16, 8, Z_DEFAULT_STRATEGY), Z_OK);
  std::string out(deflateBound(&stream, static_cast<uLong>(text.size())) + 64, '\0');
  stream.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(text.data()));
  stream.avail_in = static_cast<uInt>(text.size());
  stream.next_out = reinterpret_cast<Bytef*>(out.data());
  stream.avail_out = static_cast<uInt>(out.size());
  EXPECT_EQ(deflate(&stream, Z_FINISH), Z_STREAM_END);
  out.resize(stream.total_out);
  deflateEnd(&stream);
  return out;
}

// UTF-16 bytes of `units`, after a byte-order mark unless `mark` is false.
inline std::string Utf16(const std::u16string& units, bool bigEndian, bool mark = true) {
  std::string bytes;
  if (mark)
    bytes = bigEndian ? "\xFE\xFF" : "\xFF\xFE";
  for (const char16_t unit : units) {
    const char high = static_cast<char>(unit >> 8);
    const char low = static_cast<char>(unit & 0xFF);
    bytes += bigEndian ? std::string{high, low} : std::string{low, high};
  }
  return bytes;
}

}  // namespace brontel::testing

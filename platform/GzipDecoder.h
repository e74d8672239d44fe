/** @file GzipDecoder.h: a gzip file's text, inflated a piece at a time, restartable inside it. */
#pragma once

#include <zlib.h>

#include <cstdint>
#include <vector>

#include "platform/TextDecoder.h"

namespace brontel::platform {

// Inflates every member of a gzip file in turn. From the file's start each member's header and
// check value are read and verified; from a point inside a member the deflate data is taken
// raw (the window and the leftover bits restored, as a point holds them), its trailer skipped.
// Places to restart are the ends of deflate blocks and the starts of members. After a member,
// only another member may follow: anything else is a fault. A member cut short by the file's
// end is not: decoding goes on from there when the file has grown.
class GzipDecoder : public TextDecoder {
 public:
  GzipDecoder(ReadOnlyFile& file, const DecodePoint& from);
  ~GzipDecoder() override;
  GzipDecoder(const GzipDecoder&) = delete;
  GzipDecoder& operator=(const GzipDecoder&) = delete;

  DecodeStep Next(std::string& out) override;
  bool TakePoint(DecodePoint& point) const override;
  std::uint64_t FileOffset() const override { return NextInputOffset(); }

 private:
  // Makes input available; false at the file's end.
  bool Fill();
  // Starts the next member; false when what follows is not one.
  bool StartMember();
  std::uint64_t NextInputOffset() const { return inputEnd_ - stream_.avail_in; }

  ReadOnlyFile& file_;
  z_stream stream_{};
  bool ready_ = false;
  bool raw_ = false;          // inflating deflate data without its gzip wrapping
  bool memberEnded_ = false;  // between members: the next byte starts a member, or the end
  int trailerLeft_ = 0;       // raw: bytes of the member's trailer still to skip
  std::uint64_t inputEnd_;    // the file offset just past the input taken into in_
  std::vector<unsigned char> in_;
  std::vector<unsigned char> out_;
};

}  // namespace brontel::platform

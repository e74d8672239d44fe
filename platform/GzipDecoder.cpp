#include "platform/GzipDecoder.h"

#include <algorithm>

#include "platform/ReadOnlyFile.h"

namespace brontel::platform {

namespace {

constexpr std::size_t kChunk = 64 * 1024;
constexpr int kGzipWindowBits = 15 + 16;  // a gzip header and trailer around the deflate data
constexpr int kRawWindowBits = -15;
constexpr int kTrailerBytes = 8;  // CRC-32 and size of the member
constexpr unsigned char kGzipMagic = 0x1F;
// inflate's data_type after Z_BLOCK: a block (or the header) just ended; the last block began.
constexpr int kBlockEnded = 128;
constexpr int kLastBlock = 64;
constexpr int kBitsMask = 7;

}  // namespace

GzipDecoder::GzipDecoder(ReadOnlyFile& file, const DecodePoint& from)
    : file_(file), inputEnd_(from.file), in_(kChunk), out_(kChunk) {
  if (from.file == 0 || from.memberStart) {
    ready_ = inflateInit2(&stream_, kGzipWindowBits) == Z_OK;
    // Between members nothing more is an end, not a fault; at the file's start it is not.
    memberEnded_ = from.memberStart;
    return;
  }
  ready_ = inflateInit2(&stream_, kRawWindowBits) == Z_OK;
  raw_ = true;
  if (!ready_)
    return;
  if (from.bits > 0) {
    char byte = 0;
    if (from.file == 0 || file_.ReadAt(from.file - 1, &byte, 1) != 1) {
      ready_ = false;
      return;
    }
    const int value = static_cast<unsigned char>(byte) >> (8 - from.bits);
    ready_ = inflatePrime(&stream_, from.bits, value) == Z_OK;
  }
  if (ready_ && !from.window.empty())
    ready_ = inflateSetDictionary(&stream_, from.window.data(),
                                  static_cast<uInt>(from.window.size())) == Z_OK;
}

GzipDecoder::~GzipDecoder() {
  inflateEnd(&stream_);
}

bool GzipDecoder::Fill() {
  if (stream_.avail_in > 0)
    return true;
  const std::size_t got = file_.ReadAt(inputEnd_, reinterpret_cast<char*>(in_.data()), in_.size());
  if (got == 0)
    return false;
  inputEnd_ += got;
  stream_.next_in = in_.data();
  stream_.avail_in = static_cast<uInt>(got);
  return true;
}

bool GzipDecoder::StartMember() {
  if (stream_.next_in[0] != kGzipMagic || inflateReset2(&stream_, kGzipWindowBits) != Z_OK)
    return false;
  raw_ = false;
  memberEnded_ = false;
  return true;
}

DecodeStep GzipDecoder::Next(std::string& out) {
  if (!ready_)
    return DecodeStep::kFault;
  for (;;) {
    if (!Fill())
      return memberEnded_ && trailerLeft_ == 0 ? DecodeStep::kEnd : DecodeStep::kShort;
    if (trailerLeft_ > 0) {
      const uInt skipped = std::min<uInt>(stream_.avail_in, static_cast<uInt>(trailerLeft_));
      stream_.next_in += skipped;
      stream_.avail_in -= skipped;
      trailerLeft_ -= static_cast<int>(skipped);
      continue;
    }
    if (memberEnded_ && !StartMember())
      return DecodeStep::kFault;
    stream_.next_out = out_.data();
    stream_.avail_out = static_cast<uInt>(out_.size());
    const int result = inflate(&stream_, Z_BLOCK);
    out.append(reinterpret_cast<const char*>(out_.data()), out_.size() - stream_.avail_out);
    if (result == Z_STREAM_END) {
      memberEnded_ = true;
      if (raw_)
        trailerLeft_ = kTrailerBytes;
      return DecodeStep::kMore;
    }
    if (result == Z_BUF_ERROR && stream_.avail_in == 0)
      continue;  // more input needed
    if (result != Z_OK)
      return DecodeStep::kFault;
    return DecodeStep::kMore;
  }
}

bool GzipDecoder::TakePoint(DecodePoint& point) const {
  if (!ready_)
    return false;
  if (memberEnded_) {
    if (trailerLeft_ > 0)
      return false;
    point.file = NextInputOffset();
    point.bits = 0;
    point.memberStart = true;
    point.window.clear();
    return true;
  }
  if ((stream_.data_type & kBlockEnded) == 0 || (stream_.data_type & kLastBlock) != 0)
    return false;
  point.file = NextInputOffset();
  point.bits = stream_.data_type & kBitsMask;
  point.memberStart = false;
  point.window.resize(32 * 1024);
  uInt length = static_cast<uInt>(point.window.size());
  if (inflateGetDictionary(const_cast<z_stream*>(&stream_), point.window.data(), &length) != Z_OK)
    return false;
  point.window.resize(length);
  return true;
}

}  // namespace brontel::platform

#include "platform/TextDecoder.h"

#include "platform/GzipDecoder.h"
#include "platform/Utf16Decoder.h"

namespace brontel::platform {

std::unique_ptr<TextDecoder> MakeTextDecoder(ReadOnlyFile& file, FileEncoding encoding,
                                             const DecodePoint& from) {
  if (encoding == FileEncoding::kGzip)
    return std::make_unique<GzipDecoder>(file, from);
  return std::make_unique<Utf16Decoder>(file, encoding == FileEncoding::kUtf16Be, from.file);
}

DecodePoint FirstDecodePoint(FileEncoding encoding) {
  DecodePoint first;
  first.file = EncodingMarkSize(encoding);
  return first;
}

}  // namespace brontel::platform

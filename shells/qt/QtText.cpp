#include "shells/qt/QtText.h"

#include <QByteArray>

namespace brontel::qt {

namespace {

// Length of the UTF-8 sequence that starts with `lead`, 0 for a byte that cannot start one.
int SequenceLength(unsigned char lead) {
  if (lead < 0x80)
    return 1;
  if (lead >= 0xC2 && lead <= 0xDF)
    return 2;
  if (lead >= 0xE0 && lead <= 0xEF)
    return 3;
  if (lead >= 0xF0 && lead <= 0xF4)
    return 4;
  return 0;
}

bool IsContinuation(unsigned char byte) {
  return (byte & 0xC0) == 0x80;
}

// The second byte's range narrows for the leads that could otherwise encode overlong forms,
// surrogates or code points past U+10FFFF.
bool SecondByteFits(unsigned char lead, unsigned char second) {
  switch (lead) {
    case 0xE0:
      return second >= 0xA0;
    case 0xED:
      return second <= 0x9F;
    case 0xF0:
      return second >= 0x90;
    case 0xF4:
      return second <= 0x8F;
    default:
      return true;
  }
}

}  // namespace

bool IsValidUtf8(std::string_view bytes) {
  std::size_t i = 0;
  while (i < bytes.size()) {
    const auto lead = static_cast<unsigned char>(bytes[i]);
    const int length = SequenceLength(lead);
    if (length == 0 || i + static_cast<std::size_t>(length) > bytes.size())
      return false;
    for (int k = 1; k < length; ++k) {
      const auto byte = static_cast<unsigned char>(bytes[i + static_cast<std::size_t>(k)]);
      if (!IsContinuation(byte) || (k == 1 && !SecondByteFits(lead, byte)))
        return false;
    }
    i += static_cast<std::size_t>(length);
  }
  return true;
}

QString FromBytes(std::string_view bytes) {
  const auto size = static_cast<int>(bytes.size());
  if (IsValidUtf8(bytes))
    return QString::fromUtf8(bytes.data(), size);
  return QString::fromLatin1(bytes.data(), size);
}

std::string ToBytes(const QString& text) {
  const QByteArray utf8 = text.toUtf8();
  return std::string(utf8.constData(), static_cast<std::size_t>(utf8.size()));
}

}  // namespace brontel::qt

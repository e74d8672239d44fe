#include "platform/DecodedFile.h"

#include <algorithm>
#include <cstring>

namespace brontel::platform {

namespace {

// Text between kept places: small for UTF-16, whose places cost a few bytes; larger for gzip,
// whose places hold 32 KiB of text each.
constexpr std::uint64_t kUtf16Spacing = std::uint64_t{1} << 20;
constexpr std::uint64_t kGzipSpacing = std::uint64_t{4} << 20;
constexpr std::size_t kUtf16MaxPoints = 64 * 1024;
// A read this far past where the decoder stands starts again from a kept place instead.
constexpr std::uint64_t kRestartDistance = 64 * 1024;

bool EndsLine(char byte) {
  return byte == '\n' || byte == '\r';
}

}  // namespace

// The encoded file as the decoders see it: the same object whichever file is attached.
class DecodedFile::Attached : public ReadOnlyFile {
 public:
  explicit Attached(std::unique_ptr<ReadOnlyFile> file)
      : path_(file->Path()), file_(std::move(file)) {}

  const std::string& Path() const override { return path_; }
  std::uint64_t Size() const override { return file_ ? file_->Size() : 0; }
  std::size_t ReadAt(std::uint64_t offset, char* buffer, std::size_t count) override {
    return file_ ? file_->ReadAt(offset, buffer, count) : 0;
  }
  std::unique_ptr<ReadOnlyFile> Detach() { return std::move(file_); }
  void Attach(std::unique_ptr<ReadOnlyFile> file) { file_ = std::move(file); }

 private:
  std::string path_;
  std::unique_ptr<ReadOnlyFile> file_;
};

struct DecodedFile::Shared {
  enum class State { kGoing, kEnded, kCutShort, kLimited };

  FileEncoding encoding = FileEncoding::kGzip;
  std::uint64_t textLimit = 0;
  EndLines endLines;
  std::vector<DecodePoint> points;  // by text offset, the file's start first
  std::uint64_t spacing = kGzipSpacing;
  std::size_t maxPoints = kMaxPoints;
  std::uint64_t decoded = 0;     // text found so far, without endLine
  std::uint64_t fileOffset = 0;  // encoded bytes taken for it
  char lastByte = '\n';
  State state = State::kGoing;
  std::string endLine;  // after the text, once it ended short or at its limit
  bool resumable = false;
  DecodePoint endPoint;  // where a sound end goes on when the file grows
};

DecodedFile::DecodedFile(std::unique_ptr<ReadOnlyFile> file, FileEncoding encoding,
                         std::uint64_t textLimit, EndLines endLines)
    : file_(std::make_unique<Attached>(std::move(file))),
      shared_(std::make_shared<Shared>()),
      first_(true) {
  Shared& s = *shared_;
  s.encoding = encoding;
  s.textLimit = textLimit;
  s.endLines = std::move(endLines);
  if (encoding != FileEncoding::kGzip) {
    s.spacing = kUtf16Spacing;
    s.maxPoints = kUtf16MaxPoints;
  }
  s.points.push_back(FirstDecodePoint(encoding));
  s.fileOffset = s.points.front().file;
}

DecodedFile::DecodedFile(std::unique_ptr<ReadOnlyFile> file, std::shared_ptr<Shared> shared,
                         bool first)
    : file_(std::make_unique<Attached>(std::move(file))),
      shared_(std::move(shared)),
      first_(first) {}

DecodedFile::~DecodedFile() = default;

const std::string& DecodedFile::Path() const {
  return file_->Path();
}

std::unique_ptr<ReadOnlyFile> DecodedFile::Detach() {
  return file_->Detach();
}

void DecodedFile::Attach(std::unique_ptr<ReadOnlyFile> file) {
  file_->Attach(std::move(file));
}

bool DecodedFile::DecodeSome(std::uint64_t textBytes) {
  if (!first_ || Ended())
    return false;
  if (!decoder_ || decoderText_ > shared_->decoded)
    StartBefore(shared_->decoded);
  const std::uint64_t goal = shared_->decoded + std::min(textBytes, ~shared_->decoded);
  while (!Ended() && shared_->decoded < goal) {
    if (!NextPiece())
      return false;
  }
  return !Ended();
}

std::unique_ptr<DecodedFile> DecodedFile::Reader(std::unique_ptr<ReadOnlyFile> file) const {
  return std::unique_ptr<DecodedFile>(new DecodedFile(std::move(file), shared_, false));
}

std::uint64_t DecodedFile::Size() const {
  return shared_->decoded + shared_->endLine.size();
}

bool DecodedFile::Ended() const {
  return shared_->state != Shared::State::kGoing;
}

bool DecodedFile::CutShort() const {
  return shared_->state == Shared::State::kCutShort;
}

bool DecodedFile::Limited() const {
  return shared_->state == Shared::State::kLimited;
}

std::uint64_t DecodedFile::FileOffset() const {
  return shared_->fileOffset;
}

std::size_t DecodedFile::PointsHeld() const {
  return shared_->points.size();
}

bool DecodedFile::Resume() {
  Shared& s = *shared_;
  if (file_->Size() <= s.fileOffset)
    return false;
  if (s.state == Shared::State::kEnded && s.resumable) {
    s.resumable = false;
    if (s.endPoint.text > s.points.back().text)
      s.points.push_back(std::move(s.endPoint));
    decoder_.reset();
  } else if (s.state == Shared::State::kCutShort && waiting_) {
    s.endLine.clear();
    decoder_ = std::move(waiting_);
    decoderText_ = s.decoded;
  } else {
    return false;
  }
  s.state = Shared::State::kGoing;
  piece_.clear();
  return true;
}

std::size_t DecodedFile::ReadAt(std::uint64_t offset, char* buffer, std::size_t count) {
  const Shared& s = *shared_;
  std::size_t done = 0;
  while (done < count) {
    const std::uint64_t at = offset + done;
    if (at >= pieceStart_ && at - pieceStart_ < piece_.size()) {
      const std::size_t from = static_cast<std::size_t>(at - pieceStart_);
      const std::size_t n = std::min(count - done, piece_.size() - from);
      std::memcpy(buffer + done, piece_.data() + from, n);
      done += n;
      continue;
    }
    if (at >= s.decoded && (s.state != Shared::State::kGoing || !first_))
      return done + CopyEndLine(at, buffer + done, count - done);
    if (!decoder_ || decoderText_ > at || PointBefore(at).text > decoderText_ + kRestartDistance)
      StartBefore(at);
    // A decoder that stops short of the text found before read a file changed under it: what
    // is gone is not there.
    if (!NextPiece() && (at < s.decoded || s.state == Shared::State::kGoing))
      break;
  }
  return done;
}

std::size_t DecodedFile::CopyEndLine(std::uint64_t offset, char* buffer, std::size_t count) const {
  const Shared& s = *shared_;
  if (s.state == Shared::State::kGoing || offset - s.decoded >= s.endLine.size())
    return 0;
  const std::size_t from = static_cast<std::size_t>(offset - s.decoded);
  const std::size_t n = std::min(count, s.endLine.size() - from);
  std::memcpy(buffer, s.endLine.data() + from, n);
  return n;
}

const DecodePoint& DecodedFile::PointBefore(std::uint64_t offset) const {
  const std::vector<DecodePoint>& points = shared_->points;
  const auto next = std::upper_bound(
      points.begin(), points.end(), offset,
      [](std::uint64_t text, const DecodePoint& point) { return text < point.text; });
  return *(next - 1);  // the first place, at text 0, is always kept
}

void DecodedFile::StartBefore(std::uint64_t offset) {
  const DecodePoint& from = PointBefore(offset);
  decoder_ = MakeTextDecoder(*file_, shared_->encoding, from);
  decoderText_ = from.text;
  piece_.clear();
  pieceStart_ = from.text;
}

void DecodedFile::KeepPoint() {
  Shared& s = *shared_;
  if (decoderText_ - s.points.back().text < s.spacing)
    return;
  DecodePoint point;
  if (!decoder_->TakePoint(point))
    return;
  point.text = decoderText_;
  s.points.push_back(std::move(point));
  if (s.points.size() <= s.maxPoints)
    return;
  // Every other place goes (never the first): the spacing doubles, the memory stays bounded.
  std::size_t kept = 1;
  for (std::size_t i = 2; i < s.points.size(); i += 2)
    s.points[kept++] = std::move(s.points[i]);
  s.points.resize(kept);
  s.spacing *= 2;
}

bool DecodedFile::NextPiece() {
  Shared& s = *shared_;
  if (first_ && decoderText_ == s.decoded)
    KeepPoint();
  piece_.clear();
  const DecodeStep step = decoder_->Next(piece_);
  pieceStart_ = decoderText_;
  bool limited = false;
  if (piece_.size() > s.textLimit - pieceStart_) {
    piece_.resize(static_cast<std::size_t>(s.textLimit - pieceStart_));
    limited = true;
  }
  const std::uint64_t pieceEnd = pieceStart_ + piece_.size();
  if (!first_ && pieceEnd > s.decoded)  // only the first reader finds new text
    piece_.resize(static_cast<std::size_t>(std::max(s.decoded, pieceStart_) - pieceStart_));
  decoderText_ += piece_.size();
  if (!first_ || s.state != Shared::State::kGoing || decoderText_ < s.decoded)
    return !piece_.empty() || step == DecodeStep::kMore;
  s.decoded = decoderText_;
  s.fileOffset = decoder_->FileOffset();
  if (!piece_.empty())
    s.lastByte = piece_.back();
  if (limited)
    EndText(DecodeStep::kMore);
  else if (step != DecodeStep::kMore)
    EndText(step);
  return !piece_.empty() || (step == DecodeStep::kMore && !limited);
}

void DecodedFile::EndText(DecodeStep how) {
  Shared& s = *shared_;
  if (how == DecodeStep::kEnd) {
    s.state = Shared::State::kEnded;
    s.resumable = decoder_->TakePoint(s.endPoint);
    s.endPoint.text = s.decoded;
    return;
  }
  const bool cutShort = how != DecodeStep::kMore;
  if (how == DecodeStep::kShort)
    waiting_ = std::move(decoder_);
  s.state = cutShort ? Shared::State::kCutShort : Shared::State::kLimited;
  const std::string& line = cutShort ? s.endLines.cutShort : s.endLines.limit;
  if (line.empty())
    return;  // the reader says it in its own way
  s.endLine.assign(EndsLine(s.lastByte) ? 0 : 1, '\n');
  s.endLine.append(line);
  s.endLine.push_back('\n');
}

}  // namespace brontel::platform

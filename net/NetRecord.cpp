#include "net/NetRecord.h"

#include <algorithm>
#include <cstring>

#include "platform/Codec.h"

TNetRecord TNetRecord::FromBytes(const void* bytes) {
  TNetRecord r;
  std::memcpy(r.bytes_.data(), bytes, Size);
  return r;
}

std::uint16_t TNetRecord::U16(std::size_t offset) const {
  return static_cast<std::uint16_t>(bytes_[offset] | (bytes_[offset + 1] << 8));
}

std::int32_t TNetRecord::I32(std::size_t offset) const {
  const std::uint32_t v = static_cast<std::uint32_t>(bytes_[offset]) | (static_cast<std::uint32_t>(bytes_[offset + 1]) << 8) |
                          (static_cast<std::uint32_t>(bytes_[offset + 2]) << 16) |
                          (static_cast<std::uint32_t>(bytes_[offset + 3]) << 24);
  return static_cast<std::int32_t>(v);
}

void TNetRecord::PutU16(std::size_t offset, std::uint16_t v) {
  bytes_[offset] = static_cast<std::uint8_t>(v & 0xFF);
  bytes_[offset + 1] = static_cast<std::uint8_t>(v >> 8);
}

void TNetRecord::PutI32(std::size_t offset, std::int32_t v) {
  const auto u = static_cast<std::uint32_t>(v);
  for (std::size_t i = 0; i < 4; ++i) bytes_[offset + i] = static_cast<std::uint8_t>((u >> (8 * i)) & 0xFF);
}

QByteArray TNetRecord::TextBytes(FieldSpan f) const {
  const auto* begin = reinterpret_cast<const char*>(bytes_.data() + f.offset);
  const void* nul = std::memchr(begin, 0, f.width);
  const std::size_t len = nul ? static_cast<std::size_t>(static_cast<const char*>(nul) - begin) : f.width;
  return QByteArray(begin, static_cast<qsizetype>(len));
}

QString TNetRecord::TextOf(FieldSpan f) const {
  return platform::FromCp932(reinterpret_cast<const char*>(bytes_.data() + f.offset), f.width);
}

void TNetRecord::ClearField(FieldSpan f) { std::memset(bytes_.data() + f.offset, 0, f.width); }

void TNetRecord::SetTextBytes(FieldSpan f, const QByteArray& b) {
  ClearField(f);
  const QByteArray cut = platform::CutCp932(b, f.width);
  std::memcpy(bytes_.data() + f.offset, cut.constData(), static_cast<std::size_t>(cut.size()));
}

void TNetRecord::SetTextOf(FieldSpan f, const QString& s) { SetTextBytes(f, platform::ToCp932(s)); }

_Rev TNetRecord::Move(int i) const {
  const std::size_t at = field::Moves.offset + static_cast<std::size_t>(std::clamp(i, 0, MaxMoves - 1)) * MoveSize;
  return _Rev{I32(at), I32(at + 4), I32(at + 8)};
}

void TNetRecord::SetMove(int i, const _Rev& r) {
  if (i < 0 || i >= MaxMoves) return;
  const std::size_t at = field::Moves.offset + static_cast<std::size_t>(i) * MoveSize;
  PutI32(at, r.x);
  PutI32(at + 4, r.y);
  PutI32(at + 8, r.value);
}

std::vector<_Rev> TNetRecord::Moves() const {
  std::vector<_Rev> out;
  const int n = MoveCount();
  out.reserve(static_cast<std::size_t>(n));
  for (int i = 0; i < n; ++i) out.push_back(Move(i));
  return out;
}

QByteArray TNetRecord::PictureChunkBytes() const {
  const std::int32_t n = std::clamp<std::int32_t>(PictureLength(), 0, static_cast<std::int32_t>(PictureChunk));
  return QByteArray(reinterpret_cast<const char*>(bytes_.data() + field::PictureData.offset), n);
}

void TNetRecord::SetPictureData(const QByteArray& chunk) {
  ClearField(field::PictureData);
  const std::size_t n = std::min<std::size_t>(static_cast<std::size_t>(chunk.size()), PictureChunk);
  std::memcpy(bytes_.data() + field::PictureData.offset, chunk.constData(), n);
}

namespace {
QByteArray Formatted(const QString& before, const QByteArray& value, const QString& after) {
  return platform::CutCp932(platform::ToCp932(before) + value + platform::ToCp932(after), field::Text.width);
}
}  // namespace

QByteArray JoinNoticeText(const QByteArray& name) { return Formatted({}, name, QStringLiteral("が入室しました")); }
QByteArray LeaveNoticeText(const QByteArray& name) { return Formatted({}, name, QStringLiteral("が退室しました")); }
QByteArray PrivateLineText(const QByteArray& text) { return Formatted(QStringLiteral("(個別送信):"), text, {}); }

TNetRecord ServerNotice(const QString& text) {
  TNetRecord r;
  r.SetKind(mkChat);
  r.SetNumber(99);
  r.SetName(QStringLiteral("Server"));
  r.SetText(text);
  return r;
}

QString LogLine(const TNetRecord& r) {
  return QStringLiteral("No.") + QString::number(r.Number()) + QLatin1Char('(') + r.Name() + QStringLiteral("):") +
         r.Text();
}

std::vector<TNetRecord> PictureRecords(int side, const QByteArray& picture) {
  std::vector<TNetRecord> out;
  if (picture.isEmpty()) return out;
  auto part = [side](std::uint16_t sub) {
    TNetRecord r;
    r.SetKind(mkPicture);
    r.SetTo(TNetRecord::Everyone);
    r.SetSub(sub);
    r.SetPictureSide(static_cast<std::uint16_t>(side - 1));
    return r;
  };
  TNetRecord begin = part(ppBegin);
  begin.SetPictureLength(static_cast<std::int32_t>(picture.size()));
  out.push_back(begin);
  const qsizetype step = static_cast<qsizetype>(TNetRecord::PictureChunk);
  for (qsizetype at = 0; at < picture.size(); at += step) {
    const QByteArray chunk = picture.mid(at, step);
    TNetRecord r = part(ppChunk);
    r.SetPictureLength(static_cast<std::int32_t>(chunk.size()));
    r.SetPictureData(chunk);
    out.push_back(r);
  }
  out.push_back(part(ppEnd));
  return out;
}

std::vector<TNetRecord> MoveRunRecords(const _Rev* list, int count) {
  if (!list || count < 0) count = 0;
  std::vector<TNetRecord> out;
  const int runs = count / TNetRecord::MaxMoves + 1;
  for (int i = 0; i < runs; ++i) {
    TNetRecord r;
    r.SetKind(mkGame);
    r.SetSub(gsMoves);
    const int first = i * TNetRecord::MaxMoves;
    const int n = std::min(TNetRecord::MaxMoves, count - first);
    r.SetArg(static_cast<std::uint16_t>(n));
    for (int k = 0; k < n; ++k) r.SetMove(k, list[first + k]);
    out.push_back(r);
  }
  return out;
}

bool PictureReceiver::Take(const TNetRecord& r, int& side, QByteArray& done) {
  if (r.Kind() != mkPicture || r.PictureSide() > 1) return false;
  Stream& s = streams_[r.PictureSide()];
  switch (r.Sub()) {
    case ppBegin:
      // A new begin restarts the side's transfer; a claim past the limit is no picture at all.
      s = Stream{};
      if (r.PictureLength() < 0 || r.PictureLength() > MaxPictureBytes) return false;
      s.open = true;
      s.size = r.PictureLength();
      s.bytes.reserve(s.size);
      return false;
    case ppChunk: {
      if (!s.open) return false;
      const QByteArray chunk = r.PictureChunkBytes();
      if (s.bytes.size() + chunk.size() > MaxPictureBytes) {
        s = Stream{};  // more than any picture may hold: the transfer is dropped
        return false;
      }
      s.bytes.append(chunk);
      return false;
    }
    case ppEnd:
      if (!s.open) return false;
      if (s.bytes.size() < s.size) s.bytes.append(QByteArray(s.size - s.bytes.size(), '\0'));
      side = r.PictureSide() + 1;
      done = s.bytes;
      s = Stream{};
      return true;
    default:
      return false;
  }
}

#pragma once
#include <QByteArray>
#include <QString>

#include <array>
#include <cstddef>
#include <cstdint>
#include <vector>

#include "game/Rev.h"

// The one unit on the wire: 256 bytes, little-endian integers, code page 932 texts.
// Kept as plain bytes so that whatever a peer sends is held exactly and read safely.

// Record kinds (Kind), sub-kinds of mkGame (Sub) and picture parts of mkPicture (Sub).
enum MessageKind : std::uint16_t {
  mkJoin = 2,
  mkChat = 3,
  mkPrivate = 4,
  mkUserList = 5,
  mkGameState = 200,
  mkGame = 201,
  mkPlayerNames = 202,
  mkPicture = 203,
  mkLeave = 999,
};
enum GameSubKind : std::uint16_t {
  gsMoves = 1,
  gsInvite = 3,
  gsReset = 4,
  gsStatsRequest = 5,
  gsStatsReply = 6,
};
enum PicturePart : std::uint16_t {
  ppBegin = 1,
  ppChunk = 2,
  ppEnd = 3,
};

// Where each field lies. Overlays share the bytes after offset 8 with Number, Name and Text.
struct FieldSpan {
  std::size_t offset;
  std::size_t width;
  constexpr std::size_t end() const { return offset + width; }
};
namespace field {
inline constexpr FieldSpan Kind{0, 2};
inline constexpr FieldSpan To{2, 2};
inline constexpr FieldSpan Sub{4, 2};
inline constexpr FieldSpan Arg{6, 2};
inline constexpr FieldSpan Number{8, 4};
inline constexpr FieldSpan Name{12, 30};
inline constexpr FieldSpan Text{42, 214};
inline constexpr FieldSpan JoinHandle{4, 4};
inline constexpr FieldSpan Moves{8, 240};         // up to 20 _Rev entries
inline constexpr FieldSpan Stats{8, 24};          // six int32 counters
inline constexpr FieldSpan UserListName{20, 30};  // mkUserList entry
inline constexpr FieldSpan BlackName{24, 30};     // mkPlayerNames, first side
inline constexpr FieldSpan WhiteName{54, 30};     // mkPlayerNames, second side
inline constexpr FieldSpan PictureSide{8, 2};
inline constexpr FieldSpan PictureLength{12, 4};
inline constexpr FieldSpan PictureData{16, 240};
}  // namespace field

class TNetRecord {
 public:
  static constexpr std::size_t Size = 256;
  static constexpr int MaxMoves = 20;
  static constexpr int MoveSize = 12;
  static constexpr std::size_t PictureChunk = 240;
  static constexpr std::uint16_t Everyone = 0xFFFF;

  // The six counters of gsStatsReply, in wire order.
  enum Stat { SouNum, SouWin, SouLose, NetNum, NetWin, NetLose, StatCount };

  TNetRecord() { Clear(); }
  static TNetRecord FromBytes(const void* bytes);  // copies exactly Size bytes

  void Clear() { bytes_.fill(0); }
  std::uint8_t* data() { return bytes_.data(); }
  const std::uint8_t* data() const { return bytes_.data(); }
  bool operator==(const TNetRecord&) const = default;

  std::uint16_t Kind() const { return U16(field::Kind.offset); }
  void SetKind(std::uint16_t v) { PutU16(field::Kind.offset, v); }
  std::uint16_t To() const { return U16(field::To.offset); }
  void SetTo(std::uint16_t v) { PutU16(field::To.offset, v); }
  std::uint16_t Sub() const { return U16(field::Sub.offset); }
  void SetSub(std::uint16_t v) { PutU16(field::Sub.offset, v); }
  std::uint16_t Arg() const { return U16(field::Arg.offset); }
  void SetArg(std::uint16_t v) { PutU16(field::Arg.offset, v); }
  std::int32_t Number() const { return I32(field::Number.offset); }
  void SetNumber(std::int32_t v) { PutI32(field::Number.offset, v); }

  // Texts: read up to the first NUL, never past the field; written cut to the field at a
  // character boundary, the rest of the field cleared.
  QByteArray NameBytes() const { return TextBytes(field::Name); }
  QString Name() const { return TextOf(field::Name); }
  void SetName(const QString& s) { SetTextOf(field::Name, s); }
  void SetNameBytes(const QByteArray& b) { SetTextBytes(field::Name, b); }
  QByteArray TextBytes() const { return TextBytes(field::Text); }
  QString Text() const { return TextOf(field::Text); }
  void SetText(const QString& s) { SetTextOf(field::Text, s); }
  void SetTextBytes(const QByteArray& b) { SetTextBytes(field::Text, b); }

  std::uint32_t JoinHandle() const { return static_cast<std::uint32_t>(I32(field::JoinHandle.offset)); }
  void SetJoinHandle(std::uint32_t v) { PutI32(field::JoinHandle.offset, static_cast<std::int32_t>(v)); }

  // gsMoves: Arg counts the entries; a count above 20 is read as 20.
  int MoveCount() const { return Arg() > MaxMoves ? MaxMoves : Arg(); }
  _Rev Move(int i) const;  // i in 0..19
  void SetMove(int i, const _Rev& r);
  std::vector<_Rev> Moves() const;  // the first MoveCount() entries

  // gsStatsReply.
  std::int32_t StatValue(Stat s) const { return I32(field::Stats.offset + 4 * static_cast<std::size_t>(s)); }
  void SetStatValue(Stat s, std::int32_t v) { PutI32(field::Stats.offset + 4 * static_cast<std::size_t>(s), v); }

  // mkUserList entry and mkPlayerNames.
  QString UserListName() const { return TextOf(field::UserListName); }
  QString BlackName() const { return TextOf(field::BlackName); }
  void SetBlackName(const QString& s) { SetTextOf(field::BlackName, s); }
  QString WhiteName() const { return TextOf(field::WhiteName); }
  void SetWhiteName(const QString& s) { SetTextOf(field::WhiteName, s); }

  // mkPicture.
  std::uint16_t PictureSide() const { return U16(field::PictureSide.offset); }
  void SetPictureSide(std::uint16_t v) { PutU16(field::PictureSide.offset, v); }
  std::int32_t PictureLength() const { return I32(field::PictureLength.offset); }
  void SetPictureLength(std::int32_t v) { PutI32(field::PictureLength.offset, v); }
  // The chunk's bytes: Length of them, never more than 240 and never fewer than none.
  QByteArray PictureChunkBytes() const;
  void SetPictureData(const QByteArray& chunk);  // at most 240 bytes, zero-padded

  // Raw access by span, for the host's answers and for tests of the layout.
  QByteArray TextBytes(FieldSpan f) const;
  QString TextOf(FieldSpan f) const;
  void SetTextOf(FieldSpan f, const QString& s);
  void SetTextBytes(FieldSpan f, const QByteArray& b);  // cut at a character boundary
  void ClearField(FieldSpan f);

  std::uint16_t U16(std::size_t offset) const;
  std::int32_t I32(std::size_t offset) const;
  void PutU16(std::size_t offset, std::uint16_t v);
  void PutI32(std::size_t offset, std::int32_t v);

 private:
  std::array<std::uint8_t, Size> bytes_;
};

static_assert(sizeof(TNetRecord) == TNetRecord::Size, "a record is 256 bytes on the wire and in memory");
static_assert(field::Text.end() == TNetRecord::Size, "Text ends with the record");
static_assert(field::Name.end() == field::Text.offset);
static_assert(field::Moves.offset + TNetRecord::MaxMoves * TNetRecord::MoveSize == 248);
static_assert(field::PictureData.end() == TNetRecord::Size);
static_assert(field::WhiteName.end() <= TNetRecord::Size);
static_assert(field::Stats.end() == 32);

// Texts the host writes into records (code page 932 bytes, cut to the Text field).
QByteArray JoinNoticeText(const QByteArray& name);    // "%sが入室しました"
QByteArray LeaveNoticeText(const QByteArray& name);   // "%sが退室しました"
QByteArray PrivateLineText(const QByteArray& text);   // "(個別送信):%s"

// A notice the connection itself gives a member, logged as No.99(Server):text.
TNetRecord ServerNotice(const QString& text);

// The log line of a received chat, join or leave: "No." + Number + "(" + Name + "):" + Text.
QString LogLine(const TNetRecord& r);

// The parts of the face picture of side 1 or 2 (Side 0 or 1 on the wire): ppBegin, one ppChunk
// per 240 bytes (the last may be short), ppEnd; nothing at all for an empty picture. Every part
// goes to everyone (To 0xFFFF).
std::vector<TNetRecord> PictureRecords(int side, const QByteArray& picture);

// The placement list as gsMoves records: floor(count / 20) + 1 of them, the last holding
// count mod 20 entries (possibly none). To is 0.
std::vector<TNetRecord> MoveRunRecords(const _Rev* list, int count);

// A member's reassembly of pictures: one buffer per side, so two transfers may interleave.
// A peer's Length is never trusted beyond what the buffer may hold.
class PictureReceiver {
 public:
  static constexpr std::int32_t MaxPictureBytes = 4 * 1024 * 1024;
  // Takes one mkPicture record. Answers true with the whole picture in `done` and its side (1 or
  // 2, from Side 0 or 1) on ppEnd of a transfer that began; false otherwise (parts without a
  // begin or of another Side are ignored).
  // A begin claiming more than MaxPictureBytes, or chunks running past it, drop that transfer.
  bool Take(const TNetRecord& r, int& side, QByteArray& done);

 private:
  struct Stream {
    bool open = false;
    std::int32_t size = 0;
    QByteArray bytes;
  };
  Stream streams_[2];
};

#include "contract/RunnerWire.h"

namespace runnerwire {

namespace {

void PutInt32(std::vector<unsigned char>& out, std::int32_t value) {
  const auto bits = static_cast<std::uint32_t>(value);
  for (int shift = 0; shift < 32; shift += 8) out.push_back(static_cast<unsigned char>(bits >> shift));
}

// Reads one integer at `at` and moves past it.
std::int32_t TakeInt32(const std::vector<unsigned char>& in, std::size_t& at) {
  std::uint32_t bits = 0;
  for (int i = 0; i < 4; ++i) bits |= static_cast<std::uint32_t>(in[at + i]) << (8 * i);
  at += 4;
  return static_cast<std::int32_t>(bits);
}

constexpr std::size_t kRequestHeaderBytes = 3 * 4;

std::vector<unsigned char> StartAnswer(Reply reply, std::size_t size) {
  std::vector<unsigned char> out;
  out.reserve(size);
  PutInt32(out, static_cast<std::int32_t>(reply));
  return out;
}

// An answer of exactly `size` bytes with a known reply code: the code, then the body as
// readBody(answer, offset) takes it. Nothing for any other size or code.
template <typename Answer, typename ReadBody>
std::optional<Answer> DecodeAnswer(const std::vector<unsigned char>& bytes, std::size_t size, ReadBody readBody) {
  if (bytes.size() != size) return std::nullopt;
  std::size_t at = 0;
  const std::int32_t code = TakeInt32(bytes, at);
  if (code != static_cast<std::int32_t>(Reply::Answered) && code != static_cast<std::int32_t>(Reply::NotAnEngine))
    return std::nullopt;
  Answer answer;
  answer.reply = static_cast<Reply>(code);
  readBody(answer, at);
  return answer;
}

}  // namespace

std::vector<unsigned char> EncodeMoveRequest(const MoveRequest& request) {
  if (request.columns <= 0 || request.rows <= 0) return {};
  const auto cells = static_cast<std::size_t>(request.columns) * static_cast<std::size_t>(request.rows);
  if (request.cells.size() != cells || kRequestHeaderBytes + 4 * cells > kMaxRequestBytes) return {};
  std::vector<unsigned char> out;
  out.reserve(kRequestHeaderBytes + 4 * cells);
  PutInt32(out, request.columns);
  PutInt32(out, request.rows);
  PutInt32(out, request.side);
  for (std::int32_t cell : request.cells) PutInt32(out, cell);
  return out;
}

std::optional<MoveRequest> DecodeMoveRequest(const std::vector<unsigned char>& bytes) {
  if (bytes.size() < kRequestHeaderBytes || bytes.size() > kMaxRequestBytes) return std::nullopt;
  std::size_t at = 0;
  MoveRequest request;
  request.columns = TakeInt32(bytes, at);
  request.rows = TakeInt32(bytes, at);
  request.side = TakeInt32(bytes, at);
  if (request.columns <= 0 || request.rows <= 0) return std::nullopt;
  const auto cells = static_cast<std::size_t>(request.columns) * static_cast<std::size_t>(request.rows);
  if (cells > kMaxRequestBytes / 4 || bytes.size() != kRequestHeaderBytes + 4 * cells) return std::nullopt;
  request.cells.reserve(cells);
  while (at < bytes.size()) request.cells.push_back(TakeInt32(bytes, at));
  return request;
}

std::vector<unsigned char> EncodeStatusAnswer(const StatusAnswer& answer) {
  std::vector<unsigned char> out = StartAnswer(answer.reply, kStatusAnswerBytes);
  out.insert(out.end(), answer.buffers.name.begin(), answer.buffers.name.end());
  out.insert(out.end(), answer.buffers.bitmap.begin(), answer.buffers.bitmap.end());
  return out;
}

std::vector<unsigned char> EncodeMoveAnswer(const MoveAnswer& answer) {
  std::vector<unsigned char> out = StartAnswer(answer.reply, kMoveAnswerBytes);
  PutInt32(out, answer.move.x);
  PutInt32(out, answer.move.y);
  PutInt32(out, answer.move.value);
  return out;
}

std::optional<StatusAnswer> DecodeStatusAnswer(const std::vector<unsigned char>& bytes) {
  return DecodeAnswer<StatusAnswer>(bytes, kStatusAnswerBytes, [&bytes](StatusAnswer& answer, std::size_t at) {
    for (char& c : answer.buffers.name) c = static_cast<char>(bytes[at++]);
    for (char& c : answer.buffers.bitmap) c = static_cast<char>(bytes[at++]);
  });
}

std::optional<MoveAnswer> DecodeMoveAnswer(const std::vector<unsigned char>& bytes) {
  return DecodeAnswer<MoveAnswer>(bytes, kMoveAnswerBytes, [&bytes](MoveAnswer& answer, std::size_t at) {
    answer.move.x = TakeInt32(bytes, at);
    answer.move.y = TakeInt32(bytes, at);
    answer.move.value = TakeInt32(bytes, at);
  });
}

}  // namespace runnerwire

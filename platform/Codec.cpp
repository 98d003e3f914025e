#include "platform/Codec.h"

#include <unicode/ucnv.h>
#include <unicode/ucnv_cb.h>

#include <cstring>
#include <memory>

namespace platform {
namespace {

struct ConverterCloser {
  void operator()(UConverter* c) const { ucnv_close(c); }
};

// One converter per thread: ICU converters keep state and are not thread-safe.
UConverter* converter() {
  thread_local std::unique_ptr<UConverter, ConverterCloser> conv = [] {
    UErrorCode status = U_ZERO_ERROR;
    UConverter* c = ucnv_open("windows-31j", &status);
    if (U_FAILURE(status)) return std::unique_ptr<UConverter, ConverterCloser>();
    // What a Japanese input method types ("〜", "−", "‖") is written the way Windows writes it.
    ucnv_setFallback(c, true);
    return std::unique_ptr<UConverter, ConverterCloser>(c);
  }();
  return conv.get();
}

// ICU's own substitute for code page 932 is FC FC, which no decoder reads back as a character.
void writeQuestionMark(const void* context, UConverterFromUnicodeArgs* args, const UChar*, int32_t, UChar32,
                       UConverterCallbackReason reason, UErrorCode* status) {
  if (reason != UCNV_UNASSIGNED && reason != UCNV_ILLEGAL && reason != UCNV_IRREGULAR) return;
  ++*static_cast<int*>(const_cast<void*>(context));
  *status = U_ZERO_ERROR;
  ucnv_cbFromUWriteBytes(args, "\x81\x48", 2, 0, status);
}

// The bytes, and how many characters had to become "？".
QByteArray encode(const QString& text, int& substituted) {
  substituted = 0;
  UConverter* c = converter();
  if (!c || text.isEmpty()) return {};
  ucnv_reset(c);
  UErrorCode status = U_ZERO_ERROR;
  ucnv_setFromUCallBack(c, writeQuestionMark, &substituted, nullptr, nullptr, &status);
  const auto* src = reinterpret_cast<const UChar*>(text.utf16());
  const int32_t srcLen = static_cast<int32_t>(text.size());
  QByteArray out(static_cast<qsizetype>(srcLen) * 2 + 4, '\0');
  const int32_t n = ucnv_fromUChars(c, out.data(), static_cast<int32_t>(out.size()), src, srcLen, &status);
  if (U_FAILURE(status)) return {};
  out.truncate(n);
  return out;
}

bool isLeadByte(unsigned char b) { return (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC); }

}  // namespace

QByteArray ToCp932(const QString& text) {
  int substituted = 0;
  return encode(text, substituted);
}

bool FitsCp932(const QString& text) {
  int substituted = 0;
  encode(text, substituted);
  return substituted == 0;
}

QString LeftWithinCp932(const QString& text, std::size_t maxBytes) {
  std::size_t used = 0;
  qsizetype end = 0;
  while (end < text.size()) {
    // One character: a surrogate pair stays whole.
    const qsizetype width = text[end].isHighSurrogate() && end + 1 < text.size() ? 2 : 1;
    used += static_cast<std::size_t>(ToCp932(text.mid(end, width)).size());
    if (used > maxBytes) break;
    end += width;
  }
  return text.left(end);
}

QByteArray CutCp932(const QByteArray& bytes, std::size_t maxBytes) {
  std::size_t i = 0;
  const std::size_t n = static_cast<std::size_t>(bytes.size());
  while (i < n) {
    const std::size_t width = isLeadByte(static_cast<unsigned char>(bytes[i])) ? 2 : 1;
    if (i + width > maxBytes) break;
    i += width;
  }
  return bytes.left(static_cast<qsizetype>(std::min(i, n)));
}

QByteArray ToCp932Cut(const QString& text, std::size_t maxBytes) { return CutCp932(ToCp932(text), maxBytes); }

QString FromCp932(const char* bytes, std::size_t size) {
  if (!bytes || size == 0) return {};
  const void* nul = std::memchr(bytes, 0, size);
  const std::size_t len = nul ? static_cast<std::size_t>(static_cast<const char*>(nul) - bytes) : size;
  UConverter* c = converter();
  if (!c || len == 0) return {};
  ucnv_reset(c);
  QString out(static_cast<qsizetype>(len) + 2, QChar(0));
  UErrorCode status = U_ZERO_ERROR;
  int32_t n = ucnv_toUChars(c, reinterpret_cast<UChar*>(out.data()), static_cast<int32_t>(out.size()), bytes,
                            static_cast<int32_t>(len), &status);
  if (U_FAILURE(status)) return {};
  out.truncate(n);
  return out;
}

bool IsCp932Text(const QByteArray& bytes) {
  // A converter of its own, which stops at the first byte sequence that is no character.
  thread_local std::unique_ptr<UConverter, ConverterCloser> strict = [] {
    UErrorCode status = U_ZERO_ERROR;
    UConverter* c = ucnv_open("windows-31j", &status);
    if (U_FAILURE(status)) return std::unique_ptr<UConverter, ConverterCloser>();
    ucnv_setToUCallBack(c, UCNV_TO_U_CALLBACK_STOP, nullptr, nullptr, nullptr, &status);
    return std::unique_ptr<UConverter, ConverterCloser>(c);
  }();
  if (!strict || bytes.isEmpty() || bytes.contains('\0')) return false;
  ucnv_reset(strict.get());
  QString out(bytes.size() + 2, QChar(0));
  UErrorCode status = U_ZERO_ERROR;
  ucnv_toUChars(strict.get(), reinterpret_cast<UChar*>(out.data()), static_cast<int32_t>(out.size()), bytes.constData(),
                static_cast<int32_t>(bytes.size()), &status);
  return U_SUCCESS(status);
}

QString FromCp932(const QByteArray& bytes) {
  return FromCp932(bytes.constData(), static_cast<std::size_t>(bytes.size()));
}

}  // namespace platform

#pragma once
#include <QByteArray>
#include <QString>
#include <cstddef>

// Code page 932 (Shift-JIS) at every boundary: records, velm.dat, Chat.log, engine buffers.
namespace platform {

QByteArray ToCp932(const QString& text);

// Encodes and cuts to at most maxBytes, never through a double-byte character.
QByteArray ToCp932Cut(const QString& text, std::size_t maxBytes);

// Decodes bytes up to the first NUL, never reading past size.
QString FromCp932(const char* bytes, std::size_t size);
QString FromCp932(const QByteArray& bytes);

// Cuts already-encoded code page 932 bytes to at most maxBytes at a character boundary.
QByteArray CutCp932(const QByteArray& bytes, std::size_t maxBytes);

}  // namespace platform

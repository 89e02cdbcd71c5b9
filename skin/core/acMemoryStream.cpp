#include "skin/core/acMemoryStream.h"

#include <cstring>

#include "platform/base/Exception.h"

std::size_t TacMemoryStream::Read(void* buffer, std::size_t count) {
  const std::size_t n = count < Remaining() ? count : Remaining();
  if (n > 0) std::memcpy(buffer, Bytes_.data() + Position_, n);
  Position_ += n;
  return n;
}

void TacMemoryStream::ReadBuffer(void* buffer, std::size_t count) {
  if (Read(buffer, count) != count) throw EReadError("Stream read error");
}

std::int32_t TacMemoryStream::ReadInt32() {
  std::uint8_t b[4];
  ReadBuffer(b, 4);
  return static_cast<std::int32_t>(static_cast<std::uint32_t>(b[0]) | (static_cast<std::uint32_t>(b[1]) << 8) |
                                   (static_cast<std::uint32_t>(b[2]) << 16) | (static_cast<std::uint32_t>(b[3]) << 24));
}

void TacMemoryStream::Write(const void* buffer, std::size_t count) {
  if (count == 0) return;
  if (Position_ + count > Bytes_.size()) Bytes_.resize(Position_ + count);
  std::memcpy(Bytes_.data() + Position_, buffer, count);
  Position_ += count;
}

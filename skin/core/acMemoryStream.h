#pragma once
// Byte stream held in memory: package sources, inflated entries and stored-skin data.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

class TacMemoryStream {
public:
  TacMemoryStream() = default;
  explicit TacMemoryStream(std::vector<std::uint8_t> bytes) : Bytes_(std::move(bytes)) {}

  std::size_t Size() const { return Bytes_.size(); }
  bool Empty() const { return Bytes_.empty(); }
  std::size_t Position() const { return Position_; }
  // Positions beyond the end are clamped to the end.
  void SetPosition(std::size_t position) { Position_ = position < Bytes_.size() ? position : Bytes_.size(); }
  void Rewind() { Position_ = 0; }
  std::size_t Remaining() const { return Bytes_.size() - Position_; }

  // Copies up to count bytes from the position on and returns how many were copied.
  std::size_t Read(void* buffer, std::size_t count);
  // Reads exactly count bytes or raises EReadError "Stream read error".
  void ReadBuffer(void* buffer, std::size_t count);
  std::int32_t ReadInt32();  // little-endian; EReadError when fewer than 4 bytes remain

  // Writes at the position, growing the stream as needed.
  void Write(const void* buffer, std::size_t count);
  void Clear() { Bytes_.clear(); Position_ = 0; }

  const std::vector<std::uint8_t>& Bytes() const { return Bytes_; }
  std::vector<std::uint8_t>& Bytes() { return Bytes_; }
  std::string_view View() const { return {reinterpret_cast<const char*>(Bytes_.data()), Bytes_.size()}; }

private:
  std::vector<std::uint8_t> Bytes_;
  std::size_t Position_ = 0;
};

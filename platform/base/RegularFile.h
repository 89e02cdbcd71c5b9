#pragma once
// Reading a whole file that a document or a skin names, which may be hostile: only
// regular files are read (a FIFO nobody writes to would block for ever, /dev/zero
// never ends), the open never blocks, the size is checked from the file's record
// before a byte is read, and a file that grows while read is held to the same limit.
// Callers turn the outcome into their own error texts.
#include <cstdint>
#include <string>
#include <vector>

enum class TRegularFileStatus { Ok, CannotOpen, NotRegular, TooLarge, CannotRead };

struct TRegularFileRead {
  TRegularFileStatus Status = TRegularFileStatus::CannotOpen;
  std::vector<std::uint8_t> Bytes;  // the contents when Ok
  // The size found: the file's record, or more than the limit when it grew past it.
  std::uint64_t Size = 0;
};

TRegularFileRead ReadRegularFile(const std::string& path, std::uint64_t maxBytes);

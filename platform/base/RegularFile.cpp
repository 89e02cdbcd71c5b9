#include "platform/base/RegularFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>

namespace {

struct TFdCloser {
  int Fd;
  ~TFdCloser() { ::close(Fd); }
};

// read() that retries when a signal interrupts it.
ssize_t ReadSome(int fd, std::uint8_t* into, std::size_t count) {
  for (;;) {
    const ssize_t n = ::read(fd, into, count);
    if (n >= 0 || errno != EINTR) return n;
  }
}

}  // namespace

TRegularFileRead ReadRegularFile(const std::string& path, std::uint64_t maxBytes) {
  TRegularFileRead result;
  const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
  if (fd < 0) return result;
  const TFdCloser closer{fd};
  struct stat info {};
  if (::fstat(fd, &info) != 0) {
    result.Status = TRegularFileStatus::CannotRead;
    return result;
  }
  if (!S_ISREG(info.st_mode)) {
    result.Status = TRegularFileStatus::NotRegular;
    return result;
  }
  result.Size = static_cast<std::uint64_t>(std::max<off_t>(info.st_size, 0));
  if (result.Size > maxBytes) {
    result.Status = TRegularFileStatus::TooLarge;
    return result;
  }
  std::vector<std::uint8_t>& data = result.Bytes;
  data.resize(static_cast<std::size_t>(result.Size));
  std::size_t got = 0;
  for (;;) {
    if (got == data.size()) {
      if (data.size() >= maxBytes) {
        // At the limit: one more byte means the file grew past it.
        std::uint8_t probe;
        const ssize_t n = ReadSome(fd, &probe, 1);
        if (n < 0) {
          result.Status = TRegularFileStatus::CannotRead;
          result.Bytes.clear();
          return result;
        }
        if (n > 0) {
          result.Status = TRegularFileStatus::TooLarge;
          result.Size = static_cast<std::uint64_t>(got) + 1;
          result.Bytes.clear();
          return result;
        }
        break;
      }
      // A file whose record says less than it holds (or that grows) is read on in steps.
      const std::uint64_t next = std::max<std::uint64_t>(static_cast<std::uint64_t>(data.size()) * 2, 65536);
      data.resize(static_cast<std::size_t>(std::min(maxBytes, next)));
    }
    const ssize_t n = ReadSome(fd, data.data() + got, data.size() - got);
    if (n < 0) {
      result.Status = TRegularFileStatus::CannotRead;
      result.Bytes.clear();
      return result;
    }
    if (n == 0) break;
    got += static_cast<std::size_t>(n);
  }
  data.resize(got);
  result.Status = TRegularFileStatus::Ok;
  return result;
}

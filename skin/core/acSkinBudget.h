#pragma once
// How much one skin load may bring into memory: every byte a package inflates, every
// byte read from a skin folder and every pixel byte decoded counts against one total,
// so that a small hostile package or a huge file fails with a clear error instead of
// exhausting memory. The options text has a smaller bound of its own: the model built
// from it is many times its size.
#include <cstdint>
#include <string>

#include "platform/base/Exception.h"

constexpr std::uint64_t kMaxSkinBytes = 256ull * 1024 * 1024;
constexpr std::uint64_t kMaxSkinOptionsBytes = 1ull * 1024 * 1024;

class ESkinTooLarge : public Exception {
  using Exception::Exception;
};

class TacSkinBudget {
public:
  explicit TacSkinBudget(std::uint64_t limit = kMaxSkinBytes) : Limit_(limit) {}
  // Counts bytes for `what` (a file or entry name); raises ESkinTooLarge when the
  // total would pass the limit.
  void Take(std::uint64_t bytes, const std::string& what);
  std::uint64_t Used() const { return Used_; }
  std::uint64_t Limit() const { return Limit_; }

private:
  std::uint64_t Limit_;
  std::uint64_t Used_ = 0;
};

// Raises ESkinTooLarge when an options text of `bytes` is larger than allowed.
void CheckSkinOptionsSize(std::uint64_t bytes, const std::string& what);

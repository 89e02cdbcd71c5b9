#pragma once
// A fresh folder under the system's temporary folder, named for the process and
// numbered, so that tests running side by side never share one; removed with
// all it holds when the object goes.
#include <unistd.h>

#include <atomic>
#include <filesystem>
#include <string>
#include <system_error>

class TTempFolder {
public:
  explicit TTempFolder(const std::string& prefix)
      : Path_(std::filesystem::temp_directory_path() /
              (prefix + "_" + std::to_string(::getpid()) + "_" + std::to_string(Serial()++))) {
    std::filesystem::remove_all(Path_);
    std::filesystem::create_directories(Path_);
  }
  ~TTempFolder() {
    std::error_code ec;
    std::filesystem::remove_all(Path_, ec);
  }
  TTempFolder(const TTempFolder&) = delete;
  TTempFolder& operator=(const TTempFolder&) = delete;

  const std::filesystem::path& Path() const { return Path_; }
  operator const std::filesystem::path&() const { return Path_; }
  std::filesystem::path operator/(const std::filesystem::path& name) const { return Path_ / name; }
  std::string string() const { return Path_.string(); }

private:
  static std::atomic<int>& Serial() {
    static std::atomic<int> serial{0};
    return serial;
  }
  std::filesystem::path Path_;
};

#include "skin/core/acSkinBudget.h"

namespace {

std::string Megabytes(std::uint64_t bytes) { return std::to_string(bytes / (1024 * 1024)) + " МБ"; }

}  // namespace

void TacSkinBudget::Take(std::uint64_t bytes, const std::string& what) {
  if (bytes > Limit_ - Used_)
    throw ESkinTooLarge("Скин слишком велик: с «" + what + "» его данные заняли бы больше " + Megabytes(Limit_) +
                        " памяти");
  Used_ += bytes;
}

void CheckSkinOptionsSize(std::uint64_t bytes, const std::string& what) {
  if (bytes > kMaxSkinOptionsBytes)
    throw ESkinTooLarge("Файл настроек скина «" + what + "» больше допустимых " + Megabytes(kMaxSkinOptionsBytes));
}

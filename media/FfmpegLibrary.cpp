#include "media/FfmpegLibrary.h"

#include <dlfcn.h>

#include <atomic>
#include <mutex>
#include <string>

#include "media/VideoDecoder.h"

namespace {

#define TB_FFMPEG_SONAME(name, NAME) ("lib" #name ".so." + std::to_string(LIB##NAME##_VERSION_MAJOR))

// The libraries of the FFmpeg the program was built against (the same major
// versions its headers describe).
struct TLoaded {
  TFfmpegLibrary Library;
  std::string Error;  // empty once every function is found
};

void* OpenLibrary(const std::string& soname, std::string& error) {
  if (!error.empty()) return nullptr;
  void* handle = dlopen(soname.c_str(), RTLD_NOW | RTLD_LOCAL);
  if (!handle) {
    const char* why = dlerror();
    error = "Видео не открывается: не удалось загрузить библиотеку " + soname + " (" + (why ? why : "?") + ").";
  }
  return handle;
}

TLoaded Load() {
  TLoaded loaded;
  std::string& error = loaded.Error;
  // Handles stay open for the life of the program: the player may run at any time.
  void* avutil = OpenLibrary(TB_FFMPEG_SONAME(avutil, AVUTIL), error);
  void* avcodec = OpenLibrary(TB_FFMPEG_SONAME(avcodec, AVCODEC), error);
  void* avformat = OpenLibrary(TB_FFMPEG_SONAME(avformat, AVFORMAT), error);
  void* swscale = OpenLibrary(TB_FFMPEG_SONAME(swscale, SWSCALE), error);
  void* swresample = OpenLibrary(TB_FFMPEG_SONAME(swresample, SWRESAMPLE), error);
  if (!error.empty()) return loaded;
#define TB_FFMPEG_FIND(library, function)                                                                        \
  if (error.empty()) {                                                                                           \
    loaded.Library.function = reinterpret_cast<decltype(&::function)>(dlsym(library, #function));               \
    if (!loaded.Library.function)                                                                                \
      error = "Видео не открывается: в библиотеке lib" #library " нет функции " #function ".";                  \
  }
  TB_FFMPEG_FUNCTIONS(TB_FFMPEG_FIND)
#undef TB_FFMPEG_FIND
  // The program keeps no log: damaged files would otherwise fill the error
  // output with the decoder's complaints.
  if (error.empty()) loaded.Library.av_log_set_level(AV_LOG_QUIET);
  return loaded;
}

std::atomic<bool> gLoaded{false};

const TLoaded& LoadOnce() {
  static const TLoaded loaded = [] {
    TLoaded l = Load();
    gLoaded = l.Error.empty();
    return l;
  }();
  return loaded;
}

}  // namespace

const TFfmpegLibrary& TFfmpegLibrary::Get() {
  const TLoaded& loaded = LoadOnce();
  if (!loaded.Error.empty()) throw EMediaError(loaded.Error);
  return loaded.Library;
}

const TFfmpegLibrary* TFfmpegLibrary::Find() {
  const TLoaded& loaded = LoadOnce();
  return loaded.Error.empty() ? &loaded.Library : nullptr;
}

bool TFfmpegLibrary::Loaded() { return gLoaded; }

#include "platform/gfx/FontEngine.h"

#include <fontconfig/fontconfig.h>
#include <ft2build.h>
#include FT_FREETYPE_H

#include <cctype>
#include <future>
#include <mutex>
#include <system_error>
#include <thread>

#include "platform/base/TextHelpers.h"
#include "platform/gfx/FontError.h"

namespace {

// Asked for code points the chosen file lacks, and when a name resolves to nothing.
constexpr const char* kFallbackFamily = "DejaVu Sans";
constexpr const char* kDefaultFamily = "sans-serif";

bool IsBold(int weight) { return weight >= FW_SEMIBOLD; }

// Ready once the configuration read ahead is in; invalid when nobody asked.
std::mutex gAheadMutex;
std::shared_future<void> gAhead;

// One fontconfig match; false when fontconfig found no file.
bool Match(const std::string& family, bool bold, bool italic, TResolvedFont& out) {
  FcPattern* pattern = FcPatternCreate();
  if (!pattern) return false;
  FcPatternAddString(pattern, FC_FAMILY, reinterpret_cast<const FcChar8*>(family.c_str()));
  FcPatternAddInteger(pattern, FC_WEIGHT, bold ? FC_WEIGHT_BOLD : FC_WEIGHT_REGULAR);
  FcPatternAddInteger(pattern, FC_SLANT, italic ? FC_SLANT_ITALIC : FC_SLANT_ROMAN);
  FcPatternAddBool(pattern, FC_SCALABLE, FcTrue);
  // Every caption is Russian: prefer families that cover it.
  FcLangSet* langs = FcLangSetCreate();
  FcLangSetAdd(langs, reinterpret_cast<const FcChar8*>("ru"));
  FcPatternAddLangSet(pattern, FC_LANG, langs);
  FcLangSetDestroy(langs);
  FcConfigSubstitute(nullptr, pattern, FcMatchPattern);
  FcDefaultSubstitute(pattern);
  FcResult result = FcResultNoMatch;
  FcPattern* match = FcFontMatch(nullptr, pattern, &result);
  FcPatternDestroy(pattern);
  if (!match) return false;
  bool ok = false;
  FcChar8* file = nullptr;
  if (FcPatternGetString(match, FC_FILE, 0, &file) == FcResultMatch && file) {
    ok = true;
    out.File = reinterpret_cast<const char*>(file);
    int index = 0;
    if (FcPatternGetInteger(match, FC_INDEX, 0, &index) == FcResultMatch) out.Index = index;
    FcChar8* text = nullptr;
    if (FcPatternGetString(match, FC_FAMILY, 0, &text) == FcResultMatch && text)
      out.Family = reinterpret_cast<const char*>(text);
    if (FcPatternGetString(match, FC_STYLE, 0, &text) == FcResultMatch && text)
      out.Style = reinterpret_cast<const char*>(text);
    int weight = FC_WEIGHT_REGULAR;
    FcPatternGetInteger(match, FC_WEIGHT, 0, &weight);
    int slant = FC_SLANT_ROMAN;
    FcPatternGetInteger(match, FC_SLANT, 0, &slant);
    out.Embolden = bold && weight < FC_WEIGHT_DEMIBOLD;
    out.Oblique = italic && slant == FC_SLANT_ROMAN;
  }
  FcPatternDestroy(match);
  return ok;
}

}  // namespace

TFontEngine& TFontEngine::Instance() {
  static TFontEngine engine;
  return engine;
}

void TFontEngine::LoadConfigurationAhead() {
  std::lock_guard<std::mutex> lock(gAheadMutex);
  if (gAhead.valid()) return;
  std::promise<void> done;
  std::shared_future<void> ready = done.get_future().share();
  try {
    // Detached: a program that ends before its first text need not wait for it.
    std::thread([done = std::move(done)]() mutable {
      FcInit();
      done.set_value();
    }).detach();
  } catch (const std::system_error&) {
    return;  // no thread to spare: the engine reads it when made
  }
  gAhead = std::move(ready);
}

TFontEngine::TFontEngine() {
  std::shared_future<void> ahead;
  {
    std::lock_guard<std::mutex> lock(gAheadMutex);
    ahead = gAhead;
  }
  if (ahead.valid()) ahead.wait();
  FcInit();  // at once when read ahead
  if (FT_Init_FreeType(&Library_) != 0) {
    Library_ = nullptr;
    throw EFontError("Cannot start the font renderer");
  }
}

TFontEngine::~TFontEngine() {
  Faces_.clear();  // faces before the library that made them
  if (Library_) FT_Done_FreeType(Library_);
  // Nothing of fontconfig's is kept past a match, so its caches can go (leak checkers).
  FcFini();
}

const TResolvedFont& TFontEngine::Resolve(std::string_view faceName, int weight, bool italic) {
  TResolveKey key{LowerAscii(faceName), IsBold(weight), italic};
  auto it = Resolved_.find(key);
  if (it != Resolved_.end()) return it->second;
  TResolvedFont resolved;
  const std::string family = faceName.empty() ? std::string(kDefaultFamily) : std::string(faceName);
  if (!Match(family, IsBold(weight), italic, resolved) && !Match(kFallbackFamily, IsBold(weight), italic, resolved))
    throw EFontError("No font found for \"" + family + "\"");
  return Resolved_.emplace(std::move(key), std::move(resolved)).first->second;
}

TFontFace& TFontEngine::Face(const TLogFont& font) {
  const TResolvedFont& resolved = Resolve(font.FaceName, font.Weight, font.Italic);
  TFontFace& face = OpenFace(resolved, font.Height, font.Weight, font.Italic);
  return face;
}

TFontFace& TFontEngine::OpenFace(const TResolvedFont& resolved, int height, int weight, bool italic) {
  TFaceKey key{resolved.File, resolved.Index, height, IsBold(weight), italic};
  auto it = Faces_.find(key);
  if (it != Faces_.end()) return *it->second;
  auto face = std::make_unique<TFontFace>(Library_, resolved, height, weight, italic);
  TFontFace& result = *Faces_.emplace(std::move(key), std::move(face)).first->second;
  // Faces live as long as the engine: the source may keep a reference to this one.
  result.SetFallbackSource([this, &result, weight, italic] { return FallbackFor(result, weight, italic); });
  return result;
}

TFontFace* TFontEngine::FallbackFor(const TFontFace& face, int weight, bool italic) {
  TResolvedFont fallback;
  TResolveKey key{LowerAscii(kFallbackFamily), IsBold(weight), italic};
  auto it = Resolved_.find(key);
  if (it == Resolved_.end()) {
    if (!Match(kFallbackFamily, IsBold(weight), italic, fallback)) return nullptr;
    it = Resolved_.emplace(std::move(key), std::move(fallback)).first;
  }
  if (it->second.File == face.Resolved().File && it->second.Index == face.Resolved().Index) return nullptr;
  // Same em size so that borrowed glyphs sit on the same baseline at a matching scale.
  try {
    return &OpenFace(it->second, -face.PixelSize(), weight, italic);
  } catch (const EFontError&) {
    return nullptr;
  }
}

#pragma once
// The process's font library: face names resolved through fontconfig, files
// opened through FreeType, and every sized face kept for reuse.
//
// Used from the UI thread only. Faces live as long as the engine, so the
// references it hands out stay valid for the whole run.
#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <tuple>

#include "platform/gfx/FontFace.h"
#include "platform/gfx/FontTypes.h"

struct FT_LibraryRec_;

class TFontEngine {
public:
  static TFontEngine& Instance();
  // Starts reading fontconfig's configuration (a few dozen files of XML, a
  // good part of the program's start-up) on a thread of its own, so that it
  // goes on beside whatever the caller does next; the engine, once made, waits
  // for it. Calling it again does nothing; without it the engine reads the
  // configuration itself.
  static void LoadConfigurationAhead();

  TFontEngine();
  ~TFontEngine();
  TFontEngine(const TFontEngine&) = delete;
  TFontEngine& operator=(const TFontEngine&) = delete;

  // The file fontconfig picks for a face name with Cyrillic coverage
  // ("Arial" -> Liberation Sans, "Palatino Linotype" -> P052,
  // "MS Sans Serif" -> DejaVu Sans). An empty name asks for the default sans.
  // Raises EFontError when fontconfig knows no scalable font at all.
  const TResolvedFont& Resolve(std::string_view faceName, int weight, bool italic);

  // The sized face of a logical font; underline and strike-out do not matter here.
  TFontFace& Face(const TLogFont& font);

  std::size_t FaceCount() const { return Faces_.size(); }

private:
  using TResolveKey = std::tuple<std::string, bool, bool>;   // lower-case name, bold, italic
  using TFaceKey = std::tuple<std::string, int, int, bool, bool>;  // file, index, height, bold, italic

  TFontFace& OpenFace(const TResolvedFont& resolved, int height, int weight, bool italic);
  TFontFace* FallbackFor(const TFontFace& face, int weight, bool italic);

  FT_LibraryRec_* Library_ = nullptr;
  std::map<TResolveKey, TResolvedFont> Resolved_;
  std::map<TFaceKey, std::unique_ptr<TFontFace>> Faces_;
};

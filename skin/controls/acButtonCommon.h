#pragma once
// What the skinned buttons share: the disabled-look and button-style sets, the
// paint event handed the finished face, the glyph painter used by speed buttons
// and bit buttons, and the glyph-and-text layout of bit buttons.
#include <functional>
#include <string>

#include "forms/ButtonGlyph.h"
#include "forms/Controls.h"
#include "forms/Sets.h"
#include "platform/gfx/Bitmap.h"
#include "platform/gfx/Types.h"
#include "skin/runtime/Forward.h"
#include "skin/runtime/acPaintState.h"

enum TsDisabledKindFlag { dkBlended, dkGrayed };
using TsDisabledKind = TSet<TsDisabledKindFlag>;
enum TsDisabledGlyphKindFlag { dgBlended, dgGrayed };
using TsDisabledGlyphKind = TSet<TsDisabledGlyphKindFlag>;
enum TToolButtonStyle { tbsButton, tbsCheck, tbsDropDown, tbsSeparator, tbsDivider };

// Called with the finished face, the last step of every rebuild.
using TBmpPaintEvent = std::function<void(TObject* sender, TBitmap& bitmap)>;

// The painter's flags of a disabled kind (blend 1, gray 2).
int DisabledFlags(TsDisabledKind kind);

// What the glyph painter reads of a button.
struct TacGlyphInfo {
  const TBitmap* Glyph = nullptr;
  int NumGlyphs = 1;
  TRect Bounds;  // where the cell goes, in the target's coordinates
  bool Enabled = true;
  int Blend = 0;  // 0..100; 100 invisible
  bool Down = false;
  bool Grayed = false;
  TacPaintState State = TacPaintState::Normal;
  TsDisabledGlyphKind DisabledGlyphKind{dgBlended};
  bool Reflected = false;
};

// Draws the glyph cell of the state into target (a 24- or 32-bit bitmap).
void PaintButtonGlyph(TBitmap& target, const TacGlyphInfo& info);
// The index of the cell a state shows (disabled and normal 0, hot 1, pressed Down + 2 when there is one).
int GlyphCellIndex(const TacGlyphInfo& info);

// Where a button's glyph cell goes (speed-button rules; bit buttons use them too).
struct TacGlyphBoundsInput {
  int Width = 0, Height = 0;  // the button
  int Arrow = 0;              // width of a drop-down part
  int GlyphWidth = 0, GlyphHeight = 0;
  int TextWidth = 0, TextHeight = 0;
  TButtonLayout Layout = blGlyphLeft;
  TAlignment Alignment = taCenter;
  int Margin = -1, Spacing = 4;
  bool HasCaption = false;  // ShowCaption and a caption that is not empty
  bool Pressed = false;
  bool Reflected = false;
};
TRect ButtonGlyphBounds(const TacGlyphBoundsInput& in);

// Glyph position and caption rectangle of a bit button inside client.
struct TacGlyphTextLayout {
  TPoint GlyphPos;
  TRect TextRect;
};
TacGlyphTextLayout LayoutGlyphAndText(const TRect& client, TSize glyph, TSize text, TButtonLayout layout,
                                      TAlignment alignment, int margin, int spacing, bool rightToLeft);

// DT_ flags of an alignment.
unsigned AlignmentFlags(TAlignment alignment);

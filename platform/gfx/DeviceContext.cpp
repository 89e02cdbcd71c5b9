#include "platform/gfx/DeviceContext.h"

#include <algorithm>
#include <unordered_set>

#include "platform/gfx/SystemColors.h"

namespace {

// Every live context, so deleting an object can clear it out of each of them.
std::unordered_set<TDeviceContext*>& LiveContexts() {
  static auto* contexts = new std::unordered_set<TDeviceContext*>();  // outlives static destruction
  return *contexts;
}

// Far larger than any bitmap: "no clip yet" for ExcludeClip.
constexpr TRect kEverywhere{-(1 << 28), -(1 << 28), 1 << 28, 1 << 28};

HBRUSH DefaultBrush() { return static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)); }
HPEN DefaultPen() { return static_cast<HPEN>(GetStockObject(BLACK_PEN)); }

// The bitmap a memory context starts with; selecting it again detaches the target.
HBITMAP DefaultBitmap() {
  static TGdiBitmap* bitmap = [] {
    static TGdiBitmap stock(std::make_unique<TBitmap>(1, 1, TPixelFormat::pf24bit));
    MarkStockObject(&stock);
    return &stock;
  }();
  return bitmap;
}

}  // namespace

struct TDeviceContext::TState {
  TPoint ViewportOrg;
  std::optional<TRegion> UserClip;
  HFONT Font;
  HBRUSH Brush;
  HPEN Pen;
  HBITMAP Bitmap;
  TColor TextColor;
  TColor BkColor;
  int BkMode;
  int StretchMode;
  int PolyFillMode;
  int Rop2;
  TPoint Position;
};

TDeviceContext::TDeviceContext(TBitmap& target) : Target_(&target), Brush_(DefaultBrush()), Pen_(DefaultPen()) {
  LiveContexts().insert(this);
}

TDeviceContext::TDeviceContext() : MemoryDC_(true), Brush_(DefaultBrush()), Pen_(DefaultPen()), Bitmap_(DefaultBitmap()) {
  LiveContexts().insert(this);
}

TDeviceContext::~TDeviceContext() { LiveContexts().erase(this); }

void TDeviceContext::TargetResized() { InvalidateClip(); }

void TDeviceContext::ForgetInState(const TGdiObject* object) {
  const auto same = [object](const void* handle) { return handle && handle == dynamic_cast<const void*>(object); };
  if (same(Font_)) Font_ = nullptr;
  if (same(Brush_)) Brush_ = DefaultBrush();
  if (same(Pen_)) Pen_ = DefaultPen();
  if (same(Bitmap_)) {
    Bitmap_ = DefaultBitmap();
    Target_ = nullptr;
    InvalidateClip();
  }
  for (auto& state : Saved_) {
    if (same(state->Font)) state->Font = nullptr;
    if (same(state->Brush)) state->Brush = DefaultBrush();
    if (same(state->Pen)) state->Pen = DefaultPen();
    if (same(state->Bitmap)) state->Bitmap = DefaultBitmap();
  }
}

void TDeviceContext::ForgetObject(const TGdiObject* object) {
  if (!object) return;
  for (TDeviceContext* dc : LiveContexts()) dc->ForgetInState(object);
}

// --- coordinates ------------------------------------------------------------------

TPoint TDeviceContext::SetUserViewportOrg(TPoint origin) {
  const TPoint previous = ViewportOrg_;
  ViewportOrg_ = origin;
  return previous;
}

void TDeviceContext::SetDeviceOrg(TPoint origin) { DeviceOrg_ = origin; }

// --- clipping --------------------------------------------------------------------

TRect TDeviceContext::TargetBounds() const {
  if (!Target_) return {};
  return {0, 0, Target_->Width(), Target_->Height()};
}

const TRegion& TDeviceContext::Clip() const {
  if (!ClipValid_) {
    ClipCache_ = TRegion(TargetBounds());
    if (SystemClip_) ClipCache_ = ClipCache_.Intersect(*SystemClip_);
    if (UserClip_) ClipCache_ = ClipCache_.Intersect(*UserClip_);
    ClipValid_ = true;
  }
  return ClipCache_;
}

TRegion TDeviceContext::EffectiveClip() const { return Clip(); }

void TDeviceContext::SetSystemClip(const TRegion* region) {
  if (region)
    SystemClip_ = *region;
  else
    SystemClip_.reset();
  InvalidateClip();
}

int TDeviceContext::SelectClip(const TRegion* region) {
  if (region)
    UserClip_ = *region;
  else
    UserClip_.reset();
  InvalidateClip();
  return Clip().Complexity();
}

int TDeviceContext::IntersectClip(const TRect& rect) {
  const TPoint org = ViewportOrg();
  const TRegion device(rect.Offset(org.X, org.Y));
  UserClip_ = UserClip_ ? UserClip_->Intersect(device) : device;
  InvalidateClip();
  return Clip().Complexity();
}

int TDeviceContext::ExcludeClip(const TRect& rect) {
  const TPoint org = ViewportOrg();
  const TRegion device(rect.Offset(org.X, org.Y));
  UserClip_ = (UserClip_ ? *UserClip_ : TRegion(kEverywhere)).Subtract(device);
  InvalidateClip();
  return Clip().Complexity();
}

int TDeviceContext::ClipBox(TRect& box) const {
  const TRegion& clip = Clip();
  const TPoint org = ViewportOrg();
  box = clip.IsEmpty() ? TRect{} : clip.Bounds().Offset(-org.X, -org.Y);
  return clip.Complexity();
}

// --- state ------------------------------------------------------------------------

int TDeviceContext::Save() {
  auto state = std::make_unique<TState>(TState{ViewportOrg_, UserClip_, Font_, Brush_, Pen_, Bitmap_, TextColor_,
                                               BkColor_, BkMode_, StretchMode_, PolyFillMode_, Rop2_, Position_});
  Saved_.push_back(std::move(state));
  return static_cast<int>(Saved_.size());
}

bool TDeviceContext::Restore(int savedIndex) {
  const int depth = static_cast<int>(Saved_.size());
  const int level = savedIndex < 0 ? depth + 1 + savedIndex : savedIndex;
  if (savedIndex == 0 || level < 1 || level > depth) return false;
  const TState& s = *Saved_[static_cast<std::size_t>(level - 1)];
  ViewportOrg_ = s.ViewportOrg;
  UserClip_ = s.UserClip;
  Font_ = s.Font;
  Brush_ = s.Brush;
  Pen_ = s.Pen;
  if (MemoryDC_ && s.Bitmap != Bitmap_) {
    Bitmap_ = s.Bitmap;
    Target_ = Bitmap_ == DefaultBitmap() ? nullptr : &Bitmap_->Bitmap();
  }
  TextColor_ = s.TextColor;
  BkColor_ = s.BkColor;
  BkMode_ = s.BkMode;
  StretchMode_ = s.StretchMode;
  PolyFillMode_ = s.PolyFillMode;
  Rop2_ = s.Rop2;
  Position_ = s.Position;
  Saved_.resize(static_cast<std::size_t>(level - 1));
  InvalidateClip();
  return true;
}

// --- objects and attributes ---------------------------------------------------------

HFONT TDeviceContext::SelectFont(HFONT font) {
  const HFONT previous = Font_;
  Font_ = font;
  return previous;
}

HBRUSH TDeviceContext::SelectBrush(HBRUSH brush) {
  if (!IsGdiObject(brush)) return nullptr;
  const HBRUSH previous = Brush_;
  Brush_ = brush;
  return previous;
}

HPEN TDeviceContext::SelectPen(HPEN pen) {
  if (!IsGdiObject(pen)) return nullptr;
  const HPEN previous = Pen_;
  Pen_ = pen;
  return previous;
}

HBITMAP TDeviceContext::SelectBitmap(HBITMAP bitmap) {
  if (!MemoryDC_ || !IsGdiObject(bitmap)) return nullptr;
  // A bitmap can be selected into one memory context at a time.
  if (bitmap != DefaultBitmap())
    for (const TDeviceContext* dc : LiveContexts())
      if (dc != this && dc->Bitmap_ == bitmap) return nullptr;
  const HBITMAP previous = Bitmap_;
  Bitmap_ = bitmap;
  Target_ = bitmap == DefaultBitmap() ? nullptr : &bitmap->Bitmap();
  InvalidateClip();
  return previous;
}

TColor TDeviceContext::SetTextColor(TColor color) {
  const TColor previous = TextColor_;
  TextColor_ = ColorToRGB(color) & 0xFFFFFF;
  return previous;
}

TColor TDeviceContext::SetBkColor(TColor color) {
  const TColor previous = BkColor_;
  BkColor_ = ColorToRGB(color) & 0xFFFFFF;
  return previous;
}

int TDeviceContext::SetBkMode(int mode) {
  if (mode != TRANSPARENT && mode != OPAQUE) return 0;
  const int previous = BkMode_;
  BkMode_ = mode;
  return previous;
}

int TDeviceContext::SetStretchBltMode(int mode) {
  if (mode < BLACKONWHITE || mode > HALFTONE) return 0;
  const int previous = StretchMode_;
  StretchMode_ = mode;
  return previous;
}

int TDeviceContext::SetPolyFillMode(int mode) {
  if (mode != ALTERNATE && mode != WINDING) return 0;
  const int previous = PolyFillMode_;
  PolyFillMode_ = mode;
  return previous;
}

int TDeviceContext::SetRop2(int rop) {
  if (rop < R2_BLACK || rop > R2_WHITE) return 0;
  const int previous = Rop2_;
  Rop2_ = rop;
  return previous;
}

TPoint TDeviceContext::MoveTo(TPoint point) {
  const TPoint previous = Position_;
  Position_ = point;
  return previous;
}

// --- classic wrappers ----------------------------------------------------------------

namespace {

// Contexts made by CreateCompatibleDC, freed by DeleteDC.
std::vector<std::unique_ptr<TDeviceContext>>& CreatedContexts() {
  static auto* contexts = new std::vector<std::unique_ptr<TDeviceContext>>();
  return *contexts;
}

bool Live(HDC dc) { return dc && LiveContexts().count(dc) != 0; }

}  // namespace

HDC CreateCompatibleDC(HDC) {
  CreatedContexts().push_back(std::make_unique<TDeviceContext>());
  return CreatedContexts().back().get();
}

bool DeleteDC(HDC dc) {
  auto& created = CreatedContexts();
  const auto it = std::find_if(created.begin(), created.end(), [dc](const auto& p) { return p.get() == dc; });
  if (it == created.end()) return false;
  created.erase(it);
  return true;
}

HGDIOBJ SelectObject(HDC dc, HGDIOBJ object) {
  if (!Live(dc) || !IsGdiObject(object)) return nullptr;
  if (auto* brush = dynamic_cast<TGdiBrush*>(object)) return dc->SelectBrush(brush);
  if (auto* pen = dynamic_cast<TGdiPen*>(object)) return dc->SelectPen(pen);
  if (auto* bitmap = dynamic_cast<TGdiBitmap*>(object)) return dc->SelectBitmap(bitmap);
  // Fonts are selected through their own handle type.
  return nullptr;
}

HFONT SelectObject(HDC dc, HFONT font) { return Live(dc) ? dc->SelectFont(font) : nullptr; }
HBRUSH SelectObject(HDC dc, HBRUSH brush) { return Live(dc) ? dc->SelectBrush(brush) : nullptr; }
HPEN SelectObject(HDC dc, HPEN pen) { return Live(dc) ? dc->SelectPen(pen) : nullptr; }
HBITMAP SelectObject(HDC dc, HBITMAP bitmap) { return Live(dc) ? dc->SelectBitmap(bitmap) : nullptr; }
int SelectObject(HDC dc, HRGN region) { return SelectClipRgn(dc, region); }

HGDIOBJ GetCurrentObject(HDC dc, int objectType) {
  if (!Live(dc)) return nullptr;
  switch (objectType) {
    case OBJ_BRUSH: return dc->SelectedBrush();
    case OBJ_PEN: return dc->SelectedPen();
    case OBJ_BITMAP: return dc->SelectedBitmap();
    default: return nullptr;  // fonts: SelectedFont()
  }
}

bool SetViewportOrgEx(HDC dc, int x, int y, POINT* previous) {
  if (!Live(dc)) return false;
  const TPoint old = dc->SetUserViewportOrg({x, y});
  if (previous) *previous = old;
  return true;
}

bool OffsetViewportOrgEx(HDC dc, int dx, int dy, POINT* previous) {
  if (!Live(dc)) return false;
  const TPoint old = dc->UserViewportOrg();
  dc->SetUserViewportOrg({old.X + dx, old.Y + dy});
  if (previous) *previous = old;
  return true;
}

bool GetViewportOrgEx(HDC dc, POINT* origin) {
  if (!Live(dc) || !origin) return false;
  *origin = dc->UserViewportOrg();
  return true;
}

int SelectClipRgn(HDC dc, HRGN region) {
  if (!Live(dc)) return ERROR;
  if (!region) return dc->SelectClip(nullptr);
  if (!IsGdiObject(region)) return ERROR;
  const TRegion device = region->Region.Offsetted(dc->DeviceOrg().X, dc->DeviceOrg().Y);
  return dc->SelectClip(&device);
}

int ExtSelectClipRgn(HDC dc, HRGN region, int mode) {
  if (!Live(dc)) return ERROR;
  if (mode == RGN_COPY) return SelectClipRgn(dc, region);
  if (!IsGdiObject(region)) return ERROR;
  const TRegion device = region->Region.Offsetted(dc->DeviceOrg().X, dc->DeviceOrg().Y);
  const TRegion current = dc->UserClip() ? *dc->UserClip() : TRegion(kEverywhere);
  if (mode < RGN_AND || mode > RGN_DIFF) return ERROR;
  const TRegion combined = current.Combine(device, mode);
  return dc->SelectClip(&combined);
}

int IntersectClipRect(HDC dc, int left, int top, int right, int bottom) {
  return Live(dc) ? dc->IntersectClip({left, top, right, bottom}) : ERROR;
}

int ExcludeClipRect(HDC dc, int left, int top, int right, int bottom) {
  return Live(dc) ? dc->ExcludeClip({left, top, right, bottom}) : ERROR;
}

int GetClipBox(HDC dc, RECT* box) {
  if (!Live(dc) || !box) return ERROR;
  return dc->ClipBox(*box);
}

int GetClipRgn(HDC dc, HRGN region) {
  if (!Live(dc) || !IsGdiObject(region)) return -1;
  if (!dc->UserClip()) return 0;
  region->Region = dc->UserClip()->Offsetted(-dc->DeviceOrg().X, -dc->DeviceOrg().Y);
  return 1;
}

bool PtVisible(HDC dc, int x, int y) {
  if (!Live(dc)) return false;
  const TPoint org = dc->ViewportOrg();
  return dc->EffectiveClip().Contains(x + org.X, y + org.Y);
}

bool RectVisible(HDC dc, const RECT* rect) {
  if (!Live(dc) || !rect) return false;
  const TPoint org = dc->ViewportOrg();
  return dc->EffectiveClip().Intersects(rect->Offset(org.X, org.Y));
}

int SaveDC(HDC dc) { return Live(dc) ? dc->Save() : 0; }
bool RestoreDC(HDC dc, int savedIndex) { return Live(dc) && dc->Restore(savedIndex); }

TColor SetTextColor(HDC dc, TColor color) { return Live(dc) ? dc->SetTextColor(color) : static_cast<TColor>(CLR_INVALID); }
TColor GetTextColor(HDC dc) { return Live(dc) ? dc->TextColor() : static_cast<TColor>(CLR_INVALID); }
TColor SetBkColor(HDC dc, TColor color) { return Live(dc) ? dc->SetBkColor(color) : static_cast<TColor>(CLR_INVALID); }
TColor GetBkColor(HDC dc) { return Live(dc) ? dc->BkColor() : static_cast<TColor>(CLR_INVALID); }
int SetBkMode(HDC dc, int mode) { return Live(dc) ? dc->SetBkMode(mode) : 0; }
int GetBkMode(HDC dc) { return Live(dc) ? dc->BkMode() : 0; }
int SetStretchBltMode(HDC dc, int mode) { return Live(dc) ? dc->SetStretchBltMode(mode) : 0; }
int GetStretchBltMode(HDC dc) { return Live(dc) ? dc->StretchBltMode() : 0; }
int SetPolyFillMode(HDC dc, int mode) { return Live(dc) ? dc->SetPolyFillMode(mode) : 0; }
int SetROP2(HDC dc, int rop) { return Live(dc) ? dc->SetRop2(rop) : 0; }

int FillRect(HDC dc, const RECT* rect, HBRUSH brush) {
  if (!Live(dc) || !rect || !IsGdiObject(brush)) return 0;
  dc->FillRect(*rect, brush);
  return 1;
}

int FrameRect(HDC dc, const RECT* rect, HBRUSH brush) {
  if (!Live(dc) || !rect || !IsGdiObject(brush)) return 0;
  dc->FrameRect(*rect, brush);
  return 1;
}

bool DrawFocusRect(HDC dc, const RECT* rect) {
  if (!Live(dc) || !rect) return false;
  dc->DrawFocusRect(*rect);
  return true;
}

bool MoveToEx(HDC dc, int x, int y, POINT* previous) {
  if (!Live(dc)) return false;
  const TPoint old = dc->MoveTo({x, y});
  if (previous) *previous = old;
  return true;
}

bool LineTo(HDC dc, int x, int y) {
  if (!Live(dc)) return false;
  dc->LineTo({x, y});
  return true;
}

bool Rectangle(HDC dc, int left, int top, int right, int bottom) {
  if (!Live(dc)) return false;
  dc->Rectangle({left, top, right, bottom});
  return true;
}

bool Polygon(HDC dc, const POINT* points, int count) {
  if (!Live(dc) || !points || count < 2) return false;
  dc->Polygon(points, count);
  return true;
}

bool BitBlt(HDC dest, int x, int y, int width, int height, HDC source, int srcX, int srcY, DWORD rop) {
  if (!Live(dest) || (source && !Live(source))) return false;
  return dest->BitBlt(x, y, width, height, source, srcX, srcY, rop);
}

bool StretchBlt(HDC dest, int x, int y, int width, int height, HDC source, int srcX, int srcY, int srcWidth,
                int srcHeight, DWORD rop) {
  if (!Live(dest) || (source && !Live(source))) return false;
  return dest->StretchBlt(x, y, width, height, source, srcX, srcY, srcWidth, srcHeight, rop);
}

bool PatBlt(HDC dc, int x, int y, int width, int height, DWORD rop) {
  if (!Live(dc)) return false;
  if (rop != PATCOPY && rop != PATINVERT && rop != DSTINVERT && rop != BLACKNESS && rop != WHITENESS) return false;
  return dc->BitBlt(x, y, width, height, nullptr, 0, 0, rop);
}

bool GradientFill(HDC dc, const TRIVERTEX* vertices, unsigned vertexCount, const void* mesh, unsigned meshCount,
                  std::uint32_t mode) {
  if (!Live(dc)) return false;
  return dc->GradientFill(vertices, static_cast<int>(vertexCount), mesh, static_cast<int>(meshCount), mode);
}

COLORREF GetPixel(HDC dc, int x, int y) { return Live(dc) ? dc->GetPixel(x, y) : CLR_INVALID; }
COLORREF SetPixel(HDC dc, int x, int y, TColor color) { return Live(dc) ? dc->SetPixel(x, y, color) : CLR_INVALID; }

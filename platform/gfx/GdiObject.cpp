#include "platform/gfx/GdiObject.h"

#include <array>
#include <unordered_set>

#include "platform/gfx/DeviceContext.h"
#include "platform/gfx/Font.h"
#include "platform/gfx/GdiTools.h"
#include "platform/gfx/Region.h"

namespace {

// Every live object, so a stale or foreign handle is refused instead of freed.
// Kept for the whole process: objects may die during static destruction.
std::unordered_set<const TGdiObject*>& LiveObjects() {
  static auto* objects = new std::unordered_set<const TGdiObject*>();
  return *objects;
}

constexpr int kStockCount = DC_PEN + 1;

std::array<std::unique_ptr<TGdiObject>, kStockCount>& StockObjects() {
  static std::array<std::unique_ptr<TGdiObject>, kStockCount> objects;
  return objects;
}

std::unique_ptr<TGdiObject> MakeStock(int index) {
  switch (index) {
    case WHITE_BRUSH: return std::make_unique<TGdiBrush>(BS_SOLID, clWhite);
    case LTGRAY_BRUSH: return std::make_unique<TGdiBrush>(BS_SOLID, clSilver);
    case GRAY_BRUSH: return std::make_unique<TGdiBrush>(BS_SOLID, clGray);
    case DKGRAY_BRUSH: return std::make_unique<TGdiBrush>(BS_SOLID, 0x404040);
    case BLACK_BRUSH: return std::make_unique<TGdiBrush>(BS_SOLID, clBlack);
    case NULL_BRUSH: return std::make_unique<TGdiBrush>(BS_NULL, clBlack);
    case WHITE_PEN: return std::make_unique<TGdiPen>(PS_SOLID, 1, clWhite);
    case BLACK_PEN: return std::make_unique<TGdiPen>(PS_SOLID, 1, clBlack);
    case NULL_PEN: return std::make_unique<TGdiPen>(PS_NULL, 1, clBlack);
    case DC_BRUSH: return std::make_unique<TGdiBrush>(BS_SOLID, clWhite);
    case DC_PEN: return std::make_unique<TGdiPen>(PS_SOLID, 1, clBlack);
    case OEM_FIXED_FONT:
    case ANSI_FIXED_FONT:
    case ANSI_VAR_FONT:
    case SYSTEM_FONT:
    case DEVICE_DEFAULT_FONT:
    case SYSTEM_FIXED_FONT:
    case DEFAULT_GUI_FONT:
      return MakeStockFont(index);
    default: return nullptr;
  }
}

}  // namespace

TGdiObject::TGdiObject() { LiveObjects().insert(this); }

TGdiObject::~TGdiObject() { LiveObjects().erase(this); }

bool IsGdiObject(const TGdiObject* object) { return object && LiveObjects().count(object) != 0; }

bool DeleteObject(HGDIOBJ object) {
  if (!IsGdiObject(object) || object->IsStock()) return false;
  TDeviceContext::ForgetObject(object);
  delete object;
  return true;
}

HGDIOBJ GetStockObject(int index) {
  if (index < 0 || index >= kStockCount) return nullptr;
  auto& slot = StockObjects()[static_cast<std::size_t>(index)];
  if (!slot) {
    slot = MakeStock(index);
    if (slot) MarkStockObject(slot.get());
  }
  return slot.get();
}

int GetObjectType(HGDIOBJ object) {
  if (!IsGdiObject(object)) return 0;
  if (dynamic_cast<const TGdiPen*>(object)) return OBJ_PEN;
  if (dynamic_cast<const TGdiBrush*>(object)) return OBJ_BRUSH;
  if (dynamic_cast<const TGdiBitmap*>(object)) return OBJ_BITMAP;
  if (dynamic_cast<const TGdiRegion*>(object)) return OBJ_REGION;
  return OBJ_FONT;
}

void MarkStockObject(TGdiObject* object) {
  if (object) object->Stock_ = true;
}


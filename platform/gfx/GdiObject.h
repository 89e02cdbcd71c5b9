#pragma once
// Drawing objects addressed by handle, as the skin engine expects them.
//
// A handle is a typed pointer to an object derived from TGdiObject. Objects made by
// the Create* functions belong to the caller until DeleteObject; stock objects
// belong to the library and DeleteObject ignores them. A device context never owns
// what is selected into it: deleting a selected object makes that context fall
// back to its default object, so a stale handle is never drawn with.
#include <memory>

class TGdiObject {
public:
  TGdiObject();
  TGdiObject(const TGdiObject&) = delete;
  TGdiObject& operator=(const TGdiObject&) = delete;
  virtual ~TGdiObject();

  bool IsStock() const { return Stock_; }

private:
  friend void MarkStockObject(TGdiObject* object);
  bool Stock_ = false;
};

class TGdiFont;
class TGdiBrush;
class TGdiPen;
class TGdiRegion;
class TGdiBitmap;
class TDeviceContext;

using HGDIOBJ = TGdiObject*;
using HFONT = TGdiFont*;
using HBRUSH = TGdiBrush*;
using HPEN = TGdiPen*;
using HRGN = TGdiRegion*;
using HBITMAP = TGdiBitmap*;
using HDC = TDeviceContext*;

// Stock object indexes (classic numbers).
constexpr int WHITE_BRUSH = 0;
constexpr int LTGRAY_BRUSH = 1;
constexpr int GRAY_BRUSH = 2;
constexpr int DKGRAY_BRUSH = 3;
constexpr int BLACK_BRUSH = 4;
constexpr int NULL_BRUSH = 5;
constexpr int HOLLOW_BRUSH = NULL_BRUSH;
constexpr int WHITE_PEN = 6;
constexpr int BLACK_PEN = 7;
constexpr int NULL_PEN = 8;
constexpr int OEM_FIXED_FONT = 10;
constexpr int ANSI_FIXED_FONT = 11;
constexpr int ANSI_VAR_FONT = 12;
constexpr int SYSTEM_FONT = 13;
constexpr int DEVICE_DEFAULT_FONT = 14;
constexpr int DEFAULT_PALETTE = 15;
constexpr int SYSTEM_FIXED_FONT = 16;
constexpr int DEFAULT_GUI_FONT = 17;
constexpr int DC_BRUSH = 18;
constexpr int DC_PEN = 19;

// Object type codes of GetObjectType (classic numbers).
constexpr int OBJ_PEN = 1;
constexpr int OBJ_BRUSH = 2;
constexpr int OBJ_DC = 3;
constexpr int OBJ_FONT = 6;
constexpr int OBJ_BITMAP = 7;
constexpr int OBJ_REGION = 8;
constexpr int OBJ_MEMDC = 10;

// Frees an object made by a Create* function. False for null, for a handle that is
// not a live object, and for stock objects (which stay alive).
bool DeleteObject(HGDIOBJ object);

// The library's shared object for a stock index, or null for an unknown index.
// Stock fonts come from the factory the font code registers.
HGDIOBJ GetStockObject(int index);

// Makes a library-owned object immune to DeleteObject (stock and system-colour objects).
void MarkStockObject(TGdiObject* object);

// True while the handle names a live object (created and not yet deleted).
bool IsGdiObject(const TGdiObject* object);

// OBJ_PEN, OBJ_BRUSH, OBJ_BITMAP, OBJ_REGION, OBJ_FONT (any other live object), 0 for
// a dead handle.
int GetObjectType(HGDIOBJ object);


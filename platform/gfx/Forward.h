#pragma once
// The drawing layer's classes, declared for headers that only name them.
class TBitmap;
class TDeviceContext;
class TFontFace;

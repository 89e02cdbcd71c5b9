#include "platform/gfx/DeviceContext.h"

struct TDeviceContext::TState {};
TDeviceContext::TDeviceContext(TBitmap& target) : Target_(&target) {}
TDeviceContext::TDeviceContext() : MemoryDC_(true) {}
TDeviceContext::~TDeviceContext() = default;
void TDeviceContext::TargetResized() { InvalidateClip(); }
void TDeviceContext::ForgetObject(const TGdiObject*) {}

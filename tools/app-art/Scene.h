#pragma once
// The objects of the cover scene, each placed by position and scale so the main
// window's cover and the about window's banner are drawn from the same pieces.
#include "tools/app-art/ArtCanvas.h"

namespace appart {

// Sky with a faint squared-paper grid above deskY, the desk below it.
void PaintSkyAndDesk(TArtCanvas& c, double deskY, double gridStep);
// Large calm circles, rings and a set square behind everything.
void PaintBackdropShapes(TArtCanvas& c, double s, double ox, double oy);
// Globe on a stand whose foot stands on deskY.
void PaintGlobe(TArtCanvas& c, double cx, double cy, double r, double deskY);
// A monitor showing a lesson page; its foot stands on deskY.
void PaintMonitor(TArtCanvas& c, double left, double top, double width, double height, double deskY);
// Three closed books lying on the desk with a pencil on top.
void PaintBookStack(TArtCanvas& c, double left, double deskY, double s);
// An open book lying flat in front, centred at (cx, cy).
void PaintOpenBook(TArtCanvas& c, double cx, double cy, double s);
// A school ruler lying on the desk, its left end at (x, y), turned by angle (radians).
void PaintRuler(TArtCanvas& c, double x, double y, double length, double angle);
// A soft shadow on the desk.
void PaintDeskShadow(TArtCanvas& c, double cx, double cy, double rx, double ry, double opacity = 0.16);

}  // namespace appart

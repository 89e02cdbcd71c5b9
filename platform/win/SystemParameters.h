#pragma once
// System parameters the skin engine asks for: the non-client metrics with the
// caption fonts, in the classic record and call shape.
#include "platform/gfx/FontTypes.h"
#include "platform/gfx/GdiObject.h"
#include "platform/win/WinTypes.h"

constexpr UINT SPI_GETNONCLIENTMETRICS = 0x0029;

struct NONCLIENTMETRICS {
  UINT cbSize = sizeof(NONCLIENTMETRICS);
  int iBorderWidth = 0;
  int iScrollWidth = 0;
  int iScrollHeight = 0;
  int iCaptionWidth = 0;
  int iCaptionHeight = 0;
  TLogFont lfCaptionFont;
  int iSmCaptionWidth = 0;
  int iSmCaptionHeight = 0;
  TLogFont lfSmCaptionFont;
  int iMenuWidth = 0;
  int iMenuHeight = 0;
  TLogFont lfMenuFont;
  TLogFont lfStatusFont;
  TLogFont lfMessageFont;
};

// Only SPI_GETNONCLIENTMETRICS is answered (pvParam: NONCLIENTMETRICS*); false otherwise.
bool SystemParametersInfo(UINT action, UINT uiParam, void* pvParam, UINT winIni);

// The caption font of the standard frame (small: tool windows), as the frame draws it.
TLogFont CaptionLogFont(bool small);
// A shared font object of CaptionLogFont; never freed by callers.
HFONT GetCaptionFont(bool small);

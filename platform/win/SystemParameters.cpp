// The non-client metrics and caption fonts of the classic look.
#include "platform/win/SystemParameters.h"

#include "platform/gfx/Font.h"
#include "platform/win/SystemMetrics.h"

TLogFont CaptionLogFont(bool small) {
  TLogFont lf;
  lf.FaceName = "Tahoma";
  lf.Height = small ? -11 : -12;
  lf.Weight = FW_BOLD;
  return lf;
}

HFONT GetCaptionFont(bool small) {
  static HFONT normal = nullptr;
  static HFONT smallFont = nullptr;
  HFONT& f = small ? smallFont : normal;
  if (!f) f = CreateFontIndirect(CaptionLogFont(small));
  return f;
}

bool SystemParametersInfo(UINT action, UINT, void* pvParam, UINT) {
  if (action != SPI_GETNONCLIENTMETRICS || !pvParam) return false;
  auto* m = static_cast<NONCLIENTMETRICS*>(pvParam);
  TLogFont plain;
  plain.FaceName = "Tahoma";
  plain.Height = -11;
  m->iBorderWidth = 1;
  m->iScrollWidth = GetSystemMetrics(SM_CXVSCROLL);
  m->iScrollHeight = GetSystemMetrics(SM_CYHSCROLL);
  m->iCaptionWidth = GetSystemMetrics(SM_CXSIZE);
  m->iCaptionHeight = GetSystemMetrics(SM_CYSIZE);
  m->lfCaptionFont = CaptionLogFont(false);
  m->iSmCaptionWidth = GetSystemMetrics(SM_CXSMSIZE);
  m->iSmCaptionHeight = GetSystemMetrics(SM_CYSMSIZE);
  m->lfSmCaptionFont = CaptionLogFont(true);
  m->iMenuWidth = GetSystemMetrics(SM_CXMENUSIZE);
  m->iMenuHeight = GetSystemMetrics(SM_CYMENUSIZE);
  m->lfMenuFont = plain;
  m->lfStatusFont = plain;
  m->lfMessageFont = plain;
  return true;
}

#include "forms/MessageForm.h"

#include <algorithm>
#include <memory>

#include "forms/Application.h"
#include "forms/Button.h"
#include "forms/Canvas.h"
#include "forms/CustomLabel.h"

namespace {

const char* ButtonName(TMsgDlgBtn b) {
  switch (b) {
    case mbYes: return "Yes";
    case mbNo: return "No";
    case mbOK: return "OK";
    case mbCancel: return "Cancel";
    case mbAbort: return "Abort";
    case mbRetry: return "Retry";
    case mbIgnore: return "Ignore";
    case mbAll: return "All";
  }
  return "Button";
}

TModalResult ButtonResult(TMsgDlgBtn b) {
  switch (b) {
    case mbYes: return mrYes;
    case mbNo: return mrNo;
    case mbOK: return mrOk;
    case mbCancel: return mrCancel;
    case mbAbort: return mrAbort;
    case mbRetry: return mrRetry;
    case mbIgnore: return mrIgnore;
    case mbAll: return mrAll;
  }
  return mrNone;
}

std::string KindCaption(TMsgDlgType type) {
  switch (type) {
    case mtWarning: return "Предупреждение";
    case mtError: return "Ошибка";
    case mtInformation: return "Информация";
    case mtConfirmation: return "Подтверждение";
    case mtCustom: break;
  }
  if (Application && !Application->Title().empty()) return Application->Title();
  if (Application && Application->MainForm()) return Application->MainForm()->Caption();
  return "Сообщение";
}

// A filled disc with an outline, row by row.
void Disc(TCanvas& c, int cx, int cy, int r, TColor fill, TColor edge) {
  for (int dy = -r; dy <= r; ++dy) {
    int w = 0;
    while ((w + 1) * (w + 1) + dy * dy <= r * r) ++w;
    c.Brush().SetColor(edge);
    c.FillRect({cx - w, cy + dy, cx + w + 1, cy + dy + 1});
    int wi = 0, ri = r - 1;
    if (std::abs(dy) <= ri) {
      while ((wi + 1) * (wi + 1) + dy * dy <= ri * ri) ++wi;
      c.Brush().SetColor(fill);
      c.FillRect({cx - wi, cy + dy, cx + wi + 1, cy + dy + 1});
    }
  }
}

}  // namespace

std::string ButtonCaption(TMsgDlgBtn button) {
  switch (button) {
    case mbYes: return "Да";
    case mbNo: return "Нет";
    case mbOK: return "ОК";
    case mbCancel: return "Отмена";
    case mbAbort: return "Прервать";
    case mbRetry: return "Повторить";
    case mbIgnore: return "Пропустить";
    case mbAll: return "Все";
  }
  return "";
}

TMessageIcon::TMessageIcon(TComponent* owner, TMsgDlgType type) : TGraphicControl(owner), Kind_(type) {
  SetBounds(0, 0, 32, 32);
}

void TMessageIcon::Paint() {
  TCanvas& c = Canvas();
  c.Font().SetName("Arial");
  c.Font().SetHeight(-22);
  c.Font().SetStyle({fsBold});
  c.Font().SetColor(clWhite);
  std::string glyph;
  switch (Kind_) {
    case mtInformation:
      Disc(c, 16, 16, 15, static_cast<TColor>(RGB(0x2E, 0x8C, 0xD1)), static_cast<TColor>(RGB(0x24, 0x39, 0x53)));
      glyph = "i";
      break;
    case mtConfirmation:
      Disc(c, 16, 16, 15, static_cast<TColor>(RGB(0x49, 0x78, 0xAB)), static_cast<TColor>(RGB(0x24, 0x39, 0x53)));
      glyph = "?";
      break;
    case mtError:
      Disc(c, 16, 16, 15, static_cast<TColor>(RGB(0xD0, 0x32, 0x32)), static_cast<TColor>(RGB(0x80, 0x10, 0x10)));
      glyph = "×";
      break;
    case mtWarning: {
      // A triangle, row by row.
      for (int y = 2; y < 30; ++y) {
        int half = (y - 2) * 15 / 28;
        c.Brush().SetColor(static_cast<TColor>(RGB(0x80, 0x60, 0x00)));
        c.FillRect({16 - half - 1, y, 16 + half + 2, y + 1});
        if (y > 3 && y < 29) {
          c.Brush().SetColor(static_cast<TColor>(RGB(0xF5, 0xC8, 0x2A)));
          c.FillRect({16 - half + 1, y, 16 + half, y + 1});
        }
      }
      c.Font().SetColor(clBlack);
      c.Font().SetHeight(-18);
      glyph = "!";
      TRect r{0, 8, 32, 30};
      c.Brush().SetStyle(bsClear);
      c.DrawText(glyph, r, DT_CENTER | DT_SINGLELINE | DT_VCENTER);
      return;
    }
    case mtCustom: return;
  }
  TRect r{0, 0, 32, 32};
  c.Brush().SetStyle(bsClear);
  c.DrawText(glyph, r, DT_CENTER | DT_SINGLELINE | DT_VCENTER);
}

TMessageForm::TMessageForm(TComponent* owner, const std::string& message, TMsgDlgType type, TMsgDlgButtons buttons)
    : TForm(owner) {
  SetName("MessageBox");
  SetBorderStyle(bsDialog);
  SetBorderIcons({biSystemMenu});
  SetPosition(poMainFormCenter);
  SetCaption(KindCaption(type));
  Font().SetName("Arial");
  Font().SetHeight(-13);
  SetKeyPreview(false);

  const int pad = 12;
  int textLeft = pad;
  if (type != mtCustom) {
    Image = new TMessageIcon(this, type);
    Image->SetName("Image");
    Image->SetParent(this);
    Image->SetBounds(pad, pad, 32, 32);
    textLeft = pad + 32 + pad;
  }
  Message = new TLabel(this);
  Message->SetName("Message");
  Message->SetParent(this);
  Message->SetShowAccelChar(false);
  Message->SetAutoSize(false);
  Message->SetWordWrap(true);
  // Measure the text: one line up to 420 pixels, then wrapped.
  TCanvas measure;
  measure.Font().Assign(Font());
  TRect calc{0, 0, 420, 0};
  measure.DrawText(message.empty() ? " " : message, calc, DT_CALCRECT | DT_WORDBREAK | DT_NOPREFIX | DT_EXPANDTABS);
  int textW = std::max(calc.Width(), 60), textH = std::max(calc.Height(), 16);
  Message->SetCaption(message);
  int textTop = pad;
  if (Image && textH < 32) textTop = pad + (32 - textH) / 2;
  Message->SetBounds(textLeft, textTop, textW + 2, textH);

  std::vector<TMsgDlgBtn> order;
  for (TMsgDlgBtn b : {mbYes, mbNo, mbOK, mbCancel, mbAbort, mbRetry, mbIgnore, mbAll})
    if (buttons.Contains(b)) order.push_back(b);
  if (order.empty()) order.push_back(mbOK);
  const int bw = 80, bh = 25, gap = 8;
  int rowW = static_cast<int>(order.size()) * bw + (static_cast<int>(order.size()) - 1) * gap;
  int contentW = std::max(textLeft + textW + pad, rowW + 2 * pad);
  int contentH = std::max(textTop + textH, Image ? pad + 32 : 0) + pad + bh + pad;
  SetClientSize(contentW, contentH);
  int x = (contentW - rowW) / 2;
  int y = contentH - pad - bh;
  bool hasCancel = buttons.Contains(mbCancel) || buttons.Contains(mbNo);
  for (size_t i = 0; i < order.size(); ++i) {
    auto* b = new TButton(this);
    b->SetName(ButtonName(order[i]));
    b->SetParent(this);
    b->SetBounds(x, y, bw, bh);
    b->SetCaption(ButtonCaption(order[i]));
    b->SetModalResult(ButtonResult(order[i]));
    if (i == 0) b->SetDefault(true);
    if (order[i] == mbCancel || (order[i] == mbNo && !buttons.Contains(mbCancel)) || (!hasCancel && order.size() == 1))
      b->SetCancel(true);
    x += bw + gap;
  }
}

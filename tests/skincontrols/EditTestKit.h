#pragma once
// A headless desktop with the main window's skin manager (the internal skin), the
// form skinning and the standard-control adapter, for the skinned edits, memos,
// data-aware controls and the navigator; a small database to bind them to.
#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "data/TADOConnection.h"
#include "forms/Form.h"
#include "forms/ScriptDriver.h"
#include "forms/db/DBComponents.h"
#include "platform/gfx/DeviceContext.h"
#include "platform/win/Win.h"
#include "skin/controls/acCtrlAdapter.h"
#include "skin/controls/acSkinEngine.h"
#include "tests/support/EntriesDatabase.h"
#include "tests/support/SkinTestDesktop.h"
#include "tests/support/TempFolder.h"

// A form whose controls a test builds while the form loads.
class TBuiltForm : public TForm {
public:
  explicit TBuiltForm(TComponent* owner) : TForm(owner) {
    if (Builder) Builder(this);
  }
  static inline std::function<void(TForm*)> Builder;
};

class EditTestBase : public ::testing::Test, protected TSkinTestDesktop {
protected:
  void SetUp() override {
    OpenDesktop(SkinEngineParts());
    AnnounceMainWindowSkin();
  }
  // Thirty entries and two items to look up; Query shows the entries, Lookup the items.
  void OpenDatabase(TForm* form) {
    const std::string lookups = "(1, 'intro', 'Введение', 'intro.htm'), (2, 'loops', 'Циклы', 'loops.htm')";
    Connection = AddConnection(form, CreateEntriesDatabase(Folder / "db.mdb", lookups));
    const TBoundQuery entries = AddBoundQuery(form, Connection, 1, "select * from entries");
    Query = entries.Query;
    Source = entries.Source;
    const TBoundQuery items = AddBoundQuery(form, Connection, 2, "select * from items");
    Lookup = items.Query;
    LookupSource = items.Source;
  }
  void TearDown() override {
    CloseDesktop();
  }
  void Settle() {
    Backend->Advance(0);
    UpdateAllWindows();
  }
  void Wait(int ms) { Backend->Advance(ms); }

  // A form built by `build` while it loads; the first one is the application's main form.
  TForm* MakeForm(const std::function<void(TForm*)>& build, TRect bounds = Bounds(100, 80, 520, 400)) {
    TBuiltForm::Builder = [&](TForm* form) {
      form->SetBounds(bounds.Left, bounds.Top, bounds.Width(), bounds.Height());
      form->SetCaption("Окно");
      if (build) build(form);
    };
    TForm* form = App->CreateForm<TBuiltForm>();
    TBuiltForm::Builder = nullptr;
    form->Show();
    Settle();
    return form;
  }
  template <class T>
  T* Add(TForm* form, TWinControl* parent, const char* name, int left, int top, int width, int height) {
    auto* c = new T(form);
    c->SetName(name);
    c->SetParent(parent);
    c->SetBounds(left, top, width, height);
    return c;
  }
  // The pixel of a window's whole image at a point of the window.
  static TColor WindowPixel(HWND window, int x, int y) {
    UpdateAllWindows();
    HWND top = window;
    while (GetParent(top)) top = GetParent(top);
    TRect w, t;
    GetWindowRect(window, &w);
    GetWindowRect(top, &t);
    const TBitmap* image = WindowImage(top);
    return image ? image->Pixel(w.Left - t.Left + x, w.Top - t.Top + y) : clFuchsia;
  }
  // The whole image of a top-level window.
  static TBitmap Snapshot(HWND window) {
    UpdateAllWindows();
    const TBitmap* image = WindowImage(window);
    TBitmap copy(image ? image->Width() : 0, image ? image->Height() : 0, TPixelFormat::pf32bit);
    if (image) copy.Canvas().DrawBitmap(0, 0, *image, {0, 0, image->Width(), image->Height()});
    return copy;
  }
  // Pixels that differ where the first image shows the window (its cut-off rounded
  // corners, never shown, are left out).
  static int DifferingPixels(const TBitmap& a, const TBitmap& b) {
    if (a.Width() != b.Width() || a.Height() != b.Height()) return -1;
    int n = 0;
    for (int y = 0; y < a.Height(); ++y)
      for (int x = 0; x < a.Width(); ++x) {
        if (a.ScanLine(y)[x * 4 + 3] == 0) continue;
        n += (a.Pixel(x, y) & 0xFFFFFF) != (b.Pixel(x, y) & 0xFFFFFF) ? 1 : 0;
      }
    return n;
  }
  const TsGeneralData& Section(const char* name) const {
    return *Manager->Section(Manager->SectionIndexOf(name));
  }

  TTempFolder Folder{"tb_skinedit"};
  TADOConnectionComponent* Connection = nullptr;
  TADOQueryComponent* Query = nullptr;
  TDataSourceComponent* Source = nullptr;
  TADOQueryComponent* Lookup = nullptr;
  TDataSourceComponent* LookupSource = nullptr;
};

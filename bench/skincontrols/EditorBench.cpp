// The test bank editor painted cold: a window laid out as the editor (six data-aware
// memos with skinned scroll bars, the answer's number, the search box, buttons, the
// navigator, labels, the skinned frame) with every face marked dirty, repainted in
// full; beside it a copy of the window image's bytes in the same run.
#include <atomic>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <memory>
#include <string>
#include <unistd.h>
#include <vector>

#include "bench/common/BenchRunner.h"
#include "data/TADOConnection.h"
#include "forms/Application.h"
#include "forms/Form.h"
#include "forms/db/DBComponents.h"
#include "platform/backend/HeadlessBackend.h"
#include "platform/gfx/DeviceContext.h"
#include "platform/win/Paint.h"
#include "platform/win/PaintFlags.h"
#include "platform/win/Win.h"
#include "skin/controls/acSkinEngine.h"
#include "skin/controls/sButton.h"
#include "skin/controls/sDBEdit.h"
#include "skin/controls/sDBMemo.h"
#include "skin/controls/sDBNavigator.h"
#include "skin/controls/sGroupBox.h"
#include "skin/controls/sLabel.h"
#include "skin/controls/sMemo.h"
#include "skin/controls/sPanel.h"
#include "skin/frame/sSkinProvider.h"
#include "skin/runtime/sSkinManager.h"

namespace {

template <class T>
T* Make(TForm* form, TWinControl* parent, int left, int top, int width, int height) {
  auto* c = new T(form);
  c->SetParent(parent);
  c->SetBounds(left, top, width, height);
  return c;
}

void EditorFont(TCustomEdit* edit) {
  edit->Font().SetName("Arial");
  edit->Font().SetHeight(-13);
}

struct TEditorDesk {
  THeadlessBackend Backend{TSize{1024, 768}};
  std::unique_ptr<TEngineScope> Engine;
  std::unique_ptr<TApplication> App;
  std::unique_ptr<TsSkinManager> Manager;
  std::filesystem::path Folder;
  TForm* Form = nullptr;

  TEditorDesk() {
    Backend.Install();
    Engine = std::make_unique<TEngineScope>(SkinEngineParts());
    App = std::make_unique<TApplication>();
    Manager = std::make_unique<TsSkinManager>(nullptr);
    ApplyMainWindowSkinSettings(*Manager);
    Manager->NotifyNewSkin(false);

    Folder = std::filesystem::temp_directory_path() / ("tb_editorbench_" + std::to_string(::getpid()));
    std::filesystem::create_directories(Folder);
    const std::string path = (Folder / "db.mdb").string();
    std::filesystem::remove(path);
    TADOConnection::CreateDatabaseFile(path);
    const std::string connection = "Provider=Microsoft.Jet.OLEDB.4.0;Data Source=" + path;
    {
      TADOConnection setup(connection);
      setup.Open();
      setup.ExecuteDirect(
          "create table БДТест (Вопрос text, Ответ1 text, Ответ2 text, Ответ3 text, Ответ4 text, Ответ5 text,"
          " ОтветПр integer);");
      for (int i = 1; i <= 30; ++i)
        setup.ExecuteDirect("insert into БДТест values ('Сколько бит в одном байте? Вопрос " + std::to_string(i) +
                            "', '8', '4', '10', '16', '1024', 1)");
    }

    Form = new TForm(App.get());
    Form->SetBounds(100, 50, 825, 662);
    Form->SetBorderStyle(bsNone);
    auto* db = new TADOConnectionComponent(Form);
    db->SetConnectionString(connection);
    db->Open();
    auto* query = new TADOQueryComponent(Form);
    query->SetConnection(db);
    query->SQL().Add("select * from БДТест");
    query->Open();
    auto* source = new TDataSourceComponent(Form);
    source->SetDataSet(query);

    auto* panel = Make<TsPanel>(Form, Form, 0, 0, 825, 662);
    panel->SetAlign(alClient);
    panel->SetCaption("");
    const char* columns[] = {"Вопрос", "Ответ1", "Ответ2", "Ответ3", "Ответ4", "Ответ5"};
    for (int i = 0; i < 6; ++i) {
      const int top = i == 0 ? 10 : 146 + (i - 1) * 102;
      Make<TsLabel>(Form, panel, 16, top, 200, 19)->SetCaption(i == 0 ? "Вопрос" : "Вариант");
      auto* memo = i == 0 ? Make<TsDBMemo>(Form, panel, 16, 32, 793, 104)
                          : Make<TsDBMemo>(Form, panel, 16, top + 22, 470, 76);
      EditorFont(memo);
      memo->SetScrollBars(ssVertical);
      memo->SetDataSource(source);
      memo->SetDataField(columns[i]);
    }
    Make<TsLabel>(Form, panel, 510, 146, 299, 19)->SetCaption("Номер правильного ответа");
    auto* edit = Make<TsDBEdit>(Form, panel, 510, 168, 90, 24);
    EditorFont(edit);
    edit->SetDataSource(source);
    edit->SetDataField("ОтветПр");
    auto* group = Make<TsGroupBox>(Form, panel, 510, 212, 299, 262);
    group->SetCaption("Поиск");
    Make<TsLabel>(Form, group, 14, 28, 200, 19)->SetCaption("Вопрос");
    auto* search = Make<TsMemo>(Form, group, 14, 50, 271, 150);
    EditorFont(search);
    search->SetScrollBars(ssVertical);
    Make<TsButton>(Form, group, 14, 214, 128, 32)->SetCaption("Найти");
    Make<TsButton>(Form, group, 157, 214, 128, 32)->SetCaption("Все записи");
    Make<TsDBNavigator>(Form, panel, 510, 494, 299, 34)->SetDataSource(source);
    Make<TsButton>(Form, panel, 659, 600, 150, 44)->SetCaption("Выход");
    Form->AfterConstruction();
    Form->Show();
    Backend.Advance(1000);  // fades and timers settle
    UpdateAllWindows();
  }
  ~TEditorDesk() {
    std::error_code ec;
    std::filesystem::remove_all(Folder, ec);
  }

  // Every face of the window dirty: the frame's image and each control's cache.
  void MarkAllDirty() {
    if (TsSkinProvider* provider = TsSkinProvider::Of(Form)) provider->SkinData().SetDirty(true);
    MarkDirty(Form);
  }
  static void MarkDirty(TWinControl* parent) {
    for (int i = 0; i < parent->ControlCount(); ++i) {
      TControl* c = parent->Controls(i);
      if (TsCommonData* data = SkinDataOf(c)) data->SetDirty(true);
      if (auto* w = dynamic_cast<TWinControl*>(c)) MarkDirty(w);
    }
  }
  void PaintAll() {
    RedrawWindow(Form->Handle(), nullptr, nullptr,
                 RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW);
  }
};

// Made on first use and freed in main: the window system and the fonts it uses
// must still be there when the windows go.
std::unique_ptr<TEditorDesk> gDesk;
TEditorDesk& Desk() {
  if (!gDesk) gDesk = std::make_unique<TEditorDesk>();
  return *gDesk;
}

void BM_EditorColdPaint(benchmark::State& state) {
  TEditorDesk& d = Desk();
  for (auto _ : state) {
    d.MarkAllDirty();
    d.PaintAll();
  }
}
BENCHMARK(BM_EditorColdPaint)->Unit(benchmark::kMillisecond);

void BM_EditorWarmPaint(benchmark::State& state) {
  TEditorDesk& d = Desk();
  for (auto _ : state) d.PaintAll();
}
BENCHMARK(BM_EditorWarmPaint)->Unit(benchmark::kMillisecond);

// Baseline: a copy of the whole window image's bytes.
void BM_WindowImageCopy(benchmark::State& state) {
  TEditorDesk& d = Desk();
  const TBitmap* image = WindowImage(d.Form->Handle());
  const std::size_t bytes = image ? static_cast<std::size_t>(image->RowBytes()) * image->Height() : 825 * 662 * 4;
  std::vector<std::uint8_t> from(bytes, 1), to(bytes);
  for (auto _ : state) {
    std::memcpy(to.data(), from.data(), bytes);
    benchmark::DoNotOptimize(to.data());
    benchmark::ClobberMemory();
  }
}
BENCHMARK(BM_WindowImageCopy)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
  TBenchTimes times;
  if (!RunBenchmarks(argc, argv, times)) return 1;
  const double cold = times.CpuSeconds("BM_EditorColdPaint") * 1000.0;
  const double warm = times.CpuSeconds("BM_EditorWarmPaint") * 1000.0;
  const double copy = times.CpuSeconds("BM_WindowImageCopy") * 1000.0;
  std::printf("editor_window_cold_paint_ms = %.3f\n", cold);
  std::printf("editor_window_warm_paint_ms = %.3f\n", warm);
  std::printf("editor_window_image_copy_ms = %.4f\n", copy);
  if (copy > 0) std::printf("editor_window_cold_paint_vs_image_copy = %.1f\n", cold / copy);
  std::fflush(stdout);
  gDesk.reset();
  return 0;
}

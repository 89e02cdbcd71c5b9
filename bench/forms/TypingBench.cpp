// A keystroke into a long text against the same keystroke into a short one, in the
// single-line edit and in the word-wrapping memo: a letter typed in the middle of
// the text, the window repainted, the letter taken back and repainted again. The
// headline figures are the long text's cost over the short one's in the same run.
#include <cstdio>
#include <memory>
#include <string>

#include "bench/common/BenchRunner.h"
#include "forms/Application.h"
#include "forms/CustomEdit.h"
#include "forms/Form.h"
#include "forms/Memo.h"
#include "platform/backend/HeadlessBackend.h"
#include "platform/win/Paint.h"
#include "platform/win/VirtualKeys.h"

namespace {

// Cyrillic words (two bytes a letter) in paragraphs of a dozen words, about `bytes` long.
std::string LongText(std::size_t bytes) {
  static const char* const kWords[] = {"лекция", "урок", "задача", "пример", "ответ", "глава", "тест", "вопрос"};
  std::string text;
  for (int i = 0; text.size() < bytes; ++i) {
    text += kWords[i % 8];
    text += i % 12 == 11 ? "\n" : " ";
  }
  return text;
}

struct TTypingDesk {
  THeadlessBackend Backend{TSize{1024, 768}};
  std::unique_ptr<TApplication> App;
  TForm* Form = nullptr;
  TEdit* Edit = nullptr;
  TMemo* Memo = nullptr;

  TTypingDesk() {
    Backend.Install();
    App = std::make_unique<TApplication>();
    Form = new TForm(App.get());
    Form->SetBounds(20, 20, 900, 500);
    Edit = new TEdit(Form);
    Edit->SetParent(Form);
    Edit->SetBounds(10, 10, 400, 23);
    Memo = new TMemo(Form);
    Memo->SetParent(Form);
    // Low enough for the short text to fill it too: both paint as many lines.
    Memo->SetBounds(10, 40, 600, 120);
    Memo->SetScrollBars(ssVertical);
    Form->Show();
    UpdateAllWindows();
  }
};

TTypingDesk& Desk() {
  static TTypingDesk desk;
  return desk;
}

void TypeInto(benchmark::State& state, TCustomEdit* control) {
  control->SetText(LongText(static_cast<std::size_t>(state.range(0)) * 1024));
  control->SetFocus();
  control->SetSelStart(control->TextLength() / 2);
  UpdateAllWindows();
  for (auto _ : state) {
    Desk().Backend.Text("ж");
    UpdateAllWindows();
    Desk().Backend.Key(VK_BACK);
    UpdateAllWindows();
  }
}

void BM_EditKeystroke(benchmark::State& state) { TypeInto(state, Desk().Edit); }
void BM_MemoKeystroke(benchmark::State& state) { TypeInto(state, Desk().Memo); }

BENCHMARK(BM_EditKeystroke)->Arg(1)->Arg(100);
BENCHMARK(BM_MemoKeystroke)->Arg(1)->Arg(100);

}  // namespace

int main(int argc, char** argv) {
  TBenchTimes times;
  if (!RunBenchmarks(argc, argv, times)) return 1;
  const double edit1 = times.CpuSeconds("BM_EditKeystroke/1");
  const double edit100 = times.CpuSeconds("BM_EditKeystroke/100");
  const double memo1 = times.CpuSeconds("BM_MemoKeystroke/1");
  const double memo100 = times.CpuSeconds("BM_MemoKeystroke/100");
  std::printf("edit_keystroke_1k_us = %.1f\n", edit1 * 1e6);
  std::printf("memo_keystroke_1k_us = %.1f\n", memo1 * 1e6);
  if (edit1 > 0) std::printf("edit_keystroke_100k_vs_1k = %.2f\n", edit100 / edit1);
  if (memo1 > 0) std::printf("memo_keystroke_100k_vs_1k = %.2f\n", memo100 / memo1);
  std::fflush(stdout);
  return 0;
}

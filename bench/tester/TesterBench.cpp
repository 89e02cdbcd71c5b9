// Starting a test attempt on a 10,000-question bank: the tester shown from
// hidden (the bank loaded into its seven lists, 30 draws, both button rows
// made, the window painted), against reading the same seven columns with plain
// SQLite calls as the baseline.
#include <benchmark/benchmark.h>
#include <sqlite3.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "app/AppControls.h"
#include "app/TextbookEngine.h"
#include "app/Unit1.h"
#include "app/Unit2.h"
#include "app/data/Schema.h"
#include "app/data/Statements.h"
#include "bench/common/BenchRunner.h"
#include "data/TADOConnection.h"
#include "data/TADOQuery.h"
#include "forms/Application.h"
#include "forms/db/DBComponents.h"
#include "platform/backend/HeadlessBackend.h"

namespace {
constexpr int kQuestions = 10000;

// A workspace folder holding only the database, made the working directory
// because the program finds "db.mdb" there.
struct TBankFolder {
  std::filesystem::path Folder;
  std::filesystem::path Previous;

  TBankFolder() {
    Previous = std::filesystem::current_path();
    Folder = std::filesystem::temp_directory_path() / ("tb_bench_tester_" + std::to_string(::getpid()));
    std::filesystem::create_directories(Folder);
    const std::string path = (Folder / "db.mdb").string();
    std::filesystem::remove(path);
    TADOConnection::CreateDatabaseFile(path);
    TADOConnection connection("Data Source=" + path);
    connection.Open();
    Schema::CreateTables(connection);
    connection.ExecuteDirect("begin");
    TADOQuery insert(&connection);
    insert.SQL().Add("insert into БДТест values (:q, :o1, :o2, :o3, :o4, :o5, :r)");
    const char* options[5] = {"o1", "o2", "o3", "o4", "o5"};
    for (int i = 0; i < kQuestions; ++i) {
      insert.ParamByName("q").SetValue(
          Variant("Вопрос номер " + std::to_string(i) + ": какое из утверждений верно для этого случая?"));
      for (int k = 0; k < 5; ++k)
        insert.ParamByName(options[k]).SetValue(
            Variant("Вариант ответа " + std::to_string(k + 1) + " к вопросу " + std::to_string(i)));
      insert.ParamByName("r").SetValue(Variant(i % 5 + 1));
      insert.ExecSQL();
    }
    LoadStatement(insert, Statements::kAddUser);
    insert.ParamByName("a1").SetValue(Variant("Admin"));
    insert.ParamByName("a2").SetValue(Variant("admin"));
    insert.ParamByName("a3").SetValue(Variant(""));
    insert.ExecSQL();
    connection.ExecuteDirect("commit");
    std::filesystem::current_path(Folder);
  }
  ~TBankFolder() {
    std::error_code ec;
    std::filesystem::current_path(Previous, ec);
    std::filesystem::remove_all(Folder, ec);
  }
};

// The main window and the tester on a headless desktop, made once.
struct TTesterSetup {
  TBankFolder Bank;
  THeadlessBackend Backend{TSize{1280, 800}};
  std::unique_ptr<TEngineScope> Engine;
  std::unique_ptr<TApplication> App;

  TTesterSetup() {
    Backend.Install();
    Engine = std::make_unique<TEngineScope>(TextbookEngineParts());
    App = std::make_unique<TApplication>();
    App->CreateForm(&Form1);
    App->CreateForm(&Form2);
  }
  ~TTesterSetup() {
    App.reset();
    Engine.reset();
  }
};

// Made on first use and torn down by main before the program's statics go: the
// windows' destructors still reach the skin engine's hooks.
std::unique_ptr<TTesterSetup> setupInstance;

TTesterSetup& Setup() {
  if (!setupInstance) setupInstance = std::make_unique<TTesterSetup>();
  return *setupInstance;
}

void BM_TesterAttemptStart10k(benchmark::State& state) {
  TTesterSetup& setup = Setup();
  for (auto _ : state) {
    Form2->Show();
    setup.App->ProcessMessages();  // the window painted
    state.PauseTiming();
    Form2->Close();
    setup.App->ProcessMessages();
    state.ResumeTiming();
  }
  state.counters["questions"] = Form2->QuestionCount();
}
BENCHMARK(BM_TesterAttemptStart10k)->Unit(benchmark::kMillisecond);

// Baseline: the seven columns of every row read into seven lists of text.
void BM_BankReadSqlite10k(benchmark::State& state) {
  Setup();
  sqlite3* db = Form1->ADOConnection1->Handle();  // the program's own connection and page cache
  const std::string text(Statements::kSelectQuestionRows.Lines[0]);
  for (auto _ : state) {
    std::vector<std::vector<std::string>> lists(7);
    sqlite3_stmt* stmt = nullptr;
    sqlite3_prepare_v2(db, text.c_str(), -1, &stmt, nullptr);
    while (sqlite3_step(stmt) == SQLITE_ROW)
      for (int c = 0; c < 7; ++c) {
        const auto* value = reinterpret_cast<const char*>(sqlite3_column_text(stmt, c));
        lists[static_cast<size_t>(c)].emplace_back(value ? value : "");
      }
    sqlite3_finalize(stmt);
    benchmark::DoNotOptimize(lists.data());
  }
}
BENCHMARK(BM_BankReadSqlite10k)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
  Setup();  // build the bank and the windows before timing anything
  TBenchTimes times;
  if (!RunBenchmarks(argc, argv, times)) return 1;
  // Processor time: the work is all on this thread and the file sits in the page
  // cache, so it is the steadier measure on a machine shared with builds.
  const double start = times.CpuSeconds("BM_TesterAttemptStart10k") * 1000.0;
  const double base = times.CpuSeconds("BM_BankReadSqlite10k") * 1000.0;
  if (start > 0) std::printf("tester_attempt_start_ms = %.3f\n", start);
  if (start > 0 && base > 0) std::printf("tester_attempt_start_vs_sqlite = %.2f\n", start / base);
  setupInstance.reset();
  return 0;
}

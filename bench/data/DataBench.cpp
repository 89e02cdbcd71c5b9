// Loading the tester's seven columns and filtering results over 10,000 rows,
// through the datasets and, as the baseline, through plain SQLite calls.
#include <benchmark/benchmark.h>

#include "bench/common/BenchRunner.h"
#include "bench/common/InTurns.h"
#include <sqlite3.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <ctime>
#include <filesystem>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "app/data/Schema.h"
#include "app/data/Statements.h"
#include "data/TADOConnection.h"
#include "data/TADOQuery.h"
#include "data/TADOTable.h"
#include "platform/base/ProcessHeap.h"

namespace {
constexpr int kRows = 10000;
const char* const kOptionNames[5] = {"o1", "o2", "o3", "o4", "o5"};

struct Fixture {
  std::filesystem::path Folder;
  std::unique_ptr<TADOConnection> Connection;

  Fixture() {
    Folder = std::filesystem::temp_directory_path() / ("tb_bench_data_" + std::to_string(::getpid()));
    std::filesystem::create_directories(Folder);
    const std::string path = (Folder / "db.mdb").string();
    std::filesystem::remove(path);
    TADOConnection::CreateDatabaseFile(path);
    Connection = std::make_unique<TADOConnection>("Data Source=" + path);
    Connection->Open();
    Schema::CreateTables(*Connection);
    Connection->ExecuteDirect("begin");
    TADOQuery insert(Connection.get());
    insert.SQL().Add("insert into БДТест values (:q, :o1, :o2, :o3, :o4, :o5, :r)");
    for (int i = 0; i < kRows; ++i) {
      insert.ParamByName("q").SetValue(Variant("Вопрос номер " + std::to_string(i) + ": какое из утверждений верно для этого случая?"));
      for (int k = 1; k <= 5; ++k)
        insert.ParamByName(kOptionNames[k - 1]).SetValue(Variant("Вариант ответа " + std::to_string(k) + " к вопросу " + std::to_string(i)));
      insert.ParamByName("r").SetValue(Variant(i % 5 + 1));
      insert.ExecSQL();
    }
    LoadStatement(insert, Statements::kStoreResult);
    for (int i = 0; i < kRows; ++i) {
      insert.ParamByName("a1").SetValue(Variant("Ученик" + std::to_string(i % 100)));
      insert.ParamByName("a2").SetValue(Variant(i % 31));
      insert.ExecSQL();
    }
    LoadStatement(insert, Statements::kAddUser);
    for (int i = 0; i < kRows; ++i) {
      insert.ParamByName("a1").SetValue(Variant("Ученик" + std::to_string(i)));
      insert.ParamByName("a2").SetValue(Variant("пароль" + std::to_string(i)));
      insert.ParamByName("a3").SetValue(Variant("9А"));
      insert.ExecSQL();
    }
    Connection->ExecuteDirect("commit");
  }
  ~Fixture() {
    Connection.reset();
    std::error_code ec;
    std::filesystem::remove_all(Folder, ec);
  }
};

Fixture& Data() {
  static Fixture fixture;
  return fixture;
}

std::vector<TStatement> TesterSelects() {
  std::vector<TStatement> out{Statements::kSelectQuestionTexts};
  for (const TStatement& s : Statements::kSelectAnswers) out.push_back(s);
  out.push_back(Statements::kSelectCorrectAnswers);
  return out;
}

std::string Text(const TStatement& s) {
  std::string text(s.Lines[0]);
  if (s.Count > 1) text += "\r\n" + std::string(s.Lines[1]);
  return text;
}

// The tester's attempt start: seven selects, each read row by row into a list of text.
void LoadThroughDatasets(TADOQuery& query, const std::vector<TStatement>& selects) {
  std::vector<std::vector<std::string>> lists(selects.size());
  for (size_t i = 0; i < selects.size(); ++i) {
    LoadStatement(query, selects[i]);
    query.Open();
    lists[i].reserve(static_cast<size_t>(query.RecordCount()));
    for (query.First(); !query.Eof(); query.Next()) lists[i].push_back(query.Fields(0).AsString());
  }
  benchmark::DoNotOptimize(lists.data());
}

// Baseline: the same seven selects with plain SQLite calls.
void LoadThroughSqlite(sqlite3* db, const std::vector<TStatement>& selects) {
  std::vector<std::vector<std::string>> lists(selects.size());
  for (size_t i = 0; i < selects.size(); ++i) {
    sqlite3_stmt* stmt = nullptr;
    sqlite3_prepare_v2(db, Text(selects[i]).c_str(), -1, &stmt, nullptr);
    while (sqlite3_step(stmt) == SQLITE_ROW) {
      const auto* text = reinterpret_cast<const char*>(sqlite3_column_text(stmt, 0));
      lists[i].emplace_back(text ? text : "");
    }
    sqlite3_finalize(stmt);
  }
  benchmark::DoNotOptimize(lists.data());
}

void BM_TesterLoad10k(benchmark::State& state) {
  const auto selects = TesterSelects();
  TADOQuery query(Data().Connection.get());
  for (auto _ : state) LoadThroughDatasets(query, selects);
}
BENCHMARK(BM_TesterLoad10k)->Unit(benchmark::kMillisecond);

void BM_TesterLoadSqlite10k(benchmark::State& state) {
  const auto selects = TesterSelects();
  for (auto _ : state) LoadThroughSqlite(Data().Connection->Handle(), selects);
}
BENCHMARK(BM_TesterLoadSqlite10k)->Unit(benchmark::kMillisecond);

// The ratio: both loads in turns, so that each pair meets the same load of the
// machine; the figure is the median of the pairs' ratios of processor time.
std::vector<double> gTesterPairRatios;

void BM_TesterLoadInTurnsWithSqlite10k(benchmark::State& state) {
  const auto selects = TesterSelects();
  TADOQuery query(Data().Connection.get());
  gTesterPairRatios.clear();
  for (auto _ : state) {
    const double start = ThreadCpuSeconds();
    LoadThroughDatasets(query, selects);
    const double middle = ThreadCpuSeconds();
    LoadThroughSqlite(Data().Connection->Handle(), selects);
    const double end = ThreadCpuSeconds();
    if (end > middle) gTesterPairRatios.push_back((middle - start) / (end - middle));
  }
}
BENCHMARK(BM_TesterLoadInTurnsWithSqlite10k)->Unit(benchmark::kMillisecond)->MinTime(1.0);

// The results window for one student: "select * from Тесты" / "where Пользователь= :a".
void BM_ResultsFilter10k(benchmark::State& state) {
  TADOQuery query(Data().Connection.get());
  int shown = 0;
  for (auto _ : state) {
    LoadStatement(query, Statements::kSelectResults);
    query.SQL().Add(std::string(Statements::kResultsOfUser));
    query.ParamByName("a").SetValue(Variant("ученик42"));
    query.Open();
    for (query.First(); !query.Eof(); query.Next()) benchmark::DoNotOptimize(query.Fields(1).AsString());
    shown = query.RecordCount();
  }
  state.counters["rows"] = shown;
}
BENCHMARK(BM_ResultsFilter10k)->Unit(benchmark::kMillisecond);

void BM_ResultsFilterSqlite10k(benchmark::State& state) {
  sqlite3* db = Data().Connection->Handle();
  for (auto _ : state) {
    sqlite3_stmt* stmt = nullptr;
    sqlite3_prepare_v2(db, "select * from Тесты\r\nwhere Пользователь= ?", -1, &stmt, nullptr);
    sqlite3_bind_text(stmt, 1, "ученик42", -1, SQLITE_TRANSIENT);
    std::vector<std::pair<std::string, long long>> rows;
    while (sqlite3_step(stmt) == SQLITE_ROW)
      rows.emplace_back(reinterpret_cast<const char*>(sqlite3_column_text(stmt, 0)), sqlite3_column_int64(stmt, 1));
    sqlite3_finalize(stmt);
    benchmark::DoNotOptimize(rows.data());
  }
}
BENCHMARK(BM_ResultsFilterSqlite10k)->Unit(benchmark::kMillisecond);

// The users window's filter on an open 10,000-row table.
void BM_UsersFilter10k(benchmark::State& state) {
  TADOTable users(Data().Connection.get(), "Пользователи");
  users.Open();
  int i = 0;
  for (auto _ : state) {
    users.SetFilter(Statements::UsersFilter("ученик" + std::to_string(i++ % kRows)));
    users.SetFiltered(true);
    benchmark::DoNotOptimize(users.RecordCount());
  }
}
BENCHMARK(BM_UsersFilter10k)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
  PrepareProcessHeap();  // the program's heap, as the windows meet it
  Data();  // build the 10,000-row database before timing anything
  TBenchTimes times;
  if (!RunBenchmarks(argc, argv, times)) return 1;
  auto ms = [&](const char* name) { return times.RealSeconds(name) * 1000.0; };
  const double tester = ms("BM_TesterLoad10k");
  const double results = ms("BM_ResultsFilter10k"), resultsBase = ms("BM_ResultsFilterSqlite10k");
  if (tester > 0) std::printf("tester_load_10k_ms = %.3f\n", tester);
  if (!gTesterPairRatios.empty()) std::printf("tester_load_vs_sqlite = %.2f\n", Median(gTesterPairRatios));
  if (results > 0) std::printf("results_filter_10k_ms = %.3f\n", results);
  if (results > 0 && resultsBase > 0) std::printf("results_filter_vs_sqlite = %.2f\n", results / resultsBase);
  if (ms("BM_UsersFilter10k") > 0) std::printf("users_filter_10k_ms = %.3f\n", ms("BM_UsersFilter10k"));
  // Like: 4 KB search text in a 1 MB title, against the folding pass every match needs.
  const double like = times.CpuSeconds("BM_Like4kIn1M") * 1000.0, fold = times.CpuSeconds("BM_Fold1M") * 1000.0;
  if (like > 0) std::printf("like_4k_in_1m_ms = %.3f\n", like);
  if (like > 0 && fold > 0) std::printf("like_4k_in_1m_vs_fold = %.2f\n", like / fold);
  const double small = times.CpuSeconds("BM_Like1kIn64k"), old = times.CpuSeconds("BM_BacktrackingLike1kIn64k");
  if (small > 0 && old > 0) std::printf("like_1k_in_64k_speedup_vs_backtracking = %.1f\n", old / small);
  return 0;
}

// Forty students hand in an attempt at the same moment, each from its own
// connection, against a private local server; beside it, one student alone in the
// same run. Prints the slowest of the forty and the single one's store time
// (median of several), and checks that every row is on the server. Beside them,
// the processor time the hand-ins took (this program's threads and the server
// processes serving them): the forty together divided by the cores is the least
// time in which this machine can finish them all, whatever the program does.
#include <benchmark/benchmark.h>

#include <sched.h>
#include <time.h>
#include <unistd.h>

#include <algorithm>
#include <barrier>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <memory>
#include <thread>
#include <vector>

#include "app/data/ResultStore.h"
#include "app/data/Schema.h"
#include "app/data/Statements.h"
#include "data/TADOConnection.h"
#include "data/TADOQuery.h"
#include "tools/pg-server/TPgServer.h"

namespace {
using TClock = std::chrono::steady_clock;
constexpr int kClients = 40;
constexpr int kSingles = 7;
constexpr const char* kPassword = "пароль";

struct TClient {
  std::unique_ptr<TADOConnection> Connection;
  std::unique_ptr<TADOQuery> Command;
  std::unique_ptr<TResultJournal> Journal;
  std::string Token;
  int ServerProcess = 0;
  double Ms = 0;
  // Where the time went: writing the journal entry before the sending, the
  // server's transaction, forgetting the entry after it.
  double JournalMs = 0, ServerMs = 0, ForgetMs = 0;
  double CpuMs = 0;  // processor time of the hand-in, here and in the server
  bool Stored = false;
};

// A student's machine by the time it hands in: connected, logged in (the login
// check, the token for results and the hand-in readied), the questions read by
// the tester.
TClient Connect(const std::string& uri, const std::filesystem::path& journal, const std::string& login) {
  TClient c;
  c.Connection = std::make_unique<TADOConnection>("Data Source=" + uri);
  c.Connection->SetBusyTimeout(60000);
  c.Connection->Open();
  c.Command = std::make_unique<TADOQuery>(c.Connection.get());
  c.Journal = std::make_unique<TResultJournal>(journal);
  TADOQuery query(c.Connection.get());
  for (const TStatement* statement : {&Statements::kCheckLogin, &Statements::kResultToken}) {
    LoadStatement(query, *statement);
    query.ParamByName("a1").SetValue(Variant(login));
    query.ParamByName("a2").SetValue(Variant(kPassword));
    query.Open();
  }
  c.Token = query.Fields(0).AsString();
  PrepareHandIn(*c.Connection, {login, c.Token});  // as the login window does
  LoadStatement(query, Statements::kSelectQuestionRows);
  query.Open();
  query.SQL().Clear();
  query.SQL().Add("select pg_backend_pid()");
  query.Open();
  c.ServerProcess = query.Fields(0).AsInteger();
  return c;
}

// Processor time, in milliseconds: of the calling thread, and of the server
// process serving a client (the scheduler's own counts, to the nanosecond).
double ThreadCpuMs() {
  timespec t{};
  clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
  return static_cast<double>(t.tv_sec) * 1e3 + static_cast<double>(t.tv_nsec) / 1e6;
}

double ServerCpuMs(const TClient& c) {
  std::ifstream stat("/proc/" + std::to_string(c.ServerProcess) + "/schedstat");
  double ns = 0;
  stat >> ns;
  return ns / 1e6;
}

int Cores() {
  cpu_set_t set;
  CPU_ZERO(&set);
  return sched_getaffinity(0, sizeof set, &set) == 0 ? CPU_COUNT(&set) : 1;
}

// One hand-in as the tester makes it; its wall time in milliseconds.
void HandIn(TClient& c, const std::string& login) {
  const auto ms = [](TClock::time_point a, TClock::time_point b) {
    return std::chrono::duration<double, std::milli>(b - a).count();
  };
  const double ownCpu = ThreadCpuMs();
  const auto start = TClock::now();
  TClock::time_point sending = start, committed = start;
  c.Stored = StoreResult(*c.Connection, *c.Command, *c.Journal, login, c.Token, 17, [&](TStoreMoment moment) {
               if (moment == TStoreMoment::BeforeSend) sending = TClock::now();
               if (moment == TStoreMoment::AfterCommit) committed = TClock::now();
             }) == TStoreResult::Stored;
  const auto end = TClock::now();
  c.CpuMs = ThreadCpuMs() - ownCpu;  // the server's part is added by the caller
  c.Ms = ms(start, end);
  c.JournalMs = ms(start, sending);
  c.ServerMs = ms(sending, committed);
  c.ForgetMs = ms(committed, end);
}
}  // namespace

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);  // accepts the usual flags; the timing is our own
  TPgServer server;
  const std::string uri = server.CreateDatabase("classroom");
  {
    TADOConnection setup("Data Source=" + uri);
    setup.Open();
    Schema::CreateTables(setup);
    TADOQuery add(&setup);
    LoadStatement(add, Statements::kAddUser);
    for (int i = -1; i < kClients; ++i) {
      add.ParamByName("a1").SetValue(Variant(i < 0 ? std::string("один") : "ученик" + std::to_string(i)));
      add.ParamByName("a2").SetValue(Variant(kPassword));
      add.ParamByName("a3").SetValue(Variant("9А"));
      add.ExecSQL();
    }
  }
  const auto journals = std::filesystem::temp_directory_path() / ("textbook-classroom-" + std::to_string(getpid()));
  std::filesystem::create_directories(journals);

  // One student alone, a few times: the median.
  std::vector<TClient> singles;
  for (int i = 0; i < kSingles; ++i) {
    TClient c = Connect(uri, journals / ("single" + std::to_string(i)), "один");
    const double serverCpu = ServerCpuMs(c);
    HandIn(c, "один");
    c.CpuMs += ServerCpuMs(c) - serverCpu;
    if (!c.Stored) return std::fprintf(stderr, "a single hand-in was not stored\n"), 1;
    singles.push_back(std::move(c));
  }
  std::sort(singles.begin(), singles.end(), [](const TClient& a, const TClient& b) { return a.Ms < b.Ms; });
  const TClient& median = singles[singles.size() / 2];
  const double single = median.Ms;

  // Forty at once: every connection is made first, then all start together.
  std::vector<TClient> clients;
  for (int i = 0; i < kClients; ++i) 
    clients.push_back(Connect(uri, journals / ("client" + std::to_string(i)), "ученик" + std::to_string(i)));
  std::vector<double> serverCpu;
  for (const TClient& c : clients) serverCpu.push_back(ServerCpuMs(c));
  std::barrier start(kClients);
  std::vector<std::thread> threads;
  for (int i = 0; i < kClients; ++i)
    threads.emplace_back([&, i] {
      start.arrive_and_wait();
      HandIn(clients[static_cast<size_t>(i)], "ученик" + std::to_string(i));
    });
  for (std::thread& t : threads) t.join();
  double cpu = 0;
  for (size_t i = 0; i < clients.size(); ++i) cpu += clients[i].CpuMs += ServerCpuMs(clients[i]) - serverCpu[i];
  double slowest = 0;
  const TClient* last = &clients.front();
  for (const TClient& c : clients) {
    if (!c.Stored) return std::fprintf(stderr, "a hand-in of the forty was kept, not stored\n"), 1;
    if (c.Ms > slowest) slowest = c.Ms, last = &c;
  }
  const double lastJournal = last->JournalMs, lastServer = last->ServerMs, lastForget = last->ForgetMs;
  clients.clear();
  TADOConnection check("Data Source=" + uri);
  check.Open();
  TADOQuery rows(&check);
  rows.SQL().Add("select count(distinct Пользователь) from Тесты where Пользователь like 'ученик%'");
  rows.Open();
  const int present = rows.Fields(0).AsInteger();
  std::filesystem::remove_all(journals);
  if (present != kClients) return std::fprintf(stderr, "%d of %d rows present\n", present, kClients), 1;

  std::printf("classroom_1_handin_ms = %.3f\n", single);
  std::printf("classroom_40_handins_ms = %.3f\n", slowest);
  std::printf("classroom_40_vs_1 = %.2f\n", slowest / single);
  std::printf("classroom_40_rows_present = %d\n", present);
  // What the machine allows: the forty's processor time over its cores is the
  // least time for the slowest (every client and the server share these cores
  // here; in a classroom only the server's share would).
  const int cores = Cores();
  std::printf("classroom_1_cpu_ms = %.3f\n", median.CpuMs);
  std::printf("classroom_40_cpu_ms = %.3f\n", cpu);
  std::printf("classroom_cores = %d\n", cores);
  std::printf("classroom_40_floor_ms = %.3f\n", cpu / cores);
  std::printf("classroom_40_vs_floor = %.2f\n", slowest / (cpu / cores));
  std::printf("classroom_40_floor_vs_1 = %.2f\n", cpu / cores / single);
  // The single one's and the slowest one's time, part by part.
  std::printf("classroom_1_journal_ms = %.3f\n", median.JournalMs);
  std::printf("classroom_1_server_ms = %.3f\n", median.ServerMs);
  std::printf("classroom_1_forget_ms = %.3f\n", median.ForgetMs);
  std::printf("classroom_40_slowest_journal_ms = %.3f\n", lastJournal);
  std::printf("classroom_40_slowest_server_ms = %.3f\n", lastServer);
  std::printf("classroom_40_slowest_forget_ms = %.3f\n", lastForget);
  return 0;
}

// The real program as a user starts it: the command line, the folder it works in,
// and the user's own workspace made on the first start from an empty home.
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include "app/CommandLine.h"
#include "app/WorkspaceChoice.h"
#include "data/TADOConnection.h"
#include "data/TADOQuery.h"

namespace fs = std::filesystem;

namespace {

std::string Read(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream out;
  out << in.rdbuf();
  return out.str();
}

struct TRun {
  int Status = -1;
  std::string Out, Err;
};

bool Has(const std::string& text, const std::string& part) { return text.find(part) != std::string::npos; }

class ProgramTest : public ::testing::Test {
protected:
  void SetUp() override {
    std::string pattern = (fs::temp_directory_path() / "textbook-program-XXXXXX").string();
    ASSERT_NE(mkdtemp(pattern.data()), nullptr);
    Root = pattern;
    Home = Root / "home";
    fs::create_directories(Home);
    Demo = FindDemoWorkspace(fs::path(TEXTBOOK_PROGRAM).parent_path());
    ASSERT_FALSE(Demo.empty()) << "the build makes the demo workspace beside the program";
  }
  void TearDown() override { fs::remove_all(Root); }

  // Runs the program in `cwd` with an environment of HOME and, when given,
  // XDG_DATA_HOME only (nothing of the caller's session leaks in).
  TRun Run(const std::vector<std::string>& args, const fs::path& cwd, std::optional<fs::path> xdgDataHome = {}) {
    const fs::path out = Root / "out.txt", err = Root / "err.txt";
    const pid_t pid = fork();
    if (pid == 0) {
      if (chdir(cwd.c_str()) != 0 || !freopen(out.c_str(), "w", stdout) || !freopen(err.c_str(), "w", stderr))
        _exit(126);
      clearenv();
      setenv("HOME", Home.c_str(), 1);
      setenv("PATH", "/usr/bin:/bin", 1);
      if (xdgDataHome) setenv("XDG_DATA_HOME", xdgDataHome->c_str(), 1);
      std::vector<char*> argv{const_cast<char*>(TEXTBOOK_PROGRAM)};
      for (const std::string& a : args) argv.push_back(const_cast<char*>(a.c_str()));
      argv.push_back(nullptr);
      execv(TEXTBOOK_PROGRAM, argv.data());
      _exit(127);
    }
    TRun run;
    int status = 0;
    if (pid > 0 && waitpid(pid, &status, 0) == pid) run.Status = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
    run.Out = Read(out);
    run.Err = Read(err);
    return run;
  }
  fs::path Script(const std::string& name, const std::string& text) {
    const fs::path path = Root / name;
    std::ofstream(path) << text;
    return path;
  }
  fs::path CopyOfDemo(const fs::path& dir) {
    fs::copy(Demo, dir, fs::copy_options::recursive);
    return dir;
  }
  static std::string Rows(const fs::path& database, const std::string& select) {
    TADOConnection connection("Data Source=" + database.string());
    connection.Open();
    TADOQuery query(&connection);
    query.SQL().Add(select);
    query.Open();
    std::string rows;
    for (query.First(); !query.Eof(); query.Next()) {
      if (!rows.empty()) rows += ";";
      for (int i = 0; i < query.FieldCount(); ++i) rows += (i ? "|" : "") + query.Fields(i).AsString();
    }
    return rows;
  }
  fs::path UserDir() const { return Home / ".local" / "share" / "textbook"; }

  fs::path Root, Home, Demo;
};

const char kLoginIvanov[] =
    "type ivanov\nkey Tab\ntype qwe123\nkey Enter\n"
    "expect Form3.Visible == false\nexpect Form1.sPanel1.Caption == ivanov\n";

TEST_F(ProgramTest, HelpVersionAndBadSwitches) {
  TRun run = Run({"--help"}, Root);
  EXPECT_EQ(run.Status, 0);
  EXPECT_EQ(run.Out, CommandLineHelp());
  for (const std::string& s : CommandLineSwitches()) EXPECT_TRUE(Has(run.Out, "  " + s + " ")) << s;
  EXPECT_EQ(run.Err, "");

  run = Run({"--version"}, Root);
  EXPECT_EQ(run.Status, 0);
  EXPECT_EQ(run.Out, std::string("textbook ") + TEXTBOOK_VERSION + "\n");

  for (const std::vector<std::string>& bad : std::vector<std::vector<std::string>>{
           {"--bogus"}, {"--headless", "stray"}, {"--workspace"}, {"--user-workspace", "--workspace", "w"}}) {
    run = Run(bad, Root);
    EXPECT_EQ(run.Status, 2) << bad.front();
    EXPECT_EQ(run.Out, "");
    EXPECT_TRUE(run.Err.starts_with("textbook: ")) << run.Err;
    EXPECT_TRUE(Has(run.Err, "textbook --help")) << run.Err;
  }
  EXPECT_TRUE(Has(Run({"--bogus"}, Root).Err, "Неизвестный ключ «--bogus»"));
  // Nothing is made anywhere by a bad command line.
  EXPECT_TRUE(fs::is_empty(Home));
}

TEST_F(ProgramTest, WorkspaceSwitchAndCurrentFolder) {
  const fs::path ws = CopyOfDemo(Root / "класс 9А");
  {
    TADOConnection c("Data Source=" + (ws / "db.mdb").string());
    c.Open();
    c.ExecuteDirect("insert into Пользователи values ('учитель', 'у1', '')");
    // A row from before materials were stored relative to the workspace.
    c.ExecuteDirect("insert into Лекции values ('Старая', '" + (ws / "lectures" / "lecture3.htm").string() + "')");
  }
  const fs::path login = Script("login.txt",
                                "type учитель\nkey Tab\ntype у1\nkey Enter\n"
                                "expect Form1.sPanel1.Caption == учитель\n"
                                // The blank page and the lectures are the workspace's own.
                                "click Form1.sSpeedButton1\n"
                                "expect Form7.WebBrowser1.ShowingErrorPage == false\n"
                                "dblselect Form7.sDBLookupListBox1 2\n"
                                "expect Form7.WebBrowser1.LocationName == Кодирование текста\n"
                                // An older row stored with its full path still opens.
                                "dblselect Form7.sDBLookupListBox1 3\n"
                                "expect Form7.WebBrowser1.LocationURL == " + (ws / "lectures" / "lecture3.htm").string() + "\n"
                                "expect Form7.WebBrowser1.LocationName == Кодирование текста\n");
  fs::create_directories(Root / "elsewhere");
  TRun run = Run({"--workspace", "../класс 9А", "--headless", "--script", login.string()}, Root / "elsewhere");
  EXPECT_EQ(run.Status, 0) << run.Err;
  EXPECT_TRUE(fs::is_empty(Root / "elsewhere"));

  run = Run({"--headless", "--script", login.string()}, ws);
  EXPECT_EQ(run.Status, 0) << run.Err;

  // A folder that is not there: a clear message in the error box, status 1.
  const fs::path errorBox = Script("error.txt", "expect MessageBox.Visible == true\nkey Enter\n");
  run = Run({"--workspace", "нет", "--script", errorBox.string()}, Root / "elsewhere");
  EXPECT_EQ(run.Status, 1);
  EXPECT_TRUE(Has(run.Err, "Рабочая папка «" + (Root / "elsewhere" / "нет").string() + "» не найдена.")) << run.Err;

  // The current folder without db.mdb: the engine's message as before; the user's
  // workspace is made only when asked for.
  run = Run({"--script", errorBox.string()}, Root / "elsewhere");
  EXPECT_EQ(run.Status, 1);
  EXPECT_TRUE(Has(run.Err, "unable to open database file")) << run.Err;
  EXPECT_TRUE(fs::is_empty(Root / "elsewhere"));
  EXPECT_TRUE(fs::is_empty(Home));
}

TEST_F(ProgramTest, FirstStartFromAnEmptyHomeMakesTheUserWorkspaceAndKeepsTheAttempt) {
  const fs::path state = Root / "first-start.json";
  const fs::path attempt = Script("attempt.txt", "dump " + state.string() +
                                                     "\nclick MessageBox.OK\n" + kLoginIvanov +
                                                     "click Form1.sSpeedButton4\n"
                                                     "click Form8.sSpeedButton1\n"
                                                     "expect Form2.Visible == true\n"
                                                     "click Form2.sSpeedButton3\n"
                                                     "click MessageBox.OK\n"
                                                     "expect Form2.Visible == false\n");
  const std::string before = Rows(Demo / "db.mdb", "select count(*) from Тесты where Пользователь = 'ivanov'");
  TRun run = Run({"--user-workspace", "--headless", "--script", attempt.string()}, Home);
  ASSERT_EQ(run.Status, 0) << run.Err;
  // The message named the folder and the administrator's password, on the screen and in the output.
  const std::string shown = Read(state);
  EXPECT_TRUE(Has(shown, UserDir().string())) << shown;
  EXPECT_TRUE(Has(shown, "«Admin»"));
  EXPECT_TRUE(Has(run.Out, UserDir().string()));
  // The attempt landed in the user's database, not in the demo one.
  EXPECT_EQ(Rows(UserDir() / "db.mdb", "select count(*) from Тесты where Пользователь = 'ivanov'"),
            std::to_string(std::stoi(before) + 1));
  EXPECT_EQ(Rows(Demo / "db.mdb", "select count(*) from Тесты where Пользователь = 'ivanov'"), before);
  EXPECT_TRUE(fs::exists(UserDir() / "Clear.htm"));
  EXPECT_TRUE(fs::exists(UserDir() / "video" / "lesson1.avi"));

  // The second start goes straight to the login, on the same database.
  const fs::path again = Root / "second-start.json";
  const fs::path login = Script("login.txt", "dump " + again.string() + "\n" + kLoginIvanov);
  run = Run({"--user-workspace", "--headless", "--script", login.string()}, Root);
  ASSERT_EQ(run.Status, 0) << run.Err;
  EXPECT_EQ(run.Out, "");
  EXPECT_FALSE(Has(Read(again), UserDir().string()));
  EXPECT_EQ(Rows(UserDir() / "db.mdb", "select count(*) from Тесты where Пользователь = 'ivanov'"),
            std::to_string(std::stoi(before) + 1));
}

TEST_F(ProgramTest, UserWorkspaceUnderXdgDataHomeAndOneThatCannotBeMade) {
  const fs::path login = Script("login.txt", "click MessageBox.OK\n" + std::string(kLoginIvanov));
  TRun run = Run({"--user-workspace", "--headless", "--script", login.string()}, Root, Root / "data");
  EXPECT_EQ(run.Status, 0) << run.Err;
  EXPECT_TRUE(fs::exists(Root / "data" / "textbook" / "db.mdb"));
  EXPECT_TRUE(fs::is_empty(Home));

  std::ofstream(Root / "blocked") << "a file where the folder should go";
  const fs::path errorBox = Script("error.txt", "expect MessageBox.Visible == true\nkey Enter\n");
  run = Run({"--user-workspace", "--script", errorBox.string()}, Root, Root / "blocked");
  EXPECT_EQ(run.Status, 1);
  EXPECT_TRUE(Has(run.Err, "Не удалось создать рабочую папку учебника «" + (Root / "blocked" / "textbook").string() + "»"))
      << run.Err;
}

}  // namespace

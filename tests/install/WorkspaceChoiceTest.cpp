// Choosing the folder the textbook works in, and making the user's own workspace
// from the installed demo workspace on its first start.
#include <gtest/gtest.h>
#include <stdlib.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdexcept>
#include <string>

#include "app/CommandLine.h"
#include "app/WorkspaceChoice.h"

namespace fs = std::filesystem;

namespace {

void Write(const fs::path& path, const std::string& bytes) {
  fs::create_directories(path.parent_path());
  std::ofstream(path, std::ios::binary) << bytes;
}

std::string Read(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream out;
  out << in.rdbuf();
  return out.str();
}

class WorkspaceChoiceTest : public ::testing::Test {
protected:
  void SetUp() override {
    std::string pattern = (fs::temp_directory_path() / "textbook-choice-XXXXXX").string();
    ASSERT_NE(mkdtemp(pattern.data()), nullptr);
    Root = pattern;
    Demo = Root / "prefix" / "share" / "textbook" / "workspace";
    Write(Demo / "db.mdb", "demo database");
    Write(Demo / "Clear.htm", "<html></html>");
    Write(Demo / "video" / "lesson1.avi", "video");
    fs::create_directories(Root / "prefix" / "bin");
    fs::create_directories(Root / "home");
    fs::create_directories(Root / "here");
    Env.Home = (Root / "home").string();
    Env.CurrentDir = Root / "here";
    Env.DemoWorkspace = Demo;
  }
  void TearDown() override { fs::remove_all(Root); }

  TCommandLine UserLine() {
    TCommandLine line;
    line.UserWorkspace = true;
    return line;
  }
  // The message of the error ChooseWorkspace throws, or "" when it does not.
  std::string ErrorOf(const TCommandLine& line) {
    try {
      ChooseWorkspace(line, Env);
    } catch (const std::runtime_error& e) {
      return e.what();
    }
    return "";
  }

  fs::path Root, Demo;
  TWorkspaceEnvironment Env;
};

TEST_F(WorkspaceChoiceTest, WithoutSwitchesTheCurrentFolderIsUsedAsItIs) {
  const TWorkspacePlace place = ChooseWorkspace(TCommandLine{}, Env);
  EXPECT_EQ(place.Dir, Root / "here");
  EXPECT_FALSE(place.Created);
  // Even without db.mdb there: the start-up then reports the missing database, and
  // the user's workspace is not made behind the user's back.
  EXPECT_TRUE(fs::is_empty(Root / "here"));
  EXPECT_TRUE(fs::is_empty(Root / "home"));
}

TEST_F(WorkspaceChoiceTest, TheWorkspaceSwitchNamesAFolderRelativeToTheStartFolder) {
  fs::create_directories(Root / "here" / "класс");
  TCommandLine line;
  line.Workspace = "класс/../класс";
  EXPECT_EQ(ChooseWorkspace(line, Env).Dir, Root / "here" / "класс");
  line.Workspace = (Root / "home").string();
  EXPECT_EQ(ChooseWorkspace(line, Env).Dir, Root / "home");

  line.Workspace = "нет-такой";
  EXPECT_EQ(ErrorOf(line), "Рабочая папка «" + (Root / "here" / "нет-такой").string() + "» не найдена.");
  Write(Root / "here" / "file", "x");
  line.Workspace = "file";
  EXPECT_NE(ErrorOf(line).find("не найдена"), std::string::npos);
  EXPECT_FALSE(fs::exists(Root / "here" / "нет-такой")) << "a missing folder is not made";
}

TEST_F(WorkspaceChoiceTest, TheInstalledDemoWorkspaceIsNeverWorkedIn) {
  TCommandLine line;
  line.Workspace = Demo.string() + "/";
  EXPECT_NE(ErrorOf(line).find("входит в установку учебника"), std::string::npos) << ErrorOf(line);
  Env.CurrentDir = Demo / "video" / "..";
  EXPECT_NE(ErrorOf(TCommandLine{}).find("--user-workspace"), std::string::npos);
  // Its copies are fine.
  fs::copy(Demo, Root / "copy", fs::copy_options::recursive);
  Env.CurrentDir = Root / "copy";
  EXPECT_EQ(ChooseWorkspace(TCommandLine{}, Env).Dir, Root / "copy");
}

TEST_F(WorkspaceChoiceTest, UserWorkspaceFollowsXdgDataHomeElseHome) {
  EXPECT_EQ(UserWorkspaceDir(Env), Root / "home" / ".local" / "share" / "textbook");
  Env.XdgDataHome = (Root / "data").string();
  EXPECT_EQ(UserWorkspaceDir(Env), Root / "data" / "textbook");
  // A relative XDG_DATA_HOME is invalid and ignored.
  Env.XdgDataHome = "relative/data";
  EXPECT_EQ(UserWorkspaceDir(Env), Root / "home" / ".local" / "share" / "textbook");
  Env.Home = "";
  EXPECT_THROW(UserWorkspaceDir(Env), std::runtime_error);
  Env.Home = "home";
  EXPECT_NE(ErrorOf(UserLine()).find("Не удалось найти домашнюю папку"), std::string::npos);
}

TEST_F(WorkspaceChoiceTest, FirstStartCopiesTheDemoWorkspaceOnceAndKeepsWhatIsThere) {
  const fs::path dir = Root / "home" / ".local" / "share" / "textbook";
  // Something the user already put there is not overwritten.
  Write(dir / "Clear.htm", "my own blank page");
  TWorkspacePlace place = ChooseWorkspace(UserLine(), Env);
  EXPECT_EQ(place.Dir, dir);
  EXPECT_TRUE(place.Created);
  EXPECT_EQ(Read(dir / "db.mdb"), "demo database");
  EXPECT_EQ(Read(dir / "video" / "lesson1.avi"), "video");
  EXPECT_EQ(Read(dir / "Clear.htm"), "my own blank page");
  EXPECT_FALSE(fs::exists(dir / "db.mdb.partial"));
  // The user can write the copied database even when the installed one is read-only.
  EXPECT_NE(fs::status(dir / "db.mdb").permissions() & fs::perms::owner_write, fs::perms::none);

  // Later starts use it as it is.
  Write(dir / "db.mdb", "the class's results");
  place = ChooseWorkspace(UserLine(), Env);
  EXPECT_FALSE(place.Created);
  EXPECT_EQ(Read(dir / "db.mdb"), "the class's results");
  // The demo workspace itself is never written.
  EXPECT_EQ(Read(Demo / "db.mdb"), "demo database");
}

TEST_F(WorkspaceChoiceTest, ALeftoverPartialCopyIsCompletedOnTheNextStart) {
  const fs::path dir = Root / "home" / ".local" / "share" / "textbook";
  Write(dir / "db.mdb.partial", "half");
  const TWorkspacePlace place = ChooseWorkspace(UserLine(), Env);
  EXPECT_TRUE(place.Created);
  EXPECT_EQ(Read(dir / "db.mdb"), "demo database");
  EXPECT_FALSE(fs::exists(dir / "db.mdb.partial"));
}

TEST_F(WorkspaceChoiceTest, AFolderThatCannotBeMadeGivesAClearMessage) {
  // XDG_DATA_HOME names a file: nothing can be made below it (root cannot either).
  Write(Root / "data", "not a folder");
  Env.XdgDataHome = (Root / "data").string();
  const std::string error = ErrorOf(UserLine());
  EXPECT_NE(error.find("Не удалось создать рабочую папку учебника «" + (Root / "data" / "textbook").string() + "»"),
            std::string::npos)
      << error;
  EXPECT_NE(error.find("--workspace"), std::string::npos) << "says what to do instead";

  // The user's folder name taken by a file.
  Env.XdgDataHome = "";
  Write(Root / "home" / ".local" / "share" / "textbook", "a file");
  EXPECT_NE(ErrorOf(UserLine()).find("Не удалось создать рабочую папку"), std::string::npos);
}

TEST_F(WorkspaceChoiceTest, AMissingDemoWorkspaceIsReportedAsABrokenInstallation) {
  fs::remove(Demo / "db.mdb");
  EXPECT_NE(ErrorOf(UserLine()).find("установлена не полностью"), std::string::npos);
  Env.DemoWorkspace.clear();
  EXPECT_NE(ErrorOf(UserLine()).find("установлена не полностью"), std::string::npos);
  EXPECT_FALSE(fs::exists(Root / "home" / ".local" / "share" / "textbook" / "db.mdb"));
}

TEST_F(WorkspaceChoiceTest, TheDemoWorkspaceIsFoundBesideTheProgram) {
  // Installed: <prefix>/bin/textbook and <prefix>/share/textbook/workspace.
  EXPECT_EQ(FindDemoWorkspace(Root / "prefix" / "bin"), Demo);
  // A build folder: the program and share/ side by side.
  EXPECT_EQ(FindDemoWorkspace(Root / "prefix"), Demo);
  EXPECT_EQ(FindDemoWorkspace(Root / "here"), fs::path());
}

TEST_F(WorkspaceChoiceTest, FirstStartMessageSaysWhereAndAsksToChangeTheAdminPassword) {
  const std::string message = FirstStartMessage("/home/ученик/.local/share/textbook");
  EXPECT_NE(message.find("/home/ученик/.local/share/textbook"), std::string::npos);
  EXPECT_NE(message.find("«Admin»"), std::string::npos);
  EXPECT_NE(message.find("смените"), std::string::npos);
}

TEST_F(WorkspaceChoiceTest, MaterialsInsideTheWorkspaceAreStoredRelativeToIt) {
  const fs::path ws = Root / "here";
  Write(ws / "lectures" / "урок 1.htm", "x");
  Write(Root / "here2" / "lab.htm", "x");
  EXPECT_EQ(StoredMaterialPath((ws / "lectures" / "урок 1.htm").string(), ws), "lectures/урок 1.htm");
  EXPECT_EQ(StoredMaterialPath((ws / "lectures" / ".." / "lectures" / "урок 1.htm").string(), ws),
            "lectures/урок 1.htm");
  // Reached through a link to the workspace: still inside.
  fs::create_symlink(ws, Root / "link");
  EXPECT_EQ(StoredMaterialPath((Root / "link" / "lectures" / "урок 1.htm").string(), ws), "lectures/урок 1.htm");
  EXPECT_EQ(StoredMaterialPath((ws / "lectures" / "урок 1.htm").string(), Root / "link"), "lectures/урок 1.htm");
  // Outside, including a folder whose name merely starts like the workspace's.
  EXPECT_EQ(StoredMaterialPath((Root / "here2" / "lab.htm").string(), ws), (Root / "here2" / "lab.htm").string());
  EXPECT_EQ(StoredMaterialPath("/etc/passwd", ws), "/etc/passwd");
  EXPECT_EQ(StoredMaterialPath(ws.string(), ws), ws.string());
  // Already relative, an address or nothing: as given.
  EXPECT_EQ(StoredMaterialPath("video/lesson1.avi", ws), "video/lesson1.avi");
  EXPECT_EQ(StoredMaterialPath("http://school.example/lecture.htm", ws), "http://school.example/lecture.htm");
  EXPECT_EQ(StoredMaterialPath("", ws), "");
}

}  // namespace

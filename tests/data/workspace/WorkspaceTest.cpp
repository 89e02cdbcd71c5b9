// The generated workspace: a complete database whose material paths resolve from
// the workspace folder, real documents, pictures and videos; db.mdb kept unless forced.
#include <gtest/gtest.h>

extern "C" {
#include <libavformat/avformat.h>
}

#include <fstream>
#include <map>
#include <sstream>
#include <unistd.h>

#include "app/data/ConnectionSettings.h"
#include "app/data/Schema.h"
#include "app/data/Statements.h"
#include "data/TADOConnection.h"
#include "data/TADOQuery.h"
#include "platform/base/Cp1251.h"
#include "tools/make-workspace/QuestionBank.h"
#include "tools/make-workspace/Workspace.h"

namespace fs = std::filesystem;

namespace {
std::string ReadFile(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

class WorkspaceTest : public ::testing::Test {
protected:
  static void SetUpTestSuite() {
    Dir_ = new fs::path(fs::temp_directory_path() / ("tb_workspace_" + std::to_string(::getpid())));
    fs::remove_all(*Dir_);
    std::ostringstream out, err;
    ASSERT_EQ(MakeWorkspace(*Dir_, false, out, err), 0) << err.str();
  }
  static void TearDownTestSuite() {
    std::error_code ec;
    fs::remove_all(*Dir_, ec);
    delete Dir_;
  }
  // Runs with the workspace as the working directory, as the program does.
  void SetUp() override {
    Old_ = fs::current_path();
    fs::current_path(*Dir_);
  }
  void TearDown() override { fs::current_path(Old_); }

  static fs::path* Dir_;
  fs::path Old_;
};
fs::path* WorkspaceTest::Dir_ = nullptr;

std::vector<std::string> ColumnOf(TADOQuery& query, const TStatement& statement, int field) {
  LoadStatement(query, statement);
  query.Open();
  std::vector<std::string> out;
  for (query.First(); !query.Eof(); query.Next()) out.push_back(query.Fields(field).AsString());
  return out;
}
}  // namespace

TEST_F(WorkspaceTest, DatabaseHoldsEverythingAndPathsResolve) {
  TADOConnection connection{std::string(ConnectionSettings::kConnectionString)};
  connection.Open();
  Schema::CheckTables(connection);
  TADOQuery query(&connection);
  const auto logins = ColumnOf(query, Statements::kSelectLogins, 0);
  EXPECT_NE(std::find(logins.begin(), logins.end(), "Admin"), logins.end());
  EXPECT_GE(logins.size(), 3u);
  const auto correct = ColumnOf(query, Statements::kSelectCorrectAnswers, 0);
  EXPECT_GE(correct.size(), 60u);
  std::map<int, int> letters;
  for (query.First(); !query.Eof(); query.Next()) {
    EXPECT_GE(query.Fields(0).AsInteger(), 1);
    EXPECT_LE(query.Fields(0).AsInteger(), 5);
    ++letters[query.Fields(0).AsInteger()];
  }
  // Every letter is right about equally often.
  for (int letter = 1; letter <= 5; ++letter) EXPECT_GE(letters[letter], static_cast<int>(correct.size()) / 5) << letter;
  // The stored right option is the bank's right option, wherever it moved.
  const auto questionTexts = ColumnOf(query, Statements::kSelectAllQuestions, 0);
  for (const DemoQuestion& q : DemoQuestions()) {
    LoadStatement(query, Statements::kSearchQuestions);
    query.ParamByName("a").SetValue(Variant(q.Text));
    query.Open();
    ASSERT_EQ(query.RecordCount(), 1) << q.Text;
    const int stored = query.FieldByName("ОтветПр").AsInteger();
    EXPECT_EQ(query.Fields(stored).AsString(), q.Options[static_cast<size_t>(q.Correct - 1)]) << q.Text;
  }
  EXPECT_EQ(questionTexts.size(), DemoQuestions().size());
  for (const TStatement& s : {Statements::kSelectLectures, Statements::kSelectLabs, Statements::kSelectVideos}) {
    const auto addresses = ColumnOf(query, s, 1);
    EXPECT_FALSE(addresses.empty());
    for (const std::string& address : addresses) {
      EXPECT_TRUE(fs::path(address).is_relative()) << address;
      EXPECT_TRUE(fs::is_regular_file(address)) << address;
    }
  }
  EXPECT_TRUE(fs::is_regular_file(std::string(ConnectionSettings::kBlankPage)));
  EXPECT_FALSE(ColumnOf(query, Statements::kSelectResults, 0).empty());
}

TEST_F(WorkspaceTest, DocumentsPicturesAndTheWindows1251Page) {
  int windows1251 = 0;
  for (const char* folder : {"lectures", "labs"}) {
    for (const auto& entry : fs::directory_iterator(folder)) {
      const std::string bytes = ReadFile(entry.path());
      const bool cp1251 = bytes.find("charset=\"windows-1251\"") != std::string::npos;
      const std::string html = cp1251 ? Cp1251ToUtf8(bytes) : bytes;
      windows1251 += cp1251;
      for (const char* tag : {"<h1>", "<p>", "<li>", "<table>"}) EXPECT_NE(html.find(tag), std::string::npos) << entry.path() << " " << tag;
      EXPECT_NE(html.find("</html>"), std::string::npos);
      // Every picture a page names exists beside it.
      for (size_t at = html.find("src=\""); at != std::string::npos; at = html.find("src=\"", at + 1)) {
        const std::string src = html.substr(at + 5, html.find('"', at + 5) - at - 5);
        EXPECT_TRUE(fs::is_regular_file(entry.path().parent_path() / src)) << src;
      }
    }
  }
  EXPECT_EQ(windows1251, 1);
  for (const char* png : {"pictures/flowchart.png", "pictures/binary.png"})
    EXPECT_EQ(ReadFile(png).substr(0, 8), std::string("\x89PNG\r\n\x1a\n", 8)) << png;
}

TEST_F(WorkspaceTest, VideosCarryPicturesAndSound) {
  struct Expect { const char* Path; AVCodecID Video; AVCodecID Audio; };
  for (const Expect& e : {Expect{"video/lesson1.avi", AV_CODEC_ID_MPEG4, AV_CODEC_ID_MP2},
                          Expect{"video/lesson2.wmv", AV_CODEC_ID_WMV2, AV_CODEC_ID_WMAV2}}) {
    AVFormatContext* fmt = nullptr;
    ASSERT_EQ(avformat_open_input(&fmt, e.Path, nullptr, nullptr), 0) << e.Path;
    ASSERT_GE(avformat_find_stream_info(fmt, nullptr), 0);
    const int v = av_find_best_stream(fmt, AVMEDIA_TYPE_VIDEO, -1, -1, nullptr, 0);
    const int a = av_find_best_stream(fmt, AVMEDIA_TYPE_AUDIO, -1, -1, nullptr, 0);
    ASSERT_GE(v, 0) << e.Path;
    ASSERT_GE(a, 0) << e.Path;
    EXPECT_EQ(fmt->streams[v]->codecpar->codec_id, e.Video) << e.Path;
    EXPECT_EQ(fmt->streams[a]->codecpar->codec_id, e.Audio) << e.Path;
    EXPECT_EQ(fmt->streams[v]->codecpar->width, 320);
    EXPECT_GE(fmt->duration, 3 * AV_TIME_BASE) << e.Path;
    avformat_close_input(&fmt);
  }
}

TEST_F(WorkspaceTest, ExistingDatabaseIsKeptUnlessForced) {
  {
    TADOConnection connection{std::string(ConnectionSettings::kConnectionString)};
    connection.Open();
    connection.ExecuteDirect("insert into Тесты values ('marker', 1)");
  }
  auto markers = [] {
    TADOConnection connection{std::string(ConnectionSettings::kConnectionString)};
    connection.Open();
    TADOQuery query(&connection);
    query.SQL().Add("select * from Тесты where Пользователь = 'marker'");
    query.Open();
    return query.RecordCount();
  };
  std::ostringstream out, err;
  EXPECT_EQ(MakeWorkspace(".", false, out, err), 1);
  EXPECT_NE(err.str().find("already exists"), std::string::npos);
  EXPECT_EQ(markers(), 1);
  EXPECT_EQ(MakeWorkspace(".", true, out, err), 0);
  EXPECT_EQ(markers(), 0);
  EXPECT_FALSE(fs::exists("db.mdb.partial"));
}

TEST_F(WorkspaceTest, LoginsCompareExactlyAndOldFilesCanBeUpgraded) {
  {
    TADOConnection connection{std::string(ConnectionSettings::kConnectionString)};
    connection.Open();
    EXPECT_TRUE(Schema::IsCurrent(connection));
    TADOQuery query(&connection);
    LoadStatement(query, Statements::kDeleteUser);
    query.ParamByName("a1").SetValue(Variant("ADMIN"));
    query.ParamByName("a2").SetValue(Variant("admin"));
    EXPECT_EQ(query.ExecSQL(), 0);
  }
  std::ostringstream out, err;
  EXPECT_EQ(UpgradeWorkspace(".", out, err), 0) << err.str();
  EXPECT_NE(out.str().find("already up to date"), std::string::npos);

  // A folder holding a file of an older schema: every text column NOCASE.
  const fs::path old = fs::path("old");
  fs::create_directories(old);
  TADOConnection::CreateDatabaseFile((old / "db.mdb").string());
  auto oldFile = [&] {
    TADOConnection connection("Data Source=" + (old / "db.mdb").string());
    connection.Open();
    std::string oldSchema(Schema::CreateTablesSql());
    for (const std::string collation : {"binary", "textbook_nocase"})
      for (size_t at; (at = oldSchema.find("collate " + collation)) != std::string::npos;)
        oldSchema.replace(at, collation.size() + 8, "collate nocase");
    connection.ExecuteDirect(oldSchema);
    connection.ExecuteDirect("insert into Пользователи values ('Admin', 'admin', '')");
    EXPECT_FALSE(Schema::IsCurrent(connection));
  };
  oldFile();
  EXPECT_EQ(UpgradeWorkspace(old, out, err), 0) << err.str();
  EXPECT_NE(out.str().find("upgraded"), std::string::npos);
  {
    TADOConnection connection("Data Source=" + (old / "db.mdb").string());
    connection.Open();
    EXPECT_TRUE(Schema::IsCurrent(connection));
  }
  // A file that is not sound is not upgraded, and the tool says so.
  fs::remove(old / "db.mdb");
  TADOConnection::CreateDatabaseFile((old / "db.mdb").string());
  oldFile();
  {
    TADOConnection connection("Data Source=" + (old / "db.mdb").string());
    connection.Open();
    connection.ExecuteDirect("drop table Видео");
  }
  std::ostringstream unsound;
  EXPECT_EQ(UpgradeWorkspace(old, out, unsound), 1);
  EXPECT_NE(unsound.str().find("not upgraded"), std::string::npos) << unsound.str();
  EXPECT_EQ(UpgradeWorkspace("missing", out, err), 1);
  EXPECT_NE(err.str().find("does not exist"), std::string::npos);
  fs::remove_all(old);
}

#include "tools/make-workspace/Workspace.h"

#include <array>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <string>

#include "app/data/Schema.h"
#include "app/data/Statements.h"
#include "data/TADOConnection.h"
#include "data/TADOQuery.h"
#include "platform/base/Cp1251.h"
#include "tools/make-workspace/Documents.h"
#include "tools/make-workspace/Picture.h"
#include "tools/make-workspace/QuestionBank.h"
#include "tools/make-workspace/VideoLesson.h"

namespace fs = std::filesystem;

namespace {
struct Account {
  const char* Login;
  const char* Password;
  const char* Group;
};
const Account kAccounts[] = {
    {"Admin", "admin", ""},
    {"ivanov", "qwe123", "9А"},
    {"petrova", "pet456", "9А"},
    {"Смирнов", "smi789", "9Б"},
};

struct Video {
  const char* Title;
  const char* Path;
  const char* VideoCodec;
  const char* AudioCodec;
};
const Video kVideos[] = {
    {"Видеоурок 1. Двоичная система", "video/lesson1.avi", "mpeg4", "mp2"},
    {"Видеоурок 2. Циклы", "video/lesson2.wmv", "wmv2", "wmav2"},
};

void WriteFile(const fs::path& path, const std::string& bytes) {
  fs::create_directories(path.parent_path());
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out << bytes;
  if (!out.flush()) throw std::runtime_error("cannot write " + path.string());
}

void Run(TADOQuery& query, const TStatement& statement, std::initializer_list<std::pair<const char*, Variant>> values) {
  LoadStatement(query, statement);
  for (const auto& [name, value] : values) query.ParamByName(name).SetValue(value);
  query.ExecSQL();
}

const char* const kOptionNames[5] = {"o1", "o2", "o3", "o4", "o5"};

void FillDatabase(TADOConnection& connection, const std::vector<DemoDocument>& lectures,
                  const std::vector<DemoDocument>& labs) {
  Schema::CreateTables(connection);
  connection.ExecuteDirect("begin");
  TADOQuery query(&connection);
  for (const Account& a : kAccounts)
    Run(query, Statements::kAddUser, {{"a1", Variant(a.Login)}, {"a2", Variant(a.Password)}, {"a3", Variant(a.Group)}});

  query.SQL().Clear();
  query.SQL().Add("insert into БДТест(Вопрос, Ответ1, Ответ2, Ответ3, Ответ4, Ответ5, ОтветПр)");
  query.SQL().Add("values(:q, :o1, :o2, :o3, :o4, :o5, :r)");
  // Spread the right answers over A … E (the bank lists many as B), so that
  // answering one letter throughout does not pay.
  int position = 0;
  for (const DemoQuestion& q : DemoQuestions()) {
    std::array<const char*, 5> options = q.Options;
    const int correct = position++ % 5 + 1;
    std::swap(options[static_cast<size_t>(q.Correct - 1)], options[static_cast<size_t>(correct - 1)]);
    query.ParamByName("q").SetValue(Variant(q.Text));
    for (int k = 0; k < 5; ++k) query.ParamByName(kOptionNames[k]).SetValue(Variant(options[static_cast<size_t>(k)]));
    query.ParamByName("r").SetValue(Variant(correct));
    query.ExecSQL();
  }

  for (const auto& [user, score] : {std::pair{"ivanov", 24}, {"petrova", 27}, {"ivanov", 19}})
    Run(query, Statements::kStoreResult, {{"a1", Variant(user)}, {"a2", Variant(score)}});
  for (const DemoDocument& d : lectures)
    Run(query, Statements::kAddLecture, {{"a1", Variant(d.Title)}, {"a2", Variant(d.Path)}});
  for (const DemoDocument& d : labs)
    Run(query, Statements::kAddLab, {{"a1", Variant(d.Title)}, {"a2", Variant(d.Path)}});
  for (const Video& v : kVideos)
    Run(query, Statements::kAddVideo, {{"a1", Variant(v.Title)}, {"a2", Variant(v.Path)}});
  connection.ExecuteDirect("commit");
}

}  // namespace

void FillDemoDatabase(TADOConnection& connection) { FillDatabase(connection, DemoLectures(), DemoLabs()); }

int MakeWorkspace(const std::filesystem::path& target, bool force, std::ostream& out, std::ostream& err) {
  const fs::path dir = fs::absolute(target).lexically_normal();
  const fs::path dbPath = dir / "db.mdb";
  if (fs::exists(dbPath) && !force) {
    err << "make-workspace: " << dbPath.string() << " already exists; pass --force to replace it\n";
    return 1;
  }
  fs::create_directories(dir);

  WriteFile(dir / "Clear.htm", BlankPage());
  fs::create_directories(dir / "pictures");
  FlowchartPicture().SavePng((dir / "pictures" / "flowchart.png").string());
  BinaryPicture().SavePng((dir / "pictures" / "binary.png").string());
  const auto lectures = DemoLectures();
  const auto labs = DemoLabs();
  for (const auto* list : {&lectures, &labs})
    for (const DemoDocument& d : *list) WriteFile(dir / d.Path, d.Windows1251 ? Utf8ToCp1251(d.Html) : d.Html);
  unsigned theme = 0;
  for (const Video& v : kVideos) {
    fs::create_directories((dir / v.Path).parent_path());
    WriteVideoLesson({(dir / v.Path).string(), v.VideoCodec, v.AudioCodec, 320, 240, 25, 4, theme++});
  }

  // Build the database beside the real name and move it in place when complete,
  // so that a failure never leaves a half-filled db.mdb.
  const fs::path partial = dir / "db.mdb.partial";
  fs::remove(partial);
  fs::remove(dir / "db.mdb.partial-journal");
  TADOConnection::CreateDatabaseFile(partial.string());
  {
    TADOConnection connection("Data Source=" + partial.string());
    connection.Open();
    FillDatabase(connection, lectures, labs);
  }
  fs::remove(dir / "db.mdb-journal");
  fs::rename(partial, dbPath);

  out << "workspace ready in " << dir.string() << "\n"
            << "  db.mdb: " << std::size(kAccounts) << " accounts, " << DemoQuestions().size() << " questions, "
            << lectures.size() << " lectures, " << labs.size() << " labs, " << std::size(kVideos) << " videos\n"
            << "  accounts (login / password):";
  for (const Account& a : kAccounts) out << " " << a.Login << " / " << a.Password << ";";
  out << "\n";
  return 0;
}

int UpgradeWorkspace(const std::filesystem::path& target, std::ostream& out, std::ostream& err) {
  const fs::path dbPath = fs::absolute(target).lexically_normal() / "db.mdb";
  if (!fs::exists(dbPath)) {
    err << "make-workspace: " << dbPath.string() << " does not exist\n";
    return 1;
  }
  try {
    TADOConnection connection("Data Source=" + dbPath.string());
    connection.Open();
    if (Schema::IsCurrent(connection)) {
      out << dbPath.string() << ": already up to date\n";
      return 0;
    }
    Schema::Upgrade(connection);
    // A file that is not sound is left alone by the upgrade: say so.
    if (!Schema::IsCurrent(connection)) {
      err << "make-workspace: " << dbPath.string()
          << ": not upgraded: a table is missing or the file is damaged (pragma quick_check)\n";
      return 1;
    }
    out << dbPath.string() << ": upgraded, logins, passwords and addresses now compare exactly\n";
    return 0;
  } catch (const std::exception& e) {
    err << "make-workspace: " << e.what() << "\n";
    return 1;
  }
}

// Hostile skins through the real validate command, measured from outside with
// /usr/bin/time -v: each must end with a clear answer under 1 GB of memory and 10 s
// of processor time.
#include <gtest/gtest.h>

#include <unistd.h>
#include <zlib.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <regex>
#include <sstream>

#include "skin/core/acSkinBudget.h"
#include "skin/core/acSkinPackWriter.h"
#include "tests/support/TempFolder.h"

#ifdef SKINCORE_SKINPACK

namespace fs = std::filesystem;

namespace {

struct TRun {
  int Exit = -1;
  std::string Output;
  long PeakKb = -1;
  double Seconds = -1;
};

std::string ReadText(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream s;
  s << in.rdbuf();
  return s.str();
}

void PutInt32(std::vector<std::uint8_t>& out, std::int32_t value) {
  for (int shift = 0; shift < 32; shift += 8) out.push_back(static_cast<std::uint8_t>((static_cast<std::uint32_t>(value) >> shift) & 0xFF));
}

class HostileSkins : public ::testing::Test {
protected:
  void SetUp() override {
    if (!fs::exists("/usr/bin/time")) GTEST_SKIP() << "/usr/bin/time is missing (package \"time\")";
  }

  TRun Validate(const fs::path& skin) {
    const fs::path out = Root / "out.txt", timing = Root / "time.txt";
    const std::string command = "/usr/bin/time -v -o '" + timing.string() + "' '" SKINCORE_SKINPACK "' validate '" +
                                skin.string() + "' > '" + out.string() + "' 2>&1";
    TRun run;
    const int status = std::system(command.c_str());
    run.Exit = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    run.Output = ReadText(out);
    const std::string t = ReadText(timing);
    std::smatch m;
    if (std::regex_search(t, m, std::regex(R"(Maximum resident set size \(kbytes\): (\d+))"))) run.PeakKb = std::stol(m[1]);
    // Processor time, user and system: on a shared machine the wall clock also
    // counts the other processes' turns.
    std::smatch user, system;
    if (std::regex_search(t, user, std::regex(R"(User time \(seconds\): ([\d.]+))")) &&
        std::regex_search(t, system, std::regex(R"(System time \(seconds\): ([\d.]+))")))
      run.Seconds = std::stod(user[1]) + std::stod(system[1]);
    return run;
  }

  void ExpectBounded(const TRun& run, const std::string& what) {
    EXPECT_GT(run.PeakKb, 0) << what;
    EXPECT_LT(run.PeakKb, 1024L * 1024) << what << ": peak memory";
    EXPECT_GE(run.Seconds, 0) << what;
    EXPECT_LT(run.Seconds, 10.0) << what << ": time";
  }

  void Write(const fs::path& path, const std::vector<std::uint8_t>& bytes) {
    fs::create_directories(path.parent_path());
    std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
  }
  void Write(const fs::path& path, const std::string& text) { Write(path, std::vector<std::uint8_t>(text.begin(), text.end())); }

  TTempFolder Root{"skincore-hostile"};
};

// 256 MiB of zeros as one zlib stream (about 260 KB).
std::vector<std::uint8_t> ZeroStream() {
  z_stream zs{};
  deflateInit(&zs, 9);
  std::vector<std::uint8_t> zeros(1 << 20, 0), out;
  std::vector<std::uint8_t> buffer(1 << 16);
  for (int i = 0; i < 256; ++i) {
    zs.next_in = zeros.data();
    zs.avail_in = static_cast<uInt>(zeros.size());
    const int flush = i == 255 ? Z_FINISH : Z_NO_FLUSH;
    do {
      zs.next_out = buffer.data();
      zs.avail_out = static_cast<uInt>(buffer.size());
      deflate(&zs, flush);
      out.insert(out.end(), buffer.data(), buffer.data() + (buffer.size() - zs.avail_out));
    } while (zs.avail_out == 0);
  }
  deflateEnd(&zs);
  return out;
}

}  // namespace

TEST_F(HostileSkins, SixteenEntriesOfAQuarterGigabyteEachAreRefused) {
  const std::vector<std::uint8_t> zeros = ZeroStream();
  std::vector<std::uint8_t> package = WritePackage({{"Options.dat", std::vector<std::uint8_t>{'[', 'G', ']'}}});
  package[4] = 17;  // sixteen more entries follow
  for (int i = 0; i < 16; ++i) {
    const std::string name = "Big" + std::to_string(i) + ".bmp";
    PutInt32(package, static_cast<std::int32_t>(name.size()));
    package.insert(package.end(), name.begin(), name.end());
    PutInt32(package, 256 << 20);
    package.insert(package.end(), zeros.begin(), zeros.end());
  }
  Write(Root / "Bomb.asz", package);
  const TRun run = Validate(Root / "Bomb.asz");
  EXPECT_EQ(run.Exit, 1);
  EXPECT_NE(run.Output.find("Скин слишком велик"), std::string::npos) << run.Output;
  ExpectBounded(run, "bomb package");
}

TEST_F(HostileSkins, HugeFilesInASkinFolderAreRefusedUnread) {
  Write(Root / "Huge" / "Options.dat", "[GLOBALINFO]\r\nVERSION=6\r\n");
  fs::resize_file(Root / "Huge" / "Options.dat", 600ull << 20);
  TRun run = Validate(Root / "Huge");
  EXPECT_EQ(run.Exit, 1);
  EXPECT_NE(run.Output.find("Файл настроек скина «Options.dat» больше допустимых"), std::string::npos) << run.Output;
  ExpectBounded(run, "600 MB options file");

  Write(Root / "Master" / "Options.dat", "[GLOBALINFO]\r\nMASTERBITMAP=MASTER.BMP\r\n");
  Write(Root / "Master" / "MASTER.BMP", "BM");
  fs::resize_file(Root / "Master" / "MASTER.BMP", 600ull << 20);
  run = Validate(Root / "Master");
  EXPECT_EQ(run.Exit, 1);
  EXPECT_NE(run.Output.find("Скин слишком велик: с «MASTER.BMP»"), std::string::npos) << run.Output;
  ExpectBounded(run, "600 MB master bitmap");
}

TEST_F(HostileSkins, LongParentChainsAndManySectionsLoadQuickly) {
  std::string chain = "[GLOBALINFO]\r\nVERSION=6.4\r\n";
  for (int i = 0; i < 1000; ++i)
    chain += "[S" + std::to_string(i) + "]\r\n" + (i ? "PARENTCLASS=S" + std::to_string(i - 1) + "\r\n" : "COLOR=255\r\n");
  Write(Root / "Chain.asz", WritePackage({{"Options.dat", std::vector<std::uint8_t>(chain.begin(), chain.end())}}));
  TRun run = Validate(Root / "Chain.asz");
  EXPECT_EQ(run.Exit, 0) << run.Output;
  ExpectBounded(run, "1,000 chained sections");

  std::string flat = "[GLOBALINFO]\r\nVERSION=6.4\r\n";
  for (int i = 0; i < 10000; ++i) flat += "[S" + std::to_string(i) + "]\r\nCOLOR=" + std::to_string(i) + "\r\n";
  Write(Root / "Flat" / "Options.dat", flat);
  run = Validate(Root / "Flat");
  EXPECT_EQ(run.Exit, 0) << run.Output;
  ExpectBounded(run, "10,000 flat sections");

  // The largest options file allowed, all tiny sections in one long loop.
  std::string loop;
  int count = 0;
  while (loop.size() + 40 < kMaxSkinOptionsBytes) {
    loop += "[L" + std::to_string(count) + "]\r\nPARENTCLASS=L" + std::to_string(count + 1) + "\r\n";
    ++count;
  }
  loop += "[L" + std::to_string(count) + "]\r\nPARENTCLASS=L0\r\n";
  Write(Root / "Loop" / "Options.dat", loop);
  run = Validate(Root / "Loop");
  EXPECT_EQ(run.Exit, 1);
  EXPECT_NE(run.Output.find("parent chain loops back"), std::string::npos);
  ExpectBounded(run, "one loop through the largest options file");
}

#endif

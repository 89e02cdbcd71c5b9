#include <sys/stat.h>

#include <filesystem>
#include <fstream>

#include "media/MediaPlayer.h"
#include "tests/forms/FormsTestUtil.h"
#include "forms/CustomPanel.h"
#include "platform/win/Paint.h"
#include "tools/make-workspace/VideoLesson.h"

namespace fs = std::filesystem;

namespace {
constexpr TColor kPanelColor = 0x00FF00FF;  // no lesson video has this colour

// The workspace's two lesson videos (short ones), written once for the whole suite.
const fs::path& LessonDir() {
  static const fs::path dir = [] {
    fs::path d = fs::temp_directory_path() / ("tb-media-video-" + std::to_string(::getpid()));
    fs::create_directories(d);
    WriteVideoLesson({(d / "lesson1.avi").string(), "mpeg4", "mp2", 320, 240, 25, 2, 0});
    WriteVideoLesson({(d / "lesson2.wmv").string(), "wmv2", "wmav2", 320, 240, 25, 2, 1});
    return d;
  }();
  return dir;
}

void WriteBytes(const fs::path& path, const std::string& bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out << bytes;
}

std::string ReadBytes(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}
}  // namespace

class VideoPlayerTest : public FormsTest {
protected:
  void SetUp() override {
    FormsTest::SetUp();
    Form = App->CreateForm<TForm>();
    Form->SetName("Form7");
    Form->SetBorderStyle(bsNone);
    Form->SetBounds(0, 0, 500, 360);
    Panel = new TPanel(Form);
    Panel->SetName("Panel4");
    Panel->SetParent(Form);
    Panel->SetBounds(10, 50, 400, 300);
    Panel->SetBevelOuter(bvNone);
    Panel->SetColor(kPanelColor);
    Panel->SetCaption("");
    Player = new TMediaPlayer(Form);
    Player->SetName("MediaPlayer1");
    Player->SetParent(Form);
    Player->SetBounds(10, 10, 57, 30);
    Form->Show();
    Player->SetDisplay(Panel);
  }

  void Load(const fs::path& file) {
    Player->SetFileName(file.string());
    Player->Open();
    Player->SetDisplayRect(Panel->ClientRect());
  }
  void PressButton(TMPBtnType button) {
    const TRect r = Player->ButtonRect(button);
    Backend->Click(Player->ClientToScreen({(r.Left + r.Right) / 2, (r.Top + r.Bottom) / 2}));
  }
  // The panel's pixels as the form's window shows them.
  TBitmap PanelPixels() {
    UpdateAllWindows();
    const TBitmap* image = WindowImage(Form->Handle());
    TBitmap out(Panel->Width(), Panel->Height(), TPixelFormat::pf32bit, true);
    for (int y = 0; y < out.Height(); ++y)
      for (int x = 0; x < out.Width(); ++x) out.SetPixel(x, y, image->Pixel(Panel->Left() + x, Panel->Top() + y));
    return out;
  }
  static int CountNot(const TBitmap& b, TColor color) {
    int n = 0;
    for (int y = 0; y < b.Height(); ++y)
      for (int x = 0; x < b.Width(); ++x) n += b.Pixel(x, y) != color;
    return n;
  }
  static int CountDifferent(const TBitmap& a, const TBitmap& b) {
    int n = 0;
    for (int y = 0; y < a.Height(); ++y)
      for (int x = 0; x < a.Width(); ++x) n += a.Pixel(x, y) != b.Pixel(x, y);
    return n;
  }
  // Runs the clock in ticks, as a person watching would see it.
  void Watch(int ms) {
    for (int t = 0; t < ms; t += 50) Backend->Advance(50);
  }

  TForm* Form = nullptr;
  TPanel* Panel = nullptr;
  TMediaPlayer* Player = nullptr;
};

class LessonVideoTest : public VideoPlayerTest, public ::testing::WithParamInterface<const char*> {};

TEST_P(LessonVideoTest, PlayShowsChangingFramesInThePanelAndStopStopsThem) {
  EXPECT_TRUE(Player->PictureBlank());
  Load(LessonDir() / GetParam());
  EXPECT_EQ(Player->Mode(), mpStopped);
  EXPECT_FALSE(Player->HasSound());  // the headless display has no speakers
  EXPECT_TRUE(Player->ButtonEnabled(btPlay));
  EXPECT_FALSE(Player->ButtonEnabled(btStop));

  PressButton(btPlay);
  EXPECT_EQ(Player->Mode(), mpPlaying);
  Watch(250);
  const TBitmap early = PanelPixels();
  Watch(250);
  const TBitmap later = PanelPixels();
  const int area = Panel->Width() * Panel->Height();
  // The picture fills the panel, and it moves.
  EXPECT_GT(CountNot(later, kPanelColor), area * 95 / 100);
  EXPECT_GT(CountDifferent(early, later), 100);
  EXPECT_FALSE(Player->PictureBlank());
  // 500 ms at 25 frames a second: about a dozen pictures, each on time.
  EXPECT_GE(Player->FramesShown(), 10);
  EXPECT_NEAR(Player->Position(), 0.5, 0.1);

  PressButton(btStop);
  EXPECT_EQ(Player->Mode(), mpStopped);
  const int shown = Player->FramesShown();
  const TBitmap stopped = PanelPixels();
  Watch(500);
  EXPECT_EQ(Player->FramesShown(), shown);
  EXPECT_EQ(CountDifferent(stopped, PanelPixels()), 0);

  // Play again carries on from where it stopped.
  PressButton(btPlay);
  Watch(200);
  EXPECT_GT(Player->FramesShown(), shown);
  EXPECT_NEAR(Player->Position(), 0.7, 0.1);
}

INSTANTIATE_TEST_SUITE_P(Workspace, LessonVideoTest, ::testing::Values("lesson1.avi", "lesson2.wmv"));

TEST_F(VideoPlayerTest, OpeningShowsTheFirstPictureWithoutPlaying) {
  Load(LessonDir() / "lesson1.avi");
  Backend->Advance(100);
  EXPECT_EQ(Player->Mode(), mpStopped);
  EXPECT_EQ(Player->FramesShown(), 1);
  EXPECT_DOUBLE_EQ(Player->Position(), 0);
  EXPECT_GT(CountNot(PanelPixels(), kPanelColor), 0);
}

TEST_F(VideoPlayerTest, PictureIsScaledToTheDisplayRectangleOnly) {
  Player->SetFileName((LessonDir() / "lesson1.avi").string());
  Player->Open();
  const TRect rect{20, 30, 177, 150};  // 157 × 120: an odd width, less than half the video's
  Player->SetDisplayRect(rect);
  Player->Play();
  Watch(200);
  EXPECT_EQ(Player->Picture().Width(), 157);
  EXPECT_EQ(Player->Picture().Height(), 120);
  const TBitmap pixels = PanelPixels();
  int inside = 0, outside = 0;
  for (int y = 0; y < pixels.Height(); ++y)
    for (int x = 0; x < pixels.Width(); ++x) {
      const bool in = x >= rect.Left && x < rect.Right && y >= rect.Top && y < rect.Bottom;
      if (pixels.Pixel(x, y) == kPanelColor) continue;
      (in ? inside : outside)++;
    }
  EXPECT_EQ(inside, 157 * 120);
  EXPECT_EQ(outside, 0);
}

TEST_F(VideoPlayerTest, OpeningAnotherFileClosesTheFirst) {
  Load(LessonDir() / "lesson1.avi");
  Player->Play();
  Watch(300);
  ASSERT_GT(Player->FramesShown(), 3);
  Load(LessonDir() / "lesson2.wmv");
  EXPECT_EQ(Player->Mode(), mpStopped);
  EXPECT_EQ(Player->FileName(), (LessonDir() / "lesson2.wmv").string());
  Backend->Advance(100);
  EXPECT_EQ(Player->FramesShown(), 1);
  Player->Close();
  EXPECT_EQ(Player->Mode(), mpNotReady);
  EXPECT_FALSE(Player->ButtonEnabled(btPlay));
  PressButton(btPlay);  // does nothing without a file
  EXPECT_EQ(Player->Mode(), mpNotReady);
}

TEST_F(VideoPlayerTest, PlaybackEndsAtTheLastPictureAndNotifiesOnlyWhenAsked) {
  int notified = 0;
  Player->OnNotify = [&](TObject*) { ++notified; };
  Load(LessonDir() / "lesson1.avi");
  Player->SetNotify(false);  // as the materials browser sets it
  Player->Play();
  Watch(2500);
  EXPECT_EQ(Player->Mode(), mpStopped);
  EXPECT_NEAR(Player->Position(), 1.96, 0.05);  // 50 pictures at 25 a second
  EXPECT_EQ(notified, 0);

  // Play at the end starts again from the beginning; with notification on, the end is told once.
  Player->SetNotify(true);
  Player->Play();
  Watch(300);
  EXPECT_LT(Player->Position(), 0.5);
  Watch(2500);
  EXPECT_EQ(Player->Mode(), mpStopped);
  EXPECT_EQ(notified, 1);
  EXPECT_EQ(Player->NotifyValue(), nvSuccessful);
  EXPECT_FALSE(Player->Notify());
}

// --- files the media system cannot play ---------------------------------------------

class HostileVideoTest : public VideoPlayerTest {
protected:
  // Opens a file; returns the error text (empty when it opened).
  std::string TryOpen(const fs::path& file) {
    Player->SetFileName(file.string());
    try {
      Player->Open();
    } catch (const EMediaError& e) {
      return e.Message();
    }
    return {};
  }
  fs::path Scratch(const std::string& name, const std::string& bytes) {
    const fs::path p = LessonDir() / name;
    WriteBytes(p, bytes);
    return p;
  }
};

TEST_F(HostileVideoTest, MissingEmptyAndNonVideoFilesGiveTheMediaSystemsOwnText) {
  EXPECT_EQ(TryOpen(LessonDir() / "absent.avi"), "No such file or directory");
  EXPECT_EQ(TryOpen(Scratch("empty.avi", "")), "Invalid data found when processing input");
  EXPECT_EQ(TryOpen(Scratch("notes.wmv", "<html><body>Not a video at all.</body></html>\n")),
            "Invalid data found when processing input");
  // After each failure the player is closed and its buttons cannot act.
  EXPECT_EQ(Player->Mode(), mpNotReady);
  EXPECT_FALSE(Player->ButtonEnabled(btPlay));
}

TEST_F(HostileVideoTest, PipesFoldersAndNetworkAddressesAreRefusedWithoutWaiting) {
  const fs::path pipe = LessonDir() / "pipe.avi";
  fs::remove(pipe);
  ASSERT_EQ(::mkfifo(pipe.c_str(), 0600), 0);  // nobody writes: opening it would block
  EXPECT_EQ(TryOpen(pipe), "Invalid argument");
  EXPECT_EQ(TryOpen(LessonDir()), "Is a directory");
  EXPECT_EQ(TryOpen("http://192.0.2.1/lesson.avi"), "Invalid argument");  // not a permitted protocol
  EXPECT_EQ(Player->Mode(), mpNotReady);
}

TEST_F(HostileVideoTest, TruncatedOrDamagedVideoPlaysWhatItHasAndEnds) {
  const std::string whole = ReadBytes(LessonDir() / "lesson1.avi");
  ASSERT_GT(whole.size(), 10000u);
  std::string damaged = whole;
  for (size_t i = whole.size() / 3; i < whole.size() / 2; i += 7) damaged[i] = static_cast<char>(damaged[i] ^ 0x5A);
  for (const auto& [name, bytes] :
       {std::pair<std::string, std::string>{"cut.avi", whole.substr(0, whole.size() * 2 / 5)},
        {"damaged.avi", damaged},
        {"header-only.avi", whole.substr(0, 4096)}}) {
    SCOPED_TRACE(name);
    const std::string error = TryOpen(Scratch(name, bytes));
    if (!error.empty()) continue;  // refused with FFmpeg's text: also fine
    Player->SetDisplayRect(Panel->ClientRect());
    Player->Play();
    Watch(2500);
    EXPECT_EQ(Player->Mode(), mpStopped);  // it reached an end and did not hang
  }
}

TEST_F(HostileVideoTest, AFrameSizeTheHeaderGetsWrongIsRefusedWithAMessage) {
  // Every place the containers keep the size (AVI's main and stream headers,
  // ASF's stream properties) says the same lie.
  auto lying = [](const std::string& bytes, std::int32_t width, std::int32_t height) {
    const std::int32_t truth[2] = {320, 240};
    const std::int32_t lie[2] = {width, height};
    const std::string from(reinterpret_cast<const char*>(truth), 8), to(reinterpret_cast<const char*>(lie), 8);
    std::string out = bytes;
    int replaced = 0;
    for (std::size_t at = out.find(from); at != std::string::npos; at = out.find(from, at + 8), ++replaced)
      out.replace(at, 8, to);
    EXPECT_GE(replaced, 1);
    return out;
  };
  // WMV pictures carry no size of their own: the header's is all there is.
  for (const auto& [width, height] : {std::pair{60000, 60000}, std::pair{320, -240}, std::pair{0, 0}}) {
    const std::string name = "lying-" + std::to_string(width) + "x" + std::to_string(height) + ".wmv";
    const std::string error = TryOpen(Scratch(name, lying(ReadBytes(LessonDir() / "lesson2.wmv"), width, height)));
    EXPECT_EQ(error, FrameSizeErrorText()) << name;
    EXPECT_EQ(Player->Mode(), mpNotReady) << name;
  }
  EXPECT_NE(FrameSizeErrorText().find("размер кадра"), std::string::npos);
  // MPEG-4 pictures do carry theirs, and the video shows at its true size.
  const std::string error = TryOpen(Scratch("lying.avi", lying(ReadBytes(LessonDir() / "lesson1.avi"), 60000, 60000)));
  ASSERT_EQ(error, "");
  Player->SetDisplayRect(Panel->ClientRect());
  Watch(200);
  EXPECT_FALSE(Player->PictureBlank());
  EXPECT_GT(CountNot(PanelPixels(), kPanelColor), Panel->Width() * Panel->Height() * 9 / 10);
}

TEST_F(HostileVideoTest, RandomBytesWithAVideoNameNeverCrash) {
  std::string noise(64 * 1024, '\0');
  unsigned seed = 12345;
  for (char& c : noise) c = static_cast<char>((seed = seed * 1103515245u + 12345u) >> 16);
  const std::string error = TryOpen(Scratch("noise.avi", "RIFF" + noise));
  if (!error.empty()) return;  // refused with FFmpeg's text
  Player->SetDisplayRect(Panel->ClientRect());
  Player->Play();
  Watch(3000);
  EXPECT_EQ(Player->Mode(), mpStopped);
}

// --- the display's life --------------------------------------------------------------

TEST_F(VideoPlayerTest, DisplayAndPlayerMayGoAwayInEitherOrder) {
  Load(LessonDir() / "lesson1.avi");
  Player->Play();
  Watch(200);
  ASSERT_GT(CountNot(PanelPixels(), kPanelColor), 0);

  // The player goes first: the display paints as a plain panel again.
  delete Player;
  Player = nullptr;
  InvalidateRect(Panel->Handle(), nullptr, true);
  EXPECT_EQ(CountNot(PanelPixels(), kPanelColor), 0);

  // The display goes first: the player plays on with nowhere to show it.
  Player = new TMediaPlayer(Form);
  Player->SetParent(Form);
  Player->SetDisplay(Panel);
  Load(LessonDir() / "lesson2.wmv");
  Player->Play();
  delete Panel;
  Panel = nullptr;
  EXPECT_EQ(Player->Display(), nullptr);
  Watch(300);
  EXPECT_EQ(Player->Mode(), mpPlaying);
  EXPECT_GT(Player->FramesShown(), 3);
}

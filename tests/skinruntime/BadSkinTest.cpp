// Bad skins through the manager: they load what they can, controls bind, and every
// command the skin data answers still answers without a crash.
#include "tests/skinruntime/RuntimeTestUtil.h"

namespace {

std::string ManyStops(int count) {
  std::string data;
  for (int i = 0; i < count; ++i) data += "255;65280;" + std::to_string(i % 101) + ";" + std::to_string(i % 3) + ";0;";
  return data;
}

struct TBadCase {
  const char* Name;
  std::string Options;
  const char* Section;
};

class BadSkinTest : public SkinRuntimeTest, public ::testing::WithParamInterface<int> {
protected:
  static std::vector<TBadCase> Cases() {
    const std::string master = "[GLOBALINFO]\nVERSION=6.4\nMASTERBITMAP=MASTER.BMP\n";
    return {
        {"ParentLoop", master + "[A]\nPARENTCLASS=B\n[B]\nPARENTCLASS=C\n[C]\nPARENTCLASS=A\nTRANSPARENCY=50\n", "A"},
        {"SelfParent", master + "[A]\nPARENTCLASS=A\n", "A"},
        {"MaskOutsideMaster",
         master + "[A]\nBORDERSMASK=^0500^0500^0900^0900^0010^0010^0010^0010^3^1^0^0\n"
                  "IMGTOPLEFT=@0100@0100@9999@9999@1@0\n",
         "A"},
        {"NegativeMask", master + "[A]\nBORDERSMASK=^0040^0040^0000^0000^0000^0000^0000^0000^1^0^0^0\n", "A"},
        {"EmptyTexture", master + "[A]\nPATTERN=~0005~0005~0005~0005~01~0\nHOTPATTERN=~0000~0000~0000~0000~04~1\nIMAGEPERCENT=100\n",
         "A"},
        {"ImageCountZero", master + "[A]\nBORDERSMASK=^0000^0000^0030^0030^0000^0000^0000^0000^0^0^0^0\n", "A"},
        {"ImageCountHuge", master + "[A]\nBORDERSMASK=^0000^0000^0030^0030^0000^0000^0000^0000^10000^1^0^0\n", "A"},
        {"ThousandStops",
         master + "[A]\nGRADIENTPERCENT=100\nGRADIENTDATA=" + ManyStops(1000) + "\nHOTGRADIENTPERCENT=100\nHOTGRADIENTDATA=" +
             ManyStops(1000) + "\n",
         "A"},
        {"WildPercents", master + "[A]\nTRANSPARENCY=-500\nHOTTRANSPARENCY=5000\nGRADIENTPERCENT=-7\nIMAGEPERCENT=300\n", "A"},
    };
  }
};

// Drives everything the skin data answers for a control bound to the bad section.
void ExerciseControl(TTestSkinPanel* panel, TTestSkinGraphic* child) {
  for (bool hot : {false, true}) {
    (void)panel->Data.GetColor(hot);
    // A fully see-through section passes the request on to the plain form, which
    // leaves it unanswered; the asking painter then falls back to colours.
    TacBGInfo request;
    panel->Data.AnswerBackground(request, hot);
    EXPECT_LE(request.BgType, btCache);
  }
  for (unsigned command : {AC_GETCOLOR, AC_GETBGCHANGED, AC_UPDATEOPACITY, AC_GETSKININDEX, AC_ISSUSPENDED})
    panel->Perform(SM_ALPHACMD, MakeCommandWParam(command), 0);
  panel->Perform(SM_ALPHACMD, MakeCommandWParam(AC_UPDATEOPACITY), 1);
  panel->Perform(SM_ALPHACMD, MakeCommandWParam(AC_PARENTMOVED, 1), 0);
  TacBGInfo fromChild;
  SendAlphaCmd(child, AC_GETCACHE, reinterpret_cast<LPARAM>(&fromChild));
  if (fromChild.BgType == btCache) {
    EXPECT_NE(fromChild.Bmp, nullptr);
  }
  (void)panel->Data.BorderThickness();
  (void)panel->Data.BackgroundChanged();
  (void)FontSourceIndex(child, child->Data.SkinIndex());
  panel->Perform(CM_MOUSEENTER, 0, 0);
  panel->Perform(CM_MOUSELEAVE, 0, 0);
  panel->SetBounds(panel->Left(), panel->Top(), panel->Width() + 3, panel->Height() + 2);
}

}  // namespace

TEST_P(BadSkinTest, LoadsBindsAndAnswers) {
  const TBadCase bad = Cases()[static_cast<std::size_t>(GetParam())];
  SCOPED_TRACE(bad.Name);
  TsSkinManager* manager = NewManager();
  AddStoredSkin(*manager, "Bad", bad.Options, {{"Master.bmp", BmpBytes(64, 48, 0x808080)}});
  ASSERT_NO_THROW(manager->SetSkinName("Bad"));
  ASSERT_TRUE(manager->Active());
  EXPECT_EQ(manager->SkinInfo(), "6.4");

  TTestSkinPanel* panel = nullptr;
  TTestSkinGraphic* child = nullptr;
  TForm* form = NewForm([&](TForm* f) {
    panel = AddControl<TTestSkinPanel>(f, 10, 10, 120, 60);
    panel->Data.SetSkinSection(bad.Section);
    child = AddControl<TTestSkinGraphic>(panel, 5, 5, 40, 20);
    child->Data.SetSkinSection(bad.Section);
  });
  EXPECT_EQ(panel->Data.SkinIndex(), manager->SectionIndexOf(bad.Section));
  EXPECT_GE(panel->Data.SkinIndex(), 0);
  form->Show();
  ProcessPendingMessages();
  ExerciseControl(panel, child);

  // Adjustments and a new announcement reload and rebind the same bad skin.
  ASSERT_NO_THROW(manager->SetHueOffset(90));
  ASSERT_NO_THROW(manager->SetSaturation(-40));
  ASSERT_NO_THROW(manager->NotifyNewSkin(true));
  ProcessPendingMessages();
  EXPECT_EQ(panel->Data.SkinIndex(), manager->SectionIndexOf(bad.Section));
  ExerciseControl(panel, child);
  manager->SetActive(false);
  EXPECT_EQ(panel->Data.SkinIndex(), -1);
  ExerciseControl(panel, child);
}

INSTANTIATE_TEST_SUITE_P(Cases, BadSkinTest, ::testing::Range(0, 9));

TEST_F(SkinRuntimeTest, ThousandStopsGiveTheFirstStopsMode) {
  TsSkinManager* manager = NewManager();
  AddStoredSkin(*manager, "Stops", "[A]\nGRADIENTPERCENT=100\nGRADIENTDATA=" + ManyStops(1000) + "\n");
  manager->SetSkinName("Stops");
  TTestSkinPanel* panel = nullptr;
  NewForm([&](TForm* f) {
    panel = AddControl<TTestSkinPanel>(f, 0, 0, 10, 10);
    panel->Data.SetSkinSection("A");
  });
  ASSERT_EQ(manager->Section(panel->Data.SkinIndex())->GradientStops.size(), 1000u);
  EXPECT_EQ(panel->Data.BackgroundKind(), 2) << "mode 0 of the first stop";
}

TEST_F(SkinRuntimeTest, LoopingParentsResolveTheSectionItself) {
  TsSkinManager* manager = NewManager();
  AddStoredSkin(*manager, "Loop", "[A]\nPARENTCLASS=B\nCOLOR=255\n[B]\nPARENTCLASS=A\nTRANSPARENCY=100\n");
  manager->SetSkinName("Loop");
  TTestSkinPanel* panel = nullptr;
  NewForm([&](TForm* f) {
    f->SetColor(0x00FF00);
    panel = AddControl<TTestSkinPanel>(f, 0, 0, 10, 10);
    panel->Data.SetSkinSection("A");
  });
  EXPECT_EQ(panel->Data.GetColor(false), 0x00FF00) << "A inherits the transparency of B";
}

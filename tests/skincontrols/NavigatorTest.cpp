// The skinned record navigator: layout, glyphs and sections, enabling, the delete
// confirmation and the auto-repeat of Prior and Next.
#include "EditTestKit.h"

#include "skin/controls/acNavGlyphs.h"
#include "skin/controls/sDBNavigator.h"
#include "skin/controls/sPanel.h"

class NavigatorTest : public EditTestBase {
protected:
  void Build(int width = 377, int height = 33) {
    Form = MakeForm([&](TForm* form) {
      form->SetName("Form4");
      OpenDatabase(form);
      Panel = Add<TsPanel>(form, form, "sPanel1", 0, 0, 500, 360);
      Panel->SetAlign(alClient);
      Nav = Add<TsDBNavigator>(form, Panel, "sDBNavigator1", 20, 100, width, height);
      Nav->SetShowHint(true);
      Nav->SetDataSource(Source);
    });
  }
  std::string Enabled() {
    std::string out;
    for (int i = 0; i < kNavButtonCount; ++i) out += Nav->Buttons(static_cast<TNavigateBtn>(i))->Enabled() ? '1' : '0';
    return out;
  }
  TsNavButton* Button(TNavigateBtn b) { return Nav->Buttons(b); }

  TForm* Form = nullptr;
  TsPanel* Panel = nullptr;
  TsDBNavigator* Nav = nullptr;
};

TEST_F(NavigatorTest, TenButtonsKeepTheWidthGivenAtLoadAndShareItOut) {
  Build();
  // 377 wide with one bevel: 37 pixels each, the 2nd, 4th ... 10th 38; 30 high.
  EXPECT_EQ(Nav->Width(), 377);
  for (int i = 0; i < kNavButtonCount; ++i) {
    TsNavButton* b = Button(static_cast<TNavigateBtn>(i));
    EXPECT_EQ(b->Width(), i % 2 ? 38 : 37) << i;
    EXPECT_EQ(b->Height(), 30) << i;
    EXPECT_EQ(b->Top(), 1);
    EXPECT_EQ(b->Hint(), DefaultNavHint(static_cast<TNavigateBtn>(i)));
    EXPECT_EQ(b->SkinData()->SkinSection(), "TOOLBUTTON");
    EXPECT_GE(b->SkinData()->SkinIndex(), 0);
    EXPECT_FALSE(b->ShowCaption());
  }
  EXPECT_EQ(Button(nbFirst)->Left(), 1);
  EXPECT_EQ(Button(nbRefresh)->Left() + Button(nbRefresh)->Width(), 376);
  EXPECT_EQ(Nav->SkinData()->SkinSection(), "TOOLBAR");
  EXPECT_GE(Nav->SkinData()->SkinIndex(), 0);

  // Hidden buttons move beyond the right edge; the visible ones share the width.
  Nav->SetVisibleButtons({nbFirst, nbPrior, nbNext, nbLast});
  EXPECT_EQ(Button(nbFirst)->Width() + Button(nbPrior)->Width() + Button(nbNext)->Width() + Button(nbLast)->Width(),
            375);
  EXPECT_GT(Button(nbPost)->Left(), Nav->Width());
  // Resized with its window, never narrower than six pixels a button.
  Nav->SetBounds(Nav->Left(), Nav->Top(), 5, 5);
  EXPECT_EQ(Nav->Width(), 4 * 6 + 2);
  EXPECT_EQ(Nav->Height(), 2 + 6);
}

TEST_F(NavigatorTest, HintsOverrideLineByLine) {
  Build();
  Nav->Hints().Add("Первая");
  Nav->Hints().Add("");
  EXPECT_EQ(Button(nbFirst)->Hint(), "Первая");
  EXPECT_EQ(Button(nbPrior)->Hint(), "Prior record");
  Nav->Hints().Clear();
  EXPECT_EQ(Button(nbFirst)->Hint(), "First record");
}

TEST_F(NavigatorTest, EnablingFollowsPositionStateAndTheNavigator) {
  Build();
  // first prior next last insert delete edit post cancel refresh
  EXPECT_EQ(Enabled(), "0011111001");
  Query->Last();
  EXPECT_EQ(Enabled(), "1100111001");
  Query->Prior();
  EXPECT_EQ(Enabled(), "1111111001");
  Query->Edit();
  EXPECT_EQ(Enabled(), "1111110111");
  Query->Cancel();
  Nav->SetEnabled(false);
  EXPECT_EQ(Enabled(), "0000000000");
  Nav->SetEnabled(true);
  EXPECT_EQ(Enabled(), "1111111001");
  Query->Close();
  EXPECT_EQ(Enabled(), "0000000000");
  // No rows: nothing to move to or delete, but a row can be inserted.
  Query->SQL().Clear();
  Query->SQL().Add("select * from entries where amount = 99");
  Query->Open();
  EXPECT_EQ(Enabled(), "0000101001");
}

TEST_F(NavigatorTest, DeleteAsksFirstAndCancelKeepsTheRecord) {
  Build();
  const int rows = Query->RecordCount();
  const std::string left = std::to_string(rows - 1);
  std::string failure = RunScript({"click Form4.sDBNavigator1.nbDelete", "expect MessageBox.Message.Caption == Delete record?",
                                   "expect MessageBox.Caption == Confirm", "click MessageBox.Cancel",
                                   "expect Form4.ADOQuery1.RecordCount == " + std::to_string(rows),
                                   "click Form4.sDBNavigator1.nbDelete", "click MessageBox.OK",
                                   "expect Form4.ADOQuery1.RecordCount == " + left});
  EXPECT_EQ(failure, "");
  EXPECT_EQ(Query->RecordCount(), rows - 1);
  // Without the confirmation the record goes at once.
  Nav->SetConfirmDelete(false);
  Nav->BtnClick(nbDelete);
  EXPECT_EQ(Query->RecordCount(), rows - 2);
}

TEST_F(NavigatorTest, ClicksReportTheButtonAndWithoutDataOnlyReport) {
  Build();
  std::vector<TNavigateBtn> before, after;
  Nav->BeforeAction = [&](TObject*, TNavigateBtn b) { before.push_back(b); };
  Nav->OnClick = [&](TObject*, TNavigateBtn b) { after.push_back(b); };
  Nav->BtnClick(nbLast);
  EXPECT_EQ(Query->RecNo(), 30);
  Query->Close();
  Nav->BtnClick(nbFirst);
  EXPECT_EQ(before, std::vector<TNavigateBtn>{nbLast});
  EXPECT_EQ(after, (std::vector<TNavigateBtn>{nbLast, nbFirst}));
}

TEST_F(NavigatorTest, HoldingNextMovesAtOnceThenAfter400ThenEvery100) {
  Build();
  ASSERT_EQ(Query->RecNo(), 1);
  Backend->MouseMove(CenterOf(Button(nbNext)));
  Backend->MouseDown(CenterOf(Button(nbNext)), TMouseButton::Left);
  Settle();
  EXPECT_EQ(Query->RecNo(), 2);
  EXPECT_EQ(Button(nbNext)->PaintState(), TacPaintState::Pressed);
  Wait(399);
  EXPECT_EQ(Query->RecNo(), 2);
  Wait(1);
  EXPECT_EQ(Query->RecNo(), 3);
  Wait(99);
  EXPECT_EQ(Query->RecNo(), 3);
  Wait(1);
  EXPECT_EQ(Query->RecNo(), 4);
  Wait(300);
  EXPECT_EQ(Query->RecNo(), 7);
  Backend->MouseUp(CenterOf(Button(nbNext)), TMouseButton::Left);
  Settle();
  // The release acts no more, and the repeating stops.
  EXPECT_EQ(Query->RecNo(), 7);
  Wait(500);
  EXPECT_EQ(Query->RecNo(), 7);
  EXPECT_FALSE(Button(nbNext)->Repeating());
}

TEST_F(NavigatorTest, GlyphsAreOurOwnTenWithSmoothEdges) {
  for (int i = 0; i < kNavButtonCount; ++i) {
    const TBitmap& g = NavGlyph(i);
    EXPECT_EQ(g.Height(), 13) << i;
    EXPECT_GE(g.Width(), 9) << i;
    EXPECT_LE(g.Width(), 15) << i;
    EXPECT_EQ(g.PixelFormat(), TPixelFormat::pf32bit);
    int opaque = 0, partial = 0;
    for (int y = 0; y < g.Height(); ++y)
      for (int x = 0; x < g.Width(); ++x) {
        const int a = g.ScanLine(y)[x * 4 + 3];
        opaque += a == 255 ? 1 : 0;
        partial += a > 0 && a < 255 ? 1 : 0;
      }
    EXPECT_GT(opaque, 6) << i;
    EXPECT_GT(partial, 0) << i;
  }
  // The disabled glyphs are drawn blended into the face: a disabled button's face
  // differs from the enabled one.
  Build();
  TsNavButton* first = Button(nbFirst);
  ASSERT_FALSE(first->Enabled());
  first->RenderCache();
  const TColor disabled = first->SkinData()->Cache()->Pixel(first->Width() / 2 - 3, first->Height() / 2);
  first->SetEnabled(true);
  first->RenderCache();
  const TColor enabled = first->SkinData()->Cache()->Pixel(first->Width() / 2 - 3, first->Height() / 2);
  EXPECT_NE(disabled & 0xFFFFFF, enabled & 0xFFFFFF);
}

TEST_F(NavigatorTest, ArrowsMoveTheFocusedButtonAndSpaceClicksIt) {
  Build();
  Nav->SetTabStop(true);
  Nav->SetFocus();
  Settle();
  ASSERT_TRUE(Nav->Focused());
  EXPECT_EQ(Nav->FocusedButton(), nbFirst);
  Backend->Key(VK_LEFT);  // stops at the first
  EXPECT_EQ(Nav->FocusedButton(), nbFirst);
  Backend->Key(VK_RIGHT);
  Backend->Key(VK_RIGHT);
  EXPECT_EQ(Nav->FocusedButton(), nbNext);
  Backend->Key(VK_SPACE);
  Settle();
  EXPECT_EQ(Query->RecNo(), 2);
  // A disabled focused button does nothing.
  Backend->Key(VK_LEFT);
  Backend->Key(VK_LEFT);
  Query->First();
  Backend->Key(VK_SPACE);
  Settle();
  EXPECT_EQ(Query->RecNo(), 1);
  // Pressing a button makes it the focused one.
  Backend->Click(CenterOf(Button(nbLast)));
  Settle();
  EXPECT_EQ(Nav->FocusedButton(), nbLast);
  EXPECT_EQ(Query->RecNo(), 30);
}

// A single border is Ctl3D x 3 + 1 wide: four pixels with the 3D look, one without.
TEST_F(NavigatorTest, ASingleBorderIsFourPixelsIn3DAndOneFlat) {
  Build();
  Nav->SetBevelOuter(bvNone);
  Nav->SetBorderStyle(bsSingle);
  EXPECT_EQ(Nav->BorderSize(), 4);
  Nav->SetCtl3D(false);
  EXPECT_EQ(Nav->BorderSize(), 1);
  Nav->SetBounds(Nav->Left(), Nav->Top(), Nav->Width() + 1, Nav->Height());  // lays the buttons out again
  EXPECT_EQ(Button(nbFirst)->Left(), 1);
  EXPECT_EQ(Button(nbFirst)->Top(), 1);
  EXPECT_EQ(Button(nbFirst)->Height(), Nav->Height() - 2 - 1);
  int total = 0;
  for (int i = 0; i < kNavButtonCount; ++i) total += Button(static_cast<TNavigateBtn>(i))->Width();
  EXPECT_EQ(total, Nav->Width() - 2);
  Nav->SetCtl3D(true);
  EXPECT_EQ(Button(nbFirst)->Left(), 4);
}

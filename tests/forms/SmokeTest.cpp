#include "FormsTestUtil.h"
#include "forms/Button.h"

TEST_F(FormsTest, ButtonClickReachesHandler) {
  auto* form = App->CreateForm<TForm>();
  form->SetBounds(100, 100, 300, 200);
  auto* b = new TButton(form);
  b->SetParent(form);
  b->SetBounds(10, 10, 80, 25);
  b->SetCaption("Go");
  int clicks = 0;
  b->OnClick = [&](TObject*) { ++clicks; };
  form->Show();
  Pump();
  Click(b);
  Pump();
  EXPECT_EQ(clicks, 1);
}

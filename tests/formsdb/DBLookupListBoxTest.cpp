#include "FormsDbTestUtil.h"
#include "forms/db/DBLookupListBox.h"

class DBLookupListBoxTest : public FormsDbTest {
protected:
  void SetUp() override {
    FormsDbTest::SetUp();
    const TBoundQuery items = AddBoundQuery(Form, Form->ADOConnection1, 2, "select * from items");
    Items = items.Query;
    Source = items.Source;
    List = Add<TDBLookupListBox>("sDBLookupListBox1", 10, 10, 200, 150);
    List->SetListSource(Source);
    List->SetListField("title");
    List->SetKeyField("note");
    List->OnDblClick = [this](TObject*) { Opened.push_back(List->KeyValue().AsString()); };
    Form->Show();
    Pump();
  }
  TADOQueryComponent* Items = nullptr;
  TDataSourceComponent* Source = nullptr;
  TDBLookupListBox* List = nullptr;
  std::vector<std::string> Opened;
};

TEST_F(DBLookupListBoxTest, ShowsTheListColumnAndKeyIsNullUntilTheFirstChoice) {
  ASSERT_EQ(List->Items().Count(), 3);
  EXPECT_EQ(List->Items().Get(0), "Введение");
  EXPECT_EQ(List->Items().Get(2), "Без адреса");
  EXPECT_TRUE(List->KeyValue().IsNull());
  EXPECT_EQ(List->ItemIndex(), -1);
  std::string failure = RunScript({"expect Form4.sDBLookupListBox1.KeyValue.IsNull == true",
                                   "select Form4.sDBLookupListBox1 1",
                                   "expect Form4.sDBLookupListBox1.KeyValue == loops.htm",
                                   "expect Form4.sDBLookupListBox1.KeyValue.IsNull == false"});
  EXPECT_EQ(failure, "");
  // The row without an address has a null key.
  List->SetItemIndex(2);
  EXPECT_TRUE(List->KeyValue().IsNull());
}

TEST_F(DBLookupListBoxTest, KeySurvivesReloadsOfTheList) {
  List->SetItemIndex(1);
  ASSERT_EQ(List->KeyValue().AsString(), "loops.htm");
  // A search that leaves the chosen row out, then all rows again.
  Items->Close();
  Items->SQL().Clear();
  Items->SQL().Add("select * from items where title = 'Введение'");
  Items->Open();
  EXPECT_EQ(List->Items().Count(), 1);
  EXPECT_EQ(List->ItemIndex(), -1);
  EXPECT_EQ(List->KeyValue().AsString(), "loops.htm");
  Items->Close();
  EXPECT_EQ(List->Items().Count(), 0);
  EXPECT_EQ(List->KeyValue().AsString(), "loops.htm");
  Items->SQL().Clear();
  Items->SQL().Add("select * from items");
  Items->Open();
  EXPECT_EQ(List->ItemIndex(), 1);
  EXPECT_EQ(List->KeyValue().AsString(), "loops.htm");
}

TEST_F(DBLookupListBoxTest, DoubleClickReportsTheChosenKey) {
  std::string failure = RunScript({"dblselect Form4.sDBLookupListBox1 0"});
  EXPECT_EQ(failure, "");
  ASSERT_EQ(Opened.size(), 1u);
  EXPECT_EQ(Opened[0], "intro.htm");
}

TEST_F(DBLookupListBoxTest, DoubleClickOnAnEmptyListFindsANullKey) {
  Items->Close();
  Items->SQL().Clear();
  Items->SQL().Add("select * from items where title = 'нет'");
  Items->Open();
  std::string failure = RunScript({"dblclick Form4.sDBLookupListBox1 20,5"});
  EXPECT_EQ(failure, "");
  // The handler's conversion of the null key raised; the error reached the application.
  EXPECT_TRUE(Opened.empty());
  ASSERT_EQ(Errors.size(), 1u);
  EXPECT_NE(Errors[0].find("Null"), std::string::npos);
}

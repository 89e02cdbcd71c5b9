#include "FormsDbTestUtil.h"
#include "forms/db/DBEdit.h"

TEST_F(FormsDbTest, DatasetsAreComponentsOfTheirFormFoundByName) {
  EXPECT_EQ(Form->FindComponent("ADOQuery1"), static_cast<TComponent*>(Form->ADOQuery1));
  EXPECT_EQ(Form->FindComponent("DataSource1"), static_cast<TComponent*>(Form->DataSource1));
  EXPECT_EQ(Form->ADOQuery1->ClassName(), "TADOQuery");
  EXPECT_EQ(Form->ADOConnection1->ClassName(), "TADOConnection");
  EXPECT_EQ(Form->DataSource1->DataSet(), static_cast<TDataSet*>(Form->ADOQuery1));
  EXPECT_EQ(Form->ADOQuery1->RecordCount(), 30);
  std::string error;
  EXPECT_EQ(TScriptDriver::ReadProperty("Form4.ADOQuery1.RecordCount", error), "30");
  EXPECT_EQ(TScriptDriver::ReadProperty("Form4.ADOQuery1.State", error), "dsBrowse");
  EXPECT_EQ(TScriptDriver::ReadProperty("Form4.ADOConnection1.Connected", error), "true");
}

TEST_F(FormsDbTest, ConnectionGoneFirstClosesAndReleasesItsDatasets) {
  // Another window's query over this window's connection.
  TForm other(nullptr);
  auto* query = new TADOQueryComponent(&other);
  query->SetConnection(Form->ADOConnection1);
  query->SQL().Add("select * from items");
  query->Open();
  Form->ADOConnection1->Close();
  EXPECT_FALSE(Form->ADOQuery1->Active());
  EXPECT_FALSE(query->Active());
  Form->ADOConnection1->Open();
  query->Open();
  delete Form->ADOConnection1;
  EXPECT_EQ(query->Connection(), nullptr);
  EXPECT_EQ(query->ConnectionComponent(), nullptr);
  EXPECT_FALSE(query->Active());
  EXPECT_THROW(query->Open(), std::exception);
}

TEST_F(FormsDbTest, DataSourceAndControlsLetGoOfADatasetThatIsGone) {
  auto* edit = Add<TDBEdit>("DBEdit1", 10, 10, 200, 23);
  edit->SetDataSource(Form->DataSource1);
  edit->SetDataField("title");
  EXPECT_EQ(edit->Text(), "Запись 1");
  delete Form->ADOQuery1;
  EXPECT_EQ(Form->DataSource1->DataSet(), nullptr);
  EXPECT_EQ(Form->DataSource1->DataSetComponent(), nullptr);
  EXPECT_EQ(edit->Field(), nullptr);
  delete Form->DataSource1;
  EXPECT_EQ(edit->DataSource(), nullptr);
}

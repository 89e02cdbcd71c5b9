#include "app/Unit6.h"

#include "app/AppControls.h"
#include "app/Unit1.h"
#include "app/data/Statements.h"
#include "forms/db/DBComponents.h"
#include "forms/db/DBGrid.h"

TForm6* Form6 = nullptr;

TForm6::TForm6(TComponent* owner) : TForm(owner) {
  SetName("Form6");
  SetCaption("Результаты тестов");
  SetBorderStyle(bsDialog);
  SetPosition(poScreenCenter);
  SetClientSize(267, 219);

  ADOQuery1 = new TADOQueryComponent(this);
  ADOQuery1->SetName("ADOQuery1");
  ADOQuery1->SetConnection(Form1->ADOConnection1);
  LoadStatement(*ADOQuery1, Statements::kSelectResults);
  DataSource1 = new TDataSourceComponent(this);
  DataSource1->SetName("DataSource1");
  DataSource1->SetDataSet(ADOQuery1);

  DBGrid1 = MakeControl<TDBGrid>(this, this, "DBGrid1", 0, 0, 267, 219);
  DBGrid1->SetAlign(alClient);
  DBGrid1->Font().SetName("Arial");
  DBGrid1->Font().SetHeight(-16);
  DBGrid1->Font().SetStyle({fsBold});
  DBGrid1->TitleFont().SetName("MS Sans Serif");
  // Stored scores are not for changing: only the administrator's view may edit,
  // and the test menu opens it for them.
  DBGrid1->SetReadOnly(true);
  DBGrid1->SetDataSource(DataSource1);

  ADOQuery1->Open();
}

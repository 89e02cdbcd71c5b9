#pragma once
// The test bank editor: one question at a time with its five options and the
// number of the right one, edited in place, stepped through with the navigator,
// and a search by the question's text.
#include <string>

#include "data/Forward.h"
#include "forms/Form.h"
#include "forms/Forward.h"
#include "forms/db/Forward.h"
#include "skin/controls/Forward.h"

class TForm4 : public TForm {
public:
  explicit TForm4(TComponent* owner);
  std::string ClassName() const override { return "TForm4"; }

  TsPanel* sPanel1;      // fills the window
  TsLabel* sLabel1;      // "Вопрос"
  TsDBMemo* sDBMemo1;    // Вопрос
  TsLabel* sLabel2;      // "Вариант А"
  TsDBMemo* sDBMemo2;    // Ответ1
  TsLabel* sLabel3;      // "Вариант B"
  TsDBMemo* sDBMemo3;    // Ответ2
  TsLabel* sLabel4;      // "Вариант C"
  TsDBMemo* sDBMemo4;    // Ответ3
  TsLabel* sLabel5;      // "Вариант D"
  TsDBMemo* sDBMemo5;    // Ответ4
  TsLabel* sLabel6;      // "Вариант Е"
  TsDBMemo* sDBMemo6;    // Ответ5
  TsLabel* sLabel7;      // "Номер правильного ответа"
  TsDBEdit* sDBEdit1;    // ОтветПр
  TsGroupBox* sGroupBox1;  // "Поиск"
  TsLabel* sLabel8;      // "Вопрос"
  TsMemo* sMemo1;        // the search text
  TsButton* sButton1;    // "Найти"
  TsButton* sButton2;    // "Все записи"
  TsDBNavigator* sDBNavigator1;
  TsButton* sButton3;    // "Выход"
  TADOQueryComponent* ADOQuery1;
  TDataSourceComponent* DataSource1;

  void sButton1Click(TObject* sender);
  void sButton2Click(TObject* sender);
  void sButton3Click(TObject* sender);
  void ADOQuery1BeforePost(TDataSet& dataSet);
};

extern TForm4* Form4;

#pragma once
// A window showing every standard control and dialog of the framework, for
// people and for screenshots.
#include "forms/BitBtn.h"
#include "forms/Button.h"
#include "forms/CheckBox.h"
#include "forms/CustomEdit.h"
#include "forms/CustomLabel.h"
#include "forms/CustomPanel.h"
#include "forms/Form.h"
#include "forms/GroupBox.h"
#include "forms/Image.h"
#include "forms/ListBox.h"
#include "forms/Memo.h"
#include "forms/OpenDialog.h"
#include "forms/SpeedButton.h"
#include "forms/Timer.h"

class TGalleryForm : public TForm {
public:
  explicit TGalleryForm(TComponent* owner);
  std::string ClassName() const override { return "TGalleryForm"; }

  TPanel* Panel1;
  TLabel* Title;
  TGroupBox* GroupBox1;
  TLabel* Label1;
  TEdit* Edit1;
  TLabel* Label2;
  TEdit* Edit2;
  TMemo* Memo1;
  TGroupBox* GroupBox2;
  TSpeedButton* SpeedButton1;
  TSpeedButton* SpeedButton2;
  TSpeedButton* SpeedButton3;
  TSpeedButton* SpeedButton4;
  TCheckBox* CheckBox1;
  TCheckBox* CheckBox2;
  TButton* Button1;
  TButton* Button2;
  TButton* Button3;
  TButton* Button4;
  TBitBtn* BitBtn1;
  TBitBtn* BitBtn2;
  TGroupBox* GroupBox3;
  TListBox* ListBox1;
  TImage* Image1;
  TPanel* Panel2;
  TLabel* Status;
  TOpenDialog* OpenDialog1;
  TTimer* Timer1;

  void FormCreate(TObject* sender);
  void Button1Click(TObject* sender);
  void Button2Click(TObject* sender);
  void Button3Click(TObject* sender);
  void Button4Click(TObject* sender);
  void BitBtn1Click(TObject* sender);
  void BitBtn2Click(TObject* sender);
  void SpeedButtonClick(TObject* sender);
  void CheckBox1Click(TObject* sender);
  void ListBox1Click(TObject* sender);
  int Ticks = 0;

private:
  void SetStatus(const std::string& text);
};

extern TGalleryForm* GalleryForm;

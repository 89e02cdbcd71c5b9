#pragma once
// The materials browser: lists lectures, labs or videos (the kind follows the
// main window's pressed navigation button when the window is shown), opens a
// lecture or lab in the document view and loads a video into the player;
// everyone can search, the administrator can add and delete entries.
#include <cstdint>
#include <string>

#include "forms/Form.h"
#include "forms/Forward.h"
#include "forms/db/Forward.h"
#include "media/Forward.h"
#include "skin/controls/Forward.h"

class TForm7 : public TForm {
public:
  explicit TForm7(TComponent* owner);
  std::string ClassName() const override { return "TForm7"; }

  // 1 lectures, 2 labs, 3 videos; 0 until the window is first shown from the main window.
  std::uint8_t Kind() const { return Kind_; }

  TADOQueryComponent* ADOQuery1;  // inserts and deletes
  TADOQueryComponent* ADOQuery2;  // lectures
  TADOQueryComponent* ADOQuery3;  // labs
  TADOQueryComponent* ADOQuery4;  // videos
  TDataSourceComponent* DataSource1;
  TDataSourceComponent* DataSource2;
  TDataSourceComponent* DataSource3;
  TOpenDialog* OpenDialog1;

  TsPanel* sPanel2;        // the left column
  TsGroupBox* sGroupBox1;  // "Редактирование": the administrator's editing group
  TsButton* sButton3;      // "Добавить"
  TsButton* sButton4;      // "Удалить"
  TsGroupBox* sGroupBox2;  // "Поиск"
  TsButton* sButton1;      // "Найти"
  TsButton* sButton2;      // "Все записи"
  TsDBLookupListBox* sDBLookupListBox1;  // lectures
  TsDBLookupListBox* sDBLookupListBox2;  // labs
  TsDBLookupListBox* sDBLookupListBox3;  // videos
  TsPanel* sPanel3;        // the right part
  TsPanel* sPanel1;        // the strip holding the player's buttons
  TMediaPlayer* MediaPlayer1;
  TWebBrowser* WebBrowser1;
  TPanel* Panel4;          // the video panel, over the document view

  void FormShow(TObject* sender);
  void FormHide(TObject* sender);
  void sDBLookupListBox1DblClick(TObject* sender);
  void sDBLookupListBox2DblClick(TObject* sender);
  void sDBLookupListBox3DblClick(TObject* sender);
  void sButton1Click(TObject* sender);
  void sButton2Click(TObject* sender);
  void sButton3Click(TObject* sender);
  void sButton4Click(TObject* sender);

private:
  // The list and its dataset of a kind (null for kind 0).
  TADOQueryComponent* ListQuery(std::uint8_t kind) const;
  TsDBLookupListBox* List(std::uint8_t kind) const;
  static void Reopen(TADOQueryComponent* query);

  std::uint8_t Kind_ = 0;
};

extern TForm7* Form7;

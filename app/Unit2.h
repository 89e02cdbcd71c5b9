#pragma once
// The tester: one attempt of 30 questions drawn from the bank at every showing,
// five options A … E per position, the score stored under the current user.
#include <array>
#include <cstdint>
#include <string>

#include "forms/Form.h"
#include "forms/Forward.h"
#include "forms/db/Forward.h"
#include "skin/controls/Forward.h"

class TForm2 : public TForm {
public:
  static constexpr int kPositions = 30;
  static constexpr int kAnswers = 5;

  explicit TForm2(TComponent* owner);
  std::string ClassName() const override { return "TForm2"; }

  TPanel* Panel1;         // the question row
  TPanel* Panel2;         // the band under it
  TPanel* Panel4;         // the answer row
  TPanel* Panel5;         // the user and the hand-in button
  TLabel* Label1;          // the current user
  TsSpeedButton* sSpeedButton3;  // "Сдать анкету"
  TPanel* Panel3;         // the question area
  TMemo* Memo1;
  // The bank as loaded at the attempt's start, one list per column, entry k of
  // every list from the same row: questions, options 1 … 5, correct numbers.
  TDBListBox* DBListBox1;
  TDBListBox* DBListBox2;
  TDBListBox* DBListBox3;
  TDBListBox* DBListBox4;
  TDBListBox* DBListBox5;
  TDBListBox* DBListBox6;
  TDBListBox* DBListBox7;
  TADOQueryComponent* ADOQuery1;  // the question rows, all seven columns at once
  TADOQueryComponent* ADOQuery8;  // storing a result

  // The rows made at every attempt start (owned by the form).
  std::array<TsSpeedButton*, kPositions> QuestionButtons{};
  std::array<TsSpeedButton*, kAnswers> AnswerButtons{};

  // Runs when the tester is created and every time it is shown: a new attempt.
  void FormShow(TObject* sender);
  void QuestionButtonClick(TObject* sender);
  void AnswerButtonClick(TObject* sender);
  void sSpeedButton3Click(TObject* sender);

  // The attempt, readable for scripts and tests.
  int QuestionCount() const;
  std::int32_t DrawnIndex(int position) const { return Drawn_.at(static_cast<size_t>(position - 1)); }
  std::uint8_t ChosenAnswer(int position) const { return Chosen_.at(static_cast<size_t>(position - 1)); }
  std::uint8_t Score() const { return Score_; }
  // The pressed question button's position, 0 when none.
  int SelectedPosition() const;

private:
  void LoadBank();
  void BuildQuestionRow();
  void BuildAnswerRow();
  void ColourAnswers();
  std::array<TDBListBox*, 7> Lists() const;

  std::array<std::int32_t, kPositions> Drawn_{};
  std::array<std::uint8_t, kPositions> Chosen_{};
  std::uint8_t Score_ = 0;
};

extern TForm2* Form2;

#include "app/Unit7.h"

TForm7* Form7 = nullptr;

TForm7::TForm7(TComponent* owner) : TForm(owner) {
  SetName("Form7");
  SetCaption("Теория");
  sGroupBox1 = MakeControl<TsGroupBox>(this, this, "sGroupBox1", 8, 8, 200, 100);
  sGroupBox1->SetCaption("Редактирование");
}

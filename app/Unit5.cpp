#include "app/Unit5.h"

TForm5* Form5 = nullptr;

TForm5::TForm5(TComponent* owner) : TForm(owner) {
  SetName("Form5");
  SetCaption("Пользователи");
}

#include "app/Unit9.h"

TForm9* Form9 = nullptr;

TForm9::TForm9(TComponent* owner) : TForm(owner) {
  SetName("Form9");
  SetCaption("Электронный учебник");
}

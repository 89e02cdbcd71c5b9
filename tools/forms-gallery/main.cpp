// The gallery of standard controls and dialogs:
//   forms-gallery [--headless] [--script FILE]
#include "forms/ScriptDriver.h"
#include "tools/forms-gallery/GalleryForm.h"

int main(int argc, char** argv) {
  return RunFormsProgram(argc, argv, [](TApplication& app) {
    app.SetTitle("Галерея");
    app.CreateForm(&GalleryForm);
  });
}

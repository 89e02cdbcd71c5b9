// The gallery of standard controls and dialogs:
//   forms-gallery [--headless] [--script FILE]
#include "forms/Application.h"
#include "forms/EngineScope.h"
#include "forms/ProgramRunner.h"
#include "forms/ScriptDriver.h"
#include "tools/forms-gallery/GalleryForm.h"

int main(int argc, char** argv) {
  TEngineScope engine({FormsEnginePart()});
  return RunFormsProgram(argc, argv, [](TApplication& app) {
    app.SetTitle("Галерея");
    app.CreateForm(&GalleryForm);
  });
}

#include "forms/db/FormsDbEngine.h"

#include "forms/db/DBComponents.h"
#include "forms/db/DBEdit.h"
#include "forms/db/DBGrid.h"
#include "forms/db/DBListBox.h"
#include "forms/db/DBLookupListBox.h"
#include "forms/db/DBMemo.h"
#include "forms/db/DBNavigator.h"

TEnginePart FormsDbEnginePart() {
  return {"forms/db",
          [] {
            RegisterDataComponentDriverProperties();
            TDBEdit::RegisterDriverProperties<TDBEdit>();
            TDBMemo::RegisterDriverProperties<TDBMemo>();
            TDBListBox::RegisterDriverProperties();
            TDBLookupListBox::RegisterDriverProperties();
            TDBGrid::RegisterDriverProperties();
            TNavigatorLogic::RegisterDriverProperties<TDBNavigator>();
          },
          // The registry is emptied by the framework's part, stopped after this one.
          nullptr};
}

#include "app/AppForms.h"

#include "app/AppControls.h"
#include "app/Unit1.h"
#include "app/Unit2.h"
#include "app/Unit3.h"
#include "app/Unit4.h"
#include "app/Unit5.h"
#include "app/Unit6.h"
#include "app/Unit7.h"
#include "app/Unit8.h"
#include "app/Unit9.h"
#include "app/data/DatabaseChoice.h"
#include "app/data/Schema.h"
#include "app/data/ResultStore.h"
#include "app/data/ServerSchema.h"
#include "data/TADOConnection.h"
#include "forms/Application.h"
#include "forms/db/DBComponents.h"
#include "platform/win/Backend.h"
#include "platform/win/Message.h"

void KeepWindowsPainting() {
  // The display's own events first (uncovered windows, the window manager's
  // pings, the busy cursor); its input stays held for the program's loop.
  DisplayBackend().ServeWhileBusy();
  // Bounded, in case a window never validates itself.
  MSG msg;
  for (int n = 0; n < 64 && PeekMessage(&msg, nullptr, WM_PAINT, WM_PAINT, PM_REMOVE); ++n) DispatchMessage(&msg);
  for (int n = 0; n < 64 && PeekMessage(&msg, nullptr, WM_TIMER, WM_TIMER, PM_REMOVE); ++n) DispatchMessage(&msg);
}

void CreateAppForms(TApplication& app) {
  TDbEngine::SetWaitHandler(KeepWindowsPainting);
  app.CreateForm(&Form1);
  // Results kept on this computer while the server could not be reached are sent
  // now, and again whenever the connection comes back after a loss; whatever
  // cannot be sent stays kept for the next time.
  try {
    TResultJournal journal(TResultJournal::DefaultPath());
    SendJournal(*Form1->ADOConnection1, journal);
  } catch (const std::exception&) {
  }
  SendJournalWhenReconnected(*Form1->ADOConnection1, TResultJournal::DefaultPath(), [] {
    return TLoggedIn{Form1->HandInToken.empty() ? std::string() : Form1->sPanel1->Caption(), Form1->HandInToken};
  });
  app.CreateForm(&Form2);
  app.CreateForm(&Form3);
  app.CreateForm(&Form4);
  app.CreateForm(&Form5);
  app.CreateForm(&Form6);
  app.CreateForm(&Form7);
  app.CreateForm(&Form8);
  app.CreateForm(&Form9);
}

std::string UpgradeDatabase() {
  const bool server = DatabaseChoice::IsServer(DatabaseChoice::Chosen());
  TADOConnection connection{DatabaseChoice::ConnectionStringFor(DatabaseChoice::Chosen())};
  // Only a look at the server's functions: one that does not answer soon is
  // left to the main window's connection, which reports it.
  if (server) connection.SetBusyTimeout(3000);
  try {
    connection.Open();
    // A server is upgraded by its administrator (textbook-db upgrade), not by a
    // student's machine, whose role may not change it: this says what to run.
    if (server)
      return ServerSchema::HasResultTokens(connection)
                 ? std::string()
                 : std::string(ServerSchema::kUpgradeNeeded) + DatabaseChoice::WithoutPassword(DatabaseChoice::Chosen());
  } catch (const std::exception&) {
    return {};
  }
  try {
    Schema::Upgrade(connection);
  } catch (const std::exception& e) {
    return std::string(e.what()) + ". Учебник открыл файл как есть.";
  }
  return {};
}

#include "app/AppForms.h"

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
#include "data/TADOConnection.h"
#include "forms/Application.h"
#include "platform/win/Message.h"

void KeepWindowsPainting() {
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
  SendJournalWhenReconnected(*Form1->ADOConnection1, TResultJournal::DefaultPath());
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
  // A server's tables are made by textbook-db as they must be: nothing to upgrade.
  if (DatabaseChoice::IsServer(DatabaseChoice::Chosen())) return {};
  TADOConnection connection{DatabaseChoice::ConnectionStringFor(DatabaseChoice::Chosen())};
  try {
    connection.Open();
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

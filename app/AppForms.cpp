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
#include "app/data/ConnectionSettings.h"
#include "app/data/Schema.h"
#include "data/TADOConnection.h"
#include "forms/Application.h"

void CreateAppForms(TApplication& app) {
  app.CreateForm(&Form1);
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
  TADOConnection connection{std::string(ConnectionSettings::kConnectionString)};
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

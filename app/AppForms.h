#pragma once
// The nine windows of the textbook, created hidden in their fixed order: the
// main window first (it opens the connection every later window uses).
class TApplication;

void CreateAppForms(TApplication& app);

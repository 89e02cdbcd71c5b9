#include "forms/Dialogs.h"

TModalResult MessageDlg(const std::string&, TMsgDlgType, TMsgDlgButtons) { return mrOk; }

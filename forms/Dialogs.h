#pragma once
// Standard dialogs built as ordinary forms, so that anything that skins forms
// skins them too. The forms carry stable names for the scripting driver:
// "MessageBox", "InputBox" and "OpenDialog".
#include <initializer_list>
#include <string>

#include "forms/Form.h"

enum TMsgDlgType { mtWarning, mtError, mtInformation, mtConfirmation, mtCustom };
enum TMsgDlgBtn { mbYes, mbNo, mbOK, mbCancel, mbAbort, mbRetry, mbIgnore, mbAll };
using TMsgDlgButtons = TSet<TMsgDlgBtn>;

// Classic flags of the message-box call.
constexpr unsigned MB_OK = 0x00000000;
constexpr unsigned MB_OKCANCEL = 0x00000001;
constexpr unsigned MB_ABORTRETRYIGNORE = 0x00000002;
constexpr unsigned MB_YESNOCANCEL = 0x00000003;
constexpr unsigned MB_YESNO = 0x00000004;
constexpr unsigned MB_RETRYCANCEL = 0x00000005;
constexpr unsigned MB_ICONHAND = 0x00000010;
constexpr unsigned MB_ICONERROR = MB_ICONHAND;
constexpr unsigned MB_ICONQUESTION = 0x00000020;
constexpr unsigned MB_ICONEXCLAMATION = 0x00000030;
constexpr unsigned MB_ICONWARNING = MB_ICONEXCLAMATION;
constexpr unsigned MB_ICONASTERISK = 0x00000040;
constexpr unsigned MB_ICONINFORMATION = MB_ICONASTERISK;
constexpr int IDOK = 1;
constexpr int IDCANCEL = 2;
constexpr int IDABORT = 3;
constexpr int IDRETRY = 4;
constexpr int IDIGNORE = 5;
constexpr int IDYES = 6;
constexpr int IDNO = 7;

// The modal message box; returns the modal result of the button pressed.
TModalResult MessageDlg(const std::string& message, TMsgDlgType type, TMsgDlgButtons buttons);
// The message box with one OK button and the application's title.
void ShowMessage(const std::string& message);
// The classic call with MB_* flags; returns IDOK, IDCANCEL ...
int MessageBox(const std::string& text, const std::string& caption, unsigned flags);
// The input box: OK returns the text typed, Cancel (or closing) the default.
std::string InputBox(const std::string& caption, const std::string& prompt, const std::string& defaultValue);
// True when the user pressed OK; value is updated then.
bool InputQuery(const std::string& caption, const std::string& prompt, std::string& value);
// Builds (without showing) the message-box form; the caller owns it.
TForm* CreateMessageDialog(const std::string& message, TMsgDlgType type, TMsgDlgButtons buttons);

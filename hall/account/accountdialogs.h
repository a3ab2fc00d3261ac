#pragma once
// The entry points the login dialog uses. Both dialogs are modal with `owner` as their owner
// and talk to the addresses of the session (checkuserurl, registerurl, forgeturl).
//
// After RunRegisterDialog returns true the login dialog fills itself from `out`: the user name
// box gets out->userName, the user-name radio button is checked, the password box is emptied
// and the save-login box cleared.

#include "hall/account/accountwizard.h"
#include "hall/account/registerwizard.h"

class QWidget;

namespace velmora::hall {

// True when an account was created; `out` (may be null) then holds it.
bool RunRegisterDialog(QWidget* owner, RegisteredAccount* out);
void RunForgetDialog(QWidget* owner);

// HttpRequest POST with 3 retries and 60 000 ms.
AccountHttp DefaultAccountHttp();

}  // namespace velmora::hall

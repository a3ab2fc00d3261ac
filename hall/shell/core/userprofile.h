#pragma once
// The profile reply of `userinfourl`: lines of "|"-separated, URL-encoded fields
// (id|username|face|sex|...|usershow). Lines may end in CR, LF or CR LF.

#include "hall/foundation/hallcontext.h"

namespace velmora::hall {

// Applies the line whose first field equals user.UserID: UserName (field 2), FaceNum (field 3),
// sex (field 4) and, when Usershow is still empty, Usershow (field 8). An empty reply, or a
// line too short for the fields, changes nothing of that line. True when a line was applied.
bool ApplyProfileReply(const QString& reply, STRU_USERINFO& user);

// The form data of the profile request.
QString ProfileRequestForm(qint64 userId, const QString& token);

}  // namespace velmora::hall

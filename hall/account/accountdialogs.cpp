#include "hall/account/accountdialogs.h"

#include "hall/account/frmforget.h"
#include "hall/account/frmregister.h"
#include "hall/foundation/hallcontext.h"
#include "hall/foundation/web/httprequest.h"

namespace velmora::hall {

AccountHttp DefaultAccountHttp() {
    return [](const QString& url, const QString& formData) {
        return HttpRequest(url, QStringLiteral("POST"), formData, kDefaultRetries, kDefaultTimeoutMs);
    };
}

bool RunRegisterDialog(QWidget* owner, RegisteredAccount* out) {
    const HallContext& context = HallContext::instance();
    TfrmRegister dialog(DefaultAccountHttp(), context.AppPath, context.url(QStringLiteral("checkuserurl")),
                        context.url(QStringLiteral("registerurl")), owner);
    const bool created = dialog.exec() == QDialog::Accepted && dialog.wizard().finished();
    if (created && out)
        *out = dialog.wizard().account();
    return created;
}

void RunForgetDialog(QWidget* owner) {
    TfrmForget dialog(DefaultAccountHttp(), HallContext::instance().url(QStringLiteral("forgeturl")), owner);
    dialog.exec();
}

}  // namespace velmora::hall

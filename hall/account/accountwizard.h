#pragma once
// What the registration and recovery wizards share: the web request they make, the dialog
// operations they need from a form, the security questions and the small text rules.
// No widgets: TfrmRegister and TfrmForget wire widgets to RegisterWizard and ForgetWizard.

#include <QString>
#include <QStringList>
#include <functional>

namespace velmora::hall {

// POST `formData` to `url` and give the reply; empty when the service was not reached. The
// forms pass HttpRequest with 3 retries and 60 000 ms; tests pass a fake.
using AccountHttp = std::function<QString(const QString& url, const QString& formData)>;

enum class MessageIcon { None, Question };

// The dialog operations of a wizard, carried out by its form (or a test's fake).
class WizardSink {
public:
    virtual ~WizardSink() = default;
    // A message box with the caption "提示".
    virtual void showMessage(const QString& text, MessageIcon icon) = 0;
    // OK and Cancel, Cancel being the default; true for OK.
    virtual bool confirmOkCancel(const QString& text) = 0;
    // Moves the keyboard focus to a field (the wizard's own field enumeration).
    virtual void focusField(int field) = 0;
};

inline const QString kBackCaption = QStringLiteral("上一步(&B)");
inline const QString kNextCaption = QStringLiteral("下一步(&N)");
inline const QString kCancelCaption = QStringLiteral("取消(&C)");
inline constexpr int kMaxUserNameBytes = 14;
inline constexpr int kFaceCount = 30;

// "--请选择您的问题--" followed by the 16 questions, in the order of the question box.
const QStringList& SecurityQuestions();

// A text value as the service reads it: URL encoding of the Base64 of its GBK bytes.
QString EncodeField(const QString& text);

// The longest start of `text` that fits in `maxBytes` GBK bytes. A double-byte character that
// would straddle the limit is left out whole rather than cut in half.
QString CutToBytes(const QString& text, int maxBytes);

// The face kept when the sex changes: "男" 1..8 (above 8: 1), "女" 10..18 (outside: 10),
// "保密" 19..30 (below 19: 19); any other sex keeps the face.
int FaceForSex(const QString& sex, int face);

}  // namespace velmora::hall

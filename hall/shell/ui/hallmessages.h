#pragma once
// Every message box of the hall goes through here, so that tests can answer them instead of a
// player (SetMessagePresenter) and nothing blocks a headless run.

#include <QMessageBox>
#include <QString>

namespace velmora::hall {

inline const QString kHintCaption = QStringLiteral("提示");

class MessagePresenter {
public:
    virtual ~MessagePresenter() = default;
    virtual QMessageBox::StandardButton show(QWidget* owner, const QString& text,
                                             const QString& caption, QMessageBox::Icon icon,
                                             QMessageBox::StandardButtons buttons) = 0;
};

// nullptr restores the real message boxes. The presenter is not owned.
void SetMessagePresenter(MessagePresenter* presenter);

QMessageBox::StandardButton ShowMessage(QWidget* owner, const QString& text, const QString& caption,
                                        QMessageBox::Icon icon,
                                        QMessageBox::StandardButtons buttons = QMessageBox::Ok);
// Caption "提示", the question icon, an OK button.
void ShowHint(QWidget* owner, const QString& text);

}  // namespace velmora::hall

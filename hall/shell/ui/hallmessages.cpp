#include "hall/shell/ui/hallmessages.h"

namespace velmora::hall {
namespace {

MessagePresenter* g_presenter = nullptr;

}  // namespace

void SetMessagePresenter(MessagePresenter* presenter) { g_presenter = presenter; }

QMessageBox::StandardButton ShowMessage(QWidget* owner, const QString& text, const QString& caption,
                                        QMessageBox::Icon icon,
                                        QMessageBox::StandardButtons buttons) {
    if (g_presenter)
        return g_presenter->show(owner, text, caption, icon, buttons);
    QMessageBox box(icon, caption, text, buttons, owner);
    return QMessageBox::StandardButton(box.exec());
}

void ShowHint(QWidget* owner, const QString& text) {
    ShowMessage(owner, text, kHintCaption, QMessageBox::Question);
}

}  // namespace velmora::hall

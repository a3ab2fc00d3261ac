#pragma once
// The Back, Next and Cancel buttons of the two account wizards: each click first reads the
// form into the wizard model, lets the model move, then shows the model again; Next on the
// last step closes the dialog with OK.

#include <QDialog>
#include <QPushButton>
#include <functional>

namespace velmora::hall {

template <typename Wizard>
void ConnectWizardButtons(QDialog* dialog, Wizard& wizard, QPushButton* back, QPushButton* next,
                          QPushButton* cancel, std::function<void()> toModel,
                          std::function<void()> fromModel) {
    QObject::connect(next, &QPushButton::clicked, dialog, [dialog, &wizard, toModel, fromModel] {
        toModel();
        wizard.next();
        if (wizard.finished()) {
            dialog->accept();
            return;
        }
        fromModel();
    });
    QObject::connect(back, &QPushButton::clicked, dialog, [&wizard, toModel, fromModel] {
        toModel();
        wizard.back();
        fromModel();
    });
    QObject::connect(cancel, &QPushButton::clicked, dialog, &QDialog::reject);
}

}  // namespace velmora::hall

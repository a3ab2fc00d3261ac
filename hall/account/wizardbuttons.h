#pragma once
// The Back, Next and Cancel buttons of the two account wizards: each click first reads the
// form into the wizard model, lets the model move, then shows the model again; Next on the
// last step closes the dialog with OK.

#include <QDialog>
#include <QHBoxLayout>
#include <QPushButton>
#include <QVBoxLayout>
#include <functional>

#include "hall/account/accountwizard.h"

namespace velmora::hall {

// Lays out the dialog: the step pages above, the Back, Next (default) and Cancel buttons below.
inline void BuildWizardLayout(QDialog* dialog, QWidget* pages, QPushButton** back, QPushButton** next,
                              QPushButton** cancel) {
    *back = new QPushButton(kBackCaption, dialog);
    *next = new QPushButton(kNextCaption, dialog);
    *cancel = new QPushButton(kCancelCaption, dialog);
    (*back)->setObjectName(QStringLiteral("btnBack"));
    (*next)->setObjectName(QStringLiteral("btnNext"));
    (*cancel)->setObjectName(QStringLiteral("btnCancel"));
    (*next)->setDefault(true);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(*back);
    buttons->addWidget(*next);
    buttons->addWidget(*cancel);
    auto* layout = new QVBoxLayout(dialog);
    layout->addWidget(pages, 1);
    layout->addLayout(buttons);
}

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

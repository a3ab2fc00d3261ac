#pragma once
// "网络设置": direct connection or a proxy, kept in registry key "Net". Result 1 after a saved
// OK (the process-wide proxy settings then follow), 2 after Cancel.

#include "platform/registry/registrystore.h"

#include <QDialog>

class QComboBox;
class QFrame;
class QLineEdit;
class QPushButton;
class QRadioButton;

namespace velmora::hall {

class TfrmNetSetting : public QDialog {
    Q_OBJECT
public:
    explicit TfrmNetSetting(platform::RegistryStore& store, QWidget* parent = nullptr);

    QRadioButton* rbtDirect;
    QRadioButton* rbtProxy;
    QFrame* Panel1;
    QComboBox* cmbProxyType;
    QLineEdit* txtServer;
    QLineEdit* txtPort;
    QLineEdit* txtUsername;
    QLineEdit* txtPass;
    QLineEdit* txtDomain;
    QPushButton* Button1;
    QPushButton* Button2;

    void Button1Click();

private:
    void updatePanel();
    platform::RegistryStore& m_store;
};

}  // namespace velmora::hall

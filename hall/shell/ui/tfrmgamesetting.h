#pragma once
// "游戏设置": the player's room settings. The caller copies its STRU_GAMESETTING into
// sGameSetting, calls LoadSetting and shows the dialog; after result 1 it copies it back.

#include "hall/foundation/localsettings.h"

#include <QDialog>

class QCheckBox;
class QLineEdit;
class QPushButton;
class QRadioButton;

namespace velmora::hall {

class TfrmGameSetting : public QDialog {
    Q_OBJECT
public:
    explicit TfrmGameSetting(QWidget* parent = nullptr);

    STRU_GAMESETTING sGameSetting;
    void LoadSetting();
    void Button1Click();

    QCheckBox* chkIP;
    QCheckBox* chkLess;
    QLineEdit* edtLess;
    QCheckBox* chkShowUser;
    QCheckBox* chkPass;
    QLineEdit* edtPass;
    QRadioButton* rbtAllUser;
    QRadioButton* rbtFrient;
    QRadioButton* rbtNoUser;
    QCheckBox* chkVideo;
    QCheckBox* chkShowFlash;
    QPushButton* Button1;
    QPushButton* Button2;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
};

}  // namespace velmora::hall

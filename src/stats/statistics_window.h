// The statistics window: three channels of results of one questionnaire compared side by side.
#pragma once

#include <QTimer>

#include "platform/form.h"

namespace stats {

class TForm7 : public platform::Form {
    Q_OBJECT
public:
    TForm7(platform::Dialogs& dialogs, platform::LauncherControl& launcher);

    QTimer Timer1;  // 100 ms, running from creation on
    bool RedrawRequest = false;

protected:
    void FormShow() override;
    void FormClose() override;
    virtual void Timer1Timer() {}

private:
    platform::LauncherControl& launcher_;
};

}  // namespace stats

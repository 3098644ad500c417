// The results manager window and the survey text window beside it.
#pragma once

#include "platform/form.h"

namespace results {

// The results manager: loads, merges, saves and deletes results files and shows their counts.
class TForm3 : public platform::Form {
    Q_OBJECT
public:
    TForm3(platform::Dialogs& dialogs, platform::LauncherControl& launcher);

protected:
    void FormShow() override;
    void FormClose() override;

private:
    platform::LauncherControl& launcher_;
};

// The survey text window: the questionnaire's text carried by the loaded results.
class TForm8 : public platform::Form {
    Q_OBJECT
public:
    explicit TForm8(platform::Dialogs& dialogs);
};

}  // namespace results

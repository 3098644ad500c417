// The four chart windows of the loaded results: bar, pie, stripe and multi chart. Each draws
// only from its 100 ms timer, when something asked for a redraw.
#pragma once

#include <QTimer>

#include "platform/form.h"
#include "results/chart_link.h"

namespace charts {

// The frame the four chart windows share.
class ChartWindow : public platform::Form, public results::ChartLink {
    Q_OBJECT
public:
    ChartWindow(platform::Dialogs& dialogs, const QString& caption, QSize clientSize, int left,
                int top);

    void OpenChart() override { ShowForm(); }
    void CloseChart() override { CloseForm(); }
    void RequestRedraw() override { RedrawRequest = true; }

    QTimer Timer1;               // 100 ms, running from creation on
    bool RedrawRequest = false;  // set by whoever changes what the window must show

protected:
    void FormShow() override;
    void FormClose() override;
    virtual void Timer1Timer() {}
};

class TForm4 : public ChartWindow {  // bar chart
    Q_OBJECT
public:
    explicit TForm4(platform::Dialogs& dialogs);
};

class TForm5 : public ChartWindow {  // pie chart
    Q_OBJECT
public:
    explicit TForm5(platform::Dialogs& dialogs);
};

class TForm6 : public ChartWindow {  // stripe chart
    Q_OBJECT
public:
    explicit TForm6(platform::Dialogs& dialogs);
};

class TForm9 : public ChartWindow {  // multi chart
    Q_OBJECT
public:
    explicit TForm9(platform::Dialogs& dialogs);
};

}  // namespace charts

// The running indicator as Qt: a RunningIndicatorPanel on a host widget (the control), shown
// and captioned as the system asks, and painted at once, so that it shows during work that does
// not yield. Without a host the status is only kept, and shows once a host is given.
#pragma once

#include "outside/running_indicator.h"

#include <QPointer>
#include <QWidget>

namespace qv {

class RunningIndicatorPanel;

class QtRunningIndicator : public RunningIndicator {
  public:
    explicit QtRunningIndicator(QWidget* p_pHost = nullptr);
    ~QtRunningIndicator() override;
    QtRunningIndicator(const QtRunningIndicator&) = delete;
    QtRunningIndicator& operator=(const QtRunningIndicator&) = delete;

    void SetHost(QWidget* p_pHost);
    // The panel on the host; null without one.
    RunningIndicatorPanel* Panel() const;

    void SetStatus(std::string_view p_sCaption, bool p_bVisible) override;
    bool Visible() const override { return m_bVisible; }
    std::string Caption() const override { return m_sCaption; }

  private:
    void Show();

    QPointer<RunningIndicatorPanel> m_pPanel;
    std::string m_sCaption;
    bool m_bVisible = false;
};

}  // namespace qv

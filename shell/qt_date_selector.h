// The date selector as a Qt date editor: the day read from a text, or picked by a person from
// the editor's calendar when it is shown, is the editor's date.
#pragma once

#include "outside/date_selector.h"

#include <memory>

class QDateEdit;

namespace qv {

class QtDateSelector : public DateSelector {
  public:
    QtDateSelector();
    ~QtDateSelector() override;
    QtDateSelector(const QtDateSelector&) = delete;
    QtDateSelector& operator=(const QtDateSelector&) = delete;

    double Value() const override;
    bool Visible() const override;
    void SetVisible(bool p_bVisible) override;

    // For a host that places the editor in its own window.
    QDateEdit& Editor() const { return *m_pEditor; }

  protected:
    void StoreValue(double p_dDay) override;

  private:
    std::unique_ptr<QDateEdit> m_pEditor;
};

}  // namespace qv

// The history helper ("ctlHelper"): which history the list shows and how many rows it fetches.
// "Init" (16 a stock's history, 17 an industry's, 18 a sector's; maximum rows and return all)
// shows them; a person's change of the limits raises "REFRESHHISTORY" ("", maximum rows,
// return all).
//
//     HistoryHelperPanel helper(frame);
//     std::array<Variant, 3> args{Variant(int16_t{16}), Variant(250), Variant(false)};
//     CallMethod(*helper.Object(), "Init", args);
#pragma once

#include "shell/support_panel.h"

#include <cstdint>
#include <memory>

class QLabel;

namespace qv {

class DispatchTable;
class RowLimitsEditor;

class HistoryHelperPanel : public SupportPanel {
  public:
    explicit HistoryHelperPanel(QWidget* p_pParent);

    std::shared_ptr<DispatchObject> Object() override;

    void Init(int16_t p_iCode, int32_t p_lMaxRows, bool p_bReturnAll);

    QString Caption() const;
    RowLimitsEditor& Limits() const { return *m_pLimits; }

  private:
    static const DispatchTable& Table();

    QLabel* m_pCaption = nullptr;
    RowLimitsEditor* m_pLimits = nullptr;
};

}  // namespace qv

// The watch list's graph ("pagecontroller.aspx?pagetype=17&wlid=...&timeID=..."): the average of
// the list's stocks (or industry groups), each bought in equal amounts at the start of the range
// and held to the list's day, against the market bought the same way. The list's members come
// from the facade for the session's owner; the line and figures are the quick test's over them,
// so the graph and a quick test of the same rows agree. The range buttons pick how far back it
// starts.
#pragma once

#include "shell/chart_page.h"
#include "shell/page_address.h"

#include <QString>
#include <QWidget>

#include <cstdint>
#include <string>
#include <vector>

class QLabel;

namespace qv {

class QuickTestPage;

class WatchListGraphPage : public QWidget {
  public:
    // p_lLastDay: the day the ranges end on when the address names none.
    WatchListGraphPage(const PageRequest& p_oPage, int32_t p_lOwnerId, int32_t p_lLastDay,
                       QWidget* p_pParent = nullptr);

    void ShowRange(ChartRange p_eRange);

    // Null when there is nothing to draw (the list is not the owner's, or empty); Problem() says
    // why.
    QuickTestPage* Average() const { return m_pAverage; }
    const QString& Problem() const { return m_sProblem; }

  private:
    std::string m_sName;
    std::string m_sCodeKey;
    std::vector<std::string> m_codes;
    int32_t m_lWatchListId = 0;
    int32_t m_lLastDay;
    QuickTestPage* m_pAverage = nullptr;
    QString m_sProblem;
};

}  // namespace qv

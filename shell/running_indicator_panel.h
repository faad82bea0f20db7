// The panel of the running indicator: a turning wheel beside a caption, placed on its parent
// widget (the control) as the control centres its indicator.
//
// Placement, per axis, in twips: at 30 when the indicator and 60 more do not fit in the control,
// else in the middle (IndicatorOffset). The panel follows its parent's resizes; the wheel turns
// while it is shown and the event loop runs.
#pragma once

#include <QString>
#include <QTimer>
#include <QWidget>

#include <cstdint>

namespace qv {

// Where the indicator starts along one axis of the control, both lengths in twips.
int32_t IndicatorOffset(int32_t p_lControl, int32_t p_lIndicator);

class RunningIndicatorPanel : public QWidget {
    Q_OBJECT

  public:
    explicit RunningIndicatorPanel(QWidget* p_pParent);

    const QString& Caption() const { return m_sCaption; }
    void SetCaption(const QString& p_sCaption);
    // The wheel's step, 0 to 11; it advances while the panel is shown.
    int Step() const { return m_iStep; }
    // Places the panel on its parent.
    void Place();

  protected:
    bool eventFilter(QObject* p_pWatched, QEvent* p_pEvent) override;
    void paintEvent(QPaintEvent* p_pEvent) override;
    void showEvent(QShowEvent* p_pEvent) override;
    void hideEvent(QHideEvent* p_pEvent) override;

  private:
    void Advance();

    QString m_sCaption;
    QTimer m_timer;
    int m_iStep = 0;
};

}  // namespace qv

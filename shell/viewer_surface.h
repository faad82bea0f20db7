// The viewer control's surface as Qt: a widget the size of the control that holds the views of
// its two grid controls where the control places them (PrimaryGridRect, SecondaryGridRect, in
// twips) and on which the running indicator is shown, at the place and in the size the control
// gives it (RunningIndicatorRect).
//
// A person's action in one grid can change the other (a click in the stock list filters the
// industry grid below it) or the control's layout. The views hear their grids' changes
// themselves; after every mouse or key action on either view the surface places them again
// where the control now says, once the action is done. A host calls Sync after it changes the
// control (a new list).
#pragma once

#include <QWidget>

#include <functional>
#include <memory>

namespace qv {

class GridView;
class Viewer;

class ViewerSurface : public QWidget {
    Q_OBJECT

  public:
    explicit ViewerSurface(std::shared_ptr<Viewer> p_oViewer, QWidget* p_pParent = nullptr);
    ~ViewerSurface() override;

    GridView& PrimaryView() const { return *m_pPrimary; }
    GridView& SecondaryView() const { return *m_pSecondary; }
    // 1440 over the surface's dots per inch.
    double TwipsPerPixel() const;
    // A control rectangle in twips as pixels of the surface.
    QRect ToPixels(int32_t p_lLeft, int32_t p_lTop, int32_t p_lWidth, int32_t p_lHeight) const;

    // Gives the control the surface's size and places the views.
    void Sync();
    // Called after each Sync, for a host that shows the control's captions.
    void SetOnSynced(std::function<void()> p_fnSynced) { m_fnSynced = std::move(p_fnSynced); }

  protected:
    bool event(QEvent* p_pEvent) override;
    void resizeEvent(QResizeEvent* p_pEvent) override;
    bool eventFilter(QObject* p_pWatched, QEvent* p_pEvent) override;

  private:
    void Place();
    void Watch(GridView& p_oView);
    // Gives the running indicator's panel the place and size the control gives its indicator.
    void PlaceIndicator(QWidget& p_oPanel);

    std::shared_ptr<Viewer> m_oViewer;
    GridView* m_pPrimary;
    GridView* m_pSecondary;
    std::function<void()> m_fnSynced;
    bool m_bSyncQueued = false;
};

}  // namespace qv

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
//
// Two things the surface adds to the control's placing: the person may drag the gap between the
// two grids (a split handle) to give the lower grid another height, which the surface then keeps
// while the control's lists have two grids; and a list without rows says why on a label laid over
// the upper grid's empty area, which the host words (SetEmptyText).
#pragma once

#include <QWidget>

class QLabel;

#include <functional>
#include <memory>

namespace qv {

class GridView;
class Viewer;
class SplitHandle;

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

    // The lower grid's height in pixels the person chose; -1 for the control's own.
    int SecondaryHeight() const { return m_iSecondaryHeight; }
    void SetSecondaryHeight(int p_iHeight);
    // The sentence shown over the upper grid while it has no rows; empty shows none.
    void SetEmptyText(const QString& p_sText);
    QString EmptyText() const;
    // True while the empty-list sentence is on show.
    bool EmptyTextShown() const;

  protected:
    bool event(QEvent* p_pEvent) override;
    void resizeEvent(QResizeEvent* p_pEvent) override;
    bool eventFilter(QObject* p_pWatched, QEvent* p_pEvent) override;

  private:
    void Place();
    void Watch(GridView& p_oView);
    // Gives the running indicator's panel the place and size the control gives its indicator.
    void PlaceIndicator(QWidget& p_oPanel);
    void PlaceEmptyText();
    bool TwoGrids() const;
    void DragSplit(int p_iY);

    std::shared_ptr<Viewer> m_oViewer;
    GridView* m_pPrimary;
    GridView* m_pSecondary;
    SplitHandle* m_pSplit;
    QLabel* m_pEmpty;
    std::function<void()> m_fnSynced;
    bool m_bSyncQueued = false;
    int m_iSecondaryHeight = -1;
};

}  // namespace qv

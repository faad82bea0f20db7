// What a grid control tells the views that show it, and how its parts reach that list.
//
// A view subscribes a GridControlObserver (GridControl::AddObserver) and hears, after each change,
// what it has to draw again, as Qt's item views hear it from their models:
//   - ModelAboutToBeReset, ModelReset: everything may have changed (a data source bound, the
//     bound recordset filtered, opened or closed); the reset stands for the current row and the
//     selection too. Only the "about to" notification comes before the change.
//   - RowsInserted, RowsRemoved (view positions, after the change): rows added to the view or
//     taken out of it; the rows after them moved.
//   - DataChanged (rows and column indexes): the values of cells changed.
//   - LayoutChanged: the same rows in another order (the bound recordset sorted).
//   - ColumnsChanged: how the rows are shown: columns, splits, widths, visibility, display
//     order, captions, formats, cell styles and colours, a split's left column and scroll bars,
//     the grid's scroll bars, record selectors, back colour and visibility.
//   - SelectionChanged: SelBookmarks changed.
//   - CurrentChanged (view rows before and after, -1 for none): another record or column became
//     current; a change of column alone gives the current row twice.
//   - TopRowChanged: the grid was scrolled to another first row.
// One operation gives one notification of each kind it caused, not one per cell or per column:
// the grid gathers the changes of its own operations in a batch (GridChangeBatch) and raises
// each kind once when the batch ends. Structural notifications (reset, rows, data, layout) are
// never held back.
//
// The list is a sink list (sink_list.h): an observer may add or remove observers, or destroy the
// grid, while it is notified; a grid gone raises nothing more.
//
//     class Repainter : public GridControlObserver {
//         void DataChanged(int32_t p_lFirstRow, int32_t p_lLastRow, int32_t, int32_t) override {
//             RepaintRows(p_lFirstRow, p_lLastRow);
//         }
//     };
//     grid->AddObserver(&repainter);
//
// The parts of a grid (its columns, splits, styles and selection) report their changes through a
// GridChangeHook; a part that outlives its grid, or a copy of one, reports to no one.
#pragma once

#include "outside/sink_list.h"

#include <cstdint>
#include <functional>
#include <memory>

namespace qv {

class GridControlObserver : public Sink {
  public:
    virtual void ModelAboutToBeReset() {}
    virtual void ModelReset() {}
    virtual void RowsInserted(int32_t p_lFirst, int32_t p_lLast) {}
    virtual void RowsRemoved(int32_t p_lFirst, int32_t p_lLast) {}
    virtual void DataChanged(int32_t p_lFirstRow, int32_t p_lLastRow, int32_t p_lFirstCol,
                             int32_t p_lLastCol) {}
    virtual void LayoutChanged() {}
    virtual void ColumnsChanged() {}
    virtual void SelectionChanged() {}
    virtual void CurrentChanged(int32_t p_lPreviousRow, int32_t p_lRow) {}
    virtual void TopRowChanged() {}
};

// The observers of one grid. Every raise returns false when the grid is gone, after which the
// caller touches none of the grid's members. Callers hold the object by a shared_ptr of their
// own while they raise, since an observer may drop the grid's.
class GridChanges {
  public:
    GridChanges() = default;
    GridChanges(const GridChanges&) = delete;
    GridChanges& operator=(const GridChanges&) = delete;

    void Add(GridControlObserver* p_oObserver) { m_observers.Add(p_oObserver); }
    void Remove(GridControlObserver* p_oObserver) { m_observers.Remove(p_oObserver); }
    bool GridAlive() const { return !m_bGridGone; }
    // True when a change now runs no observer: the grid is gone, a batch holds it back, or no
    // one listens.
    bool Quiet() const { return m_bGridGone || m_lBatchDepth > 0 || m_observers.Empty(); }
    // Called by the grid as it is destroyed.
    void GridGone() { m_bGridGone = true; }

    bool ModelAboutToBeReset();
    // Drops what the open batches gathered: the reset stands for it.
    bool ModelReset();
    bool RowsInserted(int32_t p_lFirst, int32_t p_lLast);
    bool RowsRemoved(int32_t p_lFirst, int32_t p_lLast);
    bool DataChanged(int32_t p_lFirstRow, int32_t p_lLastRow, int32_t p_lFirstCol,
                     int32_t p_lLastCol);
    bool LayoutChanged();

    // Held back while a batch is open.
    bool ColumnsChanged();
    bool SelectionChanged();
    // In a batch, the row before the first change and the row after the last.
    bool CurrentChanged(int32_t p_lPreviousRow, int32_t p_lRow);
    bool TopRowChanged();

  private:
    friend class GridChangeBatch;

    bool Raise(const std::function<void(GridControlObserver&)>& p_fnNotify);
    // Raises what the batches gathered, in a fixed order: columns, top row, selection, current.
    bool RaisePending();

    SinkListOf<GridControlObserver> m_observers;
    bool m_bGridGone = false;
    int32_t m_lBatchDepth = 0;
    bool m_bColumnsPending = false;
    bool m_bTopRowPending = false;
    bool m_bSelectionPending = false;
    bool m_bCurrentPending = false;
    int32_t m_lPendingPreviousRow = -1;
    int32_t m_lPendingRow = -1;
};

// Gathers the notifications of one operation. End raises them when the outermost batch ends and
// returns false when the grid is gone. A batch left by a failure raises what it gathered as it is
// destroyed, dropping any failure of an observer then, since one failure is already on its way.
class GridChangeBatch {
  public:
    explicit GridChangeBatch(std::shared_ptr<GridChanges> p_oChanges);
    ~GridChangeBatch();
    GridChangeBatch(const GridChangeBatch&) = delete;
    GridChangeBatch& operator=(const GridChangeBatch&) = delete;

    bool End();

  private:
    std::shared_ptr<GridChanges> m_oChanges;
    bool m_bOpen = true;
};

// A part's way to its grid's observers.
class GridChangeHook {
  public:
    GridChangeHook() = default;
    // A copy of a part belongs to no grid.
    GridChangeHook(const GridChangeHook&) {}
    GridChangeHook& operator=(const GridChangeHook&) { return *this; }

    void Attach(std::weak_ptr<GridChanges> p_oChanges) {
        m_oChanges = std::move(p_oChanges);
        m_pChanges = m_oChanges.lock().get();
    }
    const std::weak_ptr<GridChanges>& Changes() const { return m_oChanges; }

    void ColumnsChanged() const;
    void SelectionChanged() const;

  private:
    // The grid's changes while they are not expired. Loading a layout sets hundreds of column
    // properties, and locking the weak pointer for each was a fifth of the load; a change that
    // runs no observer needs no hold on the grid.
    GridChanges* QuietChanges() const;

    std::weak_ptr<GridChanges> m_oChanges;
    GridChanges* m_pChanges = nullptr;
};

}  // namespace qv

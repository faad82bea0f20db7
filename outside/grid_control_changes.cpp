#include "outside/grid_control_changes.h"

#include <utility>

namespace qv {

bool GridChanges::Raise(const std::function<void(GridControlObserver&)>& p_fnNotify) {
    if (m_bGridGone) {
        return false;
    }
    if (m_observers.Empty()) {
        return true;
    }
    return m_observers.Raise(p_fnNotify) && !m_bGridGone;
}

bool GridChanges::ModelAboutToBeReset() {
    return Raise([](GridControlObserver& observer) { observer.ModelAboutToBeReset(); });
}

bool GridChanges::ModelReset() {
    m_bColumnsPending = m_bTopRowPending = m_bSelectionPending = m_bCurrentPending = false;
    return Raise([](GridControlObserver& observer) { observer.ModelReset(); });
}

bool GridChanges::RowsInserted(int32_t p_lFirst, int32_t p_lLast) {
    return Raise([=](GridControlObserver& observer) { observer.RowsInserted(p_lFirst, p_lLast); });
}

bool GridChanges::RowsRemoved(int32_t p_lFirst, int32_t p_lLast) {
    return Raise([=](GridControlObserver& observer) { observer.RowsRemoved(p_lFirst, p_lLast); });
}

bool GridChanges::DataChanged(int32_t p_lFirstRow, int32_t p_lLastRow, int32_t p_lFirstCol,
                              int32_t p_lLastCol) {
    return Raise([=](GridControlObserver& observer) {
        observer.DataChanged(p_lFirstRow, p_lLastRow, p_lFirstCol, p_lLastCol);
    });
}

bool GridChanges::LayoutChanged() {
    return Raise([](GridControlObserver& observer) { observer.LayoutChanged(); });
}

bool GridChanges::ColumnsChanged() {
    if (m_lBatchDepth > 0) {
        m_bColumnsPending = true;
        return !m_bGridGone;
    }
    return Raise([](GridControlObserver& observer) { observer.ColumnsChanged(); });
}

bool GridChanges::SelectionChanged() {
    if (m_lBatchDepth > 0) {
        m_bSelectionPending = true;
        return !m_bGridGone;
    }
    return Raise([](GridControlObserver& observer) { observer.SelectionChanged(); });
}

bool GridChanges::CurrentChanged(int32_t p_lPreviousRow, int32_t p_lRow) {
    if (m_lBatchDepth > 0) {
        if (!m_bCurrentPending) {
            m_lPendingPreviousRow = p_lPreviousRow;
        }
        m_bCurrentPending = true;
        m_lPendingRow = p_lRow;
        return !m_bGridGone;
    }
    return Raise(
        [=](GridControlObserver& observer) { observer.CurrentChanged(p_lPreviousRow, p_lRow); });
}

bool GridChanges::TopRowChanged() {
    if (m_lBatchDepth > 0) {
        m_bTopRowPending = true;
        return !m_bGridGone;
    }
    return Raise([](GridControlObserver& observer) { observer.TopRowChanged(); });
}

bool GridChanges::RaisePending() {
    // Each flag is cleared before its raise: an observer may start another batch.
    if (std::exchange(m_bColumnsPending, false) && !ColumnsChanged()) {
        return false;
    }
    if (std::exchange(m_bTopRowPending, false) && !TopRowChanged()) {
        return false;
    }
    if (std::exchange(m_bSelectionPending, false) && !SelectionChanged()) {
        return false;
    }
    if (std::exchange(m_bCurrentPending, false)) {
        return CurrentChanged(m_lPendingPreviousRow, m_lPendingRow);
    }
    return !m_bGridGone;
}

GridChangeBatch::GridChangeBatch(std::shared_ptr<GridChanges> p_oChanges)
    : m_oChanges(std::move(p_oChanges)) {
    ++m_oChanges->m_lBatchDepth;
}

GridChangeBatch::~GridChangeBatch() {
    if (!m_bOpen) {
        return;
    }
    try {
        End();
    } catch (...) {
    }
}

bool GridChangeBatch::End() {
    if (!m_bOpen) {
        return m_oChanges->GridAlive();
    }
    m_bOpen = false;
    if (--m_oChanges->m_lBatchDepth > 0) {
        return m_oChanges->GridAlive();
    }
    return m_oChanges->RaisePending();
}

GridChanges* GridChangeHook::QuietChanges() const {
    if (m_oChanges.expired() || !m_pChanges->Quiet()) {
        return nullptr;
    }
    return m_pChanges;
}

void GridChangeHook::ColumnsChanged() const {
    if (GridChanges* changes = QuietChanges()) {
        changes->ColumnsChanged();
    } else if (const std::shared_ptr<GridChanges> held = m_oChanges.lock()) {
        held->ColumnsChanged();
    }
}

void GridChangeHook::SelectionChanged() const {
    if (GridChanges* changes = QuietChanges()) {
        changes->SelectionChanged();
    } else if (const std::shared_ptr<GridChanges> held = m_oChanges.lock()) {
        held->SelectionChanged();
    }
}

}  // namespace qv

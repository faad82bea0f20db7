#include "outside/grid_control_events.h"

#include <algorithm>

namespace qv {

// One raise in progress; raises nest when a sink raises another event of the same grid. The
// frame learns when the list dies under it, and compacts the list when the outermost raise ends.
struct GridEventSinks::RaiseFrame {
    explicit RaiseFrame(GridEventSinks& p_oList) : List(&p_oList), Outer(p_oList.m_pFrames) {
        p_oList.m_pFrames = this;
    }
    ~RaiseFrame() {
        if (List == nullptr) {
            return;
        }
        List->m_pFrames = Outer;
        if (Outer == nullptr) {
            List->Compact();
        }
    }
    RaiseFrame(const RaiseFrame&) = delete;
    RaiseFrame& operator=(const RaiseFrame&) = delete;

    GridEventSinks* List;  // null once the list is destroyed
    RaiseFrame* Outer;
};

GridControlEvents::~GridControlEvents() {
    for (GridEventSinks* list : m_lists) {
        list->Forget(this);
    }
}

GridEventSinks::~GridEventSinks() {
    for (RaiseFrame* frame = m_pFrames; frame != nullptr; frame = frame->Outer) {
        frame->List = nullptr;
    }
    for (GridControlEvents* sink : m_sinks) {
        if (sink != nullptr) {
            std::erase(sink->m_lists, this);
        }
    }
}

void GridEventSinks::Add(GridControlEvents* p_oSink) {
    if (p_oSink == nullptr || Contains(p_oSink)) {
        return;
    }
    m_sinks.push_back(p_oSink);
    p_oSink->m_lists.push_back(this);
}

void GridEventSinks::Remove(GridControlEvents* p_oSink) {
    if (p_oSink == nullptr || !Contains(p_oSink)) {
        return;
    }
    std::erase(p_oSink->m_lists, this);
    Forget(p_oSink);
}

bool GridEventSinks::Contains(const GridControlEvents* p_oSink) const {
    return p_oSink != nullptr &&
           std::find(m_sinks.begin(), m_sinks.end(), p_oSink) != m_sinks.end();
}

bool GridEventSinks::Empty() const {
    return std::all_of(m_sinks.begin(), m_sinks.end(),
                       [](const GridControlEvents* sink) { return sink == nullptr; });
}

bool GridEventSinks::Raise(const std::function<void(GridControlEvents&)>& p_fnEvent) {
    RaiseFrame frame(*this);
    // Sinks added by a handler wait for the next event.
    const size_t count = m_sinks.size();
    for (size_t i = 0; i < count; ++i) {
        GridControlEvents* sink = m_sinks[i];
        if (sink == nullptr) {
            continue;
        }
        p_fnEvent(*sink);
        if (frame.List == nullptr) {
            return false;
        }
    }
    return true;
}

void GridEventSinks::Forget(GridControlEvents* p_oSink) {
    auto found = std::find(m_sinks.begin(), m_sinks.end(), p_oSink);
    if (found == m_sinks.end()) {
        return;
    }
    if (m_pFrames != nullptr) {
        *found = nullptr;
        return;
    }
    m_sinks.erase(found);
}

void GridEventSinks::Compact() {
    std::erase(m_sinks, nullptr);
}

}  // namespace qv

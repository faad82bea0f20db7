#include "outside/sink_list.h"

#include <algorithm>

namespace qv {

// One raise in progress. The frame learns when the list dies under it, and compacts the list
// when the outermost raise ends.
struct SinkList::RaiseFrame {
    explicit RaiseFrame(SinkList& p_oList) : List(&p_oList), Outer(p_oList.m_pFrames) {
        p_oList.m_pFrames = this;
    }
    ~RaiseFrame() {
        if (List == nullptr) {
            return;
        }
        List->m_pFrames = Outer;
        if (Outer == nullptr) {
            std::erase(List->m_sinks, nullptr);
        }
    }
    RaiseFrame(const RaiseFrame&) = delete;
    RaiseFrame& operator=(const RaiseFrame&) = delete;

    SinkList* List;  // null once the list is destroyed
    RaiseFrame* Outer;
};

Sink::~Sink() {
    for (SinkList* list : m_lists) {
        list->Forget(this);
    }
}

SinkList::~SinkList() {
    for (RaiseFrame* frame = m_pFrames; frame != nullptr; frame = frame->Outer) {
        frame->List = nullptr;
    }
    for (Sink* sink : m_sinks) {
        if (sink != nullptr) {
            std::erase(sink->m_lists, this);
        }
    }
}

void SinkList::Add(Sink* p_oSink) {
    if (p_oSink == nullptr || Contains(p_oSink)) {
        return;
    }
    m_sinks.push_back(p_oSink);
    p_oSink->m_lists.push_back(this);
}

void SinkList::Remove(Sink* p_oSink) {
    if (!Contains(p_oSink)) {
        return;
    }
    std::erase(p_oSink->m_lists, this);
    Forget(p_oSink);
}

bool SinkList::Contains(const Sink* p_oSink) const {
    return p_oSink != nullptr &&
           std::find(m_sinks.begin(), m_sinks.end(), p_oSink) != m_sinks.end();
}

bool SinkList::Empty() const {
    return std::all_of(m_sinks.begin(), m_sinks.end(),
                       [](const Sink* p_oSink) { return p_oSink == nullptr; });
}

bool SinkList::Raise(const std::function<void(Sink&)>& p_fnEvent) {
    RaiseFrame frame(*this);
    // Sinks added by a handler wait for the next event.
    const size_t count = m_sinks.size();
    for (size_t i = 0; i < count; ++i) {
        Sink* sink = m_sinks[i];
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

void SinkList::Forget(Sink* p_oSink) {
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

}  // namespace qv

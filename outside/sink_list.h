// An observer list for event sinks that tolerates changes while it raises.
//
// A sink interface derives from Sink; a source holds a SinkListOf<its interface>. During a raise
// a handler may add sinks (they hear the next event), remove sinks (they hear nothing more),
// destroy itself (a Sink leaves every list it is in when it is destroyed) or destroy the source
// that owns the list: Raise then returns false, and the source must touch none of its members
// afterwards, so it copies what it needs before raising. Raises nest when a handler makes the
// source raise again.
//
//     class PriceEvents : public Sink {
//       public:
//         virtual void Changed(double p_dPrice) {}
//     };
//     SinkListOf<PriceEvents> m_sinks;
//     if (!m_sinks.Raise([&](PriceEvents& sink) { sink.Changed(price); })) {
//         return;  // the source is gone
//     }
#pragma once

#include <functional>
#include <vector>

namespace qv {

class SinkList;

class Sink {
  public:
    Sink() = default;
    Sink(const Sink&) = delete;
    Sink& operator=(const Sink&) = delete;
    // Leaves every list the sink is in.
    virtual ~Sink();

  private:
    friend class SinkList;
    std::vector<SinkList*> m_lists;
};

class SinkList {
  public:
    SinkList() = default;
    SinkList(const SinkList&) = delete;
    SinkList& operator=(const SinkList&) = delete;
    ~SinkList();

    // Adding a sink twice adds it once; null is ignored.
    void Add(Sink* p_oSink);
    void Remove(Sink* p_oSink);
    bool Contains(const Sink* p_oSink) const;
    bool Empty() const;

    // Calls p_fnEvent for each sink in the order added. Returns false when the list was destroyed
    // while the event ran. A failure of a sink propagates and ends the raise.
    bool Raise(const std::function<void(Sink&)>& p_fnEvent);

  private:
    struct RaiseFrame;
    friend class Sink;

    void Forget(Sink* p_oSink);

    std::vector<Sink*> m_sinks;  // null: removed while raising
    RaiseFrame* m_pFrames = nullptr;
};

// The list of the sinks of one interface.
template <class T>
class SinkListOf {
  public:
    void Add(T* p_oSink) { m_list.Add(p_oSink); }
    void Remove(T* p_oSink) { m_list.Remove(p_oSink); }
    bool Contains(const T* p_oSink) const { return m_list.Contains(p_oSink); }
    bool Empty() const { return m_list.Empty(); }
    bool Raise(const std::function<void(T&)>& p_fnEvent) {
        return m_list.Raise([&](Sink& p_oSink) { p_fnEvent(static_cast<T&>(p_oSink)); });
    }

  private:
    SinkList m_list;
};

}  // namespace qv

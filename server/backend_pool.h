// The facade backends a server's workers take turns on: each over a store of its own, opened by
// the opener on first need and kept for the next request, at most m_llCapacity at once. A request
// leases one, sets the session it acts for and gives it back; nothing of the request stays in it
// but the backend's cache of the field catalogue.
//
// A store whose connection broke is not given back: the lease is discarded and the next request
// opens a new store, so a database restarted under the server is found again.
//
//     BackendPool::Lease lease = pool.Acquire();    // waits while every backend is leased
//     lease.Backend().AdoptSession(session);
//     auto viewer = lease.Components().CreateObject(prog_id::kViewerReader);
#pragma once

#include <condition_variable>
#include <cstddef>
#include <functional>
#include <memory>
#include <mutex>
#include <vector>

#include "outside/component_factory.h"

namespace qv::facade {
class FacadeBackend;
class MarketStore;
}  // namespace qv::facade

namespace qv::server {

using StoreOpener = std::function<std::shared_ptr<facade::MarketStore>()>;

class BackendPool {
  private:
    struct Pooled {
        std::shared_ptr<facade::FacadeBackend> m_oBackend;
        ComponentFactory m_oComponents;
    };

  public:
    class Lease {
      public:
        Lease(BackendPool& p_oPool, std::unique_ptr<Pooled> p_oPooled);
        ~Lease();
        Lease(Lease&& p_oOther) noexcept;
        Lease& operator=(Lease&&) = delete;
        Lease(const Lease&) = delete;
        Lease& operator=(const Lease&) = delete;

        facade::FacadeBackend& Backend() { return *m_oPooled->m_oBackend; }
        // The facade's components registered on this lease's backend.
        ComponentFactory& Components() { return m_oPooled->m_oComponents; }
        // After a failure: keeps the backend only when its database still answers.
        void KeepIfConnected();

      private:
        BackendPool* m_pPool;
        std::unique_ptr<Pooled> m_oPooled;
    };

    BackendPool(StoreOpener p_fnOpener, size_t p_llCapacity);
    ~BackendPool();
    BackendPool(const BackendPool&) = delete;
    BackendPool& operator=(const BackendPool&) = delete;

    // An idle backend, or one over a newly opened store; throws what the opener throws.
    Lease Acquire();

  private:
    std::unique_ptr<Pooled> Open();
    // Takes back a leased backend; a null one was discarded and frees its place.
    void Release(std::unique_ptr<Pooled> p_oPooled);

    StoreOpener m_fnOpener;
    size_t m_llCapacity;
    std::mutex m_oMutex;
    std::condition_variable m_oReleased;
    std::vector<std::unique_ptr<Pooled>> m_aIdle;
    size_t m_llOpen = 0;  // idle and leased
};

}  // namespace qv::server

#include "server/backend_pool.h"

#include <algorithm>
#include <stdexcept>
#include <utility>

#include "facade/facade_backend.h"
#include "facade/facade_components.h"
#include "facade/market_store.h"

namespace qv::server {

BackendPool::Lease::Lease(BackendPool& p_oPool, std::unique_ptr<Pooled> p_oPooled)
    : m_pPool(&p_oPool), m_oPooled(std::move(p_oPooled)) {}

BackendPool::Lease::Lease(Lease&& p_oOther) noexcept
    : m_pPool(std::exchange(p_oOther.m_pPool, nullptr)), m_oPooled(std::move(p_oOther.m_oPooled)) {}

BackendPool::Lease::~Lease() {
    if (m_pPool != nullptr) {
        m_pPool->Release(std::move(m_oPooled));
    }
}

void BackendPool::Lease::KeepIfConnected() {
    try {
        Backend().Database().QueryInt64("SELECT 1");
    } catch (const std::exception&) {
        m_oPooled.reset();
    }
}

BackendPool::BackendPool(StoreOpener p_fnOpener, size_t p_llCapacity)
    : m_fnOpener(std::move(p_fnOpener)), m_llCapacity(std::max<size_t>(p_llCapacity, 1)) {}

BackendPool::~BackendPool() = default;

BackendPool::Lease BackendPool::Acquire() {
    std::unique_lock<std::mutex> lock(m_oMutex);
    m_oReleased.wait(lock, [this] { return !m_aIdle.empty() || m_llOpen < m_llCapacity; });
    if (!m_aIdle.empty()) {
        std::unique_ptr<Pooled> pooled = std::move(m_aIdle.back());
        m_aIdle.pop_back();
        return Lease(*this, std::move(pooled));
    }
    ++m_llOpen;
    lock.unlock();
    // Opened outside the lock: connecting to a database server may take a while, and the other
    // workers' idle backends stay available meanwhile.
    try {
        return Lease(*this, Open());
    } catch (...) {
        Release(nullptr);
        throw;
    }
}

std::unique_ptr<BackendPool::Pooled> BackendPool::Open() {
    std::shared_ptr<facade::MarketStore> store = m_fnOpener();
    if (!store) {
        throw std::runtime_error("the market database could not be opened");
    }
    auto pooled = std::make_unique<Pooled>();
    pooled->m_oBackend = std::make_shared<facade::FacadeBackend>(std::move(store));
    facade::RegisterFacadeComponents(pooled->m_oComponents, pooled->m_oBackend);
    return pooled;
}

void BackendPool::Release(std::unique_ptr<Pooled> p_oPooled) {
    {
        std::lock_guard<std::mutex> lock(m_oMutex);
        if (p_oPooled) {
            m_aIdle.push_back(std::move(p_oPooled));
        } else {
            --m_llOpen;
        }
    }
    m_oReleased.notify_one();
}

}  // namespace qv::server

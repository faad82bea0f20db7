#include "facade/component_test_support.h"
#include "facade/facade_target.h"
#include "facade/facade_test_files.h"
#include "facade/market_store.h"
#include "facade/sample_market.h"
#include "outside/clock.h"

namespace qv::facade::testing {

namespace {

// The facade in the test's own process, on an SQLite file generated once per run.
class EmbeddedTarget : public FacadeTarget {
  public:
    EmbeddedTarget() {
        auto oStore = std::make_shared<MarketStore>(m_oFolder.File("components.db"),
                                                    MarketStore::Access::ReadWrite);
        GenerateSampleMarket(*oStore, kComponentMarket, {});
        m_oBackend = std::make_shared<FacadeBackend>(oStore);
    }

    std::string Unavailable() const override { return ""; }
    SqlDatabase& Database() override { return m_oBackend->Database(); }
    void Register(ComponentFactory& p_oFactory) override {
        RegisterFacadeComponents(p_oFactory, m_oBackend);
    }
    void LogIn(int32_t p_lOwnerId, const std::string& p_sName) override {
        m_oBackend->Login(p_lOwnerId, p_sName);
    }
    bool IsSaveTime(double p_dWhen, const Clock& p_oCallers) const override {
        return p_dWhen == p_oCallers.Now();
    }

    FacadeBackend& Backend() { return *m_oBackend; }

  private:
    ScratchFolder m_oFolder;
    std::shared_ptr<FacadeBackend> m_oBackend;
};

EmbeddedTarget& Embedded() {
    static EmbeddedTarget s_oTarget;
    return s_oTarget;
}

}  // namespace

FacadeTarget& Target() {
    return Embedded();
}

FacadeBackend& ComponentTest::Backend() {
    return Embedded().Backend();
}

}  // namespace qv::facade::testing

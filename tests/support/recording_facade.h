// A recording stand-in for facade components: it passes every call on to the real component and
// notes it (ProgID, member, the arguments before and after the call, failed or not),
// so that a test can assert on the calls a viewer made.
//
// The real components stay registered in a factory of their own; the recording ones are
// registered under the same ProgIDs in the factory the viewer uses:
//
//     auto real = std::make_shared<ComponentFactory>();
//     RegisterFacadeComponents(*real, store);
//     auto log = std::make_shared<FacadeCallLog>();
//     RegisterRecordingComponents(platform.Components(), real, kFacadeProgIds, log);
//     ... the viewer works ...
//     EXPECT_EQ(log->CallsTo("StockViewer").size(), 1u);
//
// Arrays in the noted arguments are copies; objects (recordsets) are the very objects passed.
#pragma once

#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "outside/component_factory.h"
#include "outside/dispatch.h"

namespace qv::facade {

struct FacadeCall {
    std::string m_sProgId;
    std::string m_sMember;  // as the caller spelt it
    std::vector<Variant> m_aArgumentsBefore;
    std::vector<Variant> m_aArgumentsAfter;  // by-reference arguments as written back
};

class FacadeCallLog {
  public:
    void Add(FacadeCall p_oCall) { m_aCalls.push_back(std::move(p_oCall)); }
    const std::vector<FacadeCall>& Calls() const { return m_aCalls; }
    // The calls of one member, by name without regard to letter case, in call order.
    std::vector<FacadeCall> CallsTo(std::string_view p_sMember) const;
    void Clear() { m_aCalls.clear(); }

  private:
    std::vector<FacadeCall> m_aCalls;
};

class RecordingFacade : public DispatchObject {
  public:
    RecordingFacade(std::string p_sProgId, std::shared_ptr<DispatchObject> p_oInner,
                    std::shared_ptr<FacadeCallLog> p_oLog);

    Variant Invoke(std::string_view p_sName, InvokeKind p_eKind,
                   std::span<Variant> p_args) override;
    // Noted with the member "#" followed by the dispatch id.
    Variant InvokeById(int32_t p_lDispId, InvokeKind p_eKind, std::span<Variant> p_args) override;
    std::string_view DispatchClassName() const override { return m_oInner->DispatchClassName(); }

  private:
    template <class Call>
    Variant Record(std::string p_sMember, std::span<Variant> p_args, const Call& p_fCall);

    std::string m_sProgId;
    std::shared_ptr<DispatchObject> m_oInner;
    std::shared_ptr<FacadeCallLog> m_oLog;
};

// Registers in p_oTarget, under each of p_aProgIds, a creator that makes the component of
// p_oInner and wraps it in a RecordingFacade writing to p_oLog.
void RegisterRecordingComponents(ComponentFactory& p_oTarget,
                                 std::shared_ptr<const ComponentFactory> p_oInner,
                                 std::span<const std::string_view> p_aProgIds,
                                 std::shared_ptr<FacadeCallLog> p_oLog);

}  // namespace qv::facade

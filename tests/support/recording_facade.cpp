#include "support/recording_facade.h"

#include "outside/automation_error.h"
#include "outside/component_factory.h"
#include "outside/text_util.h"

namespace qv::facade {

std::vector<FacadeCall> FacadeCallLog::CallsTo(std::string_view p_sMember) const {
    std::vector<FacadeCall> aCalls;
    for (const FacadeCall& oCall : m_aCalls) {
        if (EqualsIgnoreCase(oCall.m_sMember, p_sMember)) {
            aCalls.push_back(oCall);
        }
    }
    return aCalls;
}

RecordingFacade::RecordingFacade(std::string p_sProgId, std::shared_ptr<DispatchObject> p_oInner,
                                 std::shared_ptr<FacadeCallLog> p_oLog)
    : m_sProgId(std::move(p_sProgId)), m_oInner(std::move(p_oInner)), m_oLog(std::move(p_oLog)) {}

template <class Call>
Variant RecordingFacade::Record(std::string p_sMember, std::span<Variant> p_args,
                                const Call& p_fCall) {
    FacadeCall call{m_sProgId, std::move(p_sMember), {p_args.begin(), p_args.end()}, {}};
    const auto Note = [&] {
        call.m_aArgumentsAfter.assign(p_args.begin(), p_args.end());
        m_oLog->Add(std::move(call));
    };
    try {
        Variant result = p_fCall();
        Note();
        return result;
    } catch (const AutomationError&) {
        Note();
        throw;
    }
}

Variant RecordingFacade::Invoke(std::string_view p_sName, InvokeKind p_eKind,
                                std::span<Variant> p_args) {
    return Record(std::string(p_sName), p_args,
                  [&] { return m_oInner->Invoke(p_sName, p_eKind, p_args); });
}

Variant RecordingFacade::InvokeById(int32_t p_lDispId, InvokeKind p_eKind,
                                    std::span<Variant> p_args) {
    return Record("#" + std::to_string(p_lDispId), p_args,
                  [&] { return m_oInner->InvokeById(p_lDispId, p_eKind, p_args); });
}

void RegisterRecordingComponents(ComponentFactory& p_oTarget,
                                 std::shared_ptr<const ComponentFactory> p_oInner,
                                 std::span<const std::string_view> p_aProgIds,
                                 std::shared_ptr<FacadeCallLog> p_oLog) {
    for (const std::string_view sProgId : p_aProgIds) {
        p_oTarget.Register(sProgId, [p_oInner, p_oLog, sName = std::string(sProgId)] {
            return std::make_shared<RecordingFacade>(sName, p_oInner->CreateObject(sName), p_oLog);
        });
    }
}

}  // namespace qv::facade

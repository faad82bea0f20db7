// What the control master's tests share: a master on a scripted host, start-up arrays and events.
#pragma once

#include "host/control_master.h"
#include "outside/component_factory.h"
#include "outside/event_information.h"
#include "outside/platform_context.h"
#include "outside/scripted_host.h"
#include "outside/scripted_services.h"
#include "outside/vb_date.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <utility>
#include <vector>

namespace qv::testing {

enum class Mode { Plain, WatchList, Portfolio };

inline const double kListDay = DateSerial(2026, 12, 4);
inline const double kHelperDay = DateSerial(2026, 12, 3);

// A stock list of owner 7 on industry 12, 250 rows at most; p_changes replace or add elements.
inline Variant Startup(std::vector<std::pair<int32_t, Variant>> p_changes = {}) {
    std::vector<Variant> elements{
        Variant(int16_t{0}),  Variant(int32_t{7}),     Variant(),
        Variant("250,False"), Variant::Date(kListDay), Variant::Date(kHelperDay),
        Variant(int16_t{0}),  Variant(false),          Variant(int32_t{12})};
    for (auto& [index, value] : p_changes) {
        if (static_cast<size_t>(index) >= elements.size()) {
            elements.resize(static_cast<size_t>(index) + 1);
        }
        elements[static_cast<size_t>(index)] = std::move(value);
    }
    VariantArray array = VariantArray::Vector(0, static_cast<int32_t>(elements.size()) - 1);
    for (size_t i = 0; i < elements.size(); ++i) {
        array.At(static_cast<int32_t>(i)) = elements[i];
    }
    return Variant(std::move(array));
}

// The start-up array of a list in watch-list mode or with a portfolio.
inline Variant InMode(Mode p_eMode, Variant p_vStartup) {
    if (p_eMode == Mode::WatchList) {
        p_vStartup.Array().At(7) = Variant(true);
    }
    if (p_eMode == Mode::Portfolio) {
        p_vStartup.Array().RedimPreserve(10);
        p_vStartup.Array().At(10) = Variant(int32_t{3});
    }
    return p_vStartup;
}

inline std::shared_ptr<EventInformation> Event(std::string p_sName,
                                               std::vector<Variant> p_params = {}) {
    return std::make_shared<EventInformation>(std::move(p_sName), std::move(p_params));
}

class MasterTest : public ::testing::Test {
  protected:
    MasterTest() {
        m_oHost->Answer("TC", Variant("tc-1"));
        m_oHost->Main().Answer("SortCaption", Variant("Price"));
        m_oHost->Main().Answer("BSHCaption", Variant("B 1"));
        m_oHost->Helper().Answer("CurrentDate", Variant::Date(kHelperDay));
        m_oHost->AddSupportControl("ctlWatchListSupport");
        m_oHost->AddSupportControl("ctlPortfolioSupport");
        m_oHost->AddSupportControl("ctlSearchSupport");
        m_oHost->AddSupportControl("ctlHelper");
        // The owner's default watch-list limits: 80 rows, all returned.
        m_platform.Components().Register("QorvantOnlineFacade.ViewerFNTr", [this] {
            auto facade = std::make_shared<RecordingObject>("facade", m_oHost->Log());
            facade->OnCall("getdefaultmaxrows", [](std::span<Variant> args) {
                args[1] = Variant(int32_t{80});
                args[2] = Variant(true);
                return Variant();
            });
            return facade;
        });
        Start();
    }

    // A new master on the host's navigator, started on a stock list in p_eMode, the start-up
    // calls forgotten.
    void Start(Mode p_eMode = Mode::Plain, Variant p_vStartup = Startup()) {
        m_oMaster = NewMaster();
        m_oMaster->InitMainControl(InMode(p_eMode, std::move(p_vStartup)), *m_oHost);
        m_oHost->Log()->Clear();
    }

    std::unique_ptr<CControlMaster> NewMaster() const {
        auto master = std::make_unique<CControlMaster>();
        Variant navigator(std::shared_ptr<DispatchObject>(m_oHost->Navigator()));
        master->Initialize(Variant::Nothing(), navigator);
        return master;
    }

    // The methods called and the properties assigned, gets left out.
    std::vector<std::string> Actions() const {
        std::vector<std::string> lines;
        for (const RecordedCall& call : m_oHost->Log()->Calls()) {
            if (call.Kind != InvokeKind::PropertyGet) {
                lines.push_back(call.Text());
            }
        }
        return lines;
    }

    // The calls of the given members, gets included.
    std::vector<std::string> CallsTo(const std::vector<std::string>& p_members) const {
        std::vector<std::string> lines;
        for (const RecordedCall& call : m_oHost->Log()->Calls()) {
            for (const std::string& member : p_members) {
                if (call.Member == member) {
                    lines.push_back(call.Text());
                }
            }
        }
        return lines;
    }

    ScopedTestPlatform m_platform;
    std::shared_ptr<ScriptedHost> m_oHost = std::make_shared<ScriptedHost>();
    std::unique_ptr<CControlMaster> m_oMaster;
};

}  // namespace qv::testing

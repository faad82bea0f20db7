#include "outside/shared_services.h"

#include "outside/automation_error.h"
#include "outside/component_factory.h"
#include "outside/dispatch.h"
#include "outside/facade_protocol.h"
#include "outside/platform_context.h"
#include "outside/recordset.h"
#include "outside/text_util.h"

#include <array>

namespace qv {

namespace {

constexpr int32_t kRegistryError = 911;
constexpr std::string_view kRegistryEnding =
    ").  Due to this error, the application may not function properly";

}  // namespace

std::string SharedServices::GetValue(std::string_view p_sName) const {
    std::string_view fallback;
    if (EqualsIgnoreCase(p_sName, "NewsURL")) {
        fallback = kDefaultNewsUrl;
    } else if (EqualsIgnoreCase(p_sName, "DividendUrl")) {
        fallback = kDefaultDividendUrl;
    }
    return GetSetting(kApplication, kSection, p_sName, fallback);
}

std::shared_ptr<Recordset> SharedServices::OptionsTrades(int32_t p_lOwnerId) const {
    namespace call = facade_protocol::get_options_trades;
    const std::shared_ptr<DispatchObject> facade =
        CreateObject(facade_protocol::prog_id::kPortfolioReader);
    std::array<Variant, call::kCount> args{Variant(p_lOwnerId)};
    return ExpectRecordset(CallMethod(*facade, call::kMethod, args),
                           "the options trades were expected as a recordset");
}

std::string SharedServices::MachineValue(std::string_view p_sKey,
                                         std::string_view p_sValueName) const {
    std::string value = GetSetting(kMachineApplication, p_sKey, p_sValueName, "");
    if (value.empty()) {
        throw AutomationError(kRegistryError, "SharedServices",
                              "Unable to retrieve application registry value (" +
                                  std::string(p_sValueName) + std::string(kRegistryEnding));
    }
    return value;
}

}  // namespace qv

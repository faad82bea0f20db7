// Registering the facade components under their ProgIDs, so that the viewer's
// CreateObject("QorvantOnlineFacade.ViewerFNtr") and its siblings reach the embedded database.
//
// Each CreateObject makes a new, cheap component object (the callers create one per call); all of
// them share one backend, that is one open database.
//
//     PlatformContext& context = PlatformContext::Current();
//     RegisterFacadeComponents(context.Components(), DefaultMarketDatabasePath());
#pragma once

#include "outside/facade_protocol.h"

#include <array>
#include <memory>
#include <string>
#include <string_view>

namespace qv {
class ComponentFactory;
}

namespace qv::facade {

class FacadeBackend;
class MarketStore;

namespace prog_id = facade_protocol::prog_id;

constexpr std::array<std::string_view, 8> kFacadeProgIds = {
    prog_id::kViewerReader,    prog_id::kViewerWriter,    prog_id::kWatchListReader,
    prog_id::kWatchListWriter, prog_id::kPortfolioReader, prog_id::kPortfolioWriter,
    prog_id::kPages,           prog_id::kScreens};

void RegisterFacadeComponents(ComponentFactory& p_oFactory,
                              std::shared_ptr<FacadeBackend> p_oBackend);
void RegisterFacadeComponents(ComponentFactory& p_oFactory, std::shared_ptr<MarketStore> p_oStore);

// Opens the database at p_sPath (a first run generates the sample market into it) and registers
// the components on it; returns the backend they share.
std::shared_ptr<FacadeBackend> RegisterFacadeComponents(ComponentFactory& p_oFactory,
                                                        const std::string& p_sDatabasePath);

}  // namespace qv::facade

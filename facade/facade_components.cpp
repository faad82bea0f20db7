#include "facade/facade_components.h"

#include "facade/facade_backend.h"
#include "facade/market_store.h"
#include "facade/pages_component.h"
#include "facade/portfolio_reader_component.h"
#include "facade/portfolio_writer_component.h"
#include "facade/sample_market.h"
#include "facade/screens_component.h"
#include "facade/viewer_reader_component.h"
#include "facade/viewer_writer_component.h"
#include "facade/watch_list_reader_component.h"
#include "facade/watch_list_writer_component.h"
#include "outside/component_factory.h"

namespace qv::facade {

namespace {

template <class T>
void RegisterComponent(ComponentFactory& p_oFactory, std::string_view p_sProgId,
                       const std::shared_ptr<FacadeBackend>& p_oBackend) {
    p_oFactory.Register(p_sProgId, [p_oBackend] { return std::make_shared<T>(p_oBackend); });
}

}  // namespace

void RegisterFacadeComponents(ComponentFactory& p_oFactory,
                              std::shared_ptr<FacadeBackend> p_oBackend) {
    RegisterComponent<ViewerReaderComponent>(p_oFactory, prog_id::kViewerReader, p_oBackend);
    RegisterComponent<ViewerWriterComponent>(p_oFactory, prog_id::kViewerWriter, p_oBackend);
    RegisterComponent<WatchListReaderComponent>(p_oFactory, prog_id::kWatchListReader, p_oBackend);
    RegisterComponent<WatchListWriterComponent>(p_oFactory, prog_id::kWatchListWriter, p_oBackend);
    RegisterComponent<PortfolioReaderComponent>(p_oFactory, prog_id::kPortfolioReader, p_oBackend);
    RegisterComponent<PortfolioWriterComponent>(p_oFactory, prog_id::kPortfolioWriter, p_oBackend);
    RegisterComponent<PagesComponent>(p_oFactory, prog_id::kPages, p_oBackend);
    RegisterComponent<ScreensComponent>(p_oFactory, prog_id::kScreens, p_oBackend);
}

void RegisterFacadeComponents(ComponentFactory& p_oFactory, std::shared_ptr<MarketStore> p_oStore) {
    RegisterFacadeComponents(p_oFactory, std::make_shared<FacadeBackend>(std::move(p_oStore)));
}

std::shared_ptr<FacadeBackend> RegisterFacadeComponents(ComponentFactory& p_oFactory,
                                                        const std::string& p_sDatabasePath) {
    auto backend = std::make_shared<FacadeBackend>(
        std::shared_ptr<MarketStore>(OpenOrGenerateMarket(p_sDatabasePath, {})));
    RegisterFacadeComponents(p_oFactory, backend);
    return backend;
}

}  // namespace qv::facade

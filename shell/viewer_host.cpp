#include "shell/viewer_host.h"

#include "control/viewer.h"
#include "facade/facade_components.h"
#include "outside/component_factory.h"
#include "outside/dispatch.h"
#include "outside/grid_control.h"
#include "outside/recordset.h"
#include "shell/market_session.h"

#include <array>

namespace qv {

namespace {

bool IsHistory(int32_t p_lViewerType) {
    return p_lViewerType == vt_StockHistory || p_lViewerType == vt_IndustryHistory ||
           p_lViewerType == vt_SectorHistory;
}

bool HasField(const Recordset& p_rRows, const char* p_sField) {
    return p_rRows.Fields().IndexOf(p_sField) >= 0;
}

}  // namespace

ViewerHost::ViewerHost(const MarketSession& p_oSession)
    : m_oSession(p_oSession), m_oViewer(std::make_shared<Viewer>()) {}

ViewerHost::~ViewerHost() {
    m_oViewer->Destroy();
}

bool ViewerHost::Show(const ViewerRequest& p_oRequest) {
    const ViewerRequest request = Completed(p_oRequest);
    m_oViewer->SetViewerType(request.m_lViewerType);
    m_oRequest = request;
    m_oViewer->SetOwnerId(m_oSession.OwnerId());
    m_oViewer->SetTimeCode(m_oSession.TimeCode());
    m_oViewer->SetStartDate(request.m_lDate);
    if (request.m_lMaxRows == 0) {
        m_oViewer->SetReturnAll(true);
    } else {
        m_oViewer->SetReturnAll(false);
        m_oViewer->SetMaxRows(request.m_lMaxRows);
    }
    if (IsHistory(request.m_lViewerType)) {
        ApplyHistory(request);
    } else {
        ApplyScope(request);
    }
    return m_oViewer->UpdateViewer();
}

ViewerRequest ViewerHost::Completed(const ViewerRequest& p_oRequest) const {
    ViewerRequest request = p_oRequest;
    if (request.m_lDate == 0) {
        request.m_lDate = m_oSession.LastDay();
    }
    if (request.m_lViewerType == vt_StockHistory && request.m_sSymbol.empty()) {
        const auto rows = StockRows(request.m_lDate);
        if (rows && rows->RecordCount() > 0) {
            rows->MoveFirst();
            request.m_sSymbol = rows->Value("Symbol").ToString();
        }
    }
    if (request.m_lViewerType == vt_Portfolio && request.m_lPortfolioId == 0) {
        const auto portfolios = m_oSession.Portfolios();
        request.m_lPortfolioId = portfolios.empty() ? 0 : portfolios.front().m_lCode;
    }
    if (request.m_lViewerType == vt_IndustryHistory && request.m_lIndCode == 0) {
        const auto industries = m_oSession.Industries();
        request.m_lIndCode = industries.empty() ? 0 : industries.front().m_lCode;
    }
    if (request.m_lViewerType == vt_SectorHistory && request.m_lSectorCode == 0) {
        const auto sectors = m_oSession.Sectors();
        request.m_lSectorCode = sectors.empty() ? 0 : sectors.front().m_lCode;
    }
    return request;
}

void ViewerHost::ApplyScope(const ViewerRequest& p_oRequest) {
    m_oViewer->SetIndCode(p_oRequest.m_lIndCode);
    m_oViewer->SetSectorCode(p_oRequest.m_lSectorCode);
    if (p_oRequest.m_lViewerType == vt_FinderResults) {
        m_oViewer->SetFinderResultsType(0);
        m_oViewer->SetFinderResults(ScreenRows(p_oRequest.m_lDate));
        return;
    }
    if (p_oRequest.m_lViewerType == vt_Portfolio) {
        m_oViewer->SetPortfolioID(p_oRequest.m_lPortfolioId);
        m_oViewer->SetFinderResults(HoldingRows(p_oRequest.m_lPortfolioId, p_oRequest.m_lDate));
        return;
    }
    if (p_oRequest.m_lWatchListId != 0) {
        m_oViewer->SetWatchListId(p_oRequest.m_lWatchListId);
    } else if (p_oRequest.m_lPortfolioId != 0) {
        m_oViewer->SetPortfolioID(p_oRequest.m_lPortfolioId);
    }
}

void ViewerHost::ApplyHistory(const ViewerRequest& p_oRequest) {
    m_oViewer->SetSymbol(p_oRequest.m_sSymbol);
    m_oViewer->SetIndCode(p_oRequest.m_lIndCode);
    m_oViewer->SetSectorCode(p_oRequest.m_lSectorCode);
    m_oViewer->SetStartDate(p_oRequest.m_lDate - p_oRequest.m_lHistoryDays);
    m_oViewer->SetEndDate(p_oRequest.m_lDate);
}

std::string ViewerHost::Caption() const {
    const std::string type = m_oViewer->ViewerTypeCaption();
    const std::string other = m_oViewer->ViewerOtherCaption();
    if (type.empty() || other.empty() || other == type) {
        return type.empty() ? other : type;
    }
    return type + " " + other;
}

std::shared_ptr<Recordset> ViewerHost::StockRows(int32_t p_lDate) const {
    Viewer stocks;
    stocks.SetViewerType(vt_Stocks);
    stocks.SetOwnerId(m_oSession.OwnerId());
    stocks.SetTimeCode(m_oSession.TimeCode());
    stocks.SetStartDate(p_lDate == 0 ? m_oSession.LastDay() : p_lDate);
    stocks.SetReturnAll(true);
    stocks.UpdateViewer();
    auto rows = stocks.olePriGrid()->DataSource();
    stocks.Destroy();
    return rows;
}

std::shared_ptr<Recordset> ViewerHost::HoldingRows(int32_t p_lPortfolioId, int32_t p_lDate) const {
    const std::shared_ptr<DispatchObject> reader = CreateObject(facade::prog_id::kPortfolioReader);
    std::array<Variant, 8> args{
        Variant(p_lPortfolioId),
        Variant(m_oSession.OwnerId()),
        Variant(static_cast<double>(p_lDate == 0 ? m_oSession.LastDay() : p_lDate)),
        Variant(false),
        Variant::Nothing(),
        Variant(),
        Variant(false),
        Variant::Nothing()};
    const Variant rows = CallMethod(*reader, "GetCurrentHoldings", args);
    return rows.IsObject() ? rows.ToObjectAs<Recordset>() : nullptr;
}

std::shared_ptr<Recordset> ViewerHost::ScreenRows(int32_t p_lDate) const {
    auto rows = StockRows(p_lDate);
    if (!rows || rows->State() != adStateOpen || !HasField(*rows, "REC")) {
        return rows;
    }
    rows->SetFilter(Variant(std::string(kScreenCriterion)));
    return rows->Copy();
}

}  // namespace qv

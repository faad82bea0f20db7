// Resolving the page addresses the viewer raises. BM_RouteAll reads one address of every kind
// into its page and decides whether the window shows a list for it, as the router does before it
// builds anything; the baseline only splits the same addresses into decoded keys and values with
// QUrlQuery, which knows no pages, no letter case of keys, no lists, numbers or dates.
#include "bench/ratio.h"
#include "shell/page_address.h"
#include "shell/page_router.h"
#include "shell/viewer_request.h"

#include <benchmark/benchmark.h>

#include <QString>
#include <QUrl>
#include <QUrlQuery>

#include <array>
#include <string>

namespace {

constexpr std::array<const char*, 19> kAddresses = {{
    "pagecontroller.aspx?PageType=4&indcode=12&startdate=12/4/2026",
    "pagecontroller.aspx?pagetype=5&sectorcode=3&date=12/4/2026",
    "pagecontroller.aspx?pagetype=6&sectorcode=3&date=12/4/2026",
    "pagecontroller.aspx?pagetype=7&symbol=QA",
    "pagecontroller.aspx?pagetype=8&indcode=12",
    "pagecontroller.aspx?pagetype=9&sectorcode=3",
    "pagecontroller.aspx?pagetype=10&iwp=0&symbol=QA,QB,QC",
    "pagecontroller.aspx?pagetype=11&iwp=1&indcode=12,14",
    "pagecontroller.aspx?pagetype=12&iwp=0&sectorcode=3",
    "pagecontroller.aspx?pagetype=17&wlid=5&timeID=812",
    "pagecontroller.aspx?pagetype=26&symbol=QA&date=12/4/2026",
    "pagecontroller.aspx?pagetype=37&symbol=QA&date=12/4/2026",
    "pagecontroller.aspx?pagetype=40&date=12/4/2026&symbol=QA",
    "pagecontroller.aspx?pagetype=49&indcode=12&date=12/4/2026",
    "pagecontroller.aspx?pagetype=52&sectorcode=3&Date=12/4/2026",
    "QuickTest.asp?sectorcodes=10,20&title=Sector%20Viewer%20-%20Quick%20Test%20Report"
    "&date=12%2F1%2F2026&enddate=12%2F4%2F2026&owner=7&viewertype=2&win32=0",
    "dividends.aspx?stockids=101,102,103",
    "news.aspx?symbol=QA",
    "InvestmentDetails",
}};

void BM_RouteAll(benchmark::State& state) {
    const qv::PageTemplates templates = qv::DefaultPageTemplates();
    const qv::ViewerRequest shown;
    for (auto _ : state) {
        for (const char* address : kAddresses) {
            const qv::PageParse parsed = qv::ParsePageAddress(address, templates);
            if (!parsed.m_oRequest) {
                state.SkipWithError(parsed.m_sError.c_str());
                return;
            }
            benchmark::DoNotOptimize(qv::ListOfPage(*parsed.m_oRequest, shown));
        }
    }
}

void BM_QueryOnly(benchmark::State& state) {
    for (auto _ : state) {
        for (const char* address : kAddresses) {
            const QString text = QString::fromUtf8(address);
            const QUrlQuery query(text.mid(text.indexOf(QLatin1Char('?')) + 1));
            benchmark::DoNotOptimize(query.queryItems(QUrl::FullyDecoded));
        }
    }
}

BENCHMARK(BM_RouteAll)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_QueryOnly)->Unit(benchmark::kMicrosecond);

}  // namespace

int main(int argc, char** argv) {
    return qv::bench::RunWithRatios(argc, argv,
                                    {{"pages.route.all", "BM_RouteAll", "BM_QueryOnly", 2}});
}

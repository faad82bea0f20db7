#include "shell/search_panel.h"

#include "shell/panel_parts.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QToolButton>
#include <QVBoxLayout>

namespace qv {

namespace {

// Stocks, their history, finder results and portfolio holdings are searched by symbol.
bool SearchesStocks(int32_t p_lViewerType) {
    return p_lViewerType == 0 || p_lViewerType == 3 || p_lViewerType == 6 || p_lViewerType == 7;
}

QString ScopeOf(const SearchPanel::ListInfo& p_oInfo) {
    if (SearchesStocks(p_oInfo.m_lViewerType)) {
        return QStringLiteral("Find a stock by symbol or company name");
    }
    if (p_oInfo.m_lViewerType == 2 || p_oInfo.m_lViewerType == 5) {
        return QStringLiteral("Find a sector by name");
    }
    return QStringLiteral("Find an industry group by name");
}

using Self = PanelObject<SearchPanel>;

// A number the master lets and may read back.
void AddLong(DispatchTable::Builder<Self>& p_oBuilder, const char* p_sName,
             int32_t SearchPanel::ListInfo::*p_pField) {
    p_oBuilder.Property(
        p_sName, [p_pField](Self& self) { return Variant(self.Panel().Info().*p_pField); },
        [p_pField](Self& self, const Variant& v) {
            self.Panel().EditInfo().*p_pField = v.ToLong();
            self.Panel().ShowScope();
        });
}

}  // namespace

SearchPanel::SearchPanel(QWidget* p_pParent) : SupportPanel(p_pParent) {
    setObjectName(QStringLiteral("searchPanel"));
    auto* title = new QLabel(QStringLiteral("Search"), this);
    m_pScope = new QLabel(this);
    m_pScope->setObjectName(QStringLiteral("searchScope"));
    m_pScope->setWordWrap(true);
    m_pText = new QLineEdit(this);
    m_pText->setObjectName(QStringLiteral("searchText"));
    m_pText->setAccessibleName(QStringLiteral("Search text"));
    auto* find = new QPushButton(QStringLiteral("&Find"), this);
    find->setObjectName(QStringLiteral("findNow"));

    auto* top = new QHBoxLayout;
    top->addWidget(title, 1);
    top->addWidget(NewCloseButton(this, [this] { RaiseEvent("CLOSECLICKED"); }));
    auto* row = new QHBoxLayout;
    row->addWidget(m_pText, 1);
    row->addWidget(find);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(4, 4, 4, 4);
    layout->addLayout(top);
    layout->addWidget(m_pScope);
    layout->addLayout(row);
    layout->addStretch(1);
    ShowScope();

    connect(m_pText, &QLineEdit::returnPressed, this, [this] { Find(); });
    connect(find, &QPushButton::clicked, this, [this] { Find(); });
}

std::shared_ptr<DispatchObject> SearchPanel::Object() {
    return std::make_shared<Self>(*this, Table(), "ctlSearchSupport");
}

const DispatchTable& SearchPanel::Table() {
    static const DispatchTable table = [] {
        DispatchTable::Builder<Self> builder;
        AddLong(builder, "WatchListId", &ListInfo::m_lWatchListId);
        AddLong(builder, "ViewerType", &ListInfo::m_lViewerType);
        AddLong(builder, "IndCode", &ListInfo::m_lIndCode);
        AddLong(builder, "SectorCode", &ListInfo::m_lSectorCode);
        builder.Property(
            "IsWin32", [](Self& self) { return Variant(self.Panel().Info().m_bIsWin32); },
            [](Self& self, const Variant& v) { self.Panel().EditInfo().m_bIsWin32 = v.ToBool(); });
        builder.Property(
            "CurrentDate",
            [](Self& self) { return Variant::Date(self.Panel().Info().m_dCurrentDate); },
            [](Self& self, const Variant& v) {
                self.Panel().EditInfo().m_dCurrentDate = v.ToDate();
            });
        return builder.Build();
    }();
    return table;
}

void SearchPanel::showEvent(QShowEvent* p_pEvent) {
    SupportPanel::showEvent(p_pEvent);
    // Asked each time it shows: the list beside it may have changed while it was hidden.
    RaiseEvent("GETINFO");
    m_pText->setFocus();
}

void SearchPanel::ShowScope() {
    m_pScope->setText(ScopeOf(m_oInfo));
}

void SearchPanel::Find() {
    const std::string text = m_pText->text().trimmed().toStdString();
    RaiseEvent(SearchesStocks(m_oInfo.m_lViewerType) ? "FINDSYMBOL" : "FINDINDUSTRIES",
               {Variant(text)});
}

QString SearchPanel::ScopeText() const {
    return m_pScope->text();
}

}  // namespace qv

#include "shell/portfolio_panel.h"

#include "shell/market_session.h"
#include "shell/panel_parts.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QToolButton>
#include <QVBoxLayout>

namespace qv {

namespace {

constexpr int kIdRole = Qt::UserRole;

}  // namespace

PortfolioPanel::PortfolioPanel(const MarketSession& p_oSession, QWidget* p_pParent)
    : SupportPanel(p_pParent) {
    setObjectName(QStringLiteral("portfolioPanel"));
    auto* title = new QLabel(QStringLiteral("Portfolios"), this);
    m_pList = new QListWidget(this);
    m_pList->setObjectName(QStringLiteral("portfolioList"));
    m_pList->setAccessibleName(QStringLiteral("Portfolios"));
    for (const NamedCode& portfolio : p_oSession.Portfolios()) {
        auto* item = new QListWidgetItem(QString::fromStdString(portfolio.m_sName), m_pList);
        item->setData(kIdRole, portfolio.m_lCode);
    }
    auto* show = new QPushButton(QStringLiteral("&Show"), this);
    show->setObjectName(QStringLiteral("showPortfolio"));
    m_pStatus = new QLabel(this);
    m_pStatus->setObjectName(QStringLiteral("portfolioStatus"));
    m_pStatus->setWordWrap(true);
    if (m_pList->count() == 0) {
        m_pStatus->setText(QStringLiteral("You have no portfolios yet"));
    }

    auto* top = new QHBoxLayout;
    top->addWidget(title, 1);
    top->addWidget(NewCloseButton(this, [this] { RaiseEvent("CLOSECLICKED"); }));
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(4, 4, 4, 4);
    layout->addLayout(top);
    layout->addWidget(m_pList, 1);
    layout->addWidget(show);
    layout->addWidget(m_pStatus);

    connect(m_pList, &QListWidget::itemActivated, this,
            [this](QListWidgetItem* p_pItem) { Choose(p_pItem); });
    connect(show, &QPushButton::clicked, this, [this] { Choose(m_pList->currentItem()); });
}

std::shared_ptr<DispatchObject> PortfolioPanel::Object() {
    return std::make_shared<PanelObject<PortfolioPanel>>(*this, Table(), "ctlPortfolioSupport");
}

const DispatchTable& PortfolioPanel::Table() {
    using Self = PanelObject<PortfolioPanel>;
    static const DispatchTable table =
        DispatchTable::Builder<Self>()
            .Property(
                "RaiseHoldings", [](Self& self) { return Variant(self.Panel().RaiseHoldings()); },
                [](Self& self, const Variant& v) { self.Panel().SetRaiseHoldings(v.ToBool()); })
            .Property(
                "CurrentItem", [](Self& self) { return Variant(self.Panel().CurrentItem()); },
                [](Self& self, const Variant& v) { self.Panel().SetCurrentItem(v.ToLong()); })
            .Build();
    return table;
}

int32_t PortfolioPanel::CurrentItem() const {
    const QListWidgetItem* item = m_pList->currentItem();
    return item != nullptr ? item->data(kIdRole).toInt() : 0;
}

bool PortfolioPanel::SetCurrentItem(int32_t p_lPortfolioId) {
    for (int row = 0; row < m_pList->count(); ++row) {
        QListWidgetItem* item = m_pList->item(row);
        if (item->data(kIdRole).toInt() == p_lPortfolioId) {
            m_pList->setCurrentItem(item);
            Choose(item);
            return true;
        }
    }
    m_pStatus->setText(QStringLiteral("Portfolio %1 is not one of yours").arg(p_lPortfolioId));
    return false;
}

void PortfolioPanel::Choose(const QListWidgetItem* p_pItem) {
    if (p_pItem == nullptr) {
        m_pStatus->setText(QStringLiteral("Choose a portfolio to show"));
        return;
    }
    m_pStatus->setText(QStringLiteral("Showing ") + p_pItem->text());
    RaiseEvent("ITEMSELECTED", {Variant(p_pItem->data(kIdRole).toInt())});
}

QString PortfolioPanel::StatusText() const {
    return m_pStatus->text();
}

}  // namespace qv

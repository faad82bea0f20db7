#include "shell/portfolio_panel.h"

#include "outside/automation_error.h"
#include "outside/platform_context.h"
#include "shell/market_session.h"
#include "shell/panel_parts.h"
#include "shell/portfolio_calls.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QInputDialog>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QToolButton>
#include <QVBoxLayout>

namespace qv {

namespace {

constexpr int kIdRole = Qt::UserRole;

}  // namespace

PortfolioPanel::PortfolioPanel(const MarketSession& p_oSession, QWidget* p_pParent)
    : SupportPanel(p_pParent), m_oSession(p_oSession) {
    setObjectName(QStringLiteral("portfolioPanel"));
    auto* title = new QLabel(QStringLiteral("Portfolios"), this);
    m_pList = new QListWidget(this);
    m_pList->setObjectName(QStringLiteral("portfolioList"));
    m_pList->setAccessibleName(QStringLiteral("Portfolios"));
    m_pStatus = new QLabel(this);
    m_pStatus->setObjectName(QStringLiteral("portfolioStatus"));
    m_pStatus->setWordWrap(true);
    Refill(0);

    auto* top = new QHBoxLayout;
    top->addWidget(title, 1);
    top->addWidget(NewCloseButton(this, [this] { RaiseEvent("CLOSECLICKED"); }));
    auto* buttons = new QGridLayout;
    const auto addButton = [&](const char* p_sText, const char* p_sName, int p_lPlace,
                               std::function<void()> p_fnClicked) {
        auto* button = new QPushButton(QString::fromUtf8(p_sText), this);
        button->setObjectName(QString::fromLatin1(p_sName));
        buttons->addWidget(button, p_lPlace / 3, p_lPlace % 3);
        connect(button, &QPushButton::clicked, this, std::move(p_fnClicked));
    };
    addButton("&Show", "showPortfolio", 0, [this] { Choose(m_pList->currentItem()); });
    addButton("&New…", "newPortfolio", 1, [this] { NewPortfolio(); });
    addButton("&Rename…", "renamePortfolio", 2, [this] { RenameCurrent(); });
    addButton("&Delete", "deletePortfolio", 3, [this] { DeleteCurrent(); });
    addButton("&Trades…", "portfolioTrades", 4, [this] {
        if (CurrentItem() == 0) {
            m_pStatus->setText(QStringLiteral("Choose a portfolio: its trades are shown"));
        } else if (m_fnTrades) {
            m_fnTrades(CurrentItem());
        }
    });
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(4, 4, 4, 4);
    layout->addLayout(top);
    layout->addWidget(m_pList, 1);
    layout->addLayout(buttons);
    layout->addWidget(m_pStatus);

    connect(m_pList, &QListWidget::itemActivated, this,
            [this](QListWidgetItem* p_pItem) { Choose(p_pItem); });
}

void PortfolioPanel::Refill(int32_t p_lPortfolioId) {
    m_pList->clear();
    for (const NamedCode& portfolio : m_oSession.Portfolios()) {
        auto* item = new QListWidgetItem(QString::fromStdString(portfolio.m_sName), m_pList);
        item->setData(kIdRole, portfolio.m_lCode);
    }
    if (QListWidgetItem* item = Find(p_lPortfolioId)) {
        m_pList->setCurrentItem(item);
    }
    if (m_pList->count() == 0) {
        m_pStatus->setText(QStringLiteral("You have no portfolios yet: New… makes one"));
    }
}

QListWidgetItem* PortfolioPanel::Find(int32_t p_lPortfolioId) const {
    for (int row = 0; row < m_pList->count(); ++row) {
        QListWidgetItem* item = m_pList->item(row);
        if (item->data(kIdRole).toInt() == p_lPortfolioId) {
            return item;
        }
    }
    return nullptr;
}

std::optional<QString> PortfolioPanel::AskName(const QString& p_sTitle, const QString& p_sName) {
    if (m_fnAskName) {
        return m_fnAskName(p_sTitle, p_sName);
    }
    bool ok = false;
    const QString name = QInputDialog::getText(this, p_sTitle, QStringLiteral("&Name:"),
                                               QLineEdit::Normal, p_sName, &ok);
    return ok ? std::optional<QString>(name) : std::nullopt;
}

void PortfolioPanel::Changed(int32_t p_lNewPortfolioId) {
    if (m_fnChanged) {
        m_fnChanged(p_lNewPortfolioId);
    }
}

bool PortfolioPanel::NewPortfolio() {
    const std::optional<QString> name = AskName(QStringLiteral("New Portfolio"), QString());
    if (!name) {
        return false;
    }
    int32_t id = 0;
    try {
        id = qv::NewPortfolio(m_oSession.OwnerId(), name->toStdString());
    } catch (const std::exception& error) {
        m_pStatus->setText(QStringLiteral("No portfolio was made: ") +
                           QString::fromStdString(ErrorText(error)));
        return false;
    }
    Refill(id);
    Choose(Find(id));
    Changed(id);
    return true;
}

bool PortfolioPanel::RenameCurrent() {
    const QListWidgetItem* item = m_pList->currentItem();
    if (item == nullptr) {
        m_pStatus->setText(QStringLiteral("Choose the portfolio to rename"));
        return false;
    }
    const int32_t id = item->data(kIdRole).toInt();
    const QString old = item->text();
    const std::optional<QString> name = AskName(QStringLiteral("Rename Portfolio"), old);
    if (!name) {
        return false;
    }
    try {
        qv::RenamePortfolio(m_oSession.OwnerId(), id, name->toStdString());
    } catch (const std::exception& error) {
        m_pStatus->setText(QStringLiteral("%1 was not renamed: ").arg(old) +
                           QString::fromStdString(ErrorText(error)));
        return false;
    }
    Refill(id);
    m_pStatus->setText(QStringLiteral("Renamed %1 to %2").arg(old, m_pList->currentItem()->text()));
    Changed(0);
    return true;
}

bool PortfolioPanel::DeleteCurrent() {
    const QListWidgetItem* item = m_pList->currentItem();
    if (item == nullptr) {
        m_pStatus->setText(QStringLiteral("Choose the portfolio to delete"));
        return false;
    }
    const int32_t id = item->data(kIdRole).toInt();
    const QString name = item->text();
    const std::string question =
        "Delete the portfolio \"" + name.toStdString() + "\" with all its trades?";
    if (MsgBox(question, vbYesNo, vbQuestion, "Delete Portfolio") != vbYes) {
        m_pStatus->setText(QStringLiteral("Kept ") + name);
        return false;
    }
    try {
        qv::DeletePortfolio(m_oSession.OwnerId(), id);
    } catch (const std::exception& error) {
        m_pStatus->setText(QStringLiteral("%1 was not deleted: ").arg(name) +
                           QString::fromStdString(ErrorText(error)));
        return false;
    }
    Refill(0);
    m_pStatus->setText(QStringLiteral("Deleted ") + name);
    Changed(0);
    return true;
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
    QListWidgetItem* item = Find(p_lPortfolioId);
    if (item == nullptr) {
        m_pStatus->setText(QStringLiteral("Portfolio %1 is not one of yours").arg(p_lPortfolioId));
        return false;
    }
    m_pList->setCurrentItem(item);
    Choose(item);
    return true;
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

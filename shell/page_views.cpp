#include "shell/page_views.h"

#include "outside/vb_date.h"

#include <QFont>
#include <QFormLayout>
#include <QLabel>
#include <QStringList>
#include <QVBoxLayout>
#include <QWidget>

namespace qv {

namespace {

QString Text(const std::string& p_sText) {
    return QString::fromStdString(p_sText);
}

QString Day(int32_t p_lDay) {
    return p_lDay == 0 ? QStringLiteral("the latest trading day")
                       : Text(DefaultDateText(static_cast<double>(p_lDay)));
}

QString Codes(const PageRequest& p_oRequest) {
    QStringList codes;
    for (const std::string& code : p_oRequest.m_codes) {
        codes << Text(code);
    }
    return codes.join(QStringLiteral(", "));
}

// "stock QA" or "stocks QA, QB".
QString Named(const PageRequest& p_oRequest, const char* p_sOne, const char* p_sMany) {
    return QString::fromUtf8(p_oRequest.m_codes.size() == 1 ? p_sOne : p_sMany) + QLatin1Char(' ') +
           Codes(p_oRequest);
}

// What the quick test's ids are ids of.
QString QuickTestRows(const PageRequest& p_oRequest) {
    if (p_oRequest.m_sCodeKey == "indcodes") {
        return Named(p_oRequest, "industry group", "industry groups");
    }
    if (p_oRequest.m_sCodeKey == "sectorcodes") {
        return Named(p_oRequest, "business sector", "business sectors");
    }
    // The grid's quick test names its stocks by id, a host may name them by symbol.
    return Named(p_oRequest, "stock", "stocks");
}

// A page: its heading and the lines under it, top-aligned.
QWidget* NewPage(const QString& p_sHeading, const QStringList& p_lines) {
    QWidget* page = NewPageFrame(p_sHeading);
    for (const QString& line : p_lines) {
        AddPageLine(*page, line);
    }
    static_cast<QVBoxLayout*>(page->layout())->addStretch();
    return page;
}

// The keys and values the address gave, under the page's lines.
void AddParameters(QWidget& p_oPage, const PageRequest& p_oRequest) {
    if (p_oRequest.m_parameters.empty()) {
        return;
    }
    auto* form = new QFormLayout;
    form->setObjectName(QStringLiteral("pageParameters"));
    for (const auto& [key, value] : p_oRequest.m_parameters) {
        form->addRow(NewPageText(Text(key), &p_oPage), NewPageText(Text(value), &p_oPage));
    }
    auto* layout = static_cast<QVBoxLayout*>(p_oPage.layout());
    layout->insertWidget(layout->count() - 1,
                         NewPageText(QStringLiteral("The address gives:"), &p_oPage));
    layout->insertLayout(layout->count() - 1, form);
}

}  // namespace

QLabel* NewPageText(const QString& p_sText, QWidget* p_pParent) {
    auto* label = new QLabel(p_sText, p_pParent);
    label->setWordWrap(true);
    label->setTextFormat(Qt::PlainText);
    label->setTextInteractionFlags(Qt::TextSelectableByMouse);
    return label;
}

QLabel* NewPageHeading(const QString& p_sText, QWidget* p_pParent) {
    QLabel* heading = NewPageText(p_sText, p_pParent);
    heading->setObjectName(QStringLiteral("pageHeading"));
    QFont font = heading->font();
    font.setBold(true);
    font.setPointSizeF(font.pointSizeF() * 1.3);
    heading->setFont(font);
    return heading;
}

QWidget* NewPageFrame(const QString& p_sHeading) {
    auto* page = new QWidget;
    auto* layout = new QVBoxLayout(page);
    layout->addWidget(NewPageHeading(p_sHeading, page));
    return page;
}

void AddPageLine(QWidget& p_oPage, const QString& p_sLine) {
    p_oPage.layout()->addWidget(NewPageText(p_sLine, &p_oPage));
}

QString PageSubject(const PageRequest& p_oRequest) {
    switch (p_oRequest.m_eKind) {
        case PageKind::StocksInIndustry:
        case PageKind::IndustryHistory:
        case PageKind::IndustryDetails:
        case PageKind::IndustryGraph:
            return Named(p_oRequest, "industry group", "industry groups");
        case PageKind::StocksInSector:
        case PageKind::IndustriesInSector:
        case PageKind::SectorHistory:
        case PageKind::SectorDetails:
        case PageKind::SectorGraph:
            return Named(p_oRequest, "business sector", "business sectors");
        case PageKind::WatchListGraph:
            return QStringLiteral("watch list %1").arg(p_oRequest.m_lWatchListId);
        case PageKind::QuickTest:
            return QuickTestRows(p_oRequest);
        case PageKind::Dividends:
            return Named(p_oRequest, "the stock with id", "the stocks with ids");
        case PageKind::InvestmentDetails:
            return QStringLiteral("the chosen holding");
        case PageKind::StockHistory:
        case PageKind::StockGraph:
        case PageKind::OptionPrice:
        case PageKind::StockDetails:
        case PageKind::StockAnalysis:
        case PageKind::News:
            break;
    }
    return Named(p_oRequest, "stock", "stocks");
}

QString PageContents(const PageRequest& p_oRequest) {
    const QString subject = PageSubject(p_oRequest);
    const QString day = Day(p_oRequest.m_lDate);
    const QString edition =
        p_oRequest.m_bAdvanced ? QStringLiteral(", in the advanced edition") : QString();
    switch (p_oRequest.m_eKind) {
        case PageKind::StockDetails:
            return QStringLiteral("The prices, rating and measures of %1 on %2.").arg(subject, day);
        case PageKind::IndustryDetails:
            return QStringLiteral("The measures of %1 on %2, and its stocks.").arg(subject, day);
        case PageKind::SectorDetails:
            return QStringLiteral("The measures of %1 on %2, and its industry groups.")
                .arg(subject, day);
        case PageKind::StockGraph:
        case PageKind::IndustryGraph:
        case PageKind::SectorGraph:
            return QStringLiteral("A graph of the prices of %1 over time%2.").arg(subject, edition);
        case PageKind::WatchListGraph:
            return QStringLiteral("A graph of the average of %1 over time, from time %2.")
                .arg(subject)
                .arg(p_oRequest.m_lTimeId);
        case PageKind::StockAnalysis:
            return QStringLiteral("The analysis of %1 on %2: its rating and what it rests on.")
                .arg(subject, day);
        case PageKind::OptionPrice:
            return QStringLiteral("The price of an option on %1 on %2.").arg(subject, day);
        case PageKind::QuickTest:
            return QStringLiteral("A back-test of %1 from %2 to %3%4.")
                .arg(subject, day, Day(p_oRequest.m_lEndDate),
                     p_oRequest.m_sTitle.empty()
                         ? QString()
                         : QStringLiteral(", titled \"%1\"").arg(Text(p_oRequest.m_sTitle)));
        case PageKind::Dividends:
            return QStringLiteral("The upcoming dividend dates of %1.").arg(subject);
        case PageKind::News:
            return QStringLiteral("The news of %1.").arg(subject);
        case PageKind::InvestmentDetails:
            return QStringLiteral("The purchases, cost and value of %1 of the portfolio.")
                .arg(subject);
        case PageKind::StocksInIndustry:
        case PageKind::StocksInSector:
        case PageKind::IndustriesInSector:
        case PageKind::StockHistory:
        case PageKind::IndustryHistory:
        case PageKind::SectorHistory:
            break;
    }
    return QStringLiteral("The %1 list of %2.")
        .arg(Text(PageKindName(p_oRequest.m_eKind)), subject);
}

QWidget* NewErrorPage(const QString& p_sAddress, const QString& p_sError) {
    return NewPage(QStringLiteral("This address cannot be opened"),
                   {p_sError + QLatin1Char('.'), QStringLiteral("The address: ") + p_sAddress});
}

QWidget* NewPendingPage(const PageRequest& p_oRequest) {
    QWidget* page = NewPage(Text(PageKindName(p_oRequest.m_eKind)),
                            {QStringLiteral("This page is not built yet."),
                             QStringLiteral("It would show: ") + PageContents(p_oRequest)});
    AddParameters(*page, p_oRequest);
    return page;
}

QWidget* NewNewsPage(const PageRequest& p_oRequest, const QString& p_sNewsAddress) {
    const QString subject = PageSubject(p_oRequest);
    if (IsAbsoluteAddress(p_sNewsAddress.toStdString())) {
        return NewPage(QStringLiteral("Stock news"),
                       {QStringLiteral("The news of %1 is on the news source's page, %2.")
                            .arg(subject, p_sNewsAddress),
                        QStringLiteral("\"Open in browser\" opens it.")});
    }
    return NewPage(
        QStringLiteral("Stock news"),
        {QStringLiteral("No news source is configured, so the news of %1 cannot be shown.")
             .arg(subject),
         QStringLiteral(
             "To configure one, set \"NewsURL\" in the per-user settings (the section "
             "[Olmaris60/SharedServices] of qorvant/settings.ini in the user's config "
             "folder) to the address of a news page, with ***SYMBOL*** where the "
             "symbol goes, for example https://news.example.com/quote?s=***SYMBOL***.")});
}

}  // namespace qv

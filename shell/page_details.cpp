#include "shell/page_details.h"

#include "outside/automation_error.h"
#include "outside/component_factory.h"
#include "outside/dispatch.h"
#include "outside/facade_protocol.h"
#include "outside/recordset.h"
#include "outside/variant.h"
#include "outside/vb_date.h"
#include "shell/chart_series.h"
#include "shell/page_address.h"
#include "shell/page_views.h"

#include <QFormLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLocale>
#include <QTableWidget>
#include <QVBoxLayout>
#include <QWidget>

#include <array>
#include <cmath>
#include <exception>
#include <memory>
#include <span>

namespace qv {

namespace {

namespace protocol = facade_protocol;

enum class Style { Text, Number, Whole, Percent, Day, Rating };

// A field of the facade's rows and how a person reads it.
struct Figure {
    const char* m_sField;
    const char* m_sCaption;
    Style m_eStyle;
};

constexpr std::array<Figure, 13> kStockFigures = {{
    {"TradeDate", "Day", Style::Day},
    {"Open", "Open", Style::Number},
    {"High", "High", Style::Number},
    {"Low", "Low", Style::Number},
    {"Close", "Close", Style::Number},
    {"Volume", "Volume", Style::Whole},
    {"High52", "52-week high", Style::Number},
    {"Low52", "52-week low", Style::Number},
    {"MA50", "50-day average", Style::Number},
    {"MA200", "200-day average", Style::Number},
    {"RelStrength", "Relative strength", Style::Number},
    {"RSRank", "Strength rank (1 to 99)", Style::Whole},
    {"REC", "Recommendation", Style::Rating},
}};

constexpr std::array<Figure, 9> kGroupFigures = {{
    {"TradeDate", "Day", Style::Day},
    {"IndexValue", "Index", Style::Number},
    {"PctChange", "Change", Style::Percent},
    {"Advancing", "Advancing", Style::Whole},
    {"Declining", "Declining", Style::Whole},
    {"MemberCount", "Members", Style::Whole},
    {"Volume", "Volume", Style::Whole},
    {"RSRank", "Average strength rank", Style::Number},
    {"Rank", "Rank among its kind", Style::Whole},
}};

constexpr std::array<Figure, 7> kStockMembers = {{
    {"Code", "Symbol", Style::Text},
    {"Name", "Company", Style::Text},
    {"Value", "Close", Style::Number},
    {"PctChange", "Change", Style::Percent},
    {"Volume", "Volume", Style::Whole},
    {"RSRank", "Strength rank", Style::Whole},
    {"REC", "Rec", Style::Text},
}};

constexpr std::array<Figure, 8> kIndustryMembers = {{
    {"Code", "Code", Style::Text},
    {"Name", "Industry group", Style::Text},
    {"Value", "Index", Style::Number},
    {"PctChange", "Change", Style::Percent},
    {"Volume", "Volume", Style::Whole},
    {"RSRank", "Average strength rank", Style::Number},
    {"Advancing", "Advancing", Style::Whole},
    {"MemberCount", "Stocks", Style::Whole},
}};

constexpr std::array<Figure, 12> kAnalysisFigures = {{
    {"Code", "Code", Style::Text},
    {"Name", "Name", Style::Text},
    {"Value", "Close or index", Style::Number},
    {"PctChange", "Change", Style::Percent},
    {"High52", "52-week high", Style::Number},
    {"Low52", "52-week low", Style::Number},
    {"RSRank", "Strength rank", Style::Number},
    {"REC", "Recommendation", Style::Rating},
    {"Buy", "Buy", Style::Whole},
    {"Hold", "Hold", Style::Whole},
    {"Sell", "Sell", Style::Whole},
    {"MemberCount", "Members", Style::Whole},
}};

QString Text(const std::string& p_sText) {
    return QString::fromStdString(p_sText);
}

QString RatingText(const std::string& p_sRating) {
    if (p_sRating == "B") {
        return QStringLiteral("Buy");
    }
    if (p_sRating == "S") {
        return QStringLiteral("Sell");
    }
    if (p_sRating == "H") {
        return QStringLiteral("Hold");
    }
    return Text(p_sRating);
}

QString CellText(const Variant& p_vValue, Style p_eStyle) {
    if (p_vValue.IsNull() || p_vValue.IsEmpty()) {
        return QString();
    }
    const QLocale locale;
    switch (p_eStyle) {
        case Style::Number:
            return locale.toString(p_vValue.ToDouble(), 'f', 2);
        case Style::Whole:
            return locale.toString(static_cast<qlonglong>(std::llround(p_vValue.ToDouble())));
        case Style::Percent:
            return locale.toString(p_vValue.ToDouble(), 'f', 2) + QLatin1Char('%');
        case Style::Day:
            return Text(DefaultDateText(std::floor(p_vValue.ToDouble())));
        case Style::Rating:
            return RatingText(p_vValue.ToString());
        case Style::Text:
            break;
    }
    return Text(p_vValue.ToString());
}

// The value of p_sField in the current row; Empty where the rows have no such field.
Variant Field(const Recordset& p_oRows, const char* p_sField) {
    return p_oRows.Fields().IndexOf(p_sField) >= 0 ? p_oRows.Value(p_sField) : Variant();
}

QVBoxLayout& LayoutOf(QWidget& p_oPage) {
    return *static_cast<QVBoxLayout*>(p_oPage.layout());
}

// The figures of the current row of p_oRows, a labelled line each.
void AddFigures(QWidget& p_oPage, const Recordset& p_oRows, std::span<const Figure> p_figures) {
    auto* form = new QFormLayout;
    for (const Figure& figure : p_figures) {
        form->addRow(
            NewPageText(QString::fromUtf8(figure.m_sCaption), &p_oPage),
            NewPageText(CellText(Field(p_oRows, figure.m_sField), figure.m_eStyle), &p_oPage));
    }
    LayoutOf(p_oPage).addLayout(form);
}

QTableWidget* NewTable(QWidget& p_oPage, int p_iRows, int p_iColumns) {
    auto* table = new QTableWidget(p_iRows, p_iColumns, &p_oPage);
    table->setObjectName(QStringLiteral("pageTable"));
    table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table->verticalHeader()->setDefaultSectionSize(table->fontMetrics().height() + 6);
    return table;
}

QTableWidgetItem* NewCell(const Recordset& p_oRows, const Figure& p_oFigure) {
    auto* item =
        new QTableWidgetItem(CellText(Field(p_oRows, p_oFigure.m_sField), p_oFigure.m_eStyle));
    if (p_oFigure.m_eStyle != Style::Text && p_oFigure.m_eStyle != Style::Rating) {
        item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
    }
    return item;
}

// Every row of p_oRows, one column a figure; a person may sort it by a header click.
void AddTable(QWidget& p_oPage, Recordset& p_oRows, std::span<const Figure> p_columns) {
    auto* table = NewTable(p_oPage, p_oRows.ViewCount(), static_cast<int>(p_columns.size()));
    table->verticalHeader()->hide();
    QStringList captions;
    for (const Figure& column : p_columns) {
        captions << QString::fromUtf8(column.m_sCaption);
    }
    table->setHorizontalHeaderLabels(captions);
    int row = 0;
    for (p_oRows.MoveFirst(); !p_oRows.IsEOF(); p_oRows.MoveNext(), ++row) {
        for (size_t column = 0; column < p_columns.size(); ++column) {
            table->setItem(row, static_cast<int>(column), NewCell(p_oRows, p_columns[column]));
        }
    }
    table->resizeColumnsToContents();
    // The facade's order until a person clicks a header.
    table->horizontalHeader()->setSortIndicator(-1, Qt::AscendingOrder);
    table->setSortingEnabled(true);
    table->setMinimumHeight(table->verticalHeader()->defaultSectionSize() * 8);
    LayoutOf(p_oPage).addWidget(table, 1);
}

// The rows of p_oRows side by side, a column each under its p_sHeaderField, a figure a line: a
// few rows of many figures read in a narrow area.
void AddSideBySide(QWidget& p_oPage, Recordset& p_oRows, const char* p_sHeaderField,
                   std::span<const Figure> p_figures) {
    auto* table = NewTable(p_oPage, static_cast<int>(p_figures.size()), p_oRows.ViewCount());
    QStringList captions;
    for (const Figure& figure : p_figures) {
        captions << QString::fromUtf8(figure.m_sCaption);
    }
    table->setVerticalHeaderLabels(captions);
    QStringList columns;
    int column = 0;
    for (p_oRows.MoveFirst(); !p_oRows.IsEOF(); p_oRows.MoveNext(), ++column) {
        columns << CellText(Field(p_oRows, p_sHeaderField), Style::Text);
        for (size_t row = 0; row < p_figures.size(); ++row) {
            table->setItem(static_cast<int>(row), column, NewCell(p_oRows, p_figures[row]));
        }
    }
    table->setHorizontalHeaderLabels(columns);
    table->resizeColumnsToContents();
    LayoutOf(p_oPage).addWidget(table, 1);
}

std::shared_ptr<Recordset> Call(std::string_view p_sMethod, std::span<Variant> p_args) {
    return ExpectRecordset(CallPages(p_sMethod, p_args),
                           "the pages component answers with a recordset");
}

// A page names one stock or group; of several, the first.
void SayFirstOfSeveral(QWidget& p_oWidget, const PageRequest& p_oPage) {
    if (p_oPage.m_codes.size() > 1) {
        AddPageLine(p_oWidget, QStringLiteral("The address names %1; this page shows the first.")
                                   .arg(p_oPage.m_codes.size()));
    }
}

QWidget* NewStockDetails(const PageRequest& p_oPage) {
    std::array<Variant, protocol::stock_detail::kCount> args{Variant(p_oPage.m_codes.front()),
                                                             DayArgument(p_oPage.m_lDate)};
    const std::shared_ptr<Recordset> rows = Call(protocol::stock_detail::kMethod, args);
    QWidget* page = NewPageFrame(QStringLiteral("Stock details: %1 (%2)")
                                     .arg(CellText(Field(*rows, "CompanyName"), Style::Text),
                                          CellText(Field(*rows, "Symbol"), Style::Text)));
    AddPageLine(*page, QStringLiteral("Industry group %1 (%2), business sector %3 (%4).")
                           .arg(CellText(Field(*rows, "IndName"), Style::Text),
                                CellText(Field(*rows, "IndCode"), Style::Text),
                                CellText(Field(*rows, "SectorName"), Style::Text),
                                CellText(Field(*rows, "SectorCode"), Style::Text)));
    SayFirstOfSeveral(*page, p_oPage);
    AddFigures(*page, *rows, kStockFigures);
    LayoutOf(*page).addStretch();
    return page;
}

QWidget* NewGroupDetails(const PageRequest& p_oPage) {
    const bool industry = p_oPage.m_eKind == PageKind::IndustryDetails;
    std::array<Variant, protocol::group_detail::kCount> args{
        Variant(static_cast<int32_t>(std::stol(p_oPage.m_codes.front()))),
        DayArgument(p_oPage.m_lDate), Variant()};
    const std::shared_ptr<Recordset> rows = Call(
        industry ? protocol::group_detail::kIndustryMethod : protocol::group_detail::kSectorMethod,
        args);
    const std::shared_ptr<Recordset> members = ExpectRecordset(
        args[protocol::group_detail::kMembers.Position], "the members come back as a recordset");
    QWidget* page = NewPageFrame(QStringLiteral("%1: %2 (%3)")
                                     .arg(Text(PageKindName(p_oPage.m_eKind)),
                                          CellText(Field(*rows, "Name"), Style::Text),
                                          CellText(Field(*rows, "Code"), Style::Text)));
    if (industry) {
        AddPageLine(*page, QStringLiteral("Business sector %1 (%2).")
                               .arg(CellText(Field(*rows, "SectorName"), Style::Text),
                                    CellText(Field(*rows, "SectorCode"), Style::Text)));
    }
    SayFirstOfSeveral(*page, p_oPage);
    AddFigures(*page, *rows, kGroupFigures);
    AddPageLine(*page,
                industry ? QStringLiteral("Its stocks:") : QStringLiteral("Its industry groups:"));
    AddTable(*page, *members,
             industry ? std::span<const Figure>(kStockMembers)
                      : std::span<const Figure>(kIndustryMembers));
    return page;
}

QWidget* NewStockAnalysis(const PageRequest& p_oPage) {
    std::array<Variant, protocol::stock_analysis::kCount> args{Variant(p_oPage.m_codes.front()),
                                                               DayArgument(p_oPage.m_lDate)};
    const std::shared_ptr<Recordset> rows = Call(protocol::stock_analysis::kMethod, args);
    rows->MoveFirst();
    QWidget* page = NewPageFrame(QStringLiteral("Stock analysis: %1 (%2)")
                                     .arg(CellText(Field(*rows, "Name"), Style::Text),
                                          CellText(Field(*rows, "Code"), Style::Text)));
    AddPageLine(*page,
                QStringLiteral("On %1, rated %2, beside its industry group and business sector:")
                    .arg(CellText(Field(*rows, "TradeDate"), Style::Day),
                         CellText(Field(*rows, "REC"), Style::Rating)));
    SayFirstOfSeveral(*page, p_oPage);
    AddSideBySide(*page, *rows, "Level", kAnalysisFigures);
    return page;
}

QWidget* NewRefusedPage(const PageRequest& p_oPage, const std::exception& p_error) {
    QWidget* page = NewPageFrame(Text(PageKindName(p_oPage.m_eKind)));
    AddPageLine(*page, QStringLiteral("The market data cannot give this page: ") +
                           Text(ErrorText(p_error)));
    LayoutOf(*page).addStretch();
    return page;
}

}  // namespace

QWidget* NewFacadePage(const PageRequest& p_oPage) {
    try {
        switch (p_oPage.m_eKind) {
            case PageKind::StockDetails:
                return NewStockDetails(p_oPage);
            case PageKind::IndustryDetails:
            case PageKind::SectorDetails:
                return NewGroupDetails(p_oPage);
            case PageKind::StockAnalysis:
                return NewStockAnalysis(p_oPage);
            default:
                return nullptr;
        }
    } catch (const std::exception& error) {
        return NewRefusedPage(p_oPage, error);
    }
}

}  // namespace qv

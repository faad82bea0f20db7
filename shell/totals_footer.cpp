#include "shell/totals_footer.h"

#include "outside/grid_cell_text.h"
#include "outside/grid_control.h"
#include "outside/grid_control_columns.h"
#include "outside/recordset.h"

#include <array>

namespace qv {

namespace {

constexpr std::array<const char*, 3> kTotalFields = {"CostBasis", "MarketValue", "Gain"};

double ColumnSum(Recordset& p_oRows, const std::string& p_sField) {
    double sum = 0;
    // MoveFirst on no rows is error 3021: a new portfolio holds nothing yet.
    if (p_oRows.RecordCount() == 0) {
        return sum;
    }
    for (p_oRows.MoveFirst(); !p_oRows.IsEOF(); p_oRows.MoveNext()) {
        const Variant value = p_oRows.Value(p_sField);
        if (!value.IsNull() && !value.IsEmpty()) {
            sum += value.ToDouble();
        }
    }
    return sum;
}

}  // namespace

TotalsFooter::TotalsFooter(QWidget* p_pParent) : QLabel(p_pParent) {
    setObjectName(QStringLiteral("totals"));
    setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    setFrameShape(QFrame::StyledPanel);
    setMargin(3);
}

void TotalsFooter::ShowTotals(const GridControl& p_oGrid) {
    const std::string text = TotalsText(p_oGrid);
    setText(QStringLiteral("Totals    ") + QString::fromStdString(text));
    setVisible(!text.empty());
}

std::string TotalsText(const GridControl& p_oGrid) {
    const std::shared_ptr<Recordset>& source = p_oGrid.DataSource();
    if (!source || source->State() != adStateOpen) {
        return {};
    }
    // A clone walks the rows without moving the grid's current row.
    const std::shared_ptr<Recordset> rows = source->Clone();
    std::string text;
    for (const char* field : kTotalFields) {
        const int32_t index = p_oGrid.Columns()->IndexOfField(field);
        if (index < 0 || rows->Fields().IndexOf(field) < 0) {
            continue;
        }
        const GridControlColumn& column = *p_oGrid.Columns()->Item(index);
        if (!column.Visible()) {
            continue;
        }
        text += (text.empty() ? "" : "    ") + column.Caption() + " " +
                GridCellText(Variant(ColumnSum(*rows, field)), column.NumberFormat());
    }
    return text;
}

}  // namespace qv

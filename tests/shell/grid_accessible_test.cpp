// What a screen reader hears of the window's stock grid: its shape, headers and cells, and the
// current row as keys move it.
#include "shell/grid_accessible.h"
#include "outside/recordset.h"
#include "shell/window_fixture.h"

#include <QAccessible>
#include <QTest>

#include <algorithm>
#include <vector>

namespace qv::test {
namespace {

// A reader that writes down what it is told: the event and, for a cell, its row.
struct Heard {
    QAccessible::Event Type;
    int Row;
    QAccessibleTableModelChangeEvent::ModelChangeType Change;
};
std::vector<Heard> g_heard;

void Hear(QAccessibleEvent* p_pEvent) {
    QAccessibleInterface* target = p_pEvent->accessibleInterface();
    QAccessibleTableCellInterface* cell =
        target != nullptr ? target->tableCellInterface() : nullptr;
    const auto change =
        p_pEvent->type() == QAccessible::TableModelChanged
            ? static_cast<QAccessibleTableModelChangeEvent*>(p_pEvent)->modelChangeType()
            : QAccessibleTableModelChangeEvent::DataChanged;
    g_heard.push_back({p_pEvent->type(), cell != nullptr ? cell->rowIndex() : -1, change});
}

class GridAccessibleTest : public WindowTest {
  protected:
    void SetUp() override {
        WindowTest::SetUp();
        g_heard.clear();
        m_previous = SetGridAccessibleEventSink(Hear);
        m_pTable = QAccessible::queryAccessibleInterface(&PrimaryView());
        ASSERT_NE(m_pTable, nullptr);
        ASSERT_NE(m_pTable->tableInterface(), nullptr);
    }
    void TearDown() override { SetGridAccessibleEventSink(m_previous); }

    QAccessibleTableInterface& Table() { return *m_pTable->tableInterface(); }
    QString Text(int p_iRow, int p_iColumn) {
        return Table().cellAt(p_iRow, p_iColumn)->text(QAccessible::Name);
    }
    // The text the grid control itself gives a cell, by column caption.
    QString ModelText(int p_iRow, const char* p_sCaption) {
        for (int32_t col = 0; col < Primary().Columns()->Count(); ++col) {
            if (Primary().Columns()->Item(col)->Caption() == p_sCaption) {
                const uint32_t rowId = Primary().DataSource()->ViewRowId(p_iRow);
                return QString::fromStdString(
                    Primary().CellText(col, GridControl::BookmarkOfRowId(rowId)));
            }
        }
        return QStringLiteral("no column %1").arg(QLatin1String(p_sCaption));
    }

    GridAccessibleEventSink m_previous = nullptr;
    QAccessibleInterface* m_pTable = nullptr;
};

TEST_F(GridAccessibleTest,
       TheTableHasTheGridsRowsTheFrozenColumnsFirstCellsAsDrawnAndIsResetForAnotherList) {
    ASSERT_GT(Primary().RowCount(), 2);
    EXPECT_EQ(Table().rowCount(), Primary().RowCount());
    ASSERT_EQ(Table().columnCount(), 17);
    EXPECT_EQ(m_pTable->childCount(), 17 * (Primary().RowCount() + 1));
    const std::vector<const char*> headers{"Company", "Symbol", "Price", "$ Change"};
    for (size_t i = 0; i < headers.size(); ++i) {
        const int column = static_cast<int>(i);
        EXPECT_EQ(Table().columnDescription(column), QLatin1String(headers[i]));
        const auto heads = Table().cellAt(2, column)->tableCellInterface()->columnHeaderCells();
        ASSERT_EQ(heads.size(), 1);
        EXPECT_EQ(heads.front()->text(QAccessible::Name), QLatin1String(headers[i]));
        EXPECT_EQ(Text(2, column), ModelText(2, headers[i]));
    }
    // The header line comes first among the children, then the rows.
    QAccessibleInterface* cell = m_pTable->child(17 * 3 + 1);
    EXPECT_EQ(cell->tableCellInterface()->rowIndex(), 2);
    EXPECT_EQ(cell->text(QAccessible::Name), Text(2, 1));
    EXPECT_EQ(m_pTable->indexOfChild(cell), 17 * 3 + 1);
    EXPECT_EQ(Table().cellAt(Primary().RowCount(), 0), nullptr);
    // Another list is heard as a new table.
    ASSERT_TRUE(m_window.ShowList({.m_lViewerType = vt_Industries, .m_sSymbol = ""}));
    EXPECT_TRUE(std::any_of(g_heard.begin(), g_heard.end(), [](const Heard& p_heard) {
        return p_heard.Change == QAccessibleTableModelChangeEvent::ModelReset;
    }));
    EXPECT_EQ(Table().rowCount(), Primary().RowCount());
}

TEST_F(GridAccessibleTest, KeysMoveTheFocusedCellAndTheReaderHearsEachRow) {
    PrimaryView().activateWindow();
    PrimaryView().setFocus();
    QApplication::processEvents();
    ASSERT_TRUE(PrimaryView().hasFocus());
    const int last = Primary().RowCount() - 1;
    const struct {
        Qt::Key Key;
        Qt::KeyboardModifiers Modifiers;
        int Row;
    } cases[] = {{Qt::Key_Down, {}, 1},
                 {Qt::Key_End, Qt::ControlModifier, last},
                 {Qt::Key_Up, {}, last - 1}};
    for (const auto& step : cases) {
        g_heard.clear();
        QTest::keyClick(&PrimaryView(), step.Key, step.Modifiers);
        QAccessibleInterface* focused = m_pTable->focusChild();
        ASSERT_NE(focused, nullptr) << step.Row;
        EXPECT_EQ(focused->tableCellInterface()->rowIndex(), step.Row);
        EXPECT_TRUE(focused->state().focused);
        EXPECT_EQ(Table().selectedRows(), QList<int>{step.Row});
        const auto told = [&](QAccessible::Event p_eType) {
            return std::count_if(g_heard.begin(), g_heard.end(), [&](const Heard& p_heard) {
                return p_heard.Type == p_eType &&
                       (p_eType != QAccessible::Focus || p_heard.Row == step.Row);
            });
        };
        EXPECT_EQ(told(QAccessible::Focus), 1) << step.Row;
        EXPECT_EQ(told(QAccessible::SelectionWithin), 1) << step.Row;
    }
}

}  // namespace
}  // namespace qv::test

// The column chooser as a person uses it, offscreen: by buttons, by keys alone and by a drag, and
// from the window (Ctrl+L) through to the list's columns. The picture is left in the working
// folder (the build tree) for a person to look at.
#include "shell/column_chooser_dialog.h"

#include "columns/grid_columns.h"
#include "grid/grid.h"
#include "outside/column_selector.h"
#include "shell/window_fixture.h"

#include <QApplication>
#include <QDialogButtonBox>
#include <QDropEvent>
#include <QLineEdit>
#include <QListWidget>
#include <QMimeData>
#include <QPushButton>
#include <QStatusBar>
#include <QTest>

#include <vector>

namespace qv::test {
namespace {

std::vector<int32_t> Ids(const std::vector<ColumnChoice>& p_fields) {
    std::vector<int32_t> ids;
    for (const ColumnChoice& field : p_fields) {
        ids.push_back(field.ParameterId);
    }
    return ids;
}

QStringList Texts(const QListWidget& p_oList) {
    QStringList texts;
    for (int row = 0; row < p_oList.count(); ++row) {
        texts << p_oList.item(row)->text();
    }
    return texts;
}

QPushButton& Button(QWidget& p_oDialog, const QString& p_sText) {
    for (QPushButton* button : p_oDialog.findChildren<QPushButton*>()) {
        if (button->text().remove(QLatin1Char('&')) == p_sText) {
            return *button;
        }
    }
    ADD_FAILURE() << p_sText.toStdString();
    return *p_oDialog.findChild<QPushButton*>();
}

class ColumnChooserViewTest : public testing::Test {
  protected:
    void SetUp() override {
        Application();
        m_view.show();
        QApplication::processEvents();
    }

    ColumnChooserDialog m_logic{{{1, "Price"}, {2, "Volume"}, {3, "Price Change"}, {4, "Sector"}},
                                {{1, "Price"}, {2, "Volume"}},
                                {{4, "Sector"}},
                                true};
    ColumnChooserView m_view{m_logic};
};

TEST_F(ColumnChooserViewTest, ButtonsFilterAndRestoreDefault) {
    m_view.grab().save(QStringLiteral("column_chooser.png"));
    EXPECT_EQ(Texts(m_view.OfferedList()), (QStringList{"Price Change", "Sector"}));
    QTest::keyClicks(&m_view.FilterBox(), QStringLiteral("CHANGE"));
    EXPECT_EQ(Texts(m_view.OfferedList()), QStringList{"Price Change"});
    QTest::mouseClick(&Button(m_view, QStringLiteral("Add >")), Qt::LeftButton);
    EXPECT_EQ(Texts(m_view.ShownList()), (QStringList{"Price", "Volume", "Price Change"}));
    QTest::mouseClick(&Button(m_view, QStringLiteral("Move up")), Qt::LeftButton);
    EXPECT_EQ(Ids(m_logic.Chosen()), (std::vector<int32_t>{1, 3, 2}));
    EXPECT_FALSE(m_logic.UseDefault());

    QTest::mouseClick(&Button(m_view, QStringLiteral("Restore default")), Qt::LeftButton);
    EXPECT_EQ(Texts(m_view.ShownList()), QStringList{"Sector"});
    EXPECT_TRUE(m_logic.UseDefault());
    QTest::mouseClick(m_view.findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Ok),
                      Qt::LeftButton);
    EXPECT_TRUE(m_logic.Accepted());
    EXPECT_EQ(m_view.result(), QDialog::Accepted);
}

TEST_F(ColumnChooserViewTest, KeyboardAlone) {
    // The offered list has the focus: Enter adds; in the chosen list Ctrl+Up moves, Delete removes.
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Down);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
    EXPECT_EQ(Ids(m_logic.Chosen()), (std::vector<int32_t>{1, 2, 4}));
    m_view.ShownList().setFocus();
    QTest::keyClick(&m_view.ShownList(), Qt::Key_Up, Qt::ControlModifier);
    EXPECT_EQ(Ids(m_logic.Chosen()), (std::vector<int32_t>{1, 4, 2}));
    QTest::keyClick(&m_view.ShownList(), Qt::Key_Delete);
    EXPECT_EQ(Ids(m_logic.Chosen()), (std::vector<int32_t>{1, 2}));
}

TEST_F(ColumnChooserViewTest, ADropIntoTheChosenListIsTheNewChoice) {
    // "Sector" dragged from the offered list and dropped on the top edge of the chosen list.
    QListWidget& offered = m_view.OfferedList();
    QListWidget& shown = m_view.ShownList();
    std::unique_ptr<QMimeData> data(offered.model()->mimeData({offered.model()->index(1, 0)}));
    const QPointF top(shown.visualItemRect(shown.item(0)).center().x(),
                      shown.visualItemRect(shown.item(0)).top() + 1);
    QDragEnterEvent enter(top.toPoint(), Qt::MoveAction, data.get(), Qt::LeftButton,
                          Qt::NoModifier);
    QApplication::sendEvent(shown.viewport(), &enter);
    QDragMoveEvent move(top.toPoint(), Qt::MoveAction, data.get(), Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(shown.viewport(), &move);
    QDropEvent drop(top, Qt::MoveAction, data.get(), Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(shown.viewport(), &drop);
    QApplication::processEvents();
    EXPECT_EQ(Ids(m_logic.Chosen()), (std::vector<int32_t>{4, 1, 2}));
    EXPECT_EQ(Texts(offered), QStringList{"Price Change"});
}

// --- From the window -----------------------------------------------------------------------------

class ChooseColumnsWindowTest : public WindowTest {};

TEST_F(ChooseColumnsWindowTest, CtrlLOpensTheChooserAndTheListFollowsTheChoice) {
    QString removed;
    m_oPlatform.Dialogs().QueueScriptFor<ColumnChooserDialog>([&](ColumnChooserDialog& logic) {
        ColumnChooserView view(logic);
        view.show();
        QListWidget& shown = view.ShownList();
        shown.setFocus();
        shown.setCurrentRow(shown.count() - 1);
        removed = shown.currentItem()->text();
        QTest::keyClick(&shown, Qt::Key_Delete);
        QTest::mouseClick(view.findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Ok),
                          Qt::LeftButton);
    });
    PrimaryView().setFocus();
    QTest::keyClick(&PrimaryView(), Qt::Key_L, Qt::ControlModifier);
    QApplication::processEvents();
    ASSERT_FALSE(removed.isEmpty());
    for (const auto& column : *m_window.Host().Control().PrimaryGrid()->GridColumns()) {
        if (column->Caption() == removed.toStdString()) {
            EXPECT_NE(column->GridColumn_State_Setting(), csVisible);
        }
    }
    EXPECT_EQ(m_window.statusBar()->currentMessage().toStdString(),
              "The list shows the chosen columns");
}

}  // namespace
}  // namespace qv::test

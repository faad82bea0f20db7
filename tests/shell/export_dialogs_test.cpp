// The export's column and file choices as a person meets them in the window, offscreen: the
// columns ticked and ordered by keys and buttons, the file dialog opened on the proposal.
#include "shell/export_dialogs.h"

#include "outside/export_selector.h"
#include "shell/modal_helper.h"
#include "shell/qt_dialog_runner.h"
#include "shell/test_application.h"

#include <QApplication>
#include <QFileDialog>
#include <QListWidget>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

#include <fstream>
#include <string>
#include <vector>

namespace qv::test {
namespace {

std::vector<std::string> Ticked(const ExportColumnsDialog& p_oLogic) {
    std::vector<std::string> ticked;
    for (const ExportColumn& column : p_oLogic.Columns()) {
        if (column.Ticked) {
            ticked.push_back(column.Caption);
        }
    }
    return ticked;
}

TEST(ExportColumnsView, KeysAndButtonsTickAndOrderTheColumns) {
    Application();
    ExportColumnsDialog logic({{4, "Symbol", "Symbol", true},
                               {5, "Company", "CompanyName", true},
                               {13, "Price", "Price", false}});
    ExportColumnsView view(logic);
    view.show();
    view.ColumnList().setFocus();
    QApplication::processEvents();
    QTest::keyClick(&view.ColumnList(), Qt::Key_Space);  // the first column, current
    QTest::keyClick(&view.ColumnList(), Qt::Key_End);
    QTest::keyClick(&view.ColumnList(), Qt::Key_Space);
    QTest::keyClick(&view.ColumnList(), Qt::Key_Up, Qt::ControlModifier);
    EXPECT_EQ(Ticked(logic), (std::vector<std::string>{"Price", "Company"}));
    EXPECT_EQ(view.ColumnList().currentItem()->text(), QStringLiteral("Price"));
    Click(view, QStringLiteral("Tick none"));
    EXPECT_TRUE(Ticked(logic).empty());
    Click(view, QStringLiteral("Tick all"));
    Click(view, QStringLiteral("Move down"));
    EXPECT_EQ(Ticked(logic), (std::vector<std::string>{"Symbol", "Company", "Price"}));
    Click(view, QStringLiteral("OK"));
    EXPECT_TRUE(logic.Accepted());
}

// The dialog opens in the proposal's folder on its file; the file accepted is the answer, and a
// cancel answers nothing.
TEST(ExportFileView, OpensOnTheProposalAndAnswersTheFileChosen) {
    Application();
    QTemporaryDir folder;
    const QString proposal = folder.filePath(QStringLiteral("last.csv"));
    std::ofstream(proposal.toStdString()) << "x";
    QtDialogRunner runner;
    RegisterExportDialogViews(runner);
    for (const bool accept : {true, false}) {
        SaveFileDialog logic(proposal.toStdString());
        QString opened;
        WhenModal([&](QWidget& p_oModal) {
            auto& dialog = static_cast<QFileDialog&>(p_oModal);
            opened = dialog.selectedFiles().value(0);
            dialog.selectFile(folder.filePath(QStringLiteral("new.csv")));
            if (accept) {
                static_cast<QDialog&>(dialog).accept();
            } else {
                dialog.reject();
            }
        });
        runner.ShowModal(logic);
        EXPECT_EQ(opened, proposal);
        EXPECT_EQ(logic.ChosenPath(),
                  accept ? folder.filePath(QStringLiteral("new.csv")).toStdString() : "");
    }
}

}  // namespace
}  // namespace qv::test

// The export's two choices in the window: the columns as a Qt dialog and the file as a save-file
// dialog.
//
// ExportColumnsView lists the columns offered, each with a tick box, in the order they will be
// written: Space ticks, Ctrl+Up and Ctrl+Down (or the buttons) move the current column, "Tick
// all" and "Tick none" do what they say; OK and Cancel. Every change goes to the dialog's logic
// (ExportColumnsDialog) and the list is drawn again from it. The file is chosen in a QFileDialog
// that opens on the proposed path and offers CSV files; its answer is the logic's.
#pragma once

#include <QDialog>

class QListWidget;
class QListWidgetItem;

namespace qv {

class ExportColumnsDialog;
class QtDialogRunner;

class ExportColumnsView : public QDialog {
  public:
    ExportColumnsView(ExportColumnsDialog& p_oLogic, QWidget* p_pParent = nullptr);

    QListWidget& ColumnList() { return *m_pList; }
    void accept() override;

  protected:
    bool eventFilter(QObject* p_pWatched, QEvent* p_pEvent) override;

  private:
    void Refill(int p_iCurrentRow);
    void MoveCurrent(int p_iStep);
    void TickAll(bool p_bTicked);

    ExportColumnsDialog& m_oLogic;
    QListWidget* m_pList = nullptr;
    bool m_bRefilling = false;
};

// Shows the column and file choices of an export through p_oRunner.
void RegisterExportDialogViews(QtDialogRunner& p_oRunner);

}  // namespace qv

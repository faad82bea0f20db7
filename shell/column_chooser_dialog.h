// The column chooser as a Qt dialog: the fields offered on the left (narrowed by a filter box),
// the fields shown on the right in their order, buttons to move and reorder them, "Restore
// default", OK and Cancel.
//
// Every change goes to the dialog's logic (ColumnChooserDialog) and both lists are drawn again
// from it, so the view holds nothing the logic lacks. Keyboard alone suffices: Enter or Right in
// the offered list adds the current field, Delete or Left in the shown list removes it,
// Ctrl+Up and Ctrl+Down move it; double clicks add and remove; the shown fields can be dragged
// into a new order and fields dragged from one list to the other.
#pragma once

#include <QDialog>

#include <memory>

class QLineEdit;
class QListWidget;
class QListWidgetItem;
class QPushButton;

namespace qv {

class ColumnChooserDialog;

class ColumnChooserView : public QDialog {
    Q_OBJECT

  public:
    ColumnChooserView(ColumnChooserDialog& p_oLogic, QWidget* p_pParent = nullptr);

    QLineEdit& FilterBox() { return *m_pFilter; }
    QListWidget& OfferedList() { return *m_pOffered; }
    QListWidget& ShownList() { return *m_pShown; }

  protected:
    bool eventFilter(QObject* p_pWatched, QEvent* p_pEvent) override;

  private:
    void Refill(int32_t p_lCurrentId = 0);
    int32_t CurrentId(const QListWidget& p_oList) const;
    void AddCurrent();
    void RemoveCurrent();
    void MoveCurrent(int p_iStep);
    // A drop has already changed the shown list: the logic takes its new order or new field.
    void TakeDroppedOrder();

    ColumnChooserDialog& m_oLogic;
    QLineEdit* m_pFilter = nullptr;
    QListWidget* m_pOffered = nullptr;
    QListWidget* m_pShown = nullptr;
    QPushButton* m_pAdd = nullptr;
    QPushButton* m_pRemove = nullptr;
    QPushButton* m_pUp = nullptr;
    QPushButton* m_pDown = nullptr;
    bool m_bRefilling = false;
};

}  // namespace qv

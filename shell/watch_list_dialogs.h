// The two watch-list dialogs as Qt dialogs: which rows go to a watch list and where ("Add to Watch
// List"), and the name and comments of a new list ("New Watch List").
//
// Both work by keyboard alone: every choice has an Alt key, Enter confirms and Escape cancels. A
// choice the dialog refuses (a list not chosen, a name too long) keeps it open and says why.
#pragma once

#include <QDialog>

class QButtonGroup;
class QComboBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QSpinBox;

namespace qv {

class NewWatchListNaming;
class QtDialogRunner;
class WatchListRowChoice;

class WatchListRowChoiceView : public QDialog {
  public:
    WatchListRowChoiceView(WatchListRowChoice& p_oLogic, QWidget* p_pParent = nullptr);

    void accept() override;

  private:
    void SyncEnabled();

    WatchListRowChoice& m_oLogic;
    QButtonGroup* m_pRows = nullptr;
    QSpinBox* m_pCount = nullptr;
    QButtonGroup* m_pTarget = nullptr;
    QComboBox* m_pList = nullptr;
    QComboBox* m_pFolder = nullptr;
    QLabel* m_pRefusal = nullptr;
};

class NewWatchListNamingView : public QDialog {
  public:
    NewWatchListNamingView(NewWatchListNaming& p_oLogic, QWidget* p_pParent = nullptr);

    void accept() override;

  private:
    NewWatchListNaming& m_oLogic;
    QLineEdit* m_pName = nullptr;
    QPlainTextEdit* m_pComments = nullptr;
    QLabel* m_pRefusal = nullptr;
};

// Shows both dialogs through p_oRunner.
void RegisterWatchListDialogViews(QtDialogRunner& p_oRunner);

}  // namespace qv

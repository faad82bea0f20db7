#include "shell/watch_list_dialogs.h"

#include "outside/watch_list_dialogs.h"
#include "shell/qt_dialog_runner.h"

#include <QButtonGroup>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QRadioButton>
#include <QSpinBox>
#include <QVBoxLayout>

namespace qv {

namespace {

// Where the rows go, as the buttons of the target group number them.
enum Target { kNewList = 0, kMatching = 1, kNonMatching = 2, kExisting = 3 };

QRadioButton* AddChoice(QButtonGroup& p_oGroup, QLayout& p_oLayout, const QString& p_sText,
                        int p_iId, const char* p_sName) {
    auto* button = new QRadioButton(p_sText);
    button->setObjectName(QString::fromUtf8(p_sName));
    p_oGroup.addButton(button, p_iId);
    p_oLayout.addWidget(button);
    return button;
}

QLabel* NewRefusal(QWidget* p_pParent) {
    auto* refusal = new QLabel(p_pParent);
    refusal->setObjectName(QStringLiteral("refusal"));
    refusal->setWordWrap(true);
    refusal->hide();
    return refusal;
}

QDialogButtonBox* NewButtons(QDialog* p_pDialog) {
    auto* buttons =
        new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, p_pDialog);
    QObject::connect(buttons, &QDialogButtonBox::accepted, p_pDialog, &QDialog::accept);
    QObject::connect(buttons, &QDialogButtonBox::rejected, p_pDialog, &QDialog::reject);
    return buttons;
}

void ShowRefusal(QLabel& p_oLabel, const std::string& p_sText) {
    p_oLabel.setText(QString::fromStdString(p_sText));
    p_oLabel.show();
}

}  // namespace

WatchListRowChoiceView::WatchListRowChoiceView(WatchListRowChoice& p_oLogic, QWidget* p_pParent)
    : QDialog(p_pParent), m_oLogic(p_oLogic) {
    setObjectName(QStringLiteral("watchListRowChoice"));
    const QString items =
        p_oLogic.Industries() ? QStringLiteral("industry groups") : QStringLiteral("stocks");

    auto* rowsBox = new QGroupBox(QStringLiteral("Which ") + items, this);
    auto* rowsLayout = new QVBoxLayout(rowsBox);
    m_pRows = new QButtonGroup(this);
    AddChoice(*m_pRows, *rowsLayout, QStringLiteral("The c&urrent row"),
              static_cast<int>(WatchListRows::Current), "currentRow");
    AddChoice(*m_pRows, *rowsLayout, QStringLiteral("The &selected rows"),
              static_cast<int>(WatchListRows::Selected), "selectedRows");
    AddChoice(*m_pRows, *rowsLayout, QStringLiteral("All ro&ws"),
              static_cast<int>(WatchListRows::All), "allRows");
    auto* countRow = new QHBoxLayout;
    AddChoice(*m_pRows, *countRow, QStringLiteral("&This many rows from the current one:"),
              static_cast<int>(WatchListRows::FromCurrent), "countRows");
    m_pCount = new QSpinBox(rowsBox);
    m_pCount->setObjectName(QStringLiteral("count"));
    m_pCount->setRange(1, std::max(1, p_oLogic.RowCount()));
    countRow->addWidget(m_pCount);
    countRow->addStretch();
    rowsLayout->addLayout(countRow);
    m_pRows->button(static_cast<int>(p_oLogic.Rows()))->setChecked(true);

    auto* targetBox = new QGroupBox(QStringLiteral("Put them in"), this);
    auto* targetLayout = new QVBoxLayout(targetBox);
    m_pTarget = new QButtonGroup(this);
    AddChoice(*m_pTarget, *targetLayout, QStringLiteral("A &new watch list"), kNewList, "newList");
    AddChoice(*m_pTarget, *targetLayout,
              QStringLiteral("A new list of those &also in the list below"), kMatching, "matching");
    AddChoice(*m_pTarget, *targetLayout,
              QStringLiteral("A new list of those n&ot in the list below"), kNonMatching,
              "nonMatching");
    AddChoice(*m_pTarget, *targetLayout, QStringLiteral("The &existing list below"), kExisting,
              "existing");
    m_pTarget->button(kNewList)->setChecked(true);

    m_pList = new QComboBox(targetBox);
    m_pList->setObjectName(QStringLiteral("list"));
    m_pFolder = new QComboBox(targetBox);
    m_pFolder->setObjectName(QStringLiteral("folder"));
    m_pFolder->addItem(QStringLiteral("(none)"), 0);
    for (const WatchListEntryChoice& entry : p_oLogic.Lists()) {
        (entry.Folder ? m_pFolder : m_pList)->addItem(QString::fromStdString(entry.Name), entry.Id);
    }
    auto* form = new QFormLayout;
    auto* listLabel = new QLabel(QStringLiteral("&List:"), targetBox);
    listLabel->setBuddy(m_pList);
    form->addRow(listLabel, m_pList);
    auto* folderLabel = new QLabel(QStringLiteral("&Folder of a new list:"), targetBox);
    folderLabel->setBuddy(m_pFolder);
    form->addRow(folderLabel, m_pFolder);
    targetLayout->addLayout(form);

    m_pRefusal = NewRefusal(this);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(rowsBox);
    layout->addWidget(targetBox);
    layout->addWidget(m_pRefusal);
    layout->addWidget(NewButtons(this));
    connect(m_pRows, &QButtonGroup::idToggled, this, [this] { SyncEnabled(); });
    connect(m_pTarget, &QButtonGroup::idToggled, this, [this] { SyncEnabled(); });
    SyncEnabled();
    m_pRows->checkedButton()->setFocus();
}

void WatchListRowChoiceView::SyncEnabled() {
    const int target = m_pTarget->checkedId();
    m_pCount->setEnabled(m_pRows->checkedId() == static_cast<int>(WatchListRows::FromCurrent));
    m_pList->setEnabled(target != kNewList && m_pList->count() > 0);
    m_pFolder->setEnabled(target != kExisting);
    // Comparing with or adding to a list needs one.
    for (const int id : {kMatching, kNonMatching, kExisting}) {
        m_pTarget->button(id)->setEnabled(m_pList->count() > 0);
    }
}

void WatchListRowChoiceView::accept() {
    m_oLogic.ChooseRows(static_cast<WatchListRows>(m_pRows->checkedId()), m_pCount->value());
    const int32_t list = m_pList->currentData().toInt();
    const int32_t folder = m_pFolder->currentData().toInt();
    switch (m_pTarget->checkedId()) {
        case kMatching:
            m_oLogic.NewList(folder, WatchListItems::Matching, list);
            break;
        case kNonMatching:
            m_oLogic.NewList(folder, WatchListItems::NonMatching, list);
            break;
        case kExisting:
            m_oLogic.AddToList(list);
            break;
        default:
            m_oLogic.NewList(folder);
            break;
    }
    if (!m_oLogic.Confirm()) {
        ShowRefusal(*m_pRefusal, m_oLogic.Refusal());
        return;
    }
    QDialog::accept();
}

NewWatchListNamingView::NewWatchListNamingView(NewWatchListNaming& p_oLogic, QWidget* p_pParent)
    : QDialog(p_pParent), m_oLogic(p_oLogic) {
    setObjectName(QStringLiteral("newWatchListNaming"));
    m_pName = new QLineEdit(QString::fromStdString(p_oLogic.Name()), this);
    m_pName->setObjectName(QStringLiteral("name"));
    m_pName->setMaxLength(static_cast<int>(kMaxWatchListNameChars));
    m_pComments = new QPlainTextEdit(QString::fromStdString(p_oLogic.Comments()), this);
    m_pComments->setObjectName(QStringLiteral("comments"));
    // Tab moves on, as in the rest of the dialog, rather than typing a tab.
    m_pComments->setTabChangesFocus(true);
    m_pComments->setMaximumHeight(m_pComments->fontMetrics().lineSpacing() * 5);

    auto* form = new QFormLayout;
    auto* nameLabel = new QLabel(QStringLiteral("&Name:"), this);
    nameLabel->setBuddy(m_pName);
    form->addRow(nameLabel, m_pName);
    auto* commentsLabel = new QLabel(QStringLiteral("&Comments:"), this);
    commentsLabel->setBuddy(m_pComments);
    form->addRow(commentsLabel, m_pComments);
    m_pRefusal = NewRefusal(this);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(m_pRefusal);
    layout->addWidget(NewButtons(this));
    m_pName->setFocus();
}

void NewWatchListNamingView::accept() {
    m_oLogic.SetName(m_pName->text().toStdString());
    m_oLogic.SetComments(m_pComments->toPlainText().toStdString());
    if (!m_oLogic.Confirm()) {
        ShowRefusal(*m_pRefusal, m_oLogic.Refusal());
        return;
    }
    QDialog::accept();
}

void RegisterWatchListDialogViews(QtDialogRunner& p_oRunner) {
    p_oRunner.RegisterViewFor<WatchListRowChoice>([](WatchListRowChoice& logic, QWidget* parent) {
        return std::make_unique<WatchListRowChoiceView>(logic, parent);
    });
    p_oRunner.RegisterViewFor<NewWatchListNaming>([](NewWatchListNaming& logic, QWidget* parent) {
        return std::make_unique<NewWatchListNamingView>(logic, parent);
    });
}

}  // namespace qv

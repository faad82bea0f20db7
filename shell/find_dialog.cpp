#include "shell/find_dialog.h"

#include "control/forms/frm_search.h"
#include "shell/qt_dialog_runner.h"

#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

#include <algorithm>

namespace qv {

namespace {

QString ToQString(const std::string& p_sText) {
    return QString::fromStdString(p_sText);
}

}  // namespace

FindDialogView::FindDialogView(frmSearch& p_oLogic, QWidget* p_pParent)
    : QDialog(p_pParent), m_oLogic(p_oLogic) {
    setWindowTitle(ToQString(p_oLogic.DialogCaption()));
    setObjectName(QStringLiteral("findDialog"));
    m_pType = new QComboBox(this);
    m_pType->setObjectName(QStringLiteral("cboSearchType"));
    m_pText = new QLineEdit(this);
    m_pText->setObjectName(QStringLiteral("txtSearch"));
    m_pText->setMinimumWidth(220);
    m_pFind = new QPushButton(QStringLiteral("Find"), this);
    m_pFind->setObjectName(QStringLiteral("cmdOK"));
    m_pFind->setDefault(true);
    m_pClose = new QPushButton(QStringLiteral("Close"), this);
    m_pClose->setObjectName(QStringLiteral("cmdCancel"));
    m_pItems = new QListWidget(this);
    m_pItems->setObjectName(QStringLiteral("lstItems"));
    m_pItems->setSelectionMode(QAbstractItemView::ExtendedSelection);
    m_pDisplay = new QPushButton(QStringLiteral("&Display"), this);
    m_pDisplay->setObjectName(QStringLiteral("cmdDisplay"));
    m_pDisplay->setAutoDefault(false);
    m_pClose->setAutoDefault(false);

    auto* typeLabel = new QLabel(QStringLiteral("Search &by:"), this);
    typeLabel->setBuddy(m_pType);
    auto* textLabel = new QLabel(QStringLiteral("Search &for:"), this);
    textLabel->setBuddy(m_pText);
    auto* upper = new QGridLayout;
    upper->addWidget(typeLabel, 0, 0);
    upper->addWidget(m_pType, 0, 1);
    upper->addWidget(m_pFind, 0, 2);
    upper->addWidget(textLabel, 1, 0);
    upper->addWidget(m_pText, 1, 1);
    upper->addWidget(m_pClose, 1, 2);
    upper->setColumnStretch(1, 1);

    m_pLower = new QWidget(this);
    auto* lower = new QVBoxLayout(m_pLower);
    lower->setContentsMargins(0, 0, 0, 0);
    lower->addWidget(m_pItems, 1);
    auto* displayRow = new QHBoxLayout;
    displayRow->addStretch();
    displayRow->addWidget(m_pDisplay);
    lower->addLayout(displayRow);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(upper);
    layout->addWidget(m_pLower, 1);
    setTabOrder(m_pType, m_pText);
    setTabOrder(m_pText, m_pItems);
    setTabOrder(m_pItems, m_pDisplay);
    setTabOrder(m_pDisplay, m_pFind);
    setTabOrder(m_pFind, m_pClose);

    connect(m_pType, &QComboBox::activated, this,
            [this](int p_iIndex) { m_oLogic.SetSearchTypeIndex(p_iIndex); });
    connect(m_pText, &QLineEdit::textEdited, this, &FindDialogView::TextEdited);
    connect(m_pItems, &QListWidget::itemSelectionChanged, this, &FindDialogView::SelectionChanged);
    connect(m_pItems, &QListWidget::currentRowChanged, this, [this](int p_iRow) {
        if (!m_bSyncing) {
            m_oLogic.SetListIndex(p_iRow);
        }
    });
    connect(m_pItems, &QListWidget::itemDoubleClicked, this,
            [this] { m_oLogic.cmdDisplay_Click(); });
    connect(m_pFind, &QPushButton::clicked, this, [this] { m_oLogic.cmdOK_Click(); });
    connect(m_pClose, &QPushButton::clicked, this, [this] { m_oLogic.cmdCancel_Click(); });
    connect(m_pDisplay, &QPushButton::clicked, this, [this] { m_oLogic.cmdDisplay_Click(); });

    m_oLogic.SetOnChanged([this] { Sync(); });
    Sync();
    m_pText->setFocus();
}

FindDialogView::~FindDialogView() {
    m_oLogic.SetOnChanged(nullptr);
}

void FindDialogView::TextEdited(const QString& p_sText) {
    const std::string typed = p_sText.toStdString();
    const std::string kept = m_oLogic.KeptText(typed);
    if (kept != typed) {
        // The cursor stays after what was typed, less what was dropped.
        const int dropped = p_sText.size() - ToQString(kept).size();
        const int cursor = std::max(0, m_pText->cursorPosition() - dropped);
        m_pText->setText(ToQString(kept));
        m_pText->setCursorPosition(cursor);
    }
    m_oLogic.SetText(kept);
}

void FindDialogView::SelectionChanged() {
    if (m_bSyncing) {
        return;
    }
    for (int row = 0; row < m_pItems->count(); ++row) {
        m_oLogic.SetItemSelected(row, m_pItems->item(row)->isSelected());
    }
}

void FindDialogView::Sync() {
    if (m_oLogic.Closed()) {
        m_oLogic.SetOnChanged(nullptr);
        if (m_oLogic.Cancelled()) {
            reject();
        } else {
            accept();
        }
        return;
    }
    m_bSyncing = true;
    QStringList types;
    for (const std::string& type : m_oLogic.SearchTypes()) {
        types << ToQString(type);
    }
    QStringList shown;
    for (int i = 0; i < m_pType->count(); ++i) {
        shown << m_pType->itemText(i);
    }
    if (shown != types) {
        m_pType->clear();
        m_pType->addItems(types);
    }
    m_pType->setCurrentIndex(m_oLogic.SearchTypeIndex());
    m_pType->setEnabled(m_oLogic.SearchTypeEnabled());
    if (m_pText->text().toStdString() != m_oLogic.Text()) {
        m_pText->setText(ToQString(m_oLogic.Text()));
    }
    m_pFind->setEnabled(m_oLogic.FindEnabled());
    m_pDisplay->setEnabled(m_oLogic.DisplayEnabled());
    SyncItems();
    const bool wasExpanded = m_pLower->isVisibleTo(this);
    m_pLower->setVisible(m_oLogic.Expanded());
    m_bSyncing = false;
    if (wasExpanded != m_oLogic.Expanded()) {
        // The dialog's two heights: the list and Display come and go with it.
        adjustSize();
    }
}

void FindDialogView::SyncItems() {
    const std::vector<frmSearch::ListItem>& items = m_oLogic.Items();
    bool same = m_pItems->count() == static_cast<int>(items.size());
    for (int row = 0; same && row < m_pItems->count(); ++row) {
        same = m_pItems->item(row)->text() == ToQString(items[static_cast<size_t>(row)].Text);
    }
    if (!same) {
        m_pItems->clear();
        for (const frmSearch::ListItem& item : items) {
            m_pItems->addItem(ToQString(item.Text));
        }
    }
    for (int row = 0; row < m_pItems->count(); ++row) {
        m_pItems->item(row)->setSelected(items[static_cast<size_t>(row)].Selected);
    }
    if (m_pItems->currentRow() != m_oLogic.ListIndex()) {
        m_pItems->setCurrentRow(m_oLogic.ListIndex(), QItemSelectionModel::NoUpdate);
    }
}

void RegisterFindDialogView(QtDialogRunner& p_oRunner) {
    p_oRunner.RegisterViewFor<frmSearch>([](frmSearch& logic, QWidget* parent) {
        return std::make_unique<FindDialogView>(logic, parent);
    });
}

}  // namespace qv

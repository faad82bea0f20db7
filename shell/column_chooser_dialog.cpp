#include "shell/column_chooser_dialog.h"

#include "outside/column_selector.h"

#include <QAbstractItemModel>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>

#include <algorithm>
#include <vector>

namespace qv {

namespace {

QListWidget* NewList(const QString& p_sName, QWidget* p_pParent) {
    auto* list = new QListWidget(p_pParent);
    list->setAccessibleName(p_sName);
    list->setSelectionMode(QAbstractItemView::SingleSelection);
    list->setDragDropMode(QAbstractItemView::DragDrop);
    list->setDefaultDropAction(Qt::MoveAction);
    return list;
}

void Fill(QListWidget& p_oList, const std::vector<ColumnChoice>& p_fields, int32_t p_lCurrentId) {
    p_oList.clear();
    for (const ColumnChoice& field : p_fields) {
        auto* item = new QListWidgetItem(QString::fromStdString(field.Caption), &p_oList);
        item->setData(Qt::UserRole, field.ParameterId);
        if (field.ParameterId == p_lCurrentId) {
            p_oList.setCurrentItem(item);
        }
    }
    if (p_oList.currentRow() < 0 && p_oList.count() > 0) {
        p_oList.setCurrentRow(0);
    }
}

}  // namespace

ColumnChooserView::ColumnChooserView(ColumnChooserDialog& p_oLogic, QWidget* p_pParent)
    : QDialog(p_pParent), m_oLogic(p_oLogic) {
    setWindowTitle(QString::fromLatin1(ColumnChooserDialog::kCaption));
    m_pFilter = new QLineEdit(this);
    m_pFilter->setPlaceholderText(QStringLiteral("Filter the fields"));
    m_pFilter->setAccessibleName(QStringLiteral("Filter"));
    m_pFilter->setClearButtonEnabled(true);
    m_pOffered = NewList(QStringLiteral("Available fields"), this);
    m_pShown = NewList(QStringLiteral("Chosen fields"), this);

    m_pAdd = new QPushButton(QStringLiteral("&Add >"), this);
    m_pRemove = new QPushButton(QStringLiteral("< &Remove"), this);
    m_pUp = new QPushButton(QStringLiteral("Move &up"), this);
    m_pDown = new QPushButton(QStringLiteral("Move &down"), this);
    auto* restore = new QPushButton(QStringLiteral("Restore de&fault"), this);
    for (QPushButton* button : {m_pAdd, m_pRemove, m_pUp, m_pDown, restore}) {
        button->setAutoDefault(false);
    }
    auto* buttons = new QVBoxLayout;
    buttons->addStretch();
    for (QPushButton* button : {m_pAdd, m_pRemove, m_pUp, m_pDown, restore}) {
        buttons->addWidget(button);
    }
    buttons->addStretch();

    auto* offeredLabel = new QLabel(QStringLiteral("A&vailable fields"), this);
    offeredLabel->setBuddy(m_pOffered);
    auto* shownLabel = new QLabel(QStringLiteral("&Chosen fields, in order"), this);
    shownLabel->setBuddy(m_pShown);
    auto* filterLabel = new QLabel(QStringLiteral("F&ilter"), this);
    filterLabel->setBuddy(m_pFilter);

    auto* box = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    auto* grid = new QGridLayout(this);
    grid->addWidget(filterLabel, 0, 0);
    grid->addWidget(m_pFilter, 1, 0);
    grid->addWidget(offeredLabel, 2, 0);
    grid->addWidget(m_pOffered, 3, 0);
    grid->addLayout(buttons, 3, 1);
    grid->addWidget(shownLabel, 2, 2);
    grid->addWidget(m_pShown, 3, 2);
    grid->addWidget(box, 4, 0, 1, 3);

    connect(m_pFilter, &QLineEdit::textChanged, this, [this](const QString& p_sText) {
        m_oLogic.SetFilter(p_sText.toStdString());
        Refill(CurrentId(*m_pShown));
    });
    connect(m_pAdd, &QPushButton::clicked, this, [this] { AddCurrent(); });
    connect(m_pRemove, &QPushButton::clicked, this, [this] { RemoveCurrent(); });
    connect(m_pUp, &QPushButton::clicked, this, [this] { MoveCurrent(-1); });
    connect(m_pDown, &QPushButton::clicked, this, [this] { MoveCurrent(1); });
    connect(restore, &QPushButton::clicked, this, [this] {
        m_oLogic.RestoreDefault();
        Refill();
    });
    connect(m_pOffered, &QListWidget::itemDoubleClicked, this, [this] { AddCurrent(); });
    connect(m_pShown, &QListWidget::itemDoubleClicked, this, [this] { RemoveCurrent(); });
    // A drop lands in the lists' models first; the logic follows once the drag is over.
    const auto dropped = [this] {
        if (!m_bRefilling) {
            QTimer::singleShot(0, this, [this] { TakeDroppedOrder(); });
        }
    };
    for (QListWidget* list : {m_pOffered, m_pShown}) {
        connect(list->model(), &QAbstractItemModel::rowsInserted, this, dropped);
        connect(list->model(), &QAbstractItemModel::rowsMoved, this, dropped);
        list->installEventFilter(this);
    }
    connect(box, &QDialogButtonBox::accepted, this, [this] {
        m_oLogic.Accept();
        accept();
    });
    connect(box, &QDialogButtonBox::rejected, this, &QDialog::reject);

    Refill();
    m_pOffered->setFocus();
    resize(560, 420);
}

int32_t ColumnChooserView::CurrentId(const QListWidget& p_oList) const {
    const QListWidgetItem* item = p_oList.currentItem();
    return item != nullptr ? item->data(Qt::UserRole).toInt() : 0;
}

void ColumnChooserView::Refill(int32_t p_lCurrentId) {
    m_bRefilling = true;
    Fill(*m_pOffered, m_oLogic.Available(), CurrentId(*m_pOffered));
    Fill(*m_pShown, m_oLogic.Chosen(), p_lCurrentId != 0 ? p_lCurrentId : CurrentId(*m_pShown));
    m_bRefilling = false;
    m_pAdd->setEnabled(m_pOffered->count() > 0);
    for (QPushButton* button : {m_pRemove, m_pUp, m_pDown}) {
        button->setEnabled(m_pShown->count() > 0);
    }
}

void ColumnChooserView::AddCurrent() {
    const int32_t id = CurrentId(*m_pOffered);
    if (id != 0 && m_oLogic.Add(id)) {
        Refill(id);
    }
}

void ColumnChooserView::RemoveCurrent() {
    const int row = m_pShown->currentRow();
    if (row >= 0 && m_oLogic.Remove(CurrentId(*m_pShown))) {
        Refill();
        m_pShown->setCurrentRow(std::min(row, m_pShown->count() - 1));
    }
}

void ColumnChooserView::MoveCurrent(int p_iStep) {
    const int32_t id = CurrentId(*m_pShown);
    const bool moved = p_iStep < 0 ? m_oLogic.MoveUp(id) : m_oLogic.MoveDown(id);
    if (moved) {
        Refill(id);
    }
}

void ColumnChooserView::TakeDroppedOrder() {
    std::vector<int32_t> order;
    for (int row = 0; row < m_pShown->count(); ++row) {
        const int32_t id = m_pShown->item(row)->data(Qt::UserRole).toInt();
        if (std::find(order.begin(), order.end(), id) == order.end()) {
            order.push_back(id);
        }
    }
    std::vector<int32_t> dropped;
    for (const ColumnChoice& field : m_oLogic.Chosen()) {
        if (std::find(order.begin(), order.end(), field.ParameterId) == order.end()) {
            dropped.push_back(field.ParameterId);
        }
    }
    for (int32_t id : dropped) {
        m_oLogic.Remove(id);
    }
    for (size_t at = 0; at < order.size(); ++at) {
        m_oLogic.Add(order[at]);
        m_oLogic.MoveTo(order[at], static_cast<int32_t>(at));
    }
    Refill(CurrentId(*m_pShown));
}

bool ColumnChooserView::eventFilter(QObject* p_pWatched, QEvent* p_pEvent) {
    if (p_pEvent->type() != QEvent::KeyPress) {
        return QDialog::eventFilter(p_pWatched, p_pEvent);
    }
    const auto* key = static_cast<QKeyEvent*>(p_pEvent);
    const bool ctrl = key->modifiers().testFlag(Qt::ControlModifier);
    if (p_pWatched == m_pOffered && (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter ||
                                     key->key() == Qt::Key_Right)) {
        AddCurrent();
        return true;
    }
    if (p_pWatched == m_pShown) {
        if (key->key() == Qt::Key_Delete || key->key() == Qt::Key_Left) {
            RemoveCurrent();
            return true;
        }
        if (ctrl && (key->key() == Qt::Key_Up || key->key() == Qt::Key_Down)) {
            MoveCurrent(key->key() == Qt::Key_Up ? -1 : 1);
            return true;
        }
    }
    return QDialog::eventFilter(p_pWatched, p_pEvent);
}

}  // namespace qv

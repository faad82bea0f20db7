#include "shell/export_dialogs.h"

#include "outside/export_selector.h"
#include "shell/qt_dialog_runner.h"

#include <QDialogButtonBox>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

#include <algorithm>
#include <memory>

namespace qv {

namespace {

QPushButton* AddButton(QLayout& p_oLayout, const QString& p_sText, QWidget* p_pParent) {
    auto* button = new QPushButton(p_sText, p_pParent);
    button->setAutoDefault(false);
    p_oLayout.addWidget(button);
    return button;
}

std::unique_ptr<QDialog> SaveFileView(SaveFileDialog& p_oLogic, QWidget* p_pParent) {
    auto dialog =
        std::make_unique<QFileDialog>(p_pParent, QString::fromLatin1(SaveFileDialog::kCaption));
    dialog->setAcceptMode(QFileDialog::AcceptSave);
    dialog->setNameFilters({QStringLiteral("CSV files (*.csv)"), QStringLiteral("All files (*)")});
    dialog->setDefaultSuffix(QStringLiteral("csv"));
    const QFileInfo proposed(QString::fromStdString(p_oLogic.ProposedPath()));
    if (proposed.isDir()) {
        dialog->setDirectory(proposed.absoluteFilePath());
    } else {
        dialog->setDirectory(proposed.absolutePath());
        dialog->selectFile(proposed.fileName());
    }
    QObject::connect(dialog.get(), &QFileDialog::fileSelected, dialog.get(),
                     [&p_oLogic](const QString& p_sFile) {
                         p_oLogic.Choose(QDir::toNativeSeparators(p_sFile).toStdString());
                     });
    return dialog;
}

}  // namespace

ExportColumnsView::ExportColumnsView(ExportColumnsDialog& p_oLogic, QWidget* p_pParent)
    : QDialog(p_pParent), m_oLogic(p_oLogic) {
    setWindowTitle(QString::fromLatin1(ExportColumnsDialog::kCaption));
    m_pList = new QListWidget(this);
    m_pList->setAccessibleName(QStringLiteral("Columns to export"));
    m_pList->installEventFilter(this);
    auto* label = new QLabel(QStringLiteral("&Columns to export, in order"), this);
    label->setBuddy(m_pList);

    auto* side = new QVBoxLayout;
    QPushButton* up = AddButton(*side, QStringLiteral("Move &up"), this);
    QPushButton* down = AddButton(*side, QStringLiteral("Move &down"), this);
    QPushButton* all = AddButton(*side, QStringLiteral("Tick &all"), this);
    QPushButton* none = AddButton(*side, QStringLiteral("Tick &none"), this);
    side->addStretch();
    connect(up, &QPushButton::clicked, this, [this] { MoveCurrent(-1); });
    connect(down, &QPushButton::clicked, this, [this] { MoveCurrent(1); });
    connect(all, &QPushButton::clicked, this, [this] { TickAll(true); });
    connect(none, &QPushButton::clicked, this, [this] { TickAll(false); });
    connect(m_pList, &QListWidget::itemChanged, this, [this](QListWidgetItem* p_pItem) {
        if (!m_bRefilling) {
            m_oLogic.SetTicked(static_cast<size_t>(m_pList->row(p_pItem)),
                               p_pItem->checkState() == Qt::Checked);
        }
    });

    auto* box = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(box, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(box, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto* lists = new QHBoxLayout;
    lists->addWidget(m_pList, 1);
    lists->addLayout(side);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(label);
    layout->addLayout(lists);
    layout->addWidget(box);
    Refill(0);
}

void ExportColumnsView::Refill(int p_iCurrentRow) {
    m_bRefilling = true;
    m_pList->clear();
    for (const ExportColumn& column : m_oLogic.Columns()) {
        auto* item = new QListWidgetItem(QString::fromStdString(column.Caption), m_pList);
        item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsUserCheckable);
        item->setCheckState(column.Ticked ? Qt::Checked : Qt::Unchecked);
    }
    if (m_pList->count() > 0) {
        m_pList->setCurrentRow(std::clamp(p_iCurrentRow, 0, m_pList->count() - 1));
    }
    m_bRefilling = false;
}

void ExportColumnsView::MoveCurrent(int p_iStep) {
    const int from = m_pList->currentRow();
    if (from < 0 || from + p_iStep < 0) {
        return;
    }
    if (m_oLogic.Move(static_cast<size_t>(from), static_cast<size_t>(from + p_iStep))) {
        Refill(from + p_iStep);
    }
}

void ExportColumnsView::TickAll(bool p_bTicked) {
    m_oLogic.TickAll(p_bTicked);
    Refill(m_pList->currentRow());
}

void ExportColumnsView::accept() {
    m_oLogic.Accept();
    QDialog::accept();
}

bool ExportColumnsView::eventFilter(QObject* p_pWatched, QEvent* p_pEvent) {
    if (p_pWatched == m_pList && p_pEvent->type() == QEvent::KeyPress) {
        const auto* key = static_cast<QKeyEvent*>(p_pEvent);
        if ((key->modifiers() & Qt::ControlModifier) != 0 &&
            (key->key() == Qt::Key_Up || key->key() == Qt::Key_Down)) {
            MoveCurrent(key->key() == Qt::Key_Up ? -1 : 1);
            return true;
        }
    }
    return QDialog::eventFilter(p_pWatched, p_pEvent);
}

void RegisterExportDialogViews(QtDialogRunner& p_oRunner) {
    p_oRunner.RegisterViewFor<ExportColumnsDialog>(
        [](ExportColumnsDialog& p_oLogic, QWidget* p_pParent) -> std::unique_ptr<QDialog> {
            return std::make_unique<ExportColumnsView>(p_oLogic, p_pParent);
        });
    p_oRunner.RegisterViewFor<SaveFileDialog>(&SaveFileView);
}

}  // namespace qv

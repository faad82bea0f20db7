#include "shell/print_options_dialog.h"

#include "control/forms/frm_print.h"
#include "outside/page_setup.h"
#include "shell/page_painter.h"
#include "shell/qt_dialog_runner.h"

#include <QButtonGroup>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QPageLayout>
#include <QPrinter>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QVBoxLayout>

namespace qv {

namespace {

QString Text(const std::string& p_sText) {
    return QString::fromStdString(p_sText);
}

}  // namespace

PrintOptionsDialog::PrintOptionsDialog(frmPrint& p_oLogic, QWidget* p_pParent)
    : QDialog(p_pParent), m_oLogic(p_oLogic) {
    setWindowTitle(Text(p_oLogic.DialogCaption()));
    setObjectName(QStringLiteral("printOptionsDialog"));
    auto* layout = new QVBoxLayout(this);
    auto* choices = new QGridLayout;
    m_pSelected = new QRadioButton(Text(p_oLogic.SelectedCaption()), this);
    m_pAll = new QRadioButton(Text(p_oLogic.AllCaption()), this);
    m_pTop = new QRadioButton(Text(p_oLogic.TopCaption()), this);
    m_pSelected->setObjectName(QStringLiteral("selectedRows"));
    m_pAll->setObjectName(QStringLiteral("allRows"));
    m_pTop->setObjectName(QStringLiteral("topRows"));
    m_pNumber = new QSpinBox(this);
    m_pNumber->setObjectName(QStringLiteral("rowCount"));
    m_pNumber->setRange(frmPrint::kMinimumNumber, frmPrint::kMaximumNumber);
    m_pNumber->setValue(p_oLogic.Spinner());
    m_pNumber->setAccessibleName(Text(p_oLogic.TopCaption()));
    auto* group = new QButtonGroup(this);
    group->addButton(m_pSelected, psSelectedRows);
    group->addButton(m_pAll, psAllRows);
    group->addButton(m_pTop, psTopRows);
    choices->addWidget(m_pSelected, 0, 0);
    choices->addWidget(m_pAll, 1, 0);
    choices->addWidget(m_pTop, 2, 0);
    choices->addWidget(m_pNumber, 2, 1);
    layout->addLayout(choices);
    connect(group, &QButtonGroup::idClicked, this,
            [this](int p_iId) { Choose(static_cast<int16_t>(p_iId)); });

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    buttons->button(QDialogButtonBox::Ok)->setDefault(true);
    // A quick test tests rows, not columns: its form offers no column choice either.
    if (p_oLogic.ColumnSelectVisible() && !p_oLogic.QuickTestMode()) {
        QPushButton* columns =
            buttons->addButton(QStringLiteral("&Columns…"), QDialogButtonBox::ActionRole);
        columns->setObjectName(QStringLiteral("selectColumns"));
        connect(columns, &QPushButton::clicked, this, [this] { m_oLogic.SelectColumns(); });
    }
    if (p_oLogic.PageSetupVisible()) {
        QPushButton* pageSetup =
            buttons->addButton(QStringLiteral("Page &Setup…"), QDialogButtonBox::ActionRole);
        pageSetup->setObjectName(QStringLiteral("pageSetup"));
        connect(pageSetup, &QPushButton::clicked, this, [this] { m_oLogic.PageSetup(); });
    }
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    layout->addWidget(buttons);
    Choose(p_oLogic.PrintSelection());
}

void PrintOptionsDialog::Choose(int16_t p_iSelection) {
    m_oLogic.ChooseOption(p_iSelection);
    const int16_t chosen = m_oLogic.PrintSelection();
    m_pSelected->setChecked(chosen == psSelectedRows);
    m_pAll->setChecked(chosen == psAllRows);
    m_pTop->setChecked(chosen == psTopRows);
    m_pNumber->setEnabled(m_oLogic.SpinnerEnabled());
}

void PrintOptionsDialog::accept() {
    m_oLogic.SetSpinner(m_pNumber->value());
    m_oLogic.OK();
    QDialog::accept();
}

PageSetupPrinter::PageSetupPrinter() : m_pPrinter(std::make_unique<QPrinter>()) {}

PageSetupPrinter::~PageSetupPrinter() = default;

PageSetupView::PageSetupView(PageSetupDialog& p_oLogic, QWidget* p_pParent)
    : QPageSetupDialog(m_pPrinter.get(), p_pParent), m_oLogic(p_oLogic) {
    const PageSetup& setup = p_oLogic.Setup();
    QPageLayout layout = PageLayoutOf(setup);
    constexpr double kTwipsPerInch = 1440.0;
    layout.setMargins(QMarginsF(setup.LeftMargin / kTwipsPerInch, setup.TopMargin / kTwipsPerInch,
                                setup.RightMargin / kTwipsPerInch,
                                setup.BottomMargin / kTwipsPerInch));
    m_pPrinter->setPageLayout(layout);
    setWindowTitle(QString::fromUtf8(PageSetupDialog::kCaption));
}

void PageSetupView::done(int p_iResult) {
    QPageSetupDialog::done(p_iResult);
    if (p_iResult == QDialog::Accepted) {
        m_oLogic.Accept(PageSetupOf(m_pPrinter->pageLayout()));
    }
}

void RegisterPrintViews(QtDialogRunner& p_oRunner) {
    p_oRunner.RegisterViewFor<frmPrint>(
        [](frmPrint& p_oLogic, QWidget* p_pParent) -> std::unique_ptr<QDialog> {
            return std::make_unique<PrintOptionsDialog>(p_oLogic, p_pParent);
        });
    p_oRunner.RegisterViewFor<PageSetupDialog>(
        [](PageSetupDialog& p_oLogic, QWidget* p_pParent) -> std::unique_ptr<QDialog> {
            return std::make_unique<PageSetupView>(p_oLogic, p_pParent);
        });
}

}  // namespace qv

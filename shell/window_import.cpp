#include "shell/window_import.h"

#include "facade/market_store.h"
#include "outside/automation_error.h"

#include <QEventLoop>
#include <QMetaObject>
#include <QPointer>
#include <QProgressDialog>

#include <exception>
#include <thread>

namespace qv {

namespace {

// Thrown from a progress report to stop the import; the importer's transaction rolls back.
struct ImportCancelled {};

constexpr int kSteps = 1000;

}  // namespace

QString ImportOutcomeText(const ImportOutcome& p_oOutcome) {
    switch (p_oOutcome.m_eResult) {
        case ImportOutcome::Result::Cancelled:
            return QStringLiteral("The import was cancelled; the market data is as it was");
        case ImportOutcome::Result::Failed:
            return QStringLiteral("Nothing was imported: ") +
                   QString::fromStdString(p_oOutcome.m_sError);
        case ImportOutcome::Result::Imported:
            break;
    }
    const facade::ImportReport& report = p_oOutcome.m_oReport;
    const QString counts =
        QStringLiteral("%1 price rows of %2 read (%3 stocks added, %4 updated, %5 rows skipped)")
            .arg(report.m_llPriceRowsImported)
            .arg(report.m_llPriceRowsRead)
            .arg(report.m_llStocksAdded)
            .arg(report.m_llStocksUpdated)
            .arg(report.m_llRowsSkipped);
    if (report.m_bReplacedSample) {
        return QStringLiteral("Replaced the generated sample market with the imported data, ") +
               counts;
    }
    return QStringLiteral("Imported ") + counts;
}

MarketImport::MarketImport(QWidget* p_pParent, std::string p_sDatabase, std::string p_sFolder)
    : m_sDatabase(std::move(p_sDatabase)),
      m_sFolder(std::move(p_sFolder)),
      m_pDialog(std::make_unique<QProgressDialog>(p_pParent)) {
    m_pDialog->setWindowTitle(QStringLiteral("Import market data"));
    m_pDialog->setLabelText(QStringLiteral("Importing ") + QString::fromStdString(m_sFolder));
    m_pDialog->setWindowModality(Qt::WindowModal);
    m_pDialog->setMinimumDuration(0);
    m_pDialog->setAutoClose(false);
    m_pDialog->setAutoReset(false);
    m_pDialog->setRange(0, 0);
    connect(m_pDialog.get(), &QProgressDialog::canceled, this, &MarketImport::Cancel);
}

MarketImport::~MarketImport() = default;

void MarketImport::Cancel() {
    m_bCancel = true;
    m_pDialog->setLabelText(
        QStringLiteral("Cancelling: the database keeps the data it had before the import"));
    m_pDialog->setCancelButton(nullptr);
}

ImportOutcome MarketImport::Run() {
    ImportOutcome outcome;
    QEventLoop loop;
    m_pDialog->show();
    std::thread worker([this, &outcome, &loop] {
        try {
            facade::MarketStore store(m_sDatabase, facade::MarketStore::Access::ReadWrite);
            outcome.m_oReport = facade::MarketImporter(store).ImportPaths(
                {m_sFolder}, [this](const std::string& p_sStage, int64_t p_llDone,
                                    int64_t p_llTotal) { Report(p_sStage, p_llDone, p_llTotal); });
            outcome.m_eResult = ImportOutcome::Result::Imported;
        } catch (const ImportCancelled&) {
            outcome.m_eResult = ImportOutcome::Result::Cancelled;
        } catch (const std::exception& error) {
            outcome.m_sError = ErrorText(error);
        }
        QMetaObject::invokeMethod(&loop, &QEventLoop::quit, Qt::QueuedConnection);
    });
    loop.exec();
    worker.join();
    m_pDialog->hide();
    return outcome;
}

void MarketImport::Report(const std::string& p_sStage, int64_t p_llDone, int64_t p_llTotal) {
    if (m_bCancel) {
        throw ImportCancelled{};
    }
    std::unique_lock lock(m_mutex);
    m_bShown = false;
    const QString stage = QString::fromStdString(p_sStage);
    QMetaObject::invokeMethod(
        this,
        [this, stage, p_llDone, p_llTotal] {
            ShowStage(stage, p_llDone, p_llTotal);
            const std::lock_guard shown(m_mutex);
            m_bShown = true;
            m_shown.notify_one();
        },
        Qt::QueuedConnection);
    m_shown.wait(lock, [this] { return m_bShown; });
    if (m_bCancel) {
        throw ImportCancelled{};
    }
}

void MarketImport::ShowStage(const QString& p_sStage, int64_t p_llDone, int64_t p_llTotal) {
    if (m_fnStage) {
        m_fnStage(p_sStage, p_llDone, p_llTotal);
    }
    if (m_bCancel) {
        return;
    }
    m_pDialog->setLabelText(p_sStage);
    m_pDialog->setRange(0, p_llTotal > 0 ? kSteps : 0);
    if (p_llTotal > 0) {
        m_pDialog->setValue(static_cast<int>(p_llDone * kSteps / p_llTotal));
    }
}

}  // namespace qv

// File > Import market data: the importer of qorvant-market run on a folder in a worker thread,
// behind a progress dialog that follows its stages and can cancel.
//
// The importer writes everything in one transaction, so a cancel is an exception thrown from its
// progress report: the transaction rolls back and the database keeps the data it had. Each report
// waits until the window has shown it, so a cancel pressed while a stage shows takes effect in
// that stage, never after the import committed.
//
//     MarketImport import(parent, session.Path(), folder);
//     const ImportOutcome outcome = import.Run();
#pragma once

#include "facade/market_importer.h"

#include <QObject>
#include <QString>

#include <atomic>
#include <condition_variable>
#include <functional>
#include <memory>
#include <mutex>
#include <string>

class QProgressDialog;
class QWidget;

namespace qv {

struct ImportOutcome {
    enum class Result { Imported, Cancelled, Failed };
    Result m_eResult = Result::Failed;
    facade::ImportReport m_oReport;
    // Why the import failed, for Failed.
    std::string m_sError;
};

// The result in a sentence for the status bar: counts, or why nothing was imported.
QString ImportOutcomeText(const ImportOutcome& p_oOutcome);

class MarketImport : public QObject {
    Q_OBJECT

  public:
    MarketImport(QWidget* p_pParent, std::string p_sDatabase, std::string p_sFolder);
    ~MarketImport() override;

    // Called in the window's thread with each stage shown and its count, before the import goes
    // on.
    void SetOnStage(std::function<void(const QString&, int64_t, int64_t)> p_fnStage) {
        m_fnStage = std::move(p_fnStage);
    }
    // Asks the import to stop at its next report; what it wrote is rolled back.
    void Cancel();
    // Imports, keeping the window's events running, and returns when the import is over.
    ImportOutcome Run();

  private:
    // In the worker: shows the stage in the window's thread and waits until it was shown.
    void Report(const std::string& p_sStage, int64_t p_llDone, int64_t p_llTotal);
    void ShowStage(const QString& p_sStage, int64_t p_llDone, int64_t p_llTotal);

    std::string m_sDatabase;
    std::string m_sFolder;
    std::unique_ptr<QProgressDialog> m_pDialog;
    std::function<void(const QString&, int64_t, int64_t)> m_fnStage;
    std::atomic<bool> m_bCancel = false;
    std::mutex m_mutex;
    std::condition_variable m_shown;
    bool m_bShown = false;
};

}  // namespace qv

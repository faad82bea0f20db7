#include "outside/headless_services.h"

#include "outside/automation_error.h"
#include "outside/vb_date.h"

#include <chrono>
#include <ctime>
#include <ostream>

namespace qv {

namespace {

std::string_view IconWord(MsgBoxIcon p_eIcon) {
    switch (p_eIcon) {
        case vbCritical:
            return "error";
        case vbQuestion:
            return "question";
        case vbExclamation:
            return "warning";
        case vbInformation:
            return "information";
        case vbNoIcon:
            return "message";
    }
    return "message";
}

}  // namespace

HeadlessMessageBox::HeadlessMessageBox(std::ostream& p_oStream) : m_oStream(p_oStream) {}

MsgBoxResult HeadlessMessageBox::Show(std::string_view p_sText, MsgBoxButtons p_eButtons,
                                      MsgBoxIcon p_eIcon, std::string_view p_sTitle) {
    m_oStream << IconWord(p_eIcon);
    if (!p_sTitle.empty()) {
        m_oStream << " [" << p_sTitle << "]";
    }
    m_oStream << ": " << p_sText << std::endl;
    return DefaultAnswer(p_eButtons);
}

void HeadlessRunningIndicator::SetStatus(std::string_view p_sCaption, bool p_bVisible) {
    m_sCaption = p_sCaption;
    m_bVisible = p_bVisible;
}

void HeadlessPrinter::PrintPages(const PrintJob& p_job) {
    if (!m_info) {
        RaiseRuntimeError(errors::kPrinterError, "no printer is installed");
    }
    m_lastJob = p_job;
    ++m_lJobCount;
}

double SystemClock::Now() const {
    const std::time_t now = std::chrono::system_clock::to_time_t(std::chrono::system_clock::now());
    std::tm local{};
    if (::localtime_r(&now, &local) == nullptr) {
        return 0.0;
    }
    return DateSerial(local.tm_year + 1900, local.tm_mon + 1, local.tm_mday) +
           TimeSerial(local.tm_hour, local.tm_min, local.tm_sec);
}

}  // namespace qv

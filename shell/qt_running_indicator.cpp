#include "shell/qt_running_indicator.h"

#include "shell/running_indicator_panel.h"

namespace qv {

QtRunningIndicator::QtRunningIndicator(QWidget* p_pHost) {
    SetHost(p_pHost);
}

QtRunningIndicator::~QtRunningIndicator() {
    delete m_pPanel.data();
}

RunningIndicatorPanel* QtRunningIndicator::Panel() const {
    return m_pPanel.data();
}

void QtRunningIndicator::SetHost(QWidget* p_pHost) {
    delete m_pPanel.data();
    if (p_pHost != nullptr) {
        m_pPanel = new RunningIndicatorPanel(p_pHost);
    }
    Show();
}

void QtRunningIndicator::SetStatus(std::string_view p_sCaption, bool p_bVisible) {
    m_sCaption = p_sCaption;
    m_bVisible = p_bVisible;
    Show();
}

void QtRunningIndicator::Show() {
    if (!m_pPanel) {
        return;
    }
    m_pPanel->SetCaption(
        QString::fromUtf8(m_sCaption.data(), static_cast<qsizetype>(m_sCaption.size())));
    m_pPanel->setVisible(m_bVisible);
    if (m_bVisible) {
        m_pPanel->repaint();
    }
}

}  // namespace qv

#include "shell/window_frame.h"

#include "columns/viewer_type.h"
#include "host/control_master.h"
#include "outside/text_util.h"
#include "shell/helper_strip.h"
#include "shell/support_panel.h"
#include "shell/watch_list_panel.h"

#include <QAction>
#include <QApplication>
#include <QFileInfo>
#include <QFont>
#include <QIcon>
#include <QLabel>
#include <QMainWindow>
#include <QResizeEvent>
#include <QSplitter>
#include <QStyle>
#include <QTimer>
#include <QToolBar>
#include <QVBoxLayout>

#include <algorithm>

namespace qv {

namespace {

constexpr double kTwipsPerInch = 1440.0;

}  // namespace

WindowFrame::WindowFrame(QMainWindow& p_oWindow)
    : m_oWindow(p_oWindow),
      m_pSplitter(new QSplitter(Qt::Horizontal, &p_oWindow)),
      m_pPanels(new QWidget(m_pSplitter)),
      m_pPanelLayout(new QVBoxLayout(m_pPanels)),
      m_pListArea(new QWidget(m_pSplitter)),
      m_pListLayout(new QVBoxLayout(m_pListArea)),
      m_pStripSlot(new QWidget(m_pListArea)),
      m_pCaption(new QLabel(m_pListArea)),
      m_pToolBar(new QToolBar(QStringLiteral("Frame"), &p_oWindow)) {
    m_pSplitter->setObjectName(QStringLiteral("frameSplitter"));
    m_pSplitter->setChildrenCollapsible(false);
    m_pSplitter->addWidget(m_pPanels);
    m_pSplitter->addWidget(m_pListArea);
    m_pSplitter->setStretchFactor(1, 1);
    m_pPanelLayout->setContentsMargins(0, 0, 0, 0);
    m_pListLayout->setContentsMargins(0, 0, 0, 0);
    auto* stripLayout = new QVBoxLayout(m_pStripSlot);
    stripLayout->setContentsMargins(0, 0, 0, 0);
    // A narrow window cuts the strip rather than the strip widening the window.
    m_pStripSlot->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
    m_pPanels->hide();
    m_pCaption->setObjectName(QStringLiteral("frameCaption"));
    m_pCaption->setAlignment(Qt::AlignCenter);
    QFont bold = m_pCaption->font();
    bold.setBold(true);
    m_pCaption->setFont(bold);
    m_pCaption->hide();
    m_pToolBar->setObjectName(QStringLiteral("frameToolBar"));
    m_pToolBar->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    p_oWindow.addToolBar(Qt::TopToolBarArea, m_pToolBar);
    // Shown when the master shows it: in watch-list mode once the panels are closed.
    m_pToolBar->hide();
    AddToolButton({"WatchLists", "Watch lists", 0, ""}, QStyle::SP_FileDialogListView);
    AddToolButton({"Find", "Find", 0, ""}, QStyle::SP_FileDialogContentsView);
    AddToolButton({"Portfolio", "Portfolio", 0, ""}, QStyle::SP_DirHomeIcon);
    // The standard strip until a list asks for another, so that the first list does not move the
    // window's widgets.
    HelperChosen(std::string());
    ShowStrip();
}

WindowFrame::~WindowFrame() {
    for (const auto& [name, panel] : m_panels) {
        panel->SetOnEvent(nullptr);
    }
    for (SupportPanel* panel : {static_cast<SupportPanel*>(m_pStrip), m_pHistoryHelper}) {
        if (panel != nullptr) {
            panel->SetOnEvent(nullptr);
        }
    }
}

QWidget* WindowFrame::Widget() const {
    return m_pSplitter;
}

void WindowFrame::SetList(QWidget* p_pAbove, QWidget* p_pList, QWidget* p_pBelow) {
    m_pList = p_pList;
    m_pListLayout->addWidget(p_pAbove);
    m_pListLayout->addWidget(m_pStripSlot);
    m_pListLayout->addWidget(m_pCaption);
    m_pListLayout->addWidget(p_pList, 1);
    m_pListLayout->addWidget(p_pBelow);
}

void WindowFrame::AddPanel(const std::string& p_sName, SupportPanel* p_pPanel) {
    m_panels[p_sName] = p_pPanel;
    m_pPanelLayout->addWidget(p_pPanel);
    p_pPanel->hide();
    Listen(*p_pPanel);
    SetSupportControl(p_sName, p_pPanel->Object());
}

void WindowFrame::SetHistoryHelper(SupportPanel* p_pPanel) {
    m_pHistoryHelper = p_pPanel;
    m_pListLayout->insertWidget(m_pListLayout->indexOf(m_pStripSlot) + 1, p_pPanel);
    p_pPanel->hide();
    Listen(*p_pPanel);
    SetSupportControl(kHistoryHelper, p_pPanel->Object());
}

void WindowFrame::SetStripShown(bool p_bShown) {
    m_bStripShown = p_bShown;
    ShowStrip();
}

void WindowFrame::Started() {
    ShowStrip();
}

void WindowFrame::ShowStrip() {
    const int32_t type = Master() != nullptr ? Master()->ViewerType() : -1;
    m_pStripSlot->setVisible(m_bStripShown && type >= vt_Stocks && type <= vt_Sectors);
}

bool WindowFrame::StripOnShow() const {
    return !m_pStripSlot->isHidden();
}

bool WindowFrame::HistoryHelperOnShow() const {
    return m_pHistoryHelper != nullptr && !m_pHistoryHelper->isHidden();
}

void WindowFrame::HelperChosen(const std::string& p_sClassName) {
    const bool history = EqualsIgnoreCase(p_sClassName, HelperStrip::kHistoryClass);
    if (m_pHistoryHelper != nullptr) {
        m_pHistoryHelper->setVisible(history);
    }
    if (m_pStrip != nullptr && m_pStrip->IsHistory() == history) {
        return;
    }
    delete m_pStrip;
    m_pStrip = new HelperStrip(p_sClassName, m_pStripSlot);
    m_pStrip->setObjectName(QStringLiteral("helperStrip"));
    m_pStripSlot->layout()->addWidget(m_pStrip);
    Listen(*m_pStrip);
    SetHelperControl(m_pStrip->Object());
}

void WindowFrame::ChooseWatchList(int32_t p_lWatchListId) {
    if (auto* panel = dynamic_cast<WatchListPanel*>(Panel(kWatchListSupport))) {
        panel->SetCurrentWatchList(p_lWatchListId);
        return;
    }
    HostFrame::ChooseWatchList(p_lWatchListId);
}

void WindowFrame::Listen(SupportPanel& p_oPanel) {
    p_oPanel.SetOnEvent([this](const std::string& p_sEvent, std::vector<Variant> p_params) {
        Raise(p_sEvent, std::move(p_params));
    });
}

SupportPanel* WindowFrame::Panel(const std::string& p_sName) const {
    for (const auto& [name, panel] : m_panels) {
        if (EqualsIgnoreCase(name, p_sName)) {
            return panel;
        }
    }
    return nullptr;
}

SupportPanel* WindowFrame::ShownPanel() const {
    if (m_pPanels->isHidden()) {
        return nullptr;
    }
    for (const auto& [name, panel] : m_panels) {
        if (!panel->isHidden()) {
            return panel;
        }
    }
    return nullptr;
}

int WindowFrame::PanelWidth() const {
    return m_pPanels->isHidden() ? 0 : m_pSplitter->sizes().constFirst();
}

void WindowFrame::FrameChanged() {
    m_pCaption->setText(QString::fromStdString(Caption()));
    m_pCaption->setVisible(FrameVisible() && !Caption().empty());
}

void WindowFrame::SupportShown(const std::string& p_sName) {
    SupportPanel* shown = Panel(p_sName);
    for (const auto& [name, panel] : m_panels) {
        panel->setVisible(panel == shown);
    }
    m_pPanels->setVisible(shown != nullptr);
    SplitterChanged();
}

void WindowFrame::SupportsHidden() {
    for (const auto& [name, panel] : m_panels) {
        panel->hide();
    }
    m_pPanels->hide();
}

void WindowFrame::SupportRemoved(const std::string& p_sName) {
    if (SupportPanel* panel = Panel(p_sName)) {
        panel->hide();
    }
    if (ShownPanel() == nullptr) {
        m_pPanels->hide();
    }
}

void WindowFrame::SplitterChanged() {
    m_pPanels->setMinimumWidth(Pixels(MinSplitterWidth()));
    const int left = Pixels(SplitterLeft());
    if (left <= 0 || m_pPanels->isHidden()) {
        return;
    }
    const int total = std::max(m_pSplitter->width(), left * 2);
    m_pSplitter->setSizes({left, total - left});
}

void WindowFrame::ToolBarChanged() {
    m_pToolBar->setVisible(ToolBarVisible());
}

void WindowFrame::ButtonAdded(const ToolBarButton& p_oButton) {
    AddToolButton(p_oButton, QStyle::SP_FileDialogInfoView);
}

void WindowFrame::ResizeMainControl(int32_t p_lTwips) {
    if (m_pList == nullptr) {
        return;
    }
    m_pList->setMinimumHeight(Pixels(p_lTwips));
    // The surface places its grids again on its next resize.
    QApplication::postEvent(m_pList, new QResizeEvent(m_pList->size(), m_pList->size()));
}

void WindowFrame::Defer(std::function<void()> p_fnCommand) {
    QTimer::singleShot(0, this, std::move(p_fnCommand));
}

void WindowFrame::AddToolButton(const ToolBarButton& p_oButton, int p_iStandardIcon) {
    const auto known = m_buttons.find(ToUpperAscii(p_oButton.m_sKey));
    if (known != m_buttons.end()) {
        return;
    }
    // The picture the master names lives beside the control library; one that is not there
    // gives way to a built-in icon.
    const QString picture = QString::fromStdString(p_oButton.m_sPicture);
    const QIcon icon =
        !picture.isEmpty() && QFileInfo::exists(picture)
            ? QIcon(picture)
            : m_oWindow.style()->standardIcon(static_cast<QStyle::StandardPixmap>(p_iStandardIcon));
    const QString caption = p_oButton.m_sCaption.empty()
                                ? QString::fromStdString(p_oButton.m_sKey)
                                : QString::fromStdString(p_oButton.m_sCaption);
    QAction* action = m_pToolBar->addAction(icon, caption);
    action->setObjectName(QStringLiteral("toolBar") + QString::fromStdString(p_oButton.m_sKey));
    const std::string key = p_oButton.m_sKey;
    connect(action, &QAction::triggered, this, [this, key] { ToolBarClick(key); });
    m_buttons[ToUpperAscii(key)] = action;
}

void WindowFrame::Raise(const std::string& p_sName, std::vector<Variant> p_params) {
    if (m_fnPanelEvent && m_fnPanelEvent(p_sName, p_params)) {
        return;
    }
    RaiseHostEvent(p_sName, std::move(p_params));
}

int WindowFrame::Pixels(int32_t p_lTwips) const {
    return static_cast<int>(p_lTwips * m_oWindow.logicalDpiX() / kTwipsPerInch);
}

}  // namespace qv

#include "shell/screens_panel.h"

#include "outside/automation_error.h"
#include "outside/platform_context.h"
#include "shell/panel_parts.h"
#include "shell/screen_editor.h"

#include <QFont>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QToolButton>
#include <QVBoxLayout>

namespace qv {

namespace {

constexpr int kIndexRole = Qt::UserRole;

QString ToQString(const std::string& p_sText) {
    return QString::fromStdString(p_sText);
}

QPushButton* NewButton(const QString& p_sText, const char* p_sName, QWidget* p_pParent) {
    auto* button = new QPushButton(p_sText, p_pParent);
    button->setObjectName(QLatin1String(p_sName));
    return button;
}

}  // namespace

ScreensPanel::ScreensPanel(QWidget* p_pParent) : SupportPanel(p_pParent) {
    setObjectName(QStringLiteral("screensPanel"));
    auto* title = new QLabel(QStringLiteral("Screens"), this);
    m_pList = new QListWidget(this);
    m_pList->setObjectName(QStringLiteral("screenList"));
    m_pList->setAccessibleName(QStringLiteral("Screens"));
    auto* add = NewButton(QStringLiteral("&New…"), "newScreen", this);
    m_pEdit = NewButton(QStringLiteral("&Edit…"), "editScreen", this);
    m_pCopy = NewButton(QStringLiteral("C&opy…"), "copyScreen", this);
    m_pDelete = NewButton(QStringLiteral("&Delete"), "deleteScreen", this);
    m_pRun = NewButton(QStringLiteral("&Run"), "runScreen", this);
    m_pStatus = new QLabel(this);
    m_pStatus->setObjectName(QStringLiteral("screensStatus"));
    m_pStatus->setWordWrap(true);

    auto* top = new QHBoxLayout;
    top->addWidget(title, 1);
    top->addWidget(NewCloseButton(this, [this] { RaiseEvent("CLOSECLICKED"); }));
    auto* buttons = new QGridLayout;
    buttons->addWidget(add, 0, 0);
    buttons->addWidget(m_pEdit, 0, 1);
    buttons->addWidget(m_pCopy, 0, 2);
    buttons->addWidget(m_pDelete, 1, 0);
    buttons->addWidget(m_pRun, 1, 1, 1, 2);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(4, 4, 4, 4);
    layout->addLayout(top);
    layout->addWidget(m_pList, 1);
    layout->addLayout(buttons);
    layout->addWidget(m_pStatus);

    connect(m_pList, &QListWidget::itemActivated, this, [this] { RunScreen(); });
    connect(m_pList, &QListWidget::currentRowChanged, this, [this] { SyncButtons(); });
    connect(add, &QPushButton::clicked, this, [this] { NewScreen(); });
    connect(m_pEdit, &QPushButton::clicked, this, [this] { EditScreen(); });
    connect(m_pCopy, &QPushButton::clicked, this, [this] { CopyScreen(); });
    connect(m_pDelete, &QPushButton::clicked, this, [this] { DeleteScreen(); });
    connect(m_pRun, &QPushButton::clicked, this, [this] { RunScreen(); });
    SyncButtons();
}

std::shared_ptr<DispatchObject> ScreensPanel::Object() {
    return std::make_shared<PanelObject<ScreensPanel>>(*this, Table(), kScreensSupport);
}

const DispatchTable& ScreensPanel::Table() {
    using Self = PanelObject<ScreensPanel>;
    static const DispatchTable table =
        DispatchTable::Builder<Self>()
            .Method("Init", 2, 2,
                    [](Self& self, std::span<Variant> args) {
                        self.Panel().Init(args[0].ToLong(), args[1].ToLong());
                        return Variant();
                    })
            .Property(
                "CurrentScreen",
                [](Self& self) { return Variant(self.Panel().CurrentScreen().toStdString()); },
                [](Self& self, const Variant& v) {
                    self.Panel().SetCurrentScreen(QString::fromStdString(v.ToString()));
                })
            .Build();
    return table;
}

void ScreensPanel::Init(int32_t p_lOwnerId, int32_t p_lDate) {
    m_lOwnerId = p_lOwnerId;
    m_lDate = p_lDate;
    try {
        m_aScreens = ReadScreens(p_lOwnerId);
    } catch (const AutomationError& error) {
        m_aScreens.clear();
        Say(QStringLiteral("The screens cannot be read: ") + ToQString(error.Description()));
    }
    Fill();
}

void ScreensPanel::Fill() {
    const QString chosen = CurrentScreen();
    m_pList->clear();
    for (size_t i = 0; i < m_aScreens.size(); ++i) {
        const StockScreen& screen = m_aScreens[i];
        auto* item = new QListWidgetItem(ToQString(screen.m_sName), m_pList);
        item->setData(kIndexRole, static_cast<int>(i));
        const QString description =
            ToQString(screen.m_sDescription.empty() ? screen.m_sCriteria : screen.m_sDescription);
        item->setToolTip(ToQString(ScreenRowsText(screen.m_lResultType)) + QStringLiteral(": ") +
                         description);
        if (screen.IsShipped()) {
            item->setText(item->text() + QStringLiteral("  (shipped)"));
            QFont italic = item->font();
            italic.setItalic(true);
            item->setFont(italic);
            item->setForeground(palette().placeholderText());
        }
    }
    SetCurrentScreen(chosen);
    SyncButtons();
}

const StockScreen* ScreensPanel::Chosen() const {
    const QListWidgetItem* item = m_pList->currentItem();
    if (item == nullptr) {
        return nullptr;
    }
    const auto index = static_cast<size_t>(item->data(kIndexRole).toInt());
    return index < m_aScreens.size() ? &m_aScreens[index] : nullptr;
}

QString ScreensPanel::CurrentScreen() const {
    const StockScreen* screen = Chosen();
    return screen != nullptr ? ToQString(screen->m_sName) : QString();
}

bool ScreensPanel::SetCurrentScreen(const QString& p_sName) {
    const StockScreen* screen = FindScreen(m_aScreens, p_sName.toStdString());
    if (screen == nullptr) {
        return false;
    }
    m_pList->setCurrentRow(static_cast<int>(screen - m_aScreens.data()));
    return true;
}

void ScreensPanel::SyncButtons() {
    const StockScreen* screen = Chosen();
    const bool own = screen != nullptr && !screen->IsShipped();
    m_pEdit->setEnabled(own);
    m_pDelete->setEnabled(own);
    m_pCopy->setEnabled(screen != nullptr);
    m_pRun->setEnabled(screen != nullptr);
    if (screen != nullptr && screen->IsShipped()) {
        m_pEdit->setToolTip(QStringLiteral("A shipped screen is read-only: Copy makes your own"));
    } else {
        m_pEdit->setToolTip(QString());
    }
}

void ScreensPanel::NewScreen() {
    OpenEditor(StockScreen{});
}

void ScreensPanel::EditScreen() {
    const StockScreen* screen = Chosen();
    if (screen == nullptr || screen->IsShipped()) {
        Say(QStringLiteral(
            "Choose one of your screens to edit; Copy makes one of a shipped screen"));
        return;
    }
    OpenEditor(*screen);
}

void ScreensPanel::CopyScreen() {
    const StockScreen* screen = Chosen();
    if (screen == nullptr) {
        Say(QStringLiteral("Choose a screen to copy"));
        return;
    }
    StockScreen copy = *screen;
    copy.m_lScreenId = 0;
    copy.m_lOwnerId = m_lOwnerId;
    copy.m_sName = screen->m_sName + " copy";
    OpenEditor(copy);
}

void ScreensPanel::DeleteScreen() {
    const StockScreen* screen = Chosen();
    if (screen == nullptr || screen->IsShipped()) {
        Say(QStringLiteral("Only your own screens can be deleted"));
        return;
    }
    const StockScreen doomed = *screen;
    if (MsgBox("Delete the screen \"" + doomed.m_sName + "\"?", vbYesNo, vbQuestion,
               "Delete Screen") != vbYes) {
        Say(QStringLiteral("Kept ") + ToQString(doomed.m_sName));
        return;
    }
    try {
        qv::DeleteScreen(m_lOwnerId, doomed.m_lScreenId);
    } catch (const AutomationError& error) {
        Say(QStringLiteral("Not deleted: ") + ToQString(error.Description()));
        return;
    }
    Init(m_lOwnerId, m_lDate);
    Say(QStringLiteral("Deleted ") + ToQString(doomed.m_sName));
}

void ScreensPanel::RunScreen() {
    const StockScreen* screen = Chosen();
    if (screen == nullptr) {
        Say(QStringLiteral("Choose a screen to run"));
        return;
    }
    Run(*screen);
}

void ScreensPanel::Run(const StockScreen& p_oScreen) {
    Say(QStringLiteral("Showing ") + ToQString(p_oScreen.m_sName));
    RaiseEvent("RUNSCREEN", {Variant(p_oScreen.m_sName), Variant(p_oScreen.m_sCriteria),
                             Variant(p_oScreen.m_lResultType)});
}

void ScreensPanel::OpenEditor(const StockScreen& p_oScreen) {
    if (m_pEditor != nullptr) {
        m_pEditor->raise();
        m_pEditor->activateWindow();
        Say(QStringLiteral("Finish the screen being edited first"));
        return;
    }
    m_pEditor = new ScreenEditor(m_lOwnerId, m_lDate, p_oScreen, window());
    m_pEditor->setAttribute(Qt::WA_DeleteOnClose);
    m_pEditor->SetOnSaved(
        [this](const StockScreen& p_oSaved, bool p_bRun) { Saved(p_oSaved, p_bRun); });
    m_pEditor->open();
}

void ScreensPanel::Saved(const StockScreen& p_oScreen, bool p_bRun) {
    Init(m_lOwnerId, m_lDate);
    SetCurrentScreen(ToQString(p_oScreen.m_sName));
    Say(QStringLiteral("Saved ") + ToQString(p_oScreen.m_sName));
    if (p_bRun) {
        Run(p_oScreen);
    }
}

void ScreensPanel::Say(const QString& p_sText) {
    m_pStatus->setText(p_sText);
}

QString ScreensPanel::StatusText() const {
    return m_pStatus->text();
}

}  // namespace qv

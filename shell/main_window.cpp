#include "shell/main_window.h"

#include "control/viewer.h"
#include "host/control_master.h"
#include "outside/automation_error.h"
#include "outside/error_reporter.h"
#include "outside/grid_control.h"
#include "outside/platform_context.h"
#include "outside/recordset.h"
#include "outside/text_util.h"
#include "outside/variant.h"
#include "outside/vb_date.h"
#include "shell/grid_view.h"
#include "shell/helper_strip.h"
#include "shell/key_codes.h"
#include "shell/market_session.h"
#include "shell/page_router.h"
#include "shell/qt_services.h"
#include "shell/shortcuts_dialog.h"
#include "shell/totals_footer.h"
#include "shell/viewer_host.h"
#include "shell/viewer_surface.h"
#include "shell/watch_list_panel.h"
#include "shell/window_context_menu.h"
#include "shell/window_find.h"
#include "shell/window_frame.h"
#include "shell/window_import.h"
#include "shell/window_keys.h"
#include "shell/window_lists.h"
#include "shell/window_quick_test.h"
#include "shell/window_texts.h"

#include <QAction>
#include <QActionGroup>
#include <QApplication>
#include <QCloseEvent>
#include <QComboBox>
#include <QDateEdit>
#include <QDialog>
#include <QDir>
#include <QFileDialog>
#include <QFont>
#include <QFrame>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QPointer>
#include <QSettings>
#include <QShortcut>
#include <QStandardItemModel>
#include <QStatusBar>
#include <QStringList>
#include <QTimer>
#include <QToolButton>
#include <QVBoxLayout>

#include <array>
#include <exception>
#include <utility>

namespace qv {

namespace {

constexpr std::array<std::pair<const char*, int32_t>, 8> kRowLimits = {{
    {"Default", -1},
    {"All", 0},
    {"25", 25},
    {"50", 50},
    {"100", 100},
    {"250", 250},
    {"500", 500},
    {"1000", 1000},
}};

// The scopes that narrow each kind of list; the others are disabled while it is shown, since
// choosing them would change nothing a person sees.
struct ScopesOfList {
    int32_t m_lViewerType;
    bool m_bIndustry;
    bool m_bSector;
    bool m_bWatchList;
    bool m_bPortfolio;
};

constexpr std::array<ScopesOfList, 8> kScopesOfList = {{
    {vt_Stocks, true, true, true, true},
    {vt_Industries, true, true, true, true},
    {vt_Sectors, true, true, true, true},
    {vt_StockHistory, false, false, false, false},
    {vt_IndustryHistory, true, false, false, false},
    {vt_SectorHistory, false, true, false, false},
    {vt_FinderResults, true, true, false, false},
    {vt_Portfolio, false, false, false, true},
}};

ScopesOfList ScopesOf(int32_t p_lViewerType) {
    for (const ScopesOfList& scopes : kScopesOfList) {
        if (scopes.m_lViewerType == p_lViewerType) {
            return scopes;
        }
    }
    return kScopesOfList.front();
}

// Some platforms name no key for a standard command (the generic one, offscreen included, has no
// Quit key): there the key every desktop uses for it.
QKeySequence StandardKey(QKeySequence::StandardKey p_eKey, QKeyCombination p_fallback) {
    const QKeySequence standard(p_eKey);
    return standard.isEmpty() ? QKeySequence(p_fallback) : standard;
}

QDate ToQDate(int32_t p_lSerial) {
    const DateParts civil = CivilFromDaySerial(p_lSerial);
    return QDate(civil.Year, civil.Month, civil.Day);
}

int32_t ToSerial(const QDate& p_date) {
    return DaySerialFromCivil(p_date.year(), p_date.month(), p_date.day());
}

QString ToQString(const std::string& p_sText) {
    return QString::fromStdString(p_sText);
}

std::string ArgumentText(const Variant& p_vValue) {
    try {
        return p_vValue.ToString();
    } catch (const std::exception&) {
        return "?";
    }
}

std::string EventText(std::string_view p_sEvent, std::span<Variant> p_args) {
    std::string text(p_sEvent);
    text += "(";
    for (size_t i = 0; i < p_args.size(); ++i) {
        text += (i > 0 ? ", " : "") + ArgumentText(p_args[i]);
    }
    return text + ")";
}

// The user's short date format with the year in four digits: a two-digit year typed into the day
// box would read back in another century.
QString DayFormat() {
    QString format = QLocale().dateFormat(QLocale::ShortFormat);
    if (!format.contains(QStringLiteral("yyyy"))) {
        format.replace(QStringLiteral("yy"), QStringLiteral("yyyy"));
    }
    return format;
}

// A box as wide as its longest choice where there is room, but never wider than a page beside
// the list leaves: the list of choices still shows each whole.
QComboBox* NewCombo(QWidget* p_pParent) {
    constexpr int kLeastCharacters = 12;
    auto* combo = new QComboBox(p_pParent);
    combo->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    combo->setMinimumContentsLength(kLeastCharacters);
    combo->setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Fixed);
    return combo;
}

QLabel* AddLabelled(QHBoxLayout& p_oRow, const char* p_sLabel, QWidget* p_pWidget) {
    auto* label = new QLabel(QString::fromUtf8(p_sLabel), p_pWidget->parentWidget());
    label->setBuddy(p_pWidget);
    p_oRow.addWidget(label);
    p_oRow.addWidget(p_pWidget);
    return label;
}

}  // namespace

void SelectData(QComboBox& p_oCombo, int32_t p_lValue) {
    const int index = p_oCombo.findData(p_lValue);
    p_oCombo.setCurrentIndex(index < 0 ? 0 : index);
}

int32_t DataOf(const QComboBox& p_oCombo) {
    return p_oCombo.currentData().toInt();
}

MainWindow::MainWindow(MarketSession& p_oSession, QWidget* p_pParent)
    : QMainWindow(p_pParent),
      m_oSession(p_oSession),
      m_oReporter(PlatformContext::Current().Reporter()),
      m_pFrame(new WindowFrame(*this)),
      m_oHost(std::make_unique<ViewerHost>(p_oSession, std::unique_ptr<HostFrame>(m_pFrame))) {
    setWindowTitle(QStringLiteral("Qorvant Viewer"));
    m_pFrame->SetOnControlEvent([this](std::string_view p_sEvent, std::span<Variant> p_args) {
        OnViewerEvent(p_sEvent, p_args);
    });
    m_pFrame->SetOnNavigate([this](const std::string& p_sAddress) { OpenPage(p_sAddress); });
    m_pFrame->SetOnEventHandled([this](const std::string& p_sName) { AfterEvent(p_sName); });
    m_pFrame->SetOnPanelEvent(
        [this](const std::string& p_sName, const std::vector<Variant>& p_params) {
            return OnPanelEvent(p_sName, p_params);
        });
    m_oHost->SetOnLoginTakenOver([this] { OnLoginTakenOver(); });
    BuildControls();
    BuildPages();
    FillScopes();
    BuildMenus();
    SetQtServiceHost(PlatformContext::Current(), m_pSurface);
    m_oReporter.SetListener([this](const ErrorReport& p_oReport) { ShowReport(p_oReport); });
    // The list, not the first box of the strip, has the keys when the window opens.
    m_pSurface->PrimaryView().setFocus(Qt::OtherFocusReason);
    resize(1100, 720);
}

MainWindow::~MainWindow() {
    m_oReporter.SetListener(nullptr);
    SetQtServiceHost(PlatformContext::Current(), nullptr);
}

void MainWindow::BuildControls() {
    auto* central = new QWidget(this);
    auto* layout = new QVBoxLayout(central);
    auto* choice = new QHBoxLayout;
    auto* scope = new QHBoxLayout;

    m_pType = NewCombo(central);
    for (const auto& [name, type] : kListTypes) {
        m_pType->addItem(QString::fromUtf8(name), type);
    }
    m_pDate = new QDateEdit(central);
    m_pDate->setCalendarPopup(true);
    m_pDate->setDisplayFormat(DayFormat());
    m_pRows = NewCombo(central);
    for (const auto& [name, rows] : kRowLimits) {
        m_pRows->addItem(QString::fromUtf8(name), rows);
    }
    m_pIndustry = NewCombo(central);
    m_pSector = NewCombo(central);
    m_pWatchList = NewCombo(central);
    m_pPortfolio = NewCombo(central);
    m_pSymbol = new QLineEdit(central);
    m_pSymbol->setMaximumWidth(90);
    m_pSymbol->setPlaceholderText(QStringLiteral("Symbol"));

    m_pType->setObjectName(QStringLiteral("listType"));
    m_pDate->setObjectName(QStringLiteral("day"));
    m_pRows->setObjectName(QStringLiteral("rows"));
    m_pIndustry->setObjectName(QStringLiteral("industry"));
    m_pSector->setObjectName(QStringLiteral("sector"));
    m_pWatchList->setObjectName(QStringLiteral("watchList"));
    m_pPortfolio->setObjectName(QStringLiteral("portfolio"));
    m_pSymbol->setObjectName(QStringLiteral("symbol"));
    AddLabelled(*choice, "&List", m_pType);
    m_dayTwins = {AddLabelled(*choice, "&Day", m_pDate), m_pDate};
    m_rowsTwins = {AddLabelled(*choice, "&Rows", m_pRows), m_pRows};
    AddLabelled(*choice, "S&ymbol", m_pSymbol);
    choice->addStretch();
    AddLabelled(*scope, "&Industry", m_pIndustry);
    AddLabelled(*scope, "S&ector", m_pSector);
    AddLabelled(*scope, "&Watch list", m_pWatchList);
    AddLabelled(*scope, "&Portfolio", m_pPortfolio);
    scope->addStretch();

    m_pCaption = new QLabel(central);
    QFont bold = m_pCaption->font();
    bold.setBold(true);
    bold.setPointSizeF(bold.pointSizeF() * 1.2);
    m_pCaption->setFont(bold);
    m_pNotes = new QLabel(central);
    m_pNotes->setObjectName(QStringLiteral("notes"));
    m_pNotes->setWordWrap(true);
    m_pSurface = new ViewerSurface(m_oHost->ControlPtr(), central);
    m_pSurface->SetOnSynced([this] { ShowCaptions(); });
    m_pSurface->PrimaryView().installEventFilter(this);
    m_pSurface->SecondaryView().installEventFilter(this);
    new WindowContextMenu(*m_pSurface, this);
    new TypeToJump(m_oHost->ControlPtr(), m_pSurface->PrimaryView(), m_pSurface->SecondaryView(),
                   this);
    auto* keys = new MasterKeys(*m_pFrame, this);
    keys->Watch(m_pSurface->PrimaryView());
    keys->Watch(m_pSurface->SecondaryView());
    m_pTotals = new TotalsFooter(central);
    m_pTotals->hide();
    BuildHint(*central);

    // Above the list: the caption, the notes and the hint.
    auto* above = new QWidget(central);
    auto* aboveLayout = new QVBoxLayout(above);
    aboveLayout->setContentsMargins(0, 0, 0, 0);
    m_pCaption->setParent(above);
    m_pNotes->setParent(above);
    m_pHint->setParent(above);
    aboveLayout->addWidget(m_pCaption);
    aboveLayout->addWidget(m_pNotes);
    aboveLayout->addWidget(m_pHint);
    m_pFrame->SetList(above, m_pSurface, m_pTotals);

    layout->addLayout(choice);
    layout->addLayout(scope);
    layout->addWidget(m_pFrame->Widget(), 1);
    setCentralWidget(central);

    m_pSort = new QLabel(this);
    m_pBsh = new QLabel(this);
    statusBar()->addPermanentWidget(m_pSort);
    statusBar()->addPermanentWidget(m_pBsh);
    m_pStore = new QLabel(ToQString(m_oSession.StoreText()), this);
    m_pStore->setObjectName(QStringLiteral("storeLabel"));
    // Set apart from the list's figures beside it.
    m_pStore->setFrameStyle(QFrame::StyledPanel | QFrame::Sunken);
    statusBar()->addPermanentWidget(m_pStore);

    for (QComboBox* combo :
         {m_pType, m_pRows, m_pIndustry, m_pSector, m_pWatchList, m_pPortfolio}) {
        connect(combo, &QComboBox::activated, this, [this] { ApplyControls(); });
    }
    connect(m_pDate, &QDateEdit::dateChanged, this, [this] { ApplyControls(); });
    connect(m_pSymbol, &QLineEdit::returnPressed, this, [this] { ApplyControls(); });
}

void MainWindow::BuildMenus() {
    QMenu* file = menuBar()->addMenu(QStringLiteral("&File"));
    // Alt opens the menu bar on every desktop; F10 does on some, and a keyboard user expects it.
    connect(new QShortcut(QKeySequence(Qt::Key_F10), this), &QShortcut::activated, this,
            [this, file] { menuBar()->setActiveAction(file->menuAction()); });
    file->setToolTipsVisible(true);
    m_pImport = file->addAction(QStringLiteral("&Import market data…"), this,
                                [this] { ChooseImportFolder(); });
    m_pImport->setObjectName(QStringLiteral("importAction"));
    m_pImport->setShortcut(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_I));
    BuildStoreActions(*file);
    file->addSeparator();
    QAction* exportList =
        file->addAction(QStringLiteral("&Export…"), this, [this] { ExportList(); });
    exportList->setShortcut(StandardKey(QKeySequence::SaveAs, Qt::CTRL | Qt::SHIFT | Qt::Key_S));
    AddPrintActions(*file);
    file->addSeparator();
    BuildPortfolioActions(*file);
    file->addSeparator();
    QAction* quit = file->addAction(QStringLiteral("&Quit"), this, [this] { close(); });
    // No key: Ctrl+Q, the desktops' quit key, is the list's quick test; the window's close key
    // (Alt+F4 on most desktops) quits.
    quit->setMenuRole(QAction::QuitRole);
    AddFindAction(*menuBar(), m_pSurface->PrimaryView());

    QMenu* view = menuBar()->addMenu(QStringLiteral("&View"));
    AddChoiceMenu(*view, QStringLiteral("&List"), *m_pType, true);
    AddDayMenu(*view);
    view->addSeparator();
    AddChoiceMenu(*view, QStringLiteral("&Industry group"), *m_pIndustry, false);
    AddChoiceMenu(*view, QStringLiteral("S&ector"), *m_pSector, false);
    AddChoiceMenu(*view, QStringLiteral("&Watch list"), *m_pWatchList, false);
    AddChoiceMenu(*view, QStringLiteral("&Portfolio"), *m_pPortfolio, false);
    view->addSeparator();
    // The entry sends the list's own key, so that both take the one path to the control; the key
    // is named beside the entry but stays the list's, not a second shortcut of the window.
    view->addAction(QStringLiteral("&Choose columns…\tCtrl+L"), this,
                    [this] { PressListKey(m_pSurface->PrimaryView(), Qt::Key_L); });
    QAction* sort = view->addAction(QStringLiteral("&Sort…\tCtrl+E"), this, [this] { SortList(); });
    sort->setObjectName(QStringLiteral("sortAction"));
    AddQuickTestAction(*view, m_pSurface->PrimaryView(), m_oHost->Control());
    BuildWatchListPanel(*view);
    AddPagesAction(*view);

    BuildLayoutMenu();

    QMenu* help = menuBar()->addMenu(QStringLiteral("&Help"));
    QAction* keys = help->addAction(QStringLiteral("&Keyboard shortcuts"), this, [this] {
        QDialog* dialog = NewShortcutsDialog(*menuBar(), this);
        dialog->show();
    });
    keys->setShortcut(QKeySequence::HelpContents);
    help->addAction(QStringLiteral("&About Qorvant Viewer"), this, [this] { ShowAbout(); })
        ->setMenuRole(QAction::AboutRole);
}

void MainWindow::AddDayMenu(QMenu& p_oView) {
    QMenu* day = p_oView.addMenu(QStringLiteral("&Day"));
    const QString first = QStringLiteral("The list shows the first trading day of the market");
    const QString last = QStringLiteral("The list shows the last trading day of the market");
    day->addAction(
           QStringLiteral("&Previous trading day"), this,
           [this, first] { GoToDay(PreviousTradingDay(m_oHost->Request().m_lDate), first); })
        ->setShortcut(QKeySequence::Back);
    day->addAction(QStringLiteral("&Next trading day"), this,
                   [this, last] { GoToDay(NextTradingDay(m_oHost->Request().m_lDate), last); })
        ->setShortcut(QKeySequence::Forward);
    day->addAction(QStringLiteral("&Latest trading day"), this,
                   [this, last] { GoToDay(m_oSession.LastDay(), last); })
        ->setShortcut(QKeySequence(Qt::ALT | Qt::Key_End));
    day->addAction(QStringLiteral("&Choose a day…"), this,
                   [this] {
                       // The strip's day box where the strip shows the day.
                       QDateEdit* box =
                           m_pFrame->StripOnShow() ? &m_pFrame->Strip()->DateEdit() : m_pDate;
                       box->setFocus(Qt::ShortcutFocusReason);
                       box->setSelectedSection(QDateTimeEdit::DaySection);
                   })
        ->setShortcut(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_D));
}

void MainWindow::AddChoiceMenu(QMenu& p_oMenu, const QString& p_sTitle, QComboBox& p_oCombo,
                               bool p_bNumbered) {
    QMenu* menu = p_oMenu.addMenu(p_sTitle);
    auto* group = new QActionGroup(menu);
    FillChoiceMenu(*menu, *group, p_oCombo, p_bNumbered);
    m_choiceMenus.emplace_back(&p_oCombo, group);
}

void MainWindow::FillChoiceMenu(QMenu& p_oMenu, QActionGroup& p_oGroup, QComboBox& p_oCombo,
                                bool p_bNumbered) {
    QMenu* menu = &p_oMenu;
    QActionGroup* group = &p_oGroup;
    for (int i = 0; i < p_oCombo.count(); ++i) {
        // A name such as "Aerospace & Defense" keeps its ampersand rather than marking a key.
        QAction* action =
            menu->addAction(p_oCombo.itemText(i).replace(QLatin1Char('&'), QStringLiteral("&&")));
        action->setCheckable(true);
        action->setData(p_oCombo.itemData(i));
        group->addAction(action);
        if (p_bNumbered && i < 9) {
            action->setShortcut(QKeySequence(Qt::CTRL | static_cast<Qt::Key>(Qt::Key_1 + i)));
        }
        connect(action, &QAction::triggered, this, [this, combo = &p_oCombo, action] {
            SelectData(*combo, action->data().toInt());
            ApplyControls();
        });
    }
}

void MainWindow::SyncMenus() {
    const ScopesOfList scopes = ScopesOf(m_oHost->Request().m_lViewerType);
    m_pIndustry->setEnabled(scopes.m_bIndustry);
    m_pSector->setEnabled(scopes.m_bSector);
    m_pWatchList->setEnabled(scopes.m_bWatchList);
    m_pPortfolio->setEnabled(scopes.m_bPortfolio);
    for (const auto& [combo, group] : m_choiceMenus) {
        group->setEnabled(combo->isEnabled());
        if (auto* menu = qobject_cast<QMenu*>(group->parent())) {
            menu->menuAction()->setEnabled(combo->isEnabled());
        }
        for (QAction* action : group->actions()) {
            action->setChecked(action->data() == combo->currentData());
        }
    }
    // A portfolio list shows one portfolio and a history one industry group or sector: their
    // "None" or "All" would show the first one again.
    const int32_t type = scopes.m_lViewerType;
    const std::array<std::pair<QComboBox*, bool>, 3> needsOne = {{
        {m_pPortfolio, type == vt_Portfolio},
        {m_pIndustry, type == vt_IndustryHistory},
        {m_pSector, type == vt_SectorHistory},
    }};
    for (const auto& [combo, one] : needsOne) {
        if (auto* model = qobject_cast<QStandardItemModel*>(combo->model());
            model != nullptr && model->rowCount() > 0) {
            model->item(0)->setEnabled(!one);
        }
    }
    for (const auto& [combo, group] : m_choiceMenus) {
        for (const auto& [needing, one] : needsOne) {
            if (combo == needing && combo->isEnabled()) {
                group->actions().constFirst()->setEnabled(!one);
            }
        }
    }
}

void MainWindow::GoToDay(int32_t p_lDay, const QString& p_sWhyNot) {
    if (p_lDay == m_oHost->Request().m_lDate) {
        ShowMessage(p_sWhyNot);
        return;
    }
    m_pDate->setDate(ToQDate(p_lDay));
}

int32_t MainWindow::PreviousTradingDay(int32_t p_lDay) const {
    const int32_t before =
        p_lDay > m_oSession.FirstDay() ? m_oSession.TradingDayOnOrBefore(p_lDay - 1) : 0;
    return before == 0 ? p_lDay : before;
}

int32_t MainWindow::NextTradingDay(int32_t p_lDay) const {
    for (int32_t day = p_lDay + 1; day <= m_oSession.LastDay(); ++day) {
        const int32_t trading = m_oSession.TradingDayOnOrBefore(day);
        if (trading == day) {
            return day;
        }
        // 0 when the store could not answer, which asking again day by day would not change.
        if (trading == 0) {
            break;
        }
    }
    return p_lDay;
}

// The window's screen has run already; running it again in the new order is ordering its rows
// by the control's sort.
void MainWindow::RunSearchAgain() {
    Viewer& viewer = m_oHost->Control();
    if (const std::shared_ptr<Recordset> rows = viewer.FinderResults()) {
        try {
            rows->SetSort(viewer.SortCaption());
        } catch (const AutomationError& error) {
            ShowMessage(QStringLiteral("The list keeps its order: ") +
                        ToQString(error.Description()));
        }
    }
    viewer.UpdateViewer();
    m_pSurface->Sync();
    ShowCaptions();
}

void MainWindow::SortList() {
    if (!m_oHost->HasList()) {
        return;
    }
    const std::string before = m_oHost->Control().SortCaption();
    m_pFrame->RaiseHostEvent("EDITSORT");
    if (m_oHost->Control().SortCaption() == before) {
        ShowMessage(QStringLiteral("The sort is unchanged"));
    }
}

void MainWindow::ShowAbout() {
    const QString text =
        QStringLiteral(
            "<h3>Qorvant Viewer %1</h3>"
            "<p>The lists of a stock market: stocks, industry groups, sectors, their "
            "histories, the rows of stock screens and the owner's portfolios.</p>"
            "<p>Data source: %2, with trading days from %3 to %4. A first run fills the "
            "database with a generated sample market; File &gt; Import market data… or "
            "<code>qorvant-market import</code> replaces it with real market data.</p>"
            "<p>%5</p>")
            .arg(QStringLiteral(QV_VERSION), ToQString(m_oSession.DataSource()).toHtmlEscaped(),
                 ToQString(IsoDateText(m_oSession.FirstDay())),
                 ToQString(IsoDateText(m_oSession.LastDay())),
                 ToQString(m_oSession.StoreText()).toHtmlEscaped());
    QMessageBox::about(this, QStringLiteral("About Qorvant Viewer"), text);
}

void MainWindow::FillScopes() {
    // Setting the day's range moves the day box, which must not show a list before the window
    // has its scopes.
    m_bApplying = true;
    m_pDate->setDateRange(ToQDate(m_oSession.FirstDay()), ToQDate(m_oSession.LastDay()));
    m_pIndustry->addItem(QStringLiteral("All industry groups"), 0);
    for (const NamedCode& industry : m_oSession.Industries()) {
        m_pIndustry->addItem(ToQString(industry.m_sName), industry.m_lCode);
    }
    m_pSector->addItem(QStringLiteral("All sectors"), 0);
    for (const NamedCode& sector : m_oSession.Sectors()) {
        m_pSector->addItem(ToQString(sector.m_sName), sector.m_lCode);
    }
    m_pWatchList->addItem(QStringLiteral("None"), 0);
    for (const NamedCode& list : m_oSession.WatchLists()) {
        const char* kind = list.m_lKind == 0 ? " (stocks)" : " (industry groups)";
        m_pWatchList->addItem(ToQString(list.m_sName) + QString::fromUtf8(kind), list.m_lCode);
    }
    m_pPortfolio->addItem(QStringLiteral("None"), 0);
    for (const NamedCode& portfolio : m_oSession.Portfolios()) {
        m_pPortfolio->addItem(ToQString(portfolio.m_sName), portfolio.m_lCode);
    }
    m_bApplying = false;
}

ViewerRequest MainWindow::RequestFromControls() const {
    ViewerRequest request;
    request.m_lViewerType = DataOf(*m_pType);
    request.m_lDate = ToSerial(m_pDate->date());
    request.m_lMaxRows = DataOf(*m_pRows);
    request.m_lIndCode = DataOf(*m_pIndustry);
    request.m_lSectorCode = DataOf(*m_pSector);
    request.m_lWatchListId = DataOf(*m_pWatchList);
    request.m_lPortfolioId = DataOf(*m_pPortfolio);
    request.m_sSymbol = m_pSymbol->text().trimmed().toUpper().toStdString();
    // The screen has no box of its own: the one shown stays until another is run.
    const ViewerRequest& shown = m_oHost->Request();
    request.m_sScreenName = shown.m_sScreenName;
    request.m_sScreenCriteria = shown.m_sScreenCriteria;
    request.m_lScreenRows = shown.m_lScreenRows;
    return request;
}

void MainWindow::SetControls(const ViewerRequest& p_oRequest) {
    SelectData(*m_pType, p_oRequest.m_lViewerType);
    m_pDate->setDate(ToQDate(p_oRequest.m_lDate));
    SelectData(*m_pRows, p_oRequest.m_lMaxRows);
    SelectData(*m_pIndustry, p_oRequest.m_lIndCode);
    SelectData(*m_pSector, p_oRequest.m_lSectorCode);
    SelectData(*m_pWatchList, p_oRequest.m_lWatchListId);
    SelectData(*m_pPortfolio, p_oRequest.m_lPortfolioId);
    m_pSymbol->setText(ToQString(p_oRequest.m_sSymbol));
}

bool MainWindow::ShowList(const ViewerRequest& p_oRequest) {
    m_bApplying = true;
    bool shown = false;
    // The control lays a list's columns out afresh from its layout: the widths the person gave
    // them are read before and given back after.
    KeepLayout();
    m_sFailure.clear();
    try {
        shown = m_oHost->Show(p_oRequest);
    } catch (const std::exception& error) {
        m_sFailure = QString::fromStdString(ErrorText(error));
        ShowMessage(QStringLiteral("The list cannot be shown: ") + m_sFailure);
        if (!m_oHost->HasList()) {
            ShowFirstList();
        }
    }
    if (!m_oHost->HasList()) {
        m_bApplying = false;
        return false;
    }
    SetControls(m_oHost->Request());
    SyncMenus();
    m_bApplying = false;
    m_lShownType = m_oHost->Request().m_lViewerType;
    ApplyLayout();
    ShowEmptyReason();
    if (!m_oHost->NoRowsNote().empty()) {
        ShowMessage(ToQString(m_oHost->NoRowsNote()));
    }
    if (m_oHost->LoginTakenOver()) {
        OnLoginTakenOver();
    }
    // The helper strip and the panels the master set up take their places before the list is
    // used: a menu opened at once opens where its row is.
    QCoreApplication::sendPostedEvents(nullptr, QEvent::LayoutRequest);
    m_pSurface->Sync();
    SyncWatchListPanel();
    SyncScreensPanel();
    return shown;
}

void MainWindow::ShowEmptyReason() {
    EmptyListFacts facts;
    const ViewerRequest& shown = m_oHost->Request();
    facts.m_lViewerType = shown.m_lViewerType;
    facts.m_bWatchList = shown.m_lWatchListId != 0;
    for (const NamedCode& list : m_oSession.WatchLists()) {
        if (list.m_lCode == shown.m_lWatchListId) {
            facts.m_bIndustryWatchList = list.m_lKind != 0;
        }
    }
    facts.m_sFailure = m_sFailure.toStdString();
    facts.m_sNoRows = m_oHost->NoRowsNote();
    m_pSurface->SetEmptyText(ToQString(EmptyListText(facts)));
}

// A first request that fails (a portfolio of an owner who has none, a symbol the market lacks)
// leaves the window with the stock list instead of no list at all.
void MainWindow::ShowFirstList() {
    try {
        m_oHost->Show(ViewerRequest{});
    } catch (const std::exception& error) {
        ShowMessage(QStringLiteral("The list cannot be shown: ") +
                    QString::fromStdString(ErrorText(error)));
    }
}

void MainWindow::ApplyControls() {
    if (m_bApplying) {
        return;
    }
    ViewerRequest request = RequestFromControls();
    TakeHistorySubject(request);
    ShowList(request);
}

void MainWindow::TakeHistorySubject(ViewerRequest& p_oRequest) const {
    const auto& rows = m_oHost->Control().olePriGrid()->DataSource();
    if (!rows || rows->State() != adStateOpen || rows->IsBOF() || rows->IsEOF()) {
        return;
    }
    const auto value = [&rows](const char* p_sField) {
        return rows->Fields().IndexOf(p_sField) >= 0 ? rows->Value(p_sField) : Variant();
    };
    const Variant symbol = value("Symbol");
    const Variant industry = value("IndCode");
    const Variant sector = value("SectorCode");
    if (p_oRequest.m_lViewerType == vt_StockHistory && p_oRequest.m_sSymbol.empty() &&
        !symbol.IsEmpty() && !symbol.IsNull()) {
        p_oRequest.m_sSymbol = symbol.ToString();
    }
    if (p_oRequest.m_lViewerType == vt_IndustryHistory && p_oRequest.m_lIndCode == 0 &&
        !industry.IsEmpty() && !industry.IsNull()) {
        p_oRequest.m_lIndCode = industry.ToLong();
    }
    if (p_oRequest.m_lViewerType == vt_SectorHistory && p_oRequest.m_lSectorCode == 0 &&
        !sector.IsEmpty() && !sector.IsNull()) {
        p_oRequest.m_lSectorCode = sector.ToLong();
    }
}

void MainWindow::ShowCaptions() {
    Viewer& viewer = m_oHost->Control();
    m_pCaption->setText(ToQString(m_oHost->Caption()));
    QStringList notes;
    for (const std::string& note : m_oHost->Notes()) {
        notes << ToQString(note);
    }
    m_pNotes->setText(notes.join(QLatin1Char('\n')));
    m_pNotes->setVisible(!notes.isEmpty());
    m_pSort->setText(ToQString(SortLine(viewer.SortCaption(), *viewer.olePriGrid())));
    m_pTotals->setVisible(m_oHost->Request().m_lViewerType == vt_Portfolio);
    if (m_pTotals->isVisible()) {
        m_pTotals->ShowTotals(*viewer.olePriGrid());
    }
    m_pBsh->setText(ToQString(viewer.BSHCaption()));
    // The strip has the list's day and rows where it shows, the history helper the rows: one
    // box for each.
    for (QWidget* twin : m_dayTwins) {
        twin->setVisible(!m_pFrame->StripOnShow());
    }
    for (QWidget* twin : m_rowsTwins) {
        twin->setVisible(!m_pFrame->StripOnShow() && !m_pFrame->HistoryHelperOnShow());
    }
}

QString MainWindow::CaptionText() const {
    return m_pCaption->text();
}

QString MainWindow::NotesText() const {
    return m_pNotes->text();
}

bool MainWindow::ImportHintShown() const {
    return !m_pHint->isHidden();
}

QString MainWindow::TotalsText() const {
    return m_pTotals->isHidden() ? QString() : m_pTotals->text();
}

QString MainWindow::StatusText() const {
    return m_pSort->text() + QStringLiteral(" | ") + m_pBsh->text();
}

void MainWindow::ShowMessage(const QString& p_sMessage) {
    m_sLastMessage = p_sMessage;
    statusBar()->showMessage(p_sMessage);
}

void MainWindow::OnViewerEvent(std::string_view p_sEvent, std::span<Variant> p_args) {
    m_eventLog.push_back(EventText(p_sEvent, p_args));
    if (p_sEvent == "Navigate") {
        return;
    }
    const QPointer<MainWindow> self(this);
    // The window's own part, once the event is over: the finder's rows are the window's screen,
    // and the header click that sorts them runs the screen again.
    if (p_sEvent == "SortCriteriaEdited" && p_args.size() >= 5 && p_args[4].ToDouble() != 0) {
        QTimer::singleShot(0, this, [self] {
            if (self) {
                self->RunSearchAgain();
            }
        });
    }
    ShowMessage(QStringLiteral("The viewer raised ") + ToQString(m_eventLog.back()));
    // The window's own boxes and panel know the new list at once.
    if (p_sEvent == "WatchListAdded") {
        OnWatchListAdded();
    }
}

void MainWindow::AfterEvent(const std::string& p_sName) {
    if (!m_oHost->HasList()) {
        return;
    }
    m_oHost->FollowControl();
    m_bApplying = true;
    SetControls(m_oHost->Request());
    m_bApplying = false;
    SyncMenus();
    m_pSurface->Sync();
    ShowCaptions();
    if (EqualsIgnoreCase(p_sName, "LayoutCustomized")) {
        ShowMessage(QStringLiteral("The list shows the chosen columns"));
    } else if (EqualsIgnoreCase(p_sName, "Delete")) {
        ShowMessage(m_pWatchLists->StatusText());
    }
}

void MainWindow::ShowReport(const ErrorReport& p_oReport) {
    if (m_bApplying) {
        m_sFailure = ToQString(p_oReport.Description);
    }
    // A failure names its number, for a report of the fault.
    ShowMessage(ToQString(p_oReport.Description) + QStringLiteral(" (error ") +
                QString::number(p_oReport.Number) + QStringLiteral(")"));
}

// A list key pressed in another control of the window (Ctrl+L in the day box) is the list's. The
// master hears it at once: such a control keeps the key's release to itself.
void MainWindow::keyPressEvent(QKeyEvent* p_pEvent) {
    if (IsMasterKey(*p_pEvent)) {
        if (!p_pEvent->isAutoRepeat()) {
            m_pFrame->KeyReleased(KeyCodeOf(p_pEvent->key()), ShiftStateOf(p_pEvent->modifiers()));
        }
        return;
    }
    QMainWindow::keyPressEvent(p_pEvent);
}

bool MainWindow::eventFilter(QObject* p_pWatched, QEvent* p_pEvent) {
    if (p_pEvent->type() == QEvent::KeyPress &&
        static_cast<QKeyEvent*>(p_pEvent)->key() == Qt::Key_Delete) {
        // The control raises Delete while the key is handled, or not at all.
        const QPointer<MainWindow> self(this);
        QTimer::singleShot(0, this, [self, before = m_eventLog.size()] {
            if (self && self->m_eventLog.size() == before) {
                self->ShowMessage(QStringLiteral(
                    "Delete removes the selected rows: click the rows to remove first"));
            }
        });
    }
    return QMainWindow::eventFilter(p_pWatched, p_pEvent);
}

void MainWindow::BuildHint(QWidget& p_oParent) {
    auto* hint = new QFrame(&p_oParent);
    hint->setObjectName(QStringLiteral("importHint"));
    hint->setFrameShape(QFrame::StyledPanel);
    hint->setAutoFillBackground(true);
    hint->setBackgroundRole(QPalette::ToolTipBase);
    auto* row = new QHBoxLayout(hint);
    row->setContentsMargins(8, 3, 3, 3);
    auto* text = new QLabel(
        QStringLiteral("This is the generated sample market. To see real market data, choose "
                       "File > Import market data… or run <code>scripts/run market import "
                       "../shared/data/market</code> from the checkout."),
        hint);
    text->setForegroundRole(QPalette::ToolTipText);
    text->setWordWrap(true);
    text->setTextInteractionFlags(Qt::TextSelectableByMouse);
    auto* dismiss = new QToolButton(hint);
    dismiss->setObjectName(QStringLiteral("dismissHint"));
    dismiss->setText(QStringLiteral("Dismiss"));
    dismiss->setToolTip(QStringLiteral("Hide this hint for good"));
    connect(dismiss, &QToolButton::clicked, this, [this] { DismissHint(); });
    row->addWidget(text, 1);
    row->addWidget(dismiss);
    hint->setVisible(!m_oSession.OnServer() && m_oSession.IsSampleMarket());
    m_pHint = hint;
}

void MainWindow::ChooseImportFolder() {
    QFileDialog dialog(this, QStringLiteral("Import market data from a folder"));
    dialog.setFileMode(QFileDialog::Directory);
    dialog.setOption(QFileDialog::ShowDirsOnly);
    dialog.setDirectory(QDir::home());
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) {
        ShowMessage(QStringLiteral("Nothing was imported"));
        return;
    }
    ImportMarketData(dialog.selectedFiles().constFirst());
}

bool MainWindow::ImportMarketData(const QString& p_sFolder) {
    if (m_oSession.OnServer()) {
        ShowMessage(QStringLiteral("Import market data: ") + QString::fromUtf8(kNotOnServer));
        return false;
    }
    MarketImport import(this, m_oSession.Path(), p_sFolder.toStdString());
    const ImportOutcome outcome = import.Run();
    const QString text = ImportOutcomeText(outcome);
    if (outcome.m_eResult != ImportOutcome::Result::Imported) {
        ShowMessage(text);
        if (outcome.m_eResult == ImportOutcome::Result::Failed) {
            QMessageBox::warning(this, QStringLiteral("Import market data"), text);
        }
        return false;
    }
    m_oSession.Refresh();
    RefillScopes();
    // The person has found the import; the hint has said what it had to.
    DismissHint();
    ViewerRequest request = m_oHost->Request();
    request.m_lDate = 0;
    if (!ShowList(request)) {
        ShowList(ViewerRequest{});
    }
    ShowMessage(text);
    return true;
}

void MainWindow::RefillScopes() {
    m_bApplying = true;
    for (QComboBox* combo : {m_pIndustry, m_pSector, m_pWatchList, m_pPortfolio}) {
        combo->clear();
    }
    FillScopes();
    for (const auto& [combo, group] : m_choiceMenus) {
        auto* menu = qobject_cast<QMenu*>(group->parent());
        if (menu == nullptr || combo == m_pType) {
            continue;
        }
        for (QAction* action : group->actions()) {
            menu->removeAction(action);
            delete action;
        }
        FillChoiceMenu(*menu, *group, *combo, false);
    }
    m_bApplying = false;
}

}  // namespace qv

#include "shell/helper_strip.h"

#include "outside/text_util.h"
#include "shell/panel_parts.h"

#include <QDateEdit>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>

namespace qv {

namespace {

constexpr int16_t kStockWatchLists = 13;
constexpr int16_t kIndustryWatchLists = 14;

QPushButton* NewButton(const QString& p_sCaption, const char* p_sName, QWidget* p_pParent) {
    auto* button = new QPushButton(p_sCaption, p_pParent);
    button->setObjectName(QLatin1String(p_sName));
    return button;
}

}  // namespace

HelperStrip::HelperStrip(QWidget* p_pParent) : HelperStrip(std::string_view(), p_pParent) {}

HelperStrip::HelperStrip(std::string_view p_sClassName, QWidget* p_pParent)
    : SupportPanel(p_pParent), m_bHistory(EqualsIgnoreCase(p_sClassName, kHistoryClass)) {
    setObjectName(QStringLiteral("helperStrip"));
    m_pKind = new QLabel(this);
    m_pKind->setObjectName(QStringLiteral("stripKind"));
    m_pKind->hide();
    m_pSort = new ElidedLabel(this);
    m_pSort->setObjectName(QStringLiteral("sortCaption"));
    m_pBSH = new ElidedLabel(this);
    m_pBSH->setObjectName(QStringLiteral("bshCaption"));
    m_pDate = new QDateEdit(this);
    m_pDate->setObjectName(QStringLiteral("listDate"));
    m_pDate->setDisplayFormat(QStringLiteral("M/d/yyyy"));
    m_pDate->setCalendarPopup(true);
    m_pDate->setAccessibleName(QStringLiteral("Date of the list"));
    auto* dateLabel = new QLabel(QStringLiteral("&Date:"), this);
    dateLabel->setBuddy(m_pDate);
    m_pLimits = new RowLimitsEditor(QStringLiteral("Return &all"), this);
    QPushButton* apply = NewButton(QStringLiteral("A&pply"), "applyDate", this);
    QPushButton* sort = NewButton(QStringLiteral("&Sort…"), "editSort", this);
    QPushButton* find = NewButton(QStringLiteral("&Find…"), "find", this);

    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(4, 2, 4, 2);
    for (QWidget* part : {static_cast<QWidget*>(m_pKind), static_cast<QWidget*>(m_pSort),
                          static_cast<QWidget*>(m_pBSH)}) {
        layout->addWidget(part);
    }
    layout->addStretch(1);
    for (QWidget* part : {static_cast<QWidget*>(dateLabel), static_cast<QWidget*>(m_pDate),
                          static_cast<QWidget*>(m_pLimits), static_cast<QWidget*>(apply),
                          static_cast<QWidget*>(sort), static_cast<QWidget*>(find)}) {
        layout->addWidget(part);
    }

    m_dToldDate = SerialOfQDate(m_pDate->date());
    connect(m_pDate, &QDateEdit::editingFinished, this, [this] { DateEdited(); });
    connect(apply, &QPushButton::clicked, this, [this] { RaiseDate(); });
    connect(sort, &QPushButton::clicked, this, [this] { RaiseEvent("EDITSORT"); });
    connect(find, &QPushButton::clicked, this, [this] { RaiseEvent("FIND"); });
    m_pLimits->SetOnChanged(
        [this](int32_t p_lMaxRows, bool p_bReturnAll) { LimitsChanged(p_lMaxRows, p_bReturnAll); });
}

std::shared_ptr<DispatchObject> HelperStrip::Object() {
    const std::string_view name =
        m_bHistory ? kHistoryClass : std::string_view("qorvantosupport.ctlStandardViewerSupport");
    return std::make_shared<PanelObject<HelperStrip>>(*this, Table(), name);
}

const DispatchTable& HelperStrip::Table() {
    using Self = PanelObject<HelperStrip>;
    static const DispatchTable table =
        DispatchTable::Builder<Self>()
            .Let("SetSort",
                 [](Self& self, const Variant& v) { self.Panel().SetSort(v.ToString()); })
            .Let("SetBSH", [](Self& self, const Variant& v) { self.Panel().SetBSH(v.ToString()); })
            .Method("SetupControl", 1, 1,
                    [](Self& self, DispatchArgs args) {
                        self.Panel().SetupControl(args[0].ToInt());
                        return Variant();
                    })
            .Method("Init", 6, 6,
                    [](Self& self, DispatchArgs args) {
                        self.Panel().Init(args[1].ToDate(), args[4].ToLong(), args[5].ToBool());
                        return Variant();
                    })
            .Get("CurrentDate",
                 [](Self& self) { return Variant::Date(self.Panel().CurrentDate()); })
            .Build();
    return table;
}

void HelperStrip::SetSort(const std::string& p_sCaption) {
    m_pSort->SetFullText(QString::fromStdString(p_sCaption));
}

void HelperStrip::SetBSH(const std::string& p_sCaption) {
    m_pBSH->SetFullText(QString::fromStdString(p_sCaption));
}

void HelperStrip::SetupControl(int16_t p_iCode) {
    const QString caption = p_iCode == kStockWatchLists      ? QStringLiteral("Stock watch list")
                            : p_iCode == kIndustryWatchLists ? QStringLiteral("Industry watch list")
                                                             : QString();
    m_pKind->setText(caption);
    m_pKind->setVisible(!caption.isEmpty());
}

void HelperStrip::Init(double p_dListDate, int32_t p_lMaxRows, bool p_bReturnAll) {
    m_pDate->setDate(QDateOfSerial(p_dListDate));
    m_dToldDate = CurrentDate();
    m_pLimits->Show(p_lMaxRows, p_bReturnAll);
}

double HelperStrip::CurrentDate() const {
    return SerialOfQDate(m_pDate->date());
}

QString HelperStrip::SortCaption() const {
    return m_pSort->FullText();
}

QString HelperStrip::BSHCaption() const {
    return m_pBSH->FullText();
}

QString HelperStrip::KindCaption() const {
    return m_pKind->text();
}

void HelperStrip::DateEdited() {
    // Leaving the box on the day it had asks for nothing; Apply asks again on purpose.
    if (CurrentDate() != m_dToldDate) {
        RaiseDate();
    }
}

void HelperStrip::RaiseDate() {
    m_dToldDate = CurrentDate();
    RaiseEvent("DATECHANGED", {Variant(std::string()), Variant::Date(m_dToldDate),
                               Variant(m_pLimits->MaxRows()), Variant(m_pLimits->ReturnAll())});
}

void HelperStrip::LimitsChanged(int32_t p_lMaxRows, bool p_bReturnAll) {
    if (!m_bHistory) {
        RaiseDate();
        return;
    }
    RaiseEvent("REFRESHHISTORY",
               {Variant(std::string()), Variant(p_lMaxRows), Variant(p_bReturnAll)});
}

}  // namespace qv

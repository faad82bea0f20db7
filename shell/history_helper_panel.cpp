#include "shell/history_helper_panel.h"

#include "shell/panel_parts.h"

#include <QHBoxLayout>
#include <QLabel>

namespace qv {

namespace {

QString HistoryCaption(int16_t p_iCode) {
    switch (p_iCode) {
        case 16:
            return QStringLiteral("Stock history");
        case 17:
            return QStringLiteral("Industry history");
        case 18:
            return QStringLiteral("Sector history");
        default:
            return QStringLiteral("History");
    }
}

}  // namespace

HistoryHelperPanel::HistoryHelperPanel(QWidget* p_pParent) : SupportPanel(p_pParent) {
    setObjectName(QStringLiteral("historyHelper"));
    m_pCaption = new QLabel(HistoryCaption(0), this);
    m_pCaption->setObjectName(QStringLiteral("historyCaption"));
    m_pLimits = new RowLimitsEditor(QStringLiteral("&All rows"), this);
    // One line above the list, as the strip of the other lists is.
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(4, 2, 4, 2);
    layout->setSpacing(12);
    layout->addWidget(m_pCaption);
    layout->addWidget(m_pLimits);
    layout->addStretch(1);
    m_pLimits->SetOnChanged([this](int32_t p_lMaxRows, bool p_bReturnAll) {
        RaiseEvent("REFRESHHISTORY",
                   {Variant(std::string()), Variant(p_lMaxRows), Variant(p_bReturnAll)});
    });
}

std::shared_ptr<DispatchObject> HistoryHelperPanel::Object() {
    return std::make_shared<PanelObject<HistoryHelperPanel>>(*this, Table(), "ctlHelper");
}

const DispatchTable& HistoryHelperPanel::Table() {
    using Self = PanelObject<HistoryHelperPanel>;
    static const DispatchTable table =
        DispatchTable::Builder<Self>()
            .Method("Init", 3, 3,
                    [](Self& self, DispatchArgs args) {
                        self.Panel().Init(args[0].ToInt(), args[1].ToLong(), args[2].ToBool());
                        return Variant();
                    })
            .Build();
    return table;
}

void HistoryHelperPanel::Init(int16_t p_iCode, int32_t p_lMaxRows, bool p_bReturnAll) {
    m_pCaption->setText(HistoryCaption(p_iCode));
    m_pLimits->Show(p_lMaxRows, p_bReturnAll);
}

QString HistoryHelperPanel::Caption() const {
    return m_pCaption->text();
}

}  // namespace qv

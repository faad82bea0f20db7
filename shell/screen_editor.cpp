#include "shell/screen_editor.h"

#include "outside/automation_error.h"
#include "outside/component_factory.h"
#include "outside/dispatch.h"
#include "outside/facade_protocol.h"
#include "outside/recordset.h"
#include "outside/text_util.h"
#include "outside/vb_date.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QDoubleSpinBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollArea>
#include <QTimer>
#include <QToolButton>
#include <QVBoxLayout>

#include <algorithm>
#include <array>

namespace qv {

namespace {

QString ToQString(const std::string& p_sText) {
    return QString::fromStdString(p_sText);
}

}  // namespace

// One row of criteria: AND/OR, a field, an operator, and a value or a second field times a
// factor. Every change a person makes is told to the function given.
class ScreenConditionRow : public QWidget {
  public:
    ScreenConditionRow(bool p_bFirst, const std::function<void()>& p_fnChanged, QWidget* p_pParent)
        : QWidget(p_pParent) {
        auto* layout = new QHBoxLayout(this);
        layout->setContentsMargins(0, 0, 0, 0);
        m_pJoin = new QComboBox(this);
        m_pJoin->addItems({QStringLiteral("AND"), QStringLiteral("OR")});
        // The first row's fields stand under the others'.
        QSizePolicy keepPlace = m_pJoin->sizePolicy();
        keepPlace.setRetainSizeWhenHidden(true);
        m_pJoin->setSizePolicy(keepPlace);
        m_pJoin->setVisible(!p_bFirst);
        m_pJoin->setAccessibleName(QStringLiteral("Join"));
        m_pField = NewFieldBox(QStringLiteral("Field"));
        m_pOperator = new QComboBox(this);
        m_pOperator->setAccessibleName(QStringLiteral("Operator"));
        for (const std::string_view op : kScreenOperators) {
            m_pOperator->addItem(QString::fromUtf8(op.data(), static_cast<int>(op.size())));
        }
        m_pKind = new QComboBox(this);
        m_pKind->addItems({QStringLiteral("value"), QStringLiteral("field")});
        m_pKind->setAccessibleName(QStringLiteral("Compare with"));
        m_pValue = new QLineEdit(this);
        m_pValue->setPlaceholderText(QStringLiteral("number or text"));
        m_pValue->setAccessibleName(QStringLiteral("Value"));
        m_pFactor = new QDoubleSpinBox(this);
        m_pFactor->setRange(-1000, 1000);
        m_pFactor->setDecimals(2);
        m_pFactor->setValue(1.0);
        m_pFactor->setSuffix(QStringLiteral(" ×"));
        m_pFactor->setAccessibleName(QStringLiteral("Factor"));
        m_pOther = NewFieldBox(QStringLiteral("Second field"));
        m_pRemove = new QToolButton(this);
        m_pRemove->setText(QStringLiteral("✕"));
        m_pRemove->setToolTip(QStringLiteral("Remove this condition"));
        m_pRemove->setAccessibleName(QStringLiteral("Remove condition"));

        // What the field is compared with takes one place, so that every row's columns line up
        // whichever it shows.
        auto* right = new QWidget(this);
        auto* rightLayout = new QHBoxLayout(right);
        rightLayout->setContentsMargins(0, 0, 0, 0);
        m_pValue->setParent(right);
        m_pFactor->setParent(right);
        m_pOther->setParent(right);
        rightLayout->addWidget(m_pValue, 1);
        rightLayout->addWidget(m_pFactor);
        rightLayout->addWidget(m_pOther, 1);
        layout->addWidget(m_pJoin);
        layout->addWidget(m_pField, 1);
        layout->addWidget(m_pOperator);
        layout->addWidget(m_pKind);
        layout->addWidget(right, 1);
        layout->addWidget(m_pRemove);
        ShowKind();

        for (QComboBox* box : {m_pJoin, m_pField, m_pOperator, m_pKind, m_pOther}) {
            connect(box, &QComboBox::activated, this, [this, p_fnChanged] {
                ShowKind();
                p_fnChanged();
            });
        }
        connect(m_pValue, &QLineEdit::textEdited, this, p_fnChanged);
        connect(m_pFactor, &QDoubleSpinBox::valueChanged, this, [this, p_fnChanged] {
            if (!m_bFilling) {
                p_fnChanged();
            }
        });
    }

    // The catalogue's fields, by caption, the column as data.
    void SetFields(const std::vector<std::pair<QString, QString>>& p_aFields) {
        for (QComboBox* box : {m_pField, m_pOther}) {
            const QString column = box->currentData().toString();
            box->clear();
            for (const auto& [caption, field] : p_aFields) {
                box->addItem(caption, field);
            }
            const int index = box->findData(column);
            box->setCurrentIndex(std::max(index, 0));
        }
    }

    void Show(const ScreenCondition& p_oCondition) {
        m_bFilling = true;
        m_pJoin->setCurrentIndex(p_oCondition.m_sJoin == "OR" ? 1 : 0);
        m_pField->setCurrentIndex(
            std::max(m_pField->findData(ToQString(p_oCondition.m_sField)), 0));
        m_pOperator->setCurrentText(ToQString(p_oCondition.m_sOperator));
        const bool field = !p_oCondition.m_sOtherField.empty();
        m_pKind->setCurrentIndex(field ? 1 : 0);
        m_pValue->setText(ToQString(p_oCondition.m_sValue));
        m_pFactor->setValue(p_oCondition.m_dFactor);
        if (field) {
            m_pOther->setCurrentIndex(
                std::max(m_pOther->findData(ToQString(p_oCondition.m_sOtherField)), 0));
        }
        ShowKind();
        m_bFilling = false;
    }

    ScreenCondition Condition(bool p_bFirst) const {
        ScreenCondition condition;
        condition.m_sJoin = p_bFirst ? std::string() : m_pJoin->currentText().toStdString();
        condition.m_sField = m_pField->currentData().toString().toStdString();
        condition.m_sOperator = m_pOperator->currentText().toStdString();
        if (m_pKind->currentIndex() == 1) {
            condition.m_sOtherField = m_pOther->currentData().toString().toStdString();
            condition.m_dFactor = m_pFactor->value();
        } else {
            condition.m_sValue = m_pValue->text().trimmed().toStdString();
        }
        return condition;
    }

    void SetFirst(bool p_bFirst) { m_pJoin->setVisible(!p_bFirst); }
    QLineEdit& ValueEdit() const { return *m_pValue; }
    QToolButton& RemoveButton() const { return *m_pRemove; }

  private:
    QComboBox* NewFieldBox(const QString& p_sName) {
        auto* box = new QComboBox(this);
        box->setAccessibleName(p_sName);
        box->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
        box->setMinimumContentsLength(14);
        return box;
    }

    void ShowKind() {
        const bool field = m_pKind->currentIndex() == 1;
        m_pValue->setVisible(!field);
        m_pFactor->setVisible(field);
        m_pOther->setVisible(field);
    }

    QComboBox* m_pJoin;
    QComboBox* m_pField;
    QComboBox* m_pOperator;
    QComboBox* m_pKind;
    QLineEdit* m_pValue;
    QDoubleSpinBox* m_pFactor;
    QComboBox* m_pOther;
    QToolButton* m_pRemove;
    bool m_bFilling = false;
};

ScreenEditor::ScreenEditor(int32_t p_lOwnerId, int32_t p_lDate, const StockScreen& p_oScreen,
                           QWidget* p_pParent)
    : QDialog(p_pParent), m_lOwnerId(p_lOwnerId), m_lDate(p_lDate), m_oScreen(p_oScreen) {
    setObjectName(QStringLiteral("screenEditor"));
    setWindowTitle(p_oScreen.m_lScreenId > 0 ? QStringLiteral("Edit Screen")
                                             : QStringLiteral("New Screen"));
    m_pName = new QLineEdit(ToQString(p_oScreen.m_sName), this);
    m_pName->setObjectName(QStringLiteral("screenName"));
    m_pName->setMaxLength(60);
    m_pRows = new QComboBox(this);
    m_pRows->setObjectName(QStringLiteral("screenRows"));
    for (const int32_t kind : {srStocks, srIndustries, srSectors}) {
        m_pRows->addItem(ToQString(ScreenRowsText(kind)), kind);
    }
    m_pRows->setCurrentIndex(std::max(m_pRows->findData(p_oScreen.m_lResultType), 0));
    m_pText = new QPlainTextEdit(ToQString(p_oScreen.m_sCriteria), this);
    m_pText->setObjectName(QStringLiteral("screenCriteria"));
    m_pText->setAccessibleName(QStringLiteral("Criteria"));
    m_pText->setPlaceholderText(QStringLiteral("RSRank >= 80 AND Price > MA200"));
    m_pText->setFixedHeight(m_pText->fontMetrics().lineSpacing() * 4);
    m_pDescription = new QLabel(this);
    m_pDescription->setObjectName(QStringLiteral("screenDescription"));
    m_pDescription->setWordWrap(true);
    m_pCount = new QLabel(this);
    m_pCount->setObjectName(QStringLiteral("screenCount"));
    m_pError = new QLabel(this);
    m_pError->setObjectName(QStringLiteral("screenError"));
    m_pError->setWordWrap(true);
    m_pError->setStyleSheet(QStringLiteral("color: #c00000"));
    m_pError->setTextInteractionFlags(Qt::TextSelectableByMouse);
    m_pTimer = new QTimer(this);
    m_pTimer->setSingleShot(true);
    m_pTimer->setInterval(kCheckDelayMs);

    auto* form = new QFormLayout;
    form->addRow(QStringLiteral("&Name"), m_pName);
    form->addRow(QStringLiteral("&Finds"), m_pRows);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    BuildRows(*layout);
    auto* textLabel = new QLabel(QStringLiteral("Criteria as &text"), this);
    textLabel->setBuddy(m_pText);
    layout->addWidget(textLabel);
    layout->addWidget(m_pText);
    layout->addWidget(m_pDescription);
    layout->addWidget(m_pCount);
    layout->addWidget(m_pError);
    auto* buttons = new QDialogButtonBox(this);
    QPushButton* save = buttons->addButton(QStringLiteral("&Save"), QDialogButtonBox::AcceptRole);
    QPushButton* run = buttons->addButton(QStringLiteral("&Run"), QDialogButtonBox::ActionRole);
    buttons->addButton(QDialogButtonBox::Cancel);
    save->setObjectName(QStringLiteral("saveScreen"));
    run->setObjectName(QStringLiteral("runScreen"));
    save->setDefault(true);
    layout->addWidget(buttons);

    connect(save, &QPushButton::clicked, this, [this] { Save(false); });
    connect(run, &QPushButton::clicked, this, [this] { Save(true); });
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(m_pTimer, &QTimer::timeout, this, [this] { CheckNow(); });
    connect(m_pText, &QPlainTextEdit::textChanged, this, [this] { TextChanged(); });
    connect(m_pRows, &QComboBox::activated, this, [this] {
        FillFieldBoxes();
        if (m_bRowsInStep) {
            RowsChanged();
        }
        m_pTimer->start();
    });

    m_bSyncing = true;
    TextChanged();
    // A new screen starts with a row to fill in.
    if (m_rows.empty() && m_bRowsInStep) {
        AddCondition();
    }
    m_bSyncing = false;
    m_pTimer->start();
    resize(760, 460);
}

ScreenEditor::~ScreenEditor() = default;

void ScreenEditor::BuildRows(QVBoxLayout& p_oLayout) {
    m_pRowArea = new QWidget(this);
    m_pRowLayout = new QVBoxLayout(m_pRowArea);
    m_pRowLayout->setContentsMargins(0, 0, 0, 0);
    m_pRowLayout->addStretch();
    auto* scroll = new QScrollArea(this);
    scroll->setWidgetResizable(true);
    scroll->setWidget(m_pRowArea);
    scroll->setFrameShape(QFrame::NoFrame);
    m_pRowNote = new QLabel(this);
    m_pRowNote->setWordWrap(true);
    m_pRowNote->hide();
    m_pAdd = new QPushButton(QStringLiteral("&Add condition"), this);
    m_pAdd->setObjectName(QStringLiteral("addCondition"));
    connect(m_pAdd, &QPushButton::clicked, this, [this] { AddCondition(); });
    auto* conditions = new QLabel(QStringLiteral("Conditions"), this);
    p_oLayout.addWidget(conditions);
    p_oLayout.addWidget(scroll, 1);
    p_oLayout.addWidget(m_pRowNote);
    auto* addRow = new QHBoxLayout;
    addRow->addWidget(m_pAdd);
    addRow->addStretch();
    p_oLayout.addLayout(addRow);
}

const std::vector<ScreenEditor::Field>& ScreenEditor::Fields() {
    const int32_t kind = m_pRows->currentData().toInt();
    const auto known = m_fields.find(kind);
    if (known != m_fields.end()) {
        return known->second;
    }
    std::vector<Field>& fields = m_fields[kind];
    namespace call = facade_protocol::get_custom_field_list;
    std::array<Variant, call::kCount> args{Variant(m_lOwnerId), Variant(kind)};
    try {
        const std::shared_ptr<Recordset> rows = RecordsetOf(CallMethod(
            *CreateObject(facade_protocol::prog_id::kViewerReader), call::kMethod, args));
        if (rows && rows->RecordCount() > 0) {
            for (rows->MoveFirst(); !rows->IsEOF(); rows->MoveNext()) {
                fields.push_back({ToQString(rows->Value("Column_Name").ToString()),
                                  ToQString(rows->Value("Caption").ToString())});
            }
        }
    } catch (const AutomationError& error) {
        ShowError(QStringLiteral("The fields cannot be read: ") + ToQString(error.Description()));
    }
    std::sort(fields.begin(), fields.end(), [](const Field& p_oLeft, const Field& p_oRight) {
        return p_oLeft.m_sCaption.compare(p_oRight.m_sCaption, Qt::CaseInsensitive) < 0;
    });
    return fields;
}

void ScreenEditor::FillFieldBoxes() {
    std::vector<std::pair<QString, QString>> fields;
    for (const Field& field : Fields()) {
        fields.emplace_back(field.m_sCaption, field.m_sColumn);
    }
    for (ScreenConditionRow* row : m_rows) {
        row->SetFields(fields);
    }
}

void ScreenEditor::AddCondition() {
    auto* row = new ScreenConditionRow(
        m_rows.empty(), [this] { RowsChanged(); }, m_pRowArea);
    m_rows.push_back(row);
    m_pRowLayout->insertWidget(m_pRowLayout->count() - 1, row);
    connect(&row->RemoveButton(), &QToolButton::clicked, this, [this, row] { RemoveRow(row); });
    FillFieldBoxes();
    if (!m_bSyncing) {
        row->ValueEdit().setFocus();
        RowsChanged();
    }
}

void ScreenEditor::RemoveRow(ScreenConditionRow* p_pRow) {
    m_rows.erase(std::remove(m_rows.begin(), m_rows.end(), p_pRow), m_rows.end());
    p_pRow->deleteLater();
    if (!m_rows.empty()) {
        m_rows.front()->SetFirst(true);
    }
    RowsChanged();
}

std::vector<ScreenCondition> ScreenEditor::Conditions() const {
    std::vector<ScreenCondition> conditions;
    for (const ScreenConditionRow* row : m_rows) {
        conditions.push_back(row->Condition(conditions.empty()));
    }
    return conditions;
}

void ScreenEditor::RowsChanged() {
    if (m_bSyncing) {
        return;
    }
    m_bSyncing = true;
    m_pText->setPlainText(ToQString(ConditionsText(Conditions())));
    m_bSyncing = false;
    m_bRowsInStep = true;
    m_pRowNote->hide();
}

void ScreenEditor::TextChanged() {
    m_pTimer->start();
    if (m_bSyncing && !m_rows.empty()) {
        return;
    }
    std::optional<std::vector<ScreenCondition>> conditions =
        ConditionsOf(m_pText->toPlainText().toStdString());
    bool known = conditions.has_value();
    if (known) {
        for (ScreenCondition& condition : *conditions) {
            const bool other = !condition.m_sOtherField.empty();
            condition.m_sField = ColumnOf(condition.m_sField).toStdString();
            condition.m_sOtherField = ColumnOf(condition.m_sOtherField).toStdString();
            known =
                known && !condition.m_sField.empty() && other == !condition.m_sOtherField.empty();
        }
    }
    m_bRowsInStep = known;
    m_pRowArea->setEnabled(known);
    m_pAdd->setEnabled(known);
    m_pRowNote->setVisible(!known);
    m_pRowNote->setText(QStringLiteral(
        "The conditions above cannot show these criteria (parentheses, NOT, sums or a field not "
        "in the list); the text is what is checked and saved."));
    if (known) {
        const bool syncing = m_bSyncing;
        m_bSyncing = true;
        ShowRows(*conditions);
        m_bSyncing = syncing;
    }
}

void ScreenEditor::ShowRows(const std::vector<ScreenCondition>& p_aConditions) {
    for (ScreenConditionRow* row : m_rows) {
        delete row;
    }
    m_rows.clear();
    for (const ScreenCondition& condition : p_aConditions) {
        AddCondition();
        m_rows.back()->Show(condition);
    }
}

QString ScreenEditor::ColumnOf(const std::string& p_sField) {
    QString name = ToQString(p_sField);
    if (name.isEmpty()) {
        return name;
    }
    const bool bracketed = name.startsWith(QLatin1Char('[')) && name.endsWith(QLatin1Char(']'));
    if (bracketed) {
        name = name.mid(1, name.size() - 2);
    }
    for (const Field& field : Fields()) {
        if (field.m_sColumn.compare(name, Qt::CaseInsensitive) == 0 ||
            (bracketed && field.m_sCaption.compare(name, Qt::CaseInsensitive) == 0)) {
            return field.m_sColumn;
        }
    }
    return QString();
}

StockScreen ScreenEditor::Screen() const {
    StockScreen screen = m_oScreen;
    screen.m_sName = m_pName->text().trimmed().toStdString();
    screen.m_lResultType = m_pRows->currentData().toInt();
    screen.m_sCriteria = m_pText->toPlainText().trimmed().toStdString();
    return screen;
}

void ScreenEditor::CheckNow() {
    m_pTimer->stop();
    const StockScreen screen = Screen();
    if (screen.m_sCriteria.empty()) {
        m_pDescription->clear();
        m_pError->clear();
        m_pCount->setText(QStringLiteral("Add a condition, or type the criteria"));
        return;
    }
    try {
        const ScreenCheck check =
            CheckScreen(m_lOwnerId, screen.m_lResultType, screen.m_sCriteria, m_lDate);
        m_pError->clear();
        m_pDescription->setText(ToQString(check.m_sDescription));
        m_pCount->setText(QStringLiteral("%1 %2 meet these criteria on %3")
                              .arg(check.m_lCount)
                              .arg(ToQString(ScreenRowsText(screen.m_lResultType)),
                                   ToQString(DefaultDateText(m_lDate))));
    } catch (const AutomationError& error) {
        m_pDescription->clear();
        m_pCount->clear();
        ShowError(ToQString(error.Description()));
    }
}

bool ScreenEditor::Save(bool p_bRun) {
    StockScreen screen = Screen();
    if (screen.m_sName.empty()) {
        ShowError(QStringLiteral("Not saved: the screen needs a name"));
        m_pName->setFocus();
        return false;
    }
    try {
        SaveScreen(m_lOwnerId, screen);
    } catch (const AutomationError& error) {
        ShowError(QStringLiteral("Not saved: ") + ToQString(error.Description()));
        return false;
    }
    m_oScreen = screen;
    if (m_fnSaved) {
        m_fnSaved(screen, p_bRun);
    }
    accept();
    return true;
}

void ScreenEditor::ShowError(const QString& p_sText) {
    m_pError->setText(p_sText);
}

QString ScreenEditor::CountText() const {
    return m_pCount->text();
}

QString ScreenEditor::DescriptionText() const {
    return m_pDescription->text();
}

QString ScreenEditor::ErrorText() const {
    return m_pError->text();
}

}  // namespace qv

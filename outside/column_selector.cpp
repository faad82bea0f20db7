#include "outside/column_selector.h"

#include "outside/export_selector.h"
#include "outside/platform_context.h"
#include "outside/recordset.h"
#include "outside/text_util.h"

#include <algorithm>

namespace qv {

namespace {

// The field list's argument places of the layout column choice.
constexpr size_t kCurrentList = 0;
constexpr size_t kChosen = 2;
constexpr size_t kDefaultList = 5;
constexpr size_t kUseDefault = 6;
constexpr size_t kArgumentCount = 7;

struct ListedField {
    ColumnChoice Choice;
    bool Selected = false;
    int32_t Sequence = 0;
};

std::vector<ListedField> ReadFieldList(const std::shared_ptr<Recordset>& p_rFieldList) {
    std::vector<ListedField> fields;
    if (!p_rFieldList || p_rFieldList->State() != adStateOpen || p_rFieldList->RecordCount() == 0) {
        return fields;
    }
    // A clone, so that the caller's cursor stays where it was.
    const std::shared_ptr<Recordset> rows = p_rFieldList->Clone();
    for (rows->MoveFirst(); !rows->IsEOF(); rows->MoveNext()) {
        const Variant caption = rows->Value("column_name");
        fields.push_back({{rows->Value("parameter_id").ToLong(),
                           caption.IsNull() ? std::string() : caption.ToString()},
                          rows->Value("selected").ToBool(),
                          rows->Value("Sequence").ToLong()});
    }
    return fields;
}

bool Contains(std::string_view p_sText, std::string_view p_sPart) {
    return ToLowerAscii(p_sText).find(ToLowerAscii(p_sPart)) != std::string::npos;
}

Variant ChosenTable(const std::vector<ColumnChoice>& p_chosen) {
    if (p_chosen.empty()) {
        return Variant::Null();
    }
    VariantArray table = VariantArray::Table(static_cast<int32_t>(p_chosen.size()), 2);
    for (size_t i = 0; i < p_chosen.size(); ++i) {
        table.At(static_cast<int32_t>(i), 0) = Variant(p_chosen[i].ParameterId);
        table.At(static_cast<int32_t>(i), 1) = Variant(p_chosen[i].Caption);
    }
    return table;
}

}  // namespace

std::vector<ColumnChoice> SelectedFields(const std::shared_ptr<Recordset>& p_rFieldList) {
    std::vector<ListedField> fields = ReadFieldList(p_rFieldList);
    std::erase_if(fields, [](const ListedField& field) { return !field.Selected; });
    std::stable_sort(fields.begin(), fields.end(), [](const auto& left, const auto& right) {
        return left.Sequence < right.Sequence;
    });
    std::vector<ColumnChoice> chosen;
    for (auto& field : fields) {
        chosen.push_back(std::move(field.Choice));
    }
    return chosen;
}

std::vector<ColumnChoice> OfferedFields(const std::shared_ptr<Recordset>& p_rFieldList) {
    std::vector<ColumnChoice> offered;
    for (auto& field : ReadFieldList(p_rFieldList)) {
        offered.push_back(std::move(field.Choice));
    }
    return offered;
}

// --- The dialog's logic --------------------------------------------------------------------------

ColumnChooserDialog::ColumnChooserDialog(std::vector<ColumnChoice> p_fields,
                                         std::vector<ColumnChoice> p_chosen,
                                         std::vector<ColumnChoice> p_defaults, bool p_bUseDefault)
    : m_fields(std::move(p_fields)),
      m_chosen(std::move(p_chosen)),
      m_defaults(std::move(p_defaults)),
      m_bUseDefault(p_bUseDefault) {}

std::vector<ColumnChoice> ColumnChooserDialog::Available() const {
    std::vector<ColumnChoice> available;
    for (const ColumnChoice& field : m_fields) {
        if (!ChosenIndex(field.ParameterId) && Contains(field.Caption, m_sFilter)) {
            available.push_back(field);
        }
    }
    return available;
}

std::optional<size_t> ColumnChooserDialog::ChosenIndex(int32_t p_lParameterId) const {
    const auto found = std::find_if(m_chosen.begin(), m_chosen.end(), [&](const auto& field) {
        return field.ParameterId == p_lParameterId;
    });
    if (found == m_chosen.end()) {
        return std::nullopt;
    }
    return static_cast<size_t>(found - m_chosen.begin());
}

bool ColumnChooserDialog::Add(int32_t p_lParameterId) {
    const auto offered = std::find_if(m_fields.begin(), m_fields.end(), [&](const auto& field) {
        return field.ParameterId == p_lParameterId;
    });
    if (offered == m_fields.end() || ChosenIndex(p_lParameterId)) {
        return false;
    }
    m_chosen.push_back(*offered);
    m_bUseDefault = false;
    return true;
}

bool ColumnChooserDialog::Remove(int32_t p_lParameterId) {
    const std::optional<size_t> at = ChosenIndex(p_lParameterId);
    if (!at) {
        return false;
    }
    m_chosen.erase(m_chosen.begin() + static_cast<std::ptrdiff_t>(*at));
    m_bUseDefault = false;
    return true;
}

bool ColumnChooserDialog::MoveUp(int32_t p_lParameterId) {
    const std::optional<size_t> at = ChosenIndex(p_lParameterId);
    return at && *at > 0 && Move(*at, *at - 1);
}

bool ColumnChooserDialog::MoveDown(int32_t p_lParameterId) {
    const std::optional<size_t> at = ChosenIndex(p_lParameterId);
    return at && Move(*at, *at + 1);
}

bool ColumnChooserDialog::MoveTo(int32_t p_lParameterId, int32_t p_lPosition) {
    const std::optional<size_t> at = ChosenIndex(p_lParameterId);
    if (!at || p_lPosition < 0) {
        return false;
    }
    return Move(*at, std::min(static_cast<size_t>(p_lPosition), m_chosen.size() - 1));
}

bool ColumnChooserDialog::Move(size_t p_lFrom, size_t p_lTo) {
    if (p_lTo >= m_chosen.size() || p_lFrom == p_lTo) {
        return false;
    }
    ColumnChoice moved = std::move(m_chosen[p_lFrom]);
    m_chosen.erase(m_chosen.begin() + static_cast<std::ptrdiff_t>(p_lFrom));
    m_chosen.insert(m_chosen.begin() + static_cast<std::ptrdiff_t>(p_lTo), std::move(moved));
    m_bUseDefault = false;
    return true;
}

void ColumnChooserDialog::RestoreDefault() {
    m_chosen = m_defaults;
    m_bUseDefault = true;
}

// --- The dispatch object -------------------------------------------------------------------------

Variant DialogColumnSelector::InvokeById(int32_t p_lDispId, InvokeKind p_eKind,
                                         std::span<Variant> p_args) {
    if (p_eKind == InvokeKind::Method && (p_lDispId == export_selector::kChooseExportColumns ||
                                          p_lDispId == export_selector::kChooseExportFile)) {
        return ChooseForExport(p_lDispId, p_args);
    }
    if (p_lDispId != kChooseLayoutFields || p_eKind != InvokeKind::Method) {
        return DispatchObject::InvokeById(p_lDispId, p_eKind, p_args);
    }
    if (p_args.size() != kArgumentCount) {
        RaiseWrongArgumentCount(*this, p_lDispId);
    }
    return ChooseLayoutFields(p_args);
}

Variant DialogColumnSelector::ChooseLayoutFields(std::span<Variant> p_args) {
    const std::shared_ptr<Recordset> current =
        ExpectRecordset(p_args[kCurrentList], "the field list of the layout");
    const std::shared_ptr<Recordset> defaults =
        ExpectRecordset(p_args[kDefaultList], "the field list of the default layout");
    ColumnChooserDialog dialog(OfferedFields(current), SelectedFields(current),
                               SelectedFields(defaults), p_args[kUseDefault].ToBool());
    PlatformContext::Current().Dialogs().ShowModal(dialog);
    if (!dialog.Accepted()) {
        return Variant(false);
    }
    p_args[kChosen] = ChosenTable(dialog.Chosen());
    p_args[kUseDefault] = Variant(dialog.UseDefault());
    return Variant(true);
}

Variant DialogColumnSelector::ChooseForExport(int32_t p_lDispId, std::span<Variant> p_args) {
    const bool columns = p_lDispId == export_selector::kChooseExportColumns;
    if (p_args.size() !=
        (columns ? export_selector::kColumnArguments : export_selector::kFileArguments)) {
        RaiseWrongArgumentCount(*this, p_lDispId);
    }
    return columns ? export_selector::ChooseColumns(p_args) : export_selector::ChooseFile(p_args);
}

}  // namespace qv

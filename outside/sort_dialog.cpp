#include "outside/sort_dialog.h"

#include "outside/platform_context.h"
#include "outside/recordset.h"

#include <algorithm>

namespace qv {

namespace {

int32_t Direction(int32_t p_lDirection) {
    return p_lDirection == 0 ? 0 : 1;
}

std::string TextOf(const Variant& p_vValue) {
    return p_vValue.IsNull() || p_vValue.IsEmpty() ? std::string() : p_vValue.ToString();
}

// The rows the recordset shows, in its order. Its cursor is left on the first row.
std::vector<SortFieldChoice> OfferedFields(Recordset& p_rFields) {
    std::vector<SortFieldChoice> fields;
    if (p_rFields.RecordCount() == 0) {
        return fields;
    }
    for (p_rFields.MoveFirst(); !p_rFields.IsEOF(); p_rFields.MoveNext()) {
        SortFieldChoice field{p_rFields.Value("Parameter_ID").ToLong(),
                              TextOf(p_rFields.Value("Caption"))};
        if (field.Caption.empty()) {
            field.Caption = TextOf(p_rFields.Value("Column_Name"));
        }
        fields.push_back(std::move(field));
    }
    p_rFields.MoveFirst();
    return fields;
}

}  // namespace

SortSelection::SortSelection(std::vector<SortFieldChoice> p_fields, SortRequest p_request,
                             int32_t p_lPrimaryId, int32_t p_lPrimaryDir, int32_t p_lSecondaryId,
                             int32_t p_lSecondaryDir)
    : m_fields(std::move(p_fields)),
      m_request(std::move(p_request)),
      m_lPrimaryId(p_lPrimaryId),
      m_lPrimaryDir(Direction(p_lPrimaryDir)),
      m_lSecondaryId(p_lSecondaryId >= 1 ? p_lSecondaryId : kNoSortField),
      m_lSecondaryDir(Direction(p_lSecondaryDir)) {}

bool SortSelection::Offers(int32_t p_lParameterId) const {
    return std::any_of(m_fields.begin(), m_fields.end(), [&](const SortFieldChoice& field) {
        return field.ParameterId == p_lParameterId;
    });
}

void SortSelection::SetPrimary(int32_t p_lParameterId, int32_t p_lDirection) {
    m_lPrimaryId = p_lParameterId;
    m_lPrimaryDir = Direction(p_lDirection);
}

void SortSelection::SetSecondary(int32_t p_lParameterId, int32_t p_lDirection) {
    m_lSecondaryId = p_lParameterId;
    m_lSecondaryDir = Direction(p_lDirection);
}

bool SortSelection::Confirm() {
    const bool secondaryOk = m_lSecondaryId == kNoSortField || Offers(m_lSecondaryId);
    m_bConfirmed = Offers(m_lPrimaryId) && secondaryOk;
    return m_bConfirmed;
}

Variant SortDialog::InvokeById(int32_t p_lDispId, InvokeKind p_eKind, std::span<Variant> p_args) {
    if (p_lDispId == kSortDialogWin32Id && p_eKind == InvokeKind::PropertyGet) {
        return Variant(m_bIsWin32);
    }
    if (p_lDispId == kSortDialogWin32Id && p_eKind == InvokeKind::PropertyLet) {
        if (p_args.size() != 1) {
            RaiseWrongArgumentCount(*this, p_lDispId);
        }
        m_bIsWin32 = p_args[0].ToBool();
        return Variant();
    }
    if (p_lDispId == kSortDialogShowId && p_eKind == InvokeKind::Method) {
        if (p_args.size() != 9) {
            RaiseWrongArgumentCount(*this, p_lDispId);
        }
        return Variant(Show(p_args));
    }
    RaiseMemberNotFound(*this, p_lDispId);
}

bool SortDialog::Show(std::span<Variant> p_args) {
    const std::shared_ptr<Recordset> fields =
        ExpectRecordset(p_args[0], "the sort dialog needs the fields to offer");
    SortRequest request{p_args[5].ToLong(), p_args[6].ToLong(), p_args[7].ToBool(), m_bIsWin32,
                        TextOf(p_args[8])};
    SortSelection dialog(fields ? OfferedFields(*fields) : std::vector<SortFieldChoice>(),
                         std::move(request), p_args[1].ToLong(), p_args[2].ToLong(),
                         p_args[3].ToLong(), p_args[4].ToLong());
    PlatformContext::Current().Dialogs().ShowModal(dialog);
    if (!dialog.Confirmed()) {
        return false;
    }
    p_args[1] = Variant(dialog.PrimaryId());
    p_args[2] = Variant(dialog.PrimaryDir());
    p_args[3] = Variant(dialog.SecondaryId());
    p_args[4] = Variant(dialog.SecondaryDir());
    return true;
}

}  // namespace qv

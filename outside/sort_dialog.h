// The support library's sort dialog, "Sort Selection": a person picks the primary and the
// secondary sort field of a list, each ascending or descending.
//
// SortDialog is the component the viewer places on its surface (dlgSort) and calls by dispatch
// id only:
//     kSortDialogWin32Id  Boolean property: the host is the desktop shell
//     kSortDialogShowId   Show(fields, primary id, primary direction, secondary id, secondary
//                         direction, owner id, viewer type, stock list, delta field); the fields
//                         recordset, the four ids and directions, the stock flag and the delta
//                         field are by reference. Returns True when the person confirmed, after
//                         writing the choice into the ids and directions.
// The fields offered are the rows the recordset shows through its filter ("Parameter_ID",
// "Caption", or "Column_Name" where the caption is empty). Directions are 0 ascending and 1
// descending; a secondary id of -1 means none.
//
// What the person does is SortSelection, a ModalDialog shown through the platform's dialog runner:
// the desktop shell draws it, tests script it, and without a display it is dismissed (a cancel).
//
//     platform.Dialogs().QueueScriptFor<SortSelection>([](SortSelection& dialog) {
//         dialog.SetPrimary(13, 1);
//         dialog.SetSecondary(5, 0);
//         dialog.Confirm();
//     });
#pragma once

#include "outside/dialog_runner.h"
#include "outside/dispatch.h"

#include <cstdint>
#include <string>
#include <vector>

namespace qv {

class DispatchTable;

inline constexpr int32_t kSortDialogWin32Id = 0x68030000;
inline constexpr int32_t kSortDialogShowId = 0x60030007;
inline constexpr int32_t kNoSortField = -1;

struct SortFieldChoice {
    int32_t ParameterId = 0;
    std::string Caption;
    bool operator==(const SortFieldChoice&) const = default;
};

// What the viewer tells the dialog besides the fields; the dialog only shows it.
struct SortRequest {
    int32_t OwnerId = 0;
    int32_t ViewerType = 0;
    bool StockList = false;
    bool IsWin32 = false;
    std::string DeltaField;
};

class SortSelection : public ModalDialog {
  public:
    SortSelection(std::vector<SortFieldChoice> p_fields, SortRequest p_request,
                  int32_t p_lPrimaryId, int32_t p_lPrimaryDir, int32_t p_lSecondaryId,
                  int32_t p_lSecondaryDir);

    std::string DialogCaption() const override { return "Sort Selection"; }
    void DismissDialog() override { m_bConfirmed = false; }

    const std::vector<SortFieldChoice>& Fields() const { return m_fields; }
    const SortRequest& Request() const { return m_request; }
    bool Offers(int32_t p_lParameterId) const;

    // A direction other than 0 counts as descending.
    void SetPrimary(int32_t p_lParameterId, int32_t p_lDirection);
    // kNoSortField clears the secondary key.
    void SetSecondary(int32_t p_lParameterId, int32_t p_lDirection);
    int32_t PrimaryId() const { return m_lPrimaryId; }
    int32_t PrimaryDir() const { return m_lPrimaryDir; }
    int32_t SecondaryId() const { return m_lSecondaryId; }
    int32_t SecondaryDir() const { return m_lSecondaryDir; }

    // The OK button: refused (false, the dialog stays open) unless the primary field is one of
    // those offered and the secondary is none or offered.
    bool Confirm();
    bool Confirmed() const { return m_bConfirmed; }

  private:
    std::vector<SortFieldChoice> m_fields;
    SortRequest m_request;
    int32_t m_lPrimaryId;
    int32_t m_lPrimaryDir;
    int32_t m_lSecondaryId;
    int32_t m_lSecondaryDir;
    bool m_bConfirmed = false;
};

class SortDialog : public DispatchObject {
  public:
    std::string_view DispatchClassName() const override { return "DialogSort"; }
    Variant InvokeById(int32_t p_lDispId, InvokeKind p_eKind, std::span<Variant> p_args) override;

    bool IsWin32() const { return m_bIsWin32; }
    void SetIsWin32(bool p_bIsWin32) { m_bIsWin32 = p_bIsWin32; }

  private:
    bool Show(std::span<Variant> p_args);

    bool m_bIsWin32 = false;
};

}  // namespace qv

// The support library's column selector ("QorvantOnlineSupport.DialogColumnSelector"): the dialog
// in which a person chooses, orders and filters the fields a list shows.
//
// The viewer reaches it by dispatch id only. Its column choice for a layout (kChooseLayoutFields)
// takes, in order: the field list of the current layout (a recordset with "parameter_id",
// "column_name", "selected" and "Sequence"), nothing, the chosen fields (by reference, output),
// true, false, the field list of the default layout (by reference) and the use-default flag (by
// reference, in and out). It returns true when the person accepted; the chosen fields are then a
// table (chosen field, 0..1) of parameter id and caption in the chosen order, or Null when none
// was chosen.
//
// Its two choices for an export, the columns (0x60030003) and the file (0x60030001), are in
// export_selector.h.
//
// What the person does lives in ColumnChooserDialog, shown through the platform's dialog runner:
// the shell draws it, tests script it, and without a display it is dismissed (a cancel).
//
//     platform.Dialogs().QueueScriptFor<ColumnChooserDialog>([](ColumnChooserDialog& dialog) {
//         dialog.Add(13);
//         dialog.Accept();
//     });
#pragma once

#include "outside/dialog_runner.h"
#include "outside/dispatch.h"

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace qv {

class Recordset;

inline constexpr std::string_view kColumnSelectorProgId =
    "QorvantOnlineSupport.DialogColumnSelector";

struct ColumnChoice {
    int32_t ParameterId = 0;
    std::string Caption;
    bool operator==(const ColumnChoice&) const = default;
};

class ColumnChooserDialog : public ModalDialog {
  public:
    static constexpr const char* kCaption = "Choose Columns";

    // p_fields: every field offered, in the order offered; p_chosen and p_defaults: the fields
    // of the current and of the default layout, in display order.
    ColumnChooserDialog(std::vector<ColumnChoice> p_fields, std::vector<ColumnChoice> p_chosen,
                        std::vector<ColumnChoice> p_defaults, bool p_bUseDefault);

    std::string DialogCaption() const override { return kCaption; }
    void DismissDialog() override { m_bAccepted = false; }

    // The fields not chosen whose caption contains the filter, without regard to case.
    std::vector<ColumnChoice> Available() const;
    const std::vector<ColumnChoice>& Chosen() const { return m_chosen; }
    const std::string& Filter() const { return m_sFilter; }
    void SetFilter(std::string p_sFilter) { m_sFilter = std::move(p_sFilter); }

    // Each change of the choice returns false and changes nothing when it cannot apply (a field
    // not offered, already chosen, not chosen, or a move past either end); a change that applies
    // means the choice is no longer the default layout's.
    bool Add(int32_t p_lParameterId);
    bool Remove(int32_t p_lParameterId);
    bool MoveUp(int32_t p_lParameterId);
    bool MoveDown(int32_t p_lParameterId);
    // Moves a chosen field to p_lPosition (0-based; past the end means last), as a drag does.
    bool MoveTo(int32_t p_lParameterId, int32_t p_lPosition);
    // The default layout's fields, and the flag that the default layout is wanted.
    void RestoreDefault();
    bool UseDefault() const { return m_bUseDefault; }

    void Accept() { m_bAccepted = true; }
    bool Accepted() const { return m_bAccepted; }

  private:
    std::optional<size_t> ChosenIndex(int32_t p_lParameterId) const;
    bool Move(size_t p_lFrom, size_t p_lTo);

    std::vector<ColumnChoice> m_fields;
    std::vector<ColumnChoice> m_chosen;
    std::vector<ColumnChoice> m_defaults;
    std::string m_sFilter;
    bool m_bUseDefault = false;
    bool m_bAccepted = false;
};

class DialogColumnSelector : public DispatchObject {
  public:
    static constexpr int32_t kChooseLayoutFields = 0x60030004;

    std::string_view DispatchClassName() const override { return "DialogColumnSelector"; }
    Variant InvokeById(int32_t p_lDispId, InvokeKind p_eKind, std::span<Variant> p_args) override;

  private:
    Variant ChooseLayoutFields(std::span<Variant> p_args);
    // The export's column and file choices (export_selector.h).
    Variant ChooseForExport(int32_t p_lDispId, std::span<Variant> p_args);
};

// The selected fields of a field list in "Sequence" order, and every field in list order.
std::vector<ColumnChoice> SelectedFields(const std::shared_ptr<Recordset>& p_rFieldList);
std::vector<ColumnChoice> OfferedFields(const std::shared_ptr<Recordset>& p_rFieldList);

}  // namespace qv

#include "outside/grid_control_print.h"

#include "outside/automation_error.h"
#include "outside/dispatch_table.h"
#include "outside/grid_control_support.h"
#include "outside/platform_context.h"

namespace qv {

namespace {

const DispatchTable& PrintInfosTable() {
    static const DispatchTable table =
        DispatchTable::Builder<GridPrintInfos>()
            .Get("Count", [](GridPrintInfos& self) { return Variant(self.Count()); })
            .IndexedGet("Item", 1, 1,
                        [](GridPrintInfos& self, DispatchArgs args) {
                            return ObjectVariant(self.Item(args[0].ToLong()));
                        })
            .Build();
    return table;
}

}  // namespace

const DispatchTable& GridPrintInfo::Table() {
    static const DispatchTable table =
        DispatchTable::Builder<GridPrintInfo>()
            .Property(
                {"PageHeader", 2}, [](GridPrintInfo& self) { return Variant(self.PageHeader()); },
                [](GridPrintInfo& self, const Variant& value) {
                    self.SetPageHeader(value.ToString());
                })
            .Property(
                DispatchName(10), [](GridPrintInfo& self) { return self.m_vMember10; },
                [](GridPrintInfo& self, const Variant& value) { self.m_vMember10 = value; })
            .Method({"PrintData", 19}, 1, 1,
                    [](GridPrintInfo& self, DispatchArgs args) {
                        self.PrintData(args[0].ToLong());
                        return Variant();
                    })
            .Method({"PageSetup", 20}, 0, 0,
                    [](GridPrintInfo& self, DispatchArgs) {
                        self.PageSetup();
                        return Variant();
                    })
            .Property(
                {"PageSettings", 25}, [](GridPrintInfo& self) { return self.PageSettings(); },
                [](GridPrintInfo& self, const Variant& value) { self.SetPageSettings(value); })
            .Get({"PageSetupCancelled", 43},
                 [](GridPrintInfo& self) { return Variant(self.PageSetupCancelled()); })
            .Build();
    return table;
}

Variant GridPrintInfo::Invoke(std::string_view p_sName, InvokeKind p_eKind,
                              std::span<Variant> p_args) {
    return Table().Invoke(*this, p_sName, p_eKind, p_args);
}

Variant GridPrintInfo::InvokeById(int32_t p_lDispId, InvokeKind p_eKind,
                                  std::span<Variant> p_args) {
    return Table().InvokeById(*this, p_lDispId, p_eKind, p_args);
}

void GridPrintInfo::PrintData(int32_t p_lRows) {
    if (p_lRows != gprAllRows && p_lRows != gprSelectedRows) {
        RaiseInvalidGridValue("Rows to print", p_lRows);
    }
    const auto rows = static_cast<GridPrintRows>(p_lRows);
    m_requests.push_back(GridPrintRequest{rows, m_sPageHeader});
    if (!m_fnRowSource) {
        return;
    }
    PrintTable table = m_fnRowSource(rows);
    table.Header = m_sPageHeader;
    PlatformContext& platform = PlatformContext::Current();
    platform.Printers().PrintPages(LayOutPages(m_page, table, platform.Measurer()));
}

void GridPrintInfo::PageSetup() {
    ++m_lPageSetupCount;
    PageSetupDialog dialog(m_page);
    PlatformContext::Current().Dialogs().ShowModal(dialog);
    m_bPageSetupCancelled = dialog.Cancelled();
    if (!m_bPageSetupCancelled) {
        m_page = dialog.Setup();
    }
}

Variant ByteBlockVariant(std::span<const uint8_t> p_bytes) {
    Variant block = VariantArray::Vector(0, static_cast<int32_t>(p_bytes.size()) - 1);
    for (size_t i = 0; i < p_bytes.size(); ++i) {
        block.Array().At(static_cast<int32_t>(i)) = Variant(static_cast<int16_t>(p_bytes[i]));
    }
    return block;
}

std::vector<uint8_t> ByteBlockBytes(const Variant& p_vBlock) {
    if (!p_vBlock.IsArray() || p_vBlock.Array().Dimensions() != 1) {
        RaiseRuntimeError(errors::kTypeMismatch, "page settings must be a one-dimensional array");
    }
    const VariantArray& array = p_vBlock.Array();
    std::vector<uint8_t> bytes;
    for (int32_t i = array.LBound(); i <= array.UBound(); ++i) {
        const Variant& value = array.At(i);
        const int32_t byte = value.IsNumber() ? value.ToLong() : -1;
        if (byte < 0 || byte > 255) {
            RaiseRuntimeError(errors::kInvalidProcedureCall, "page settings must be bytes");
        }
        bytes.push_back(static_cast<uint8_t>(byte));
    }
    return bytes;
}

Variant GridPrintInfo::PageSettings() const {
    return ByteBlockVariant(EncodePageSetup(m_page));
}

void GridPrintInfo::SetPageSettings(const Variant& p_vSettings) {
    const std::optional<qv::PageSetup> page = DecodePageSetup(ByteBlockBytes(p_vSettings));
    if (!page) {
        RaiseRuntimeError(errors::kInvalidProcedureCall, "the block is not a page setup");
    }
    m_page = *page;
}

Variant GridPrintInfos::Invoke(std::string_view p_sName, InvokeKind p_eKind,
                               std::span<Variant> p_args) {
    return PrintInfosTable().Invoke(*this, p_sName, p_eKind, p_args);
}

const std::shared_ptr<GridPrintInfo>& GridPrintInfos::Item(int32_t p_lIndex) const {
    RequireGridIndex(p_lIndex, Count(), "Print settings");
    return m_oDefault;
}

}  // namespace qv

// The grid control's print settings, reached by dispatch id: the collection (180 on the grid)
// holds one GridPrintInfo, which is also the grid's default print settings (181).
//
// Members by id: 2 PageHeader (text), 10 a Boolean set to True before each print (kept, not
// acted on), 19 PrintData (0 all rows, 1 the selected rows), 20 PageSetup (the page-setup
// dialog), 25 PageSettings (the page setup as a byte block: a one-dimensional array of bytes
// as 16-bit values, page_setup.h), 43 PageSetupCancelled (True when the last page-setup dialog
// was cancelled).
//
// PrintData takes the rows from the grid (the row source its grid control gives it), lays them
// out in pages under the page header in force (print_engine.h) and hands the pages to the
// platform's printer; each request is also recorded. PageSetup shows the PageSetupDialog
// through the platform's dialog runner and keeps what it was left with on OK.
#pragma once

#include "outside/dispatch.h"
#include "outside/page_setup.h"
#include "outside/print_engine.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <span>
#include <string>
#include <vector>

namespace qv {

class DispatchTable;

enum GridPrintRows : int32_t { gprAllRows = 0, gprSelectedRows = 1 };

struct GridPrintRequest {
    GridPrintRows Rows;
    std::string PageHeader;
};

// The settings block as the print settings take and give it (id 25): a one-dimensional array of
// byte values from 0. ByteBlockBytes raises error 13 for anything but such an array and error 5
// for a value that is not a byte.
Variant ByteBlockVariant(std::span<const uint8_t> p_bytes);
std::vector<uint8_t> ByteBlockBytes(const Variant& p_vBlock);

class GridPrintInfo : public DispatchObject {
  public:
    std::string_view DispatchClassName() const override { return "PrintInfo"; }
    Variant Invoke(std::string_view p_sName, InvokeKind p_eKind,
                   std::span<Variant> p_args) override;
    Variant InvokeById(int32_t p_lDispId, InvokeKind p_eKind, std::span<Variant> p_args) override;

    // What the grid shows of its rows (all, or the selected ones) as a table to print; a print
    // info without one prints nothing but records the request.
    using RowSource = std::function<PrintTable(GridPrintRows)>;
    void SetRowSource(RowSource p_fnSource) { m_fnRowSource = std::move(p_fnSource); }

    const std::string& PageHeader() const { return m_sPageHeader; }
    void SetPageHeader(std::string p_sHeader) { m_sPageHeader = std::move(p_sHeader); }

    // Rows other than 0 and 1 are error 5; a printer's refusal reaches the caller.
    void PrintData(int32_t p_lRows);
    const std::vector<GridPrintRequest>& PrintRequests() const { return m_requests; }

    void PageSetup();
    int32_t PageSetupCount() const { return m_lPageSetupCount; }
    bool PageSetupCancelled() const { return m_bPageSetupCancelled; }
    void SetPageSetupCancelled(bool p_bCancelled) { m_bPageSetupCancelled = p_bCancelled; }

    const qv::PageSetup& Page() const { return m_page; }
    void SetPage(const qv::PageSetup& p_page) { m_page = p_page; }
    Variant PageSettings() const;
    // Anything but a one-dimensional array is error 13, and a block that is not a page setup
    // (corrupt, foreign, of a page no printer has) error 5; both keep the settings.
    void SetPageSettings(const Variant& p_vSettings);

  private:
    static const DispatchTable& Table();

    std::string m_sPageHeader;
    Variant m_vMember10;
    std::vector<GridPrintRequest> m_requests;
    int32_t m_lPageSetupCount = 0;
    bool m_bPageSetupCancelled = false;
    qv::PageSetup m_page;
    RowSource m_fnRowSource;
};

class GridPrintInfos : public DispatchObject {
  public:
    GridPrintInfos() : m_oDefault(std::make_shared<GridPrintInfo>()) {}

    std::string_view DispatchClassName() const override { return "PrintInfos"; }
    Variant Invoke(std::string_view p_sName, InvokeKind p_eKind,
                   std::span<Variant> p_args) override;

    int32_t Count() const { return 1; }
    // Only item 0 exists (error 9 otherwise).
    const std::shared_ptr<GridPrintInfo>& Item(int32_t p_lIndex) const;
    const std::shared_ptr<GridPrintInfo>& Default() const { return m_oDefault; }

  private:
    std::shared_ptr<GridPrintInfo> m_oDefault;
};

}  // namespace qv

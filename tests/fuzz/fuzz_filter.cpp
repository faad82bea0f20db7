// Feeds arbitrary bytes to a recordset as Filter text and as Find text. Bad text must fail with an
// automation error and leave filter and current row as they were; good text must give a view of
// live rows and a cursor on a row of it, at BOF or at EOF. Anything else (another exception, a
// crash, a read out of bounds) is a finding.
#include "outside/automation_error.h"
#include "outside/recordset.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <string>

namespace {

using qv::Recordset;
using qv::Variant;

// Every storage kind, Nulls, and a Variant field mixing text and numbers.
std::shared_ptr<Recordset> MakeRows() {
    auto recordset = std::make_shared<Recordset>();
    qv::Fields& fields = recordset->Fields();
    fields.Append("Symbol", qv::adVarChar, 10);
    fields.Append("Parameter_ID", qv::adInteger);
    fields.Append("Group", qv::adInteger);
    fields.Append("Sectorcode", qv::adSmallInt);
    fields.Append("selected", qv::adBoolean);
    fields.Append("Price", qv::adDouble);
    fields.Append("Trading_Date", qv::adDBTimeStamp);
    fields.Append("Score", qv::adVariant);
    fields.Append("Company Name", qv::adVarWChar, 40);
    fields.Append("CompanyName", qv::adVarWChar, 40);
    fields.Append("DataType_ID", qv::adSmallInt);
    fields.Append("indcode", qv::adInteger);
    fields.Append("REC", qv::adChar, 1);
    fields.Append("Tradeid", qv::adInteger);
    recordset->Open();
    const Variant null = Variant::Null();
    const Variant date = Variant::Date(46357);
    recordset->AddNew({"IBM", 38, 5, int16_t{3}, true, 140.5, date, 10, "Int'l", "International",
                       int16_t{1}, 12, "B", -1});
    recordset->AddNew({"abt", 35, 0, int16_t{2}, false, 99.25, date, "7", "AB%", "Abbott",
                       int16_t{12}, 7, "s", 4});
    recordset->AddNew({"ABC", 36, -3, int16_t{3}, true, 12.0, null, 3.5, "Zürich", "ABC Corp",
                       int16_t{3}, 12, "H", 0});
    recordset->AddNew({"", null, 2, null, null, null, date, "text", "", "", null, null, "", null});
    recordset->AddNew({null, 41, -1, int16_t{1}, true, -0.0, Variant::Date(0)});
    return recordset;
}

void Check(bool p_bHolds) {
    if (!p_bHolds) {
        std::abort();
    }
}

void CheckCursor(const Recordset& p_rRecordset) {
    const int32_t count = p_rRecordset.RecordCount();
    Check(count >= 0 && count <= 5);
    const int32_t position = p_rRecordset.AbsolutePosition();
    Check(position == qv::adPosBOF || position == qv::adPosEOF || position == qv::adPosUnknown ||
          (position >= 1 && position <= count));
    for (int32_t i = 0; i < count; ++i) {
        Check(p_rRecordset.ViewRowId(i) < 5);
    }
}

void TryFilter(Recordset& p_rRecordset, const std::string& p_sText) {
    const Variant filter = p_rRecordset.Filter();
    const int32_t position = p_rRecordset.AbsolutePosition();
    try {
        p_rRecordset.SetFilter(p_sText);
    } catch (const qv::AutomationError&) {
        Check(p_rRecordset.Filter() == filter);
        Check(p_rRecordset.AbsolutePosition() == position);
    }
    CheckCursor(p_rRecordset);
}

void TryFind(Recordset& p_rRecordset, const std::string& p_sText, int32_t p_lDirection) {
    const int32_t position = p_rRecordset.AbsolutePosition();
    try {
        p_rRecordset.Find(p_sText, 0, p_lDirection);
    } catch (const qv::AutomationError&) {
        Check(p_rRecordset.AbsolutePosition() == position);
    }
    CheckCursor(p_rRecordset);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* p_data, size_t p_size) {
    static const std::shared_ptr<Recordset> rows = MakeRows();
    const std::string text(reinterpret_cast<const char*>(p_data), p_size);
    std::shared_ptr<Recordset> recordset = rows->Clone();
    TryFilter(*recordset, text);
    recordset->SetSort("Price DESC");
    TryFilter(*recordset, text);
    std::shared_ptr<Recordset> finder = rows->Clone();
    TryFind(*finder, text, qv::adSearchForward);
    TryFind(*finder, text, qv::adSearchBackward);
    return 0;
}

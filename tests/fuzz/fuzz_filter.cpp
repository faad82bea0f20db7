// Feeds arbitrary bytes to a recordset as Filter text and as Find text. Bad text must fail with an
// automation error and leave filter and current row as they were; good text must give a view of
// live rows and a cursor on a row of it, at BOF or at EOF. Anything else (another exception, a
// crash, a read out of bounds) is a finding.
#include "fuzz_check.h"

#include <cstddef>
#include <cstdint>
#include <string>

namespace {

using namespace qv;

// Every storage kind, Nulls, and a Variant field mixing text and numbers.
std::shared_ptr<Recordset> MakeRows() {
    const Variant null = Variant::Null();
    const Variant date = Variant::Date(46357);
    return MakeRecordset(
        {{"Symbol", adVarChar, 10},
         {"Parameter_ID", adInteger, 0},
         {"Group", adInteger, 0},
         {"Sectorcode", adSmallInt, 0},
         {"selected", adBoolean, 0},
         {"Price", adDouble, 0},
         {"Trading_Date", adDBTimeStamp, 0},
         {"Score", adVariant, 0},
         {"Company Name", adVarWChar, 40},
         {"CompanyName", adVarWChar, 40},
         {"DataType_ID", adSmallInt, 0},
         {"indcode", adInteger, 0},
         {"REC", adChar, 1},
         {"Tradeid", adInteger, 0}},
        {{"IBM", 38, 5, int16_t{3}, true, 140.5, date, 10, "Int'l", "International", int16_t{1}, 12,
          "B", -1},
         {"abt", 35, 0, int16_t{2}, false, 99.25, date, "7", "AB%", "Abbott", int16_t{12}, 7, "s",
          4},
         {"ABC", 36, -3, int16_t{3}, true, 12.0, null, 3.5, "Zürich", "ABC Corp", int16_t{3}, 12,
          "H", 0},
         {"", null, 2, null, null, null, date, "text", "", "", null, null, "", null},
         {null, 41, -1, int16_t{1}, true, -0.0, Variant::Date(0)}});
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
    if (!Accepts([&] { p_rRecordset.SetFilter(p_sText); })) {
        Check(p_rRecordset.Filter() == filter && p_rRecordset.AbsolutePosition() == position);
    }
    CheckCursor(p_rRecordset);
}

void TryFind(Recordset& p_rRecordset, const std::string& p_sText, int32_t p_lDirection) {
    const int32_t position = p_rRecordset.AbsolutePosition();
    if (!Accepts([&] { p_rRecordset.Find(p_sText, 0, p_lDirection); })) {
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

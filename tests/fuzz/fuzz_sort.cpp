// Feeds arbitrary bytes to a recordset as Sort text, on its own and after a Filter. Bad text must
// fail with an automation error and leave sort, view and current row as they were; good text
// must order every row of the view exactly once. Anything else is a finding.
#include "fuzz_check.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace {

using namespace qv;

std::shared_ptr<Recordset> MakeRows() {
    const Variant null = Variant::Null();
    return MakeRecordset({{"Symbol", adVarChar, 10},
                          {"Sequence", adInteger, 0},
                          {"Price", adDouble, 0},
                          {"Flag", adBoolean, 0},
                          {"Small", adSmallInt, 0},
                          {"When", adDate, 0},
                          {"Mixed", adVariant, 0},
                          {"Company Name", adVarWChar, 40}},
                         {{"ibm", 3, 10.0, true, int16_t{1}, Variant::Date(1), "b", "x"},
                          {"ABT", 1, 20.0, false, int16_t{2}, null, 5, "y"},
                          {"abc", 2, 10.0, true, null, Variant::Date(-1.5), "10", null},
                          {"IBM", 1, null, null, int16_t{2}, Variant::Date(2), -1.5, "x"},
                          {null, 2, -0.0, false, int16_t{0}, Variant::Date(1), null, "Z"},
                          {"Abd", 3, 30.0, true, int16_t{1}, Variant::Date(3), true, "y"}});
}

std::vector<uint32_t> ViewOf(const Recordset& p_rRecordset) {
    std::vector<uint32_t> rows;
    for (int32_t i = 0; i < p_rRecordset.ViewCount(); ++i) {
        rows.push_back(p_rRecordset.ViewRowId(i));
    }
    return rows;
}

void TrySort(Recordset& p_rRecordset, const std::string& p_sText) {
    const std::string sort = p_rRecordset.Sort();
    const std::vector<uint32_t> before = ViewOf(p_rRecordset);
    const int32_t position = p_rRecordset.AbsolutePosition();
    if (!Accepts([&] { p_rRecordset.SetSort(p_sText); })) {
        Check(p_rRecordset.Sort() == sort && ViewOf(p_rRecordset) == before &&
              p_rRecordset.AbsolutePosition() == position);
        return;
    }
    std::vector<uint32_t> after = ViewOf(p_rRecordset);
    std::vector<uint32_t> expected = before;
    std::sort(after.begin(), after.end());
    std::sort(expected.begin(), expected.end());
    Check(after == expected);
    Check(after.empty() || p_rRecordset.AbsolutePosition() == 1);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* p_data, size_t p_size) {
    static const std::shared_ptr<Recordset> rows = MakeRows();
    const std::string text(reinterpret_cast<const char*>(p_data), p_size);
    std::shared_ptr<Recordset> recordset = rows->Clone();
    TrySort(*recordset, text);
    recordset->SetFilter("Sequence > 1");
    TrySort(*recordset, text);
    return 0;
}

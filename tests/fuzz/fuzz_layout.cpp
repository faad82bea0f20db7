// Builds layout descriptions from arbitrary bytes and feeds them to the layout codec, whole and
// part by part, to GridLayoutInfo let, and, parsed, to BuildLayoutColumns, IsFieldInLayout and
// TableSelectList. A malformed description must fail with an automation error, never crash or
// read out of bounds; a description that was accepted must be written and parsed again to the
// same layout, and be accepted again by the viewer state with the same layout.
//
// The bytes are a small program that builds Variants: a tag byte picks the kind, and arrays take
// their bounds and elements from the following bytes, so the fuzzer reaches every shape of
// description (wrong element counts, tables of the wrong shape, text where numbers belong).
// Each input describes, in order, the description, the chosen fields, the viewer type and the
// finder results type.
#include "columns/column_utilities.h"
#include "columns/layout_utilities.h"
#include "fuzz_check.h"
#include "outside/error_reporter.h"
#include "outside/layout_description.h"
#include "outside/scripted_services.h"
#include "state/viewer_elements.h"

#include <bit>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <utility>

namespace {

using namespace qv;

class VariantReader {
  public:
    VariantReader(const uint8_t* p_data, size_t p_size) : m_data(p_data), m_size(p_size) {}

    uint8_t Byte() { return m_position < m_size ? m_data[m_position++] : 0; }

    Variant Next(int p_iDepth = 0) {
        const bool bNested = p_iDepth < 3;
        switch (Byte() % 10) {
            case 0:
                return Variant();
            case 1:
                return Variant::Null();
            case 2:
                return Variant(Long());
            case 3:
                return Variant(std::bit_cast<double>(Bits(8)));
            case 5:
                return Variant(Byte() % 2 == 0);
            case 6:
                return Variant(static_cast<int16_t>(Long()));
            case 7:
                return bNested ? Variant(Table(p_iDepth, false)) : Variant();
            case 8:
                return bNested ? Variant(Table(p_iDepth, true)) : Variant();
            default:
                return Variant(Text());
        }
    }

  private:
    uint64_t Bits(int p_iBytes) {
        uint64_t bits = 0;
        for (int i = 0; i < p_iBytes; ++i) {
            bits = (bits << 8) | Byte();
        }
        return bits;
    }

    int32_t Long() { return std::bit_cast<int32_t>(static_cast<uint32_t>(Bits(4))); }

    std::string Text() {
        static const char* const kWords[] = {"Symbol", "REC",  "Price", "RTRanking", "12",
                                             "-1",     "1e10", "",      "Left",      "M/D/YY"};
        const uint8_t choice = Byte();
        std::string text = choice < 200 ? kWords[choice % 10] : "";
        for (uint8_t length = choice < 200 ? 0 : Byte() % 12; length > 0; --length) {
            text += static_cast<char>(Byte());
        }
        return text;
    }

    int32_t Bound() { return static_cast<int8_t>(Byte()) % 3; }

    // A vector, or a table of up to 10 rows and 6 columns filled column by column.
    VariantArray Table(int p_iDepth, bool p_bTable) {
        const int32_t lower1 = Bound();
        const int32_t rows = Byte() % (p_bTable ? 10 : 8);
        const int32_t lower2 = p_bTable ? Bound() : 0;
        const int32_t columns = p_bTable ? Byte() % 6 : 1;
        VariantArray array = p_bTable
                                 ? VariantArray({qv::ArrayBounds{lower1, lower1 + rows - 1},
                                                 qv::ArrayBounds{lower2, lower2 + columns - 1}})
                                 : VariantArray::Vector(lower1, lower1 + rows - 1);
        for (int32_t column = 0; column < columns; ++column) {
            for (int32_t row = 0; row < rows; ++row) {
                Variant value = Next(p_iDepth + 1);
                (p_bTable ? array.At(lower1 + row, lower2 + column) : array.At(lower1 + row)) =
                    std::move(value);
            }
        }
        return array;
    }

    const uint8_t* m_data;
    size_t m_size;
    size_t m_position = 0;
};

std::shared_ptr<qv::Recordset> Catalogue() {
    const Variant null = Variant::Null();
    return MakeRecordset({{"Parameter_ID", qv::adInteger, 0},
                          {"Column_Name", qv::adVarChar, 50},
                          {"Caption", qv::adVarChar, 50},
                          {"DataType_ID", qv::adInteger, 0},
                          {"Table_Mask", qv::adInteger, 0},
                          {"Group", qv::adInteger, 0},
                          {"Column_Format", qv::adVarChar, 20}},
                         {{4, "Symbol", "Symbol", 1, 1, -1, "Left"},
                          {13, "Price", "Price", 2, 1, 1, "##0.00"},
                          {24, "Notes", "Notes", 24, 1, 1, "Left"},
                          {35, "IndName", "Industry", 1, 3, -1, "Left"},
                          {38, "IndCode", "Industry Code", 3, 3, -1, null},
                          {39, "SectorCode", null, 3, 7, -1, "0"},
                          {1418, "REC", "Rec", 2, 1, -1, "0"}});
}

void CheckGridLayoutInfo(const Variant& p_vDescription,
                         const std::shared_ptr<qv::Recordset>& p_rCatalogue) {
    qv::ViewerElements elements, again;
    elements.SetParameterList(p_rCatalogue);
    again.SetParameterList(p_rCatalogue);
    if (!Accepts([&] { elements.SetGridLayoutInfo(p_vDescription); })) {
        return;
    }
    const Variant accepted = elements.GridLayoutInfo();
    again.SetGridLayoutInfo(accepted);
    // The header, the sort clause and the columns read back unchanged. The direction of an
    // absent sort field is kept from the state it was read into, so it may differ.
    const VariantArray& first = accepted.Array();
    const Variant readBack = again.GridLayoutInfo();
    Check(first.At(0) == readBack.Array().At(0) && first.At(2) == readBack.Array().At(2) &&
          elements.Sort() == again.Sort());
}

// Each part is parsed on its own too, as a header record or a column table sent apart is.
void CheckParts(const Variant& p_vValue) {
    using namespace qv::layout_codec;
    Accepts([&] { ParseHeader(p_vValue); });
    Accepts([&] { ParseSortBlock(p_vValue); });
    Accepts([&] { ParseColumnTable(p_vValue); });
}

std::optional<qv::LayoutDescription> CheckCodec(const Variant& p_vDescription) {
    std::optional<qv::LayoutDescription> layout;
    if (Accepts([&] { layout = qv::layout_codec::Parse(p_vDescription); })) {
        Check(qv::layout_codec::Parse(qv::layout_codec::ToVariant(*layout)) == *layout);
    }
    return layout;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* p_data, size_t p_size) {
    static qv::ScopedTestPlatform platform;
    static const std::shared_ptr<qv::Recordset> catalogue = Catalogue();
    if (p_size > 4096) {
        return 0;
    }
    VariantReader reader(p_data, p_size);
    const Variant description = reader.Next();
    const Variant chosen = reader.Next();
    const auto viewerType = static_cast<qv::ViewerType>(reader.Byte() % 18);
    const int32_t finderResultsType = reader.Byte() % 7;

    CheckParts(description);
    CheckGridLayoutInfo(description, catalogue);
    if (std::optional<qv::LayoutDescription> layout = CheckCodec(description)) {
        qv::LayoutUtilities::IsFieldInLayout("REC", *layout);
        qv::ColumnUtilities::TableSelectList(*layout, finderResultsType % 33);
        if (Accepts([&] {
                qv::LayoutUtilities::BuildLayoutColumns(*layout, catalogue, chosen, viewerType,
                                                        finderResultsType);
            })) {
            Check(catalogue->Filter() == Variant(0));
        }
    }
    platform.Reporter().ClearRecords();
    return 0;
}

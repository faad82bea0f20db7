// Facade calls as they cross the wire: every kind of value comes back as it went, a real answer
// of the facade comes back field by field, and a malformed message is refused with its reason.
#include "facade/wire_format.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <nlohmann/json.hpp>
#include <string>
#include <tuple>
#include <vector>

#include "facade/component_test_support.h"

namespace qv::facade {
namespace {

using namespace testing;
namespace stocks = facade_protocol::stock_viewer;

constexpr WireEncoding kEncodings[] = {WireEncoding::Json, WireEncoding::MessagePack};

std::string NameOf(WireEncoding p_eEncoding) {
    return p_eEncoding == WireEncoding::Json ? "JSON" : "MessagePack";
}

// Kind and value alike; recordsets by their fields and the rows of their views.
void ExpectSame(const Variant& p_vExpected, const Variant& p_vActual, const std::string& p_sWhat) {
    const std::shared_ptr<Recordset> rExpected = RecordsetOf(p_vExpected);
    if (!rExpected) {
        const bool bBothNaN =
            p_vExpected.Type() == VarType::Double && p_vActual.Type() == VarType::Double &&
            std::isnan(p_vExpected.ToDouble()) && std::isnan(p_vActual.ToDouble());
        EXPECT_TRUE(bBothNaN || p_vExpected == p_vActual) << p_sWhat;
        return;
    }
    const std::shared_ptr<Recordset> rActual = RecordsetOf(p_vActual);
    ASSERT_TRUE(rActual) << p_sWhat;
    ASSERT_EQ(rActual->Fields().Count(), rExpected->Fields().Count()) << p_sWhat;
    ASSERT_EQ(rActual->ViewCount(), rExpected->ViewCount()) << p_sWhat;
    EXPECT_EQ(rActual->CursorLocation(), rExpected->CursorLocation()) << p_sWhat;
    EXPECT_EQ(rActual->LockType(), rExpected->LockType()) << p_sWhat;
    EXPECT_EQ(rActual->Filter(), Variant(0)) << p_sWhat;
    for (int32_t f = 0; f < rExpected->Fields().Count(); ++f) {
        const Field& oExpected = rExpected->Fields().Item(f);
        const Field& oActual = rActual->Fields().Item(f);
        const std::string sField = p_sWhat + " field " + oExpected.Name();
        EXPECT_EQ(oActual.Name(), oExpected.Name()) << sField;
        EXPECT_EQ(oActual.Type(), oExpected.Type()) << sField;
        EXPECT_EQ(oActual.DefinedSize(), oExpected.DefinedSize()) << sField;
        EXPECT_EQ(oActual.Attributes(), oExpected.Attributes()) << sField;
        EXPECT_EQ(oActual.Precision(), oExpected.Precision()) << sField;
        for (int32_t i = 0; i < rExpected->ViewCount(); ++i) {
            ExpectSame(rExpected->ValueAt(rExpected->ViewRowId(i), f),
                       rActual->ValueAt(rActual->ViewRowId(i), f),
                       sField + " row " + std::to_string(i));
        }
    }
}

// Every storage kind, with Nulls, a filter and a sort: the view travels, in its order.
Variant FilteredRecordset() {
    auto rRows = std::make_shared<Recordset>();
    rRows->SetCursorLocation(adUseClient);
    rRows->SetLockType(adLockBatchOptimistic);
    rRows->Fields().Append("Symbol", adVarChar, 10, adFldIsNullable | adFldMayBeNull);
    rRows->Fields().Append("Price", adDouble);
    rRows->Fields().Append("Day", adDate);
    rRows->Fields().Append("Count", adInteger);
    rRows->Fields().Append("Rank", adSmallInt);
    rRows->Fields().Append("Held", adBoolean);
    rRows->Fields().Append("Extra", adVariant);
    rRows->Fields().Item("Price").SetPrecision(12);
    rRows->Open();
    rRows->AddNew({"IBM", 140.5, Variant::Date(45000), 7, int16_t{-3}, true, "x"});
    rRows->AddNew({"T", 1.0, Variant::Date(1), 1, int16_t{1}, false, 2.5});
    rRows->AddNew({Variant::Null(), 2.0, Variant::Null(), Variant::Null(), Variant::Null(),
                   Variant::Null(), Variant(VariantArray::Vector({1, "a"}))});
    rRows->SetFilter("Price < 100");
    rRows->SetSort("Price DESC");
    return RecordsetVariant(rRows);
}

TEST(WireFormat, EveryKindOfValueComesBackAsItWent) {
    VariantArray aTable({ArrayBounds{-1, 0}, ArrayBounds{2, 4}});
    aTable.At(-1, 2) = "top left";
    aTable.At(0, 4) = Variant(VariantArray::Vector({Variant::Null(), int16_t{5}}));
    aTable.At(0, 3) = Variant::Date(36526.25);
    VariantArray aVector = VariantArray::Vector(1, 3);
    aVector.At(2) = -0.5;
    const double dInfinity = std::numeric_limits<double>::infinity();
    const std::vector<Variant> aValues = {Variant(),
                                          Variant::Null(),
                                          Variant::Missing(),
                                          Variant::Nothing(),
                                          true,
                                          false,
                                          int16_t{-32768},
                                          int32_t{2147483647},
                                          0.1 + 0.2,
                                          1e308,
                                          dInfinity,
                                          -dInfinity,
                                          std::numeric_limits<double>::quiet_NaN(),
                                          Variant::Date(45000.5),
                                          "",
                                          "Z\xC3\xBCrich \"quoted\"\n\t\\",
                                          "Soci\xE9t\xE9 (Latin-1)",
                                          Variant(aVector),
                                          Variant(aTable),
                                          Variant(VariantArray::Vector(0, -1)),
                                          Variant(VariantArray()),
                                          FilteredRecordset()};

    const WireRequest oRequest{"QorvantOnlineFacade.ViewerFNtr", "StockViewer", "T1", aValues};
    for (const WireEncoding eEncoding : kEncodings) {
        const std::string sIn = " in " + NameOf(eEncoding);
        const WireRequest oRequestBack =
            DecodeRequest(EncodeRequest(oRequest, eEncoding), eEncoding);
        EXPECT_EQ(oRequestBack.m_sProgId, oRequest.m_sProgId) << sIn;
        EXPECT_EQ(oRequestBack.m_sMethod, oRequest.m_sMethod) << sIn;
        EXPECT_EQ(oRequestBack.m_sTimeCode, oRequest.m_sTimeCode) << sIn;
        const WireResponse oResponseBack =
            DecodeResponse(EncodeResponse({aValues.back(), aValues}, eEncoding), eEncoding);
        ASSERT_EQ(oRequestBack.m_aArgs.size(), aValues.size()) << sIn;
        ASSERT_EQ(oResponseBack.m_aArgs.size(), aValues.size()) << sIn;
        EXPECT_FALSE(oResponseBack.m_oError) << sIn;
        ExpectSame(aValues.back(), oResponseBack.m_vResult, "result" + sIn);
        for (size_t i = 0; i < aValues.size(); ++i) {
            const std::string sValue = " value " + std::to_string(i) + sIn;
            ExpectSame(aValues[i], oRequestBack.m_aArgs[i], "request" + sValue);
            ExpectSame(aValues[i], oResponseBack.m_aArgs[i], "response" + sValue);
        }
        EXPECT_EQ(RecordsetOf(oResponseBack.m_vResult), RecordsetOf(oResponseBack.m_aArgs.back()))
            << "the rows a list call returns and hands back are one object" << sIn;
        EXPECT_EQ(RecordsetOf(oResponseBack.m_vResult)->RecordCount(), 2) << sIn;
        EXPECT_EQ(RecordsetOf(oResponseBack.m_vResult)->Value("Price"), Variant(2.0)) << sIn;
    }
}

TEST(WireFormat, AFacadeErrorComesBackAsItWent) {
    const WireResponse oBack = DecodeResponse(
        EncodeResponse({{}, {}, AutomationError(3265, "ViewerFNtr", "Item not found: Nope")}));
    ASSERT_TRUE(oBack.m_oError);
    EXPECT_EQ(oBack.m_oError->Number(), 3265);
    EXPECT_EQ(oBack.m_oError->Source(), "ViewerFNtr");
    EXPECT_EQ(oBack.m_oError->Description(), "Item not found: Nope");
}

class WireFormatOfCalls : public ComponentTest {};

TEST_F(WireFormatOfCalls, AStockListAnswerComesBackFieldByField) {
    std::vector<Variant> aArgs = StockViewerCall{}.Args();
    const Variant vResult = Call(prog_id::kViewerReader, stocks::kMethod, aArgs);
    ASSERT_GT(RowsAt(aArgs, stocks::kRows)->RecordCount(), 0);
    for (const WireEncoding eEncoding : kEncodings) {
        const std::string sIn = " in " + NameOf(eEncoding);
        const WireResponse oBack =
            DecodeResponse(EncodeResponse({vResult, aArgs}, eEncoding), eEncoding);
        ExpectSame(vResult, oBack.m_vResult, "result" + sIn);
        ASSERT_EQ(oBack.m_aArgs.size(), aArgs.size()) << sIn;
        for (size_t i = 0; i < aArgs.size(); ++i) {
            ExpectSame(aArgs[i], oBack.m_aArgs[i], "argument " + std::to_string(i) + sIn);
        }
    }
}

std::string Request(const std::string& p_sArgs) {
    return R"({"format":"qv-facade/1","progId":"P","method":"M","timeCode":"","args":[)" + p_sArgs +
           "]}";
}

std::string RecordsetMessage(const std::string& p_sFields, const std::string& p_sColumns) {
    return Request(R"({"t":"recordset","v":{"cursorLocation":3,"lockType":4,"fields":[)" +
                   p_sFields + R"(],"columns":[)" + p_sColumns + "]}}");
}

const std::string kPrice =
    R"({"name":"Price","type":5,"size":0,"attributes":-1,"precision":0,"scale":0})";

TEST(WireFormat, AMalformedMessageIsRefusedWithItsReason) {
    struct Case {
        std::string m_sMessage;
        std::string m_sReason;
    };
    const std::vector<Case> aCases = {
        {"", "not JSON"},
        {"[]", "message is not an object"},
        {R"({"format":"qv-facade/2"})", "format qv-facade/2 is not qv-facade/1"},
        {R"({"format":"qv-facade/1","method":"M","timeCode":"","args":[]})",
         "request has no member \"progId\""},
        {R"({"format":"qv-facade/1","progId":"P","method":7,"timeCode":"","args":[]})",
         "method is not a string"},
        {Request(R"({"t":"double","v":1e99999})"), "not JSON"},
        {Request(R"({"t":"currency","v":1})"), "unknown value tag \"currency\""},
        {Request(R"({"v":1})"), "value has no member \"t\""},
        {Request(R"({"t":"long","v":2147483648})"), "long value is not an integer"},
        {Request(R"({"t":"int","v":40000})"), "int value is not an integer"},
        {Request(R"({"t":"bool","v":1})"), "bool value is not a boolean"},
        {Request(R"({"t":"bytes","v":"e9f"})"), "bytes value has an odd number of digits"},
        {Request(R"({"t":"bytes","v":"E9"})"), "bytes value is not hexadecimal"},
        {Request(R"({"t":"double","v":"1.5"})"), "double value is not a number"},
        {Request(R"({"t":"array","bounds":[[0,2]],"v":[{"t":"empty"}]})"),
         "array bounds hold more elements than the 1 values given"},
        {Request(R"({"t":"array","bounds":[[0,0]],"v":[{"t":"empty"},{"t":"null"}]})"),
         "array bounds hold 1 elements but 2 values are given"},
        {Request(R"({"t":"array","bounds":[[0,2147483647],[0,2147483647]],"v":[]})"),
         "array bounds hold more elements than the 0 values given"},
        {Request(R"({"t":"array","bounds":[[0,0],[0,0],[0,0]],"v":[]})"),
         "array of more than 2 dimensions"},
        {Request(R"({"t":"array","bounds":[[0]],"v":[]})"), "not [lower, upper]"},
        {RecordsetMessage(kPrice, "[1],[2]"), "recordset has 1 fields but 2 columns"},
        {RecordsetMessage(kPrice + "," + kPrice, "[1],[2]"), "recordset not accepted"},
        {RecordsetMessage(kPrice, R"(["cheap"])"), "value of field Price is not a number"},
        {RecordsetMessage(kPrice + R"(,{"name":"Day","type":7})", "[1],[2]"),
         "field has no member \"size\""},
        {Request(std::string(30, '[') + std::string(30, ']')), "nested deeper than 24 levels"},
        {Request(R"({"t":"string","v":"\"[\\"},)" + std::string(30, '[') + std::string(30, ']')),
         "nested deeper than 24 levels"},
        {R"({"format":"qv-facade/1","error":{"number":"5","source":"","description":""}})",
         "error number is not an integer"},
    };
    const auto ExpectRefused = [](const std::string& p_sMessage, WireEncoding p_eEncoding,
                                  const std::string& p_sReason, const std::string& p_sShown) {
        try {
            if (p_sShown.find("\"error\"") != std::string::npos) {
                DecodeResponse(p_sMessage, p_eEncoding);
            } else {
                DecodeRequest(p_sMessage, p_eEncoding);
            }
            ADD_FAILURE() << "accepted " << p_sShown << " in " << NameOf(p_eEncoding);
        } catch (const WireFormatError& error) {
            EXPECT_NE(std::string(error.what()).find(p_sReason), std::string::npos)
                << p_sShown << " in " << NameOf(p_eEncoding) << " gave " << error.what();
        }
    };
    for (const Case& oCase : aCases) {
        ExpectRefused(oCase.m_sMessage, WireEncoding::Json, oCase.m_sReason, oCase.m_sMessage);
        // The same document in MessagePack is refused for the same reason.
        const nlohmann::json document = nlohmann::json::parse(oCase.m_sMessage, nullptr, false);
        if (!document.is_discarded()) {
            std::string sPacked;
            nlohmann::json::to_msgpack(document, sPacked);
            ExpectRefused(sPacked, WireEncoding::MessagePack, oCase.m_sReason, oCase.m_sMessage);
        }
    }
    // Packed columns whose bytes are not whole rows of their kind, or of a kind that travels as
    // cells: two Double rows are 18 bytes; a text of 9 bytes cannot end after 1.
    const auto Field = [](const char* p_sName, int p_lType) {
        return std::string(R"({"name":")") + p_sName + R"(","type":)" + std::to_string(p_lType) +
               R"(,"size":8,"attributes":0,"precision":0,"scale":0})";
    };
    for (const auto& [sField, aBytes, sReason] :
         {std::tuple{kPrice, std::vector<uint8_t>(17, 0), "column Price is not packed"},
          std::tuple{Field("Sym", adVarChar), std::vector<uint8_t>{0, 9, 0, 0, 0, 'a'},
                     "column Sym is not packed"},
          std::tuple{Field("Held", adBoolean), std::vector<uint8_t>{0, 1},
                     "column Held is not packed"}}) {
        nlohmann::json document = nlohmann::json::parse(RecordsetMessage(sField, "[]"));
        document["args"][0]["v"]["columns"] = {nlohmann::json::binary(aBytes)};
        std::string sPacked;
        nlohmann::json::to_msgpack(document, sPacked);
        ExpectRefused(sPacked, WireEncoding::MessagePack, sReason, sReason);
    }
    std::string sRequest = EncodeRequest({"P", "M", "", {Variant(1)}}, WireEncoding::MessagePack);
    sRequest.pop_back();
    ExpectRefused(sRequest, WireEncoding::MessagePack, "not MessagePack", "a cut request");
    ExpectRefused("\xC1", WireEncoding::MessagePack, "not MessagePack", "a byte of no type");
    // An array header claiming four billion items, in a message of six bytes.
    ExpectRefused("\xDD\xFF\xFF\xFF\xFF\x90", WireEncoding::MessagePack, "not MessagePack",
                  "a huge array");
}

TEST(WireFormat, AMessageOverTheSizeLimitIsRefusedUnread) {
    const std::string sMessage = Request(R"({"t":"string","v":")" + std::string(200, 'x') + "\"}");
    EXPECT_THROW(DecodeRequest(sMessage, WireEncoding::Json, WireLimits{.m_lMaxBytes = 100}),
                 WireFormatError);
    EXPECT_EQ(
        DecodeRequest(sMessage, WireEncoding::Json, WireLimits{.m_lMaxBytes = 300}).m_aArgs.size(),
        1U);
}

}  // namespace
}  // namespace qv::facade

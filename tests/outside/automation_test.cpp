#include "outside/dispatch.h"

#include "outside/automation_error.h"
#include "outside/component_factory.h"
#include "outside/dispatch_table.h"
#include "outside/layout_description.h"
#include "outside/platform_context.h"
#include "outside/scripted_services.h"
#include "support/test_helpers.h"

#include <gtest/gtest.h>

#include <array>
#include <functional>
#include <memory>
#include <span>
#include <stdexcept>
#include <string>
#include <tuple>

namespace qv {
namespace {

// A small automation object: a running total, a colour known by name and id, an object slot and
// an indexed item list.
class Counter : public DispatchObject {
  public:
    Variant Invoke(std::string_view p_sName, InvokeKind p_eKind, DispatchArgs p_args) override {
        return Table().Invoke(*this, p_sName, p_eKind, p_args);
    }
    Variant InvokeById(int32_t p_lDispId, InvokeKind p_eKind, DispatchArgs p_args) override {
        return Table().InvokeById(*this, p_lDispId, p_eKind, p_args);
    }
    std::string_view DispatchClassName() const override { return "Counter"; }

    static const DispatchTable& Table() {
        static const DispatchTable table =
            DispatchTable::Builder<Counter>()
                .Method("Add", 1, 2,
                        [](Counter& self, DispatchArgs args) {
                            self.m_lTotal += args[0].ToLong();
                            if (args.size() == 2) {
                                args[1] = self.m_lTotal;
                            }
                            return Variant(self.m_lTotal);
                        })
                .Property(
                    "Total", [](Counter& self) { return Variant(self.m_lTotal); },
                    [](Counter& self, const Variant& value) { self.m_lTotal = value.ToLong(); })
                .Property(
                    {"BackColor", 196}, [](Counter& self) { return Variant(self.m_lColor); },
                    [](Counter& self, const Variant& value) { self.m_lColor = value.ToLong(); })
                .Set("Target",
                     [](Counter& self, const Variant& value) { self.m_oTarget = value.ToObject(); })
                .Get(DispatchName(75), [](Counter&) { return Variant(int32_t{5}); })
                .IndexedGet("Item", 1, 1,
                            [](Counter&, DispatchArgs args) {
                                return Variant("item " + args[0].ToString());
                            })
                .Build();
        return table;
    }

    int32_t m_lTotal = 0;
    int32_t m_lColor = 0;
    std::shared_ptr<DispatchObject> m_oTarget;
};

TEST(DispatchTest, NamesMatchWithoutRegardToCaseAndByReferenceArgumentsAreWrittenBack) {
    Counter counter;
    LetProperty(counter, "TOTAL", Variant(int32_t{10}));
    std::array<Variant, 2> args{Variant(int32_t{5}), Variant()};
    EXPECT_EQ(CallMethod(counter, "aDd", args).ToLong(), 15);
    EXPECT_EQ(args[1].ToLong(), 15);
    EXPECT_EQ(GetProperty(counter, "total").ToLong(), 15);
}

TEST(DispatchTest, UnknownMemberIsError438NamingIt) {
    Counter counter;
    const Failure byName = FailureOf([&] { CallMethod(counter, "Frobnicate"); });
    EXPECT_EQ(byName.Number, 438);
    EXPECT_EQ(byName.Description,
              "Object doesn't support this property or method: Counter.Frobnicate");
    EXPECT_EQ(FailureOf([&] { GetPropertyById(counter, 999); }).Description,
              "Object doesn't support this property or method: Counter member 999");
    DispatchObject plain;
    EXPECT_EQ(FailureOf([&] { GetPropertyById(plain, 1); }).Number, 438);
}

TEST(DispatchTest, WrongArgumentCountIsError450NamingTheMember) {
    std::array<Variant, 3> three{Variant(int32_t{1}), Variant(), Variant()};
    const std::function<void(Counter&)> calls[] = {
        [](Counter& c) { CallMethod(c, "Add"); },
        [&](Counter& c) { CallMethod(c, "add", three); },
        [&](Counter& c) { c.Invoke("Total", InvokeKind::PropertyGet, std::span(three).first(1)); },
        [](Counter& c) { c.Invoke("Total", InvokeKind::PropertyLet, {}); },
    };
    for (const auto& call : calls) {
        Counter counter;
        const Failure failure = FailureOf([&] { call(counter); });
        EXPECT_EQ(failure.Number, 450);
        EXPECT_NE(failure.Description.find("Counter."), std::string::npos) << failure.Description;
    }
}

TEST(DispatchTest, LetAndSetAreDistinctButGetAndMethodFindEachOther) {
    Counter counter;
    auto other = std::make_shared<Counter>();
    EXPECT_EQ(FailureOf([&] { LetProperty(counter, "Target", Variant(other)); }).Number, 438);
    SetProperty(counter, "Target", Variant(other));
    EXPECT_EQ(counter.m_oTarget, other);
    EXPECT_EQ(FailureOf([&] { SetProperty(counter, "Total", Variant(int32_t{1})); }).Number, 438);
    counter.m_lTotal = 7;
    EXPECT_EQ(CallMethod(counter, "Total").ToLong(), 7);
    std::array<Variant, 1> args{Variant(int32_t{1})};
    EXPECT_EQ(counter.Invoke("Add", InvokeKind::PropertyGet, args).ToLong(), 8);
}

TEST(DispatchTest, MembersByIdShareTheNamedMember) {
    Counter counter;
    LetPropertyById(counter, 196, Variant(int32_t{16777215}));
    EXPECT_EQ(GetProperty(counter, "backcolor").ToLong(), 16777215);
    EXPECT_EQ(GetPropertyById(counter, 75).ToLong(), 5);
    EXPECT_EQ(Counter::Table().IdOfName("BACKCOLOR"), 196);
    EXPECT_EQ(Counter::Table().IdOfName("Total"), std::nullopt);
    EXPECT_FALSE(Counter::Table().HasMember("Frobnicate"));
    std::array<Variant, 1> index{Variant(int32_t{3})};
    EXPECT_EQ(counter.Invoke("item", InvokeKind::PropertyGet, index).ToString(), "item 3");
}

class Facade : public DispatchObject {
  public:
    explicit Facade(int p_iKind) : m_iKind(p_iKind) {}
    int m_iKind;
};

TEST(ComponentFactoryTest, ProgIdsMatchWithoutRegardToCaseAndUnknownOnesAreError429) {
    ScopedTestPlatform platform;
    ComponentFactory& factory = platform.Components();
    factory.Register("QorvantOnlineFacade.ViewerFNtr", [] { return std::make_shared<Facade>(1); });
    EXPECT_NE(CreateObject("qorvantonlinefacade.viewerfntr"), nullptr);
    // Registering again replaces; unregistering removes once.
    factory.Register("qorvantonlinefacade.viewerfntr", [] { return std::make_shared<Facade>(2); });
    auto second = factory.CreateObject("QorvantOnlineFacade.ViewerFNtr");
    EXPECT_EQ(std::dynamic_pointer_cast<Facade>(second)->m_iKind, 2);
    EXPECT_TRUE(factory.IsRegistered("QORVANTONLINEFACADE.VIEWERFNTR"));
    EXPECT_TRUE(factory.Unregister("QORVANTONLINEFACADE.VIEWERFNTR"));
    EXPECT_FALSE(factory.Unregister("QorvantOnlineFacade.ViewerFNtr"));
    EXPECT_EQ(
        FailureOf([&] { factory.CreateObject("QorvantOnlineFacade.ViewerFNtr"); }).Description,
        "ActiveX component can't create object: QorvantOnlineFacade.ViewerFNtr");
    factory.Register("Null.Component", [] { return std::shared_ptr<DispatchObject>(); });
    EXPECT_EQ(FailureOf([&] { factory.CreateObject("Null.Component"); }).Number, 429);
}

// A window message read "The list cannot be shown: -2147467259: the database is busy ...".
TEST(AutomationErrorTest, ErrorTextForAPersonHasNoNumber) {
    const AutomationError automation(-2147467259, "Facade", "the database is busy");
    EXPECT_EQ(ErrorText(automation), "the database is busy");
    EXPECT_EQ(ErrorText(std::runtime_error("no such symbol")), "no such symbol");
    // An unknown number has no standard text: the detail alone.
    EXPECT_EQ(FailureOf([] { RaiseRuntimeError(12345, "custom failure"); }).Description,
              "custom failure");
}

LayoutDescription StockLayout() {
    return {LayoutHeader{7, "Mine", "my stocks", 1, 42},
            LayoutSort{"PctChange DESC, Symbol ASC", 6, 1, 5, 0},
            {{4, 4, "Symbol", "Symbol", 1, 1, "Left"}, {13, 2, "Price", "Price", 1, 2, "##0.00"}}};
}

Variant WithElement(int32_t p_lElement, Variant p_vValue) {
    Variant description = layout_codec::ToVariant(StockLayout());
    description.Array().At(p_lElement) = std::move(p_vValue);
    return description;
}

Variant WithCell(int32_t p_lRow, int32_t p_lEntry, Variant p_vValue) {
    Variant table = layout_codec::ColumnTableToVariant(StockLayout().Columns);
    table.Array().At(p_lRow, p_lEntry) = std::move(p_vValue);
    return WithElement(2, table);
}

TEST(LayoutCodec, WritingAndParsingGiveTheSameLayout) {
    const LayoutDescription bareLayout{LayoutHeader{1, "Bare", "", 0, 0}, std::nullopt, {}};
    for (const LayoutDescription& layout : {StockLayout(), bareLayout}) {
        EXPECT_EQ(layout_codec::Parse(layout_codec::ToVariant(layout)), layout);
    }
    // No sort and no columns travel as Empty parts, as the host and the facade send them.
    const Variant bare = layout_codec::ToVariant(bareLayout);
    EXPECT_TRUE(bare.Array().At(1).IsEmpty());
    EXPECT_TRUE(bare.Array().At(2).IsEmpty());
    // Numbers sent as text are accepted.
    EXPECT_EQ(layout_codec::Parse(WithCell(0, 1, "13")).Columns[1].ParameterId, 13);
}

TEST(LayoutCodec, AMalformedDescriptionFailsNamingTheOffendingPart) {
    const std::tuple<Variant, int32_t, const char*> cases[] = {
        {Variant("layout"), errors::kTypeMismatch, "the description"},
        {VariantArray::Vector({Variant(), Variant()}), errors::kSubscriptOutOfRange, "description"},
        {WithElement(0, VariantArray::Vector({1, "a", "b", 0})), errors::kSubscriptOutOfRange,
         "the layout header"},
        {WithElement(0, VariantArray::Vector({"x", "a", "b", 0, 0})), errors::kTypeMismatch,
         "the layout id"},
        {WithElement(1, "Symbol ASC"), errors::kTypeMismatch, "the sort block"},
        {WithElement(2, "columns"), errors::kTypeMismatch, "the column table"},
        {WithElement(1, VariantArray::Vector({"", 5e10, 0, -1, 0})), errors::kOverflow,
         "the primary sort field id"},
        {WithElement(2, VariantArray::Vector(0, 6)), errors::kSubscriptOutOfRange,
         "two-dimensional"},
        {WithElement(2, VariantArray::Table(6, 2)), errors::kSubscriptOutOfRange, "rows 0 to 6"},
        {WithElement(2, VariantArray({{0, 6}, {1, 2}})), errors::kSubscriptOutOfRange,
         "start at index 0"},
        {WithCell(3, 1, Variant::Null()), errors::kInvalidUseOfNull,
         "column entry 1 row 3 (caption)"},
        {WithCell(4, 0, VariantArray::Vector({1})), errors::kTypeMismatch,
         "column entry 0 row 4 (table mask)"},
    };
    for (const auto& [description, number, part] : cases) {
        const Failure failure = FailureOf([&] { layout_codec::Parse(description); });
        EXPECT_EQ(failure.Number, number) << part;
        EXPECT_NE(failure.Description.find(part), std::string::npos) << failure.Description;
    }
}

}  // namespace
}  // namespace qv

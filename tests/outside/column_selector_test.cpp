#include "outside/column_selector.h"

#include "outside/field.h"
#include "outside/recordset.h"
#include "outside/scripted_services.h"

#include <gtest/gtest.h>

#include <array>
#include <functional>

namespace qv {
namespace {

std::vector<int32_t> Ids(const std::vector<ColumnChoice>& p_fields) {
    std::vector<int32_t> ids;
    for (const ColumnChoice& field : p_fields) {
        ids.push_back(field.ParameterId);
    }
    return ids;
}

ColumnChooserDialog Dialog() {
    return ColumnChooserDialog({{1, "Price"}, {2, "Volume"}, {3, "Price Change"}, {4, "Sector"}},
                               {{1, "Price"}, {2, "Volume"}}, {{4, "Sector"}}, true);
}

TEST(ColumnChooserDialogTest, EditsOfTheChoice) {
    struct Case {
        const char* Name;
        std::function<bool(ColumnChooserDialog&)> Edit;
        bool Applied;
        std::vector<int32_t> Chosen;
        bool UseDefault;
    };
    const Case cases[] = {
        {"add", [](auto& d) { return d.Add(3); }, true, {1, 2, 3}, false},
        {"add a field not offered", [](auto& d) { return d.Add(9); }, false, {1, 2}, true},
        {"add one already chosen", [](auto& d) { return d.Add(2); }, false, {1, 2}, true},
        {"remove", [](auto& d) { return d.Remove(1); }, true, {2}, false},
        {"remove one not chosen", [](auto& d) { return d.Remove(3); }, false, {1, 2}, true},
        {"up", [](auto& d) { return d.MoveUp(2); }, true, {2, 1}, false},
        {"up from the top", [](auto& d) { return d.MoveUp(1); }, false, {1, 2}, true},
        {"down from the bottom", [](auto& d) { return d.MoveDown(2); }, false, {1, 2}, true},
        {"dropped past the end", [](auto& d) { return d.MoveTo(1, 7); }, true, {2, 1}, false},
        {"dropped where it is", [](auto& d) { return d.MoveTo(2, 1); }, false, {1, 2}, true},
        {"default after a change",
         [](auto& d) {
             d.Remove(1);
             d.RestoreDefault();
             return true;
         },
         true,
         {4},
         true},
    };
    for (const Case& c : cases) {
        ColumnChooserDialog dialog = Dialog();
        EXPECT_EQ(c.Edit(dialog), c.Applied) << c.Name;
        EXPECT_EQ(Ids(dialog.Chosen()), c.Chosen) << c.Name;
        EXPECT_EQ(dialog.UseDefault(), c.UseDefault) << c.Name;
    }
}

TEST(ColumnChooserDialogTest, TheFilterNarrowsTheFieldsNotChosenWithoutRegardToCase) {
    ColumnChooserDialog dialog = Dialog();
    EXPECT_EQ(Ids(dialog.Available()), (std::vector<int32_t>{3, 4}));
    dialog.SetFilter("pRICE");
    EXPECT_EQ(Ids(dialog.Available()), std::vector<int32_t>{3});
}

std::shared_ptr<Recordset> FieldList(
    std::initializer_list<std::tuple<int32_t, const char*, bool, int32_t>> p_rows) {
    auto list = std::make_shared<Recordset>();
    list->Fields().Append("parameter_id", adInteger);
    list->Fields().Append("column_name", adVarChar, 50);
    list->Fields().Append("selected", adBoolean);
    list->Fields().Append("Sequence", adInteger);
    list->Open();
    for (const auto& [id, caption, selected, sequence] : p_rows) {
        list->AddNew();
        list->SetValue("parameter_id", id);
        list->SetValue("column_name", caption);
        list->SetValue("selected", selected);
        list->SetValue("Sequence", sequence);
        list->Update();
    }
    return list;
}

TEST(DialogColumnSelectorTest, TheChoiceComesBackAsATableOfIdsInOrderOrNull) {
    ScopedTestPlatform platform;
    DialogColumnSelector selector;
    const auto call = [&](Variant p_vUseDefault) {
        std::array<Variant, 7> args{
            RecordsetVariant(
                FieldList({{7, "B", true, 2}, {5, "A", true, 1}, {6, "C", false, -1}})),
            Variant::Nothing(),
            Variant(),
            Variant(true),
            Variant(false),
            RecordsetVariant(FieldList({{6, "C", true, 1}})),
            std::move(p_vUseDefault)};
        const bool accepted =
            CallMethodById(selector, DialogColumnSelector::kChooseLayoutFields, args).ToBool();
        return std::make_tuple(accepted, args[2], args[6]);
    };
    platform.Dialogs().QueueScriptFor<ColumnChooserDialog>([](ColumnChooserDialog& dialog) {
        EXPECT_EQ(Ids(dialog.Chosen()), (std::vector<int32_t>{5, 7}));
        dialog.Add(6);
        dialog.Accept();
    });
    auto [accepted, chosen, useDefault] = call(Variant(true));
    EXPECT_TRUE(accepted);
    ASSERT_TRUE(chosen.IsArray());
    EXPECT_EQ(chosen.Array().UBound(1), 2);
    EXPECT_EQ(chosen.Array().At(2, 0).ToLong(), 6);
    EXPECT_FALSE(useDefault.ToBool());

    platform.Dialogs().QueueScriptFor<ColumnChooserDialog>([](ColumnChooserDialog& dialog) {
        dialog.Remove(5);
        dialog.Remove(7);
        dialog.Accept();
    });
    std::tie(accepted, chosen, useDefault) = call(Variant(false));
    EXPECT_TRUE(accepted && chosen.IsNull());

    // No script: dismissed, as without a display; nothing is written back.
    std::tie(accepted, chosen, useDefault) = call(Variant(true));
    EXPECT_FALSE(accepted);
    EXPECT_TRUE(chosen.IsEmpty() && useDefault.ToBool());
    EXPECT_EQ(platform.Dialogs().Shown().size(), 3u);
}

}  // namespace
}  // namespace qv

#include "outside/grid_control_column.h"

#include "outside/automation_error.h"
#include "outside/dispatch_table.h"
#include "outside/grid_control_columns.h"
#include "outside/grid_control_support.h"

#include <algorithm>
#include <regex>
#include <string>
#include <unordered_map>

namespace qv {

struct GridControlColumn::RegexCellStyle {
    int16_t Condition;
    std::string Expression;
    std::shared_ptr<const std::regex> Pattern;
    std::shared_ptr<GridStyle> Style;
};

namespace {

Variant OptionalColor(std::optional<int32_t> p_lColor) {
    return p_lColor ? Variant(*p_lColor) : Variant();
}

std::optional<int32_t> ColorOf(const Variant& p_vValue) {
    if (p_vValue.IsEmpty()) {
        return std::nullopt;
    }
    return p_vValue.ToLong();
}

// Compiling an expression costs more than everything else a layout load does to a column, and
// the viewer adds the same few expressions to every grid it loads: compiled expressions are kept
// by their text and shared by the columns that use them. The cache is bounded, since the texts
// come from callers.
std::shared_ptr<const std::regex> CompiledRegex(std::string_view p_sRegex) {
    constexpr size_t kMaxCachedRegexes = 64;
    static std::unordered_map<std::string, std::shared_ptr<const std::regex>> cache;
    const std::string text(p_sRegex);
    if (const auto found = cache.find(text); found != cache.end()) {
        return found->second;
    }
    auto pattern = std::make_shared<const std::regex>(text);
    if (cache.size() >= kMaxCachedRegexes) {
        cache.clear();
    }
    cache.emplace(text, pattern);
    return pattern;
}

std::shared_ptr<GridStyle> StyleOf(const Variant& p_vValue) {
    if (p_vValue.IsNothing()) {
        return nullptr;
    }
    auto style = p_vValue.ToObjectAs<GridStyle>();
    if (!style) {
        RaiseRuntimeError(errors::kTypeMismatch, "a cell style must be a Style object");
    }
    return style;
}

}  // namespace

const DispatchTable& GridControlColumn::Table() {
    using Column = GridControlColumn;
    static const DispatchTable table =
        DispatchTable::Builder<Column>()
            .Get({"ColIndex", 14}, [](Column& self) { return Variant(self.ColIndex()); })
            .Property(
                {"Visible", 22}, [](Column& self) { return Variant(self.Visible()); },
                [](Column& self, const Variant& value) { self.SetVisible(value.ToBool()); })
            .Property(
                {"Order", 43}, [](Column& self) { return Variant(self.Order()); },
                [](Column& self, const Variant& value) { self.SetOrder(value.ToLong()); })
            .Property(
                {"NumberFormat", 17}, [](Column& self) { return Variant(self.NumberFormat()); },
                [](Column& self, const Variant& value) { self.SetNumberFormat(value.ToString()); })
            .Property(
                {"DataField", 8}, [](Column& self) { return Variant(self.DataField()); },
                [](Column& self, const Variant& value) { self.SetDataField(value.ToString()); })
            .Property(
                {"Width", 23}, [](Column& self) { return Variant(self.Width()); },
                [](Column& self, const Variant& value) { self.SetWidth(value.ToLong()); })
            .Property(
                {"Caption", 5}, [](Column& self) { return Variant(self.Caption()); },
                [](Column& self, const Variant& value) { self.SetCaption(value.ToString()); })
            .Property(
                "Alignment",
                [](Column& self) { return Variant(static_cast<int16_t>(self.Alignment())); },
                [](Column& self, const Variant& value) { self.SetAlignment(value.ToLong()); })
            .Property(
                "ForeColor", [](Column& self) { return OptionalColor(self.ForeColor()); },
                [](Column& self, const Variant& value) { self.SetForeColor(ColorOf(value)); })
            .Method("AddRegexCellStyle", 3, 3,
                    [](Column& self, DispatchArgs args) {
                        self.AddRegexCellStyle(args[0].ToInt(), StyleOf(args[1]),
                                               args[2].ToString());
                        return Variant();
                    })
            .Method("RemoveRegexCellStyle", 2, 2,
                    [](Column& self, DispatchArgs args) {
                        self.RemoveRegexCellStyle(args[0].ToInt(), args[1].ToString());
                        return Variant();
                    })
            .Property(
                DispatchName(1), [](Column& self) { return self.m_vMember1; },
                [](Column& self, const Variant& value) { self.m_vMember1 = value; })
            .Property(
                DispatchName(42), [](Column& self) { return self.m_vMember42; },
                [](Column& self, const Variant& value) { self.m_vMember42 = value; })
            .Build();
    return table;
}

GridControlColumn::GridControlColumn(int32_t p_lSplitCount)
    : m_splits(static_cast<size_t>(std::max(p_lSplitCount, 0)),
               GridSplitColumnState{true, kDefaultWidth}) {}

GridControlColumn::~GridControlColumn() = default;

Variant GridControlColumn::Invoke(std::string_view p_sName, InvokeKind p_eKind,
                                  std::span<Variant> p_args) {
    return Table().Invoke(*this, p_sName, p_eKind, p_args);
}

Variant GridControlColumn::InvokeById(int32_t p_lDispId, InvokeKind p_eKind,
                                      std::span<Variant> p_args) {
    return Table().InvokeById(*this, p_lDispId, p_eKind, p_args);
}

void GridControlColumn::Changed() const {
    if (m_pOwner != nullptr) {
        m_pOwner->Hook().ColumnsChanged();
    }
}

void GridControlColumn::SetOrder(int32_t p_lOrder) {
    if (m_pOwner != nullptr) {
        m_pOwner->SetOrder(*this, p_lOrder);
    }
}

void GridControlColumn::SetCaption(std::string p_sCaption) {
    if (p_sCaption != m_sCaption) {
        m_sCaption = std::move(p_sCaption);
        Changed();
    }
}

void GridControlColumn::SetDataField(std::string p_sDataField) {
    if (p_sDataField != m_sDataField) {
        m_sDataField = std::move(p_sDataField);
        Changed();
    }
}

void GridControlColumn::SetNumberFormat(std::string p_sFormat) {
    if (p_sFormat != m_sNumberFormat) {
        m_sNumberFormat = std::move(p_sFormat);
        Changed();
    }
}

void GridControlColumn::SetAlignment(int32_t p_lAlignment) {
    if (p_lAlignment < gaLeft || p_lAlignment > gaGeneral) {
        RaiseInvalidGridValue("Column alignment", p_lAlignment);
    }
    if (p_lAlignment != m_eAlignment) {
        m_eAlignment = static_cast<GridAlignment>(p_lAlignment);
        Changed();
    }
}

void GridControlColumn::SetFont(FontSpec p_font) {
    m_font = std::move(p_font);
    Changed();
}

void GridControlColumn::SetForeColor(std::optional<int32_t> p_lColor) {
    if (p_lColor != m_lForeColor) {
        m_lForeColor = p_lColor;
        Changed();
    }
}

bool GridControlColumn::Visible() const {
    return std::any_of(m_splits.begin(), m_splits.end(),
                       [](const GridSplitColumnState& state) { return state.Visible; });
}

void GridControlColumn::SetVisible(bool p_bVisible) {
    bool changed = false;
    for (GridSplitColumnState& state : m_splits) {
        changed = changed || state.Visible != p_bVisible;
        state.Visible = p_bVisible;
    }
    if (changed) {
        Changed();
    }
}

int32_t GridControlColumn::Width() const {
    for (const GridSplitColumnState& state : m_splits) {
        if (state.Visible) {
            return state.Width;
        }
    }
    return m_splits.empty() ? kDefaultWidth : m_splits.front().Width;
}

void GridControlColumn::SetWidth(int32_t p_lWidth) {
    if (p_lWidth < 0) {
        RaiseInvalidGridValue("Column width", p_lWidth);
    }
    bool changed = false;
    for (GridSplitColumnState& state : m_splits) {
        changed = changed || state.Width != p_lWidth;
        state.Width = p_lWidth;
    }
    if (changed) {
        Changed();
    }
}

bool GridControlColumn::SplitVisible(int32_t p_lSplit) const {
    RequireGridIndex(p_lSplit, SplitCount(), "Split");
    return m_splits[static_cast<size_t>(p_lSplit)].Visible;
}

void GridControlColumn::SetSplitVisible(int32_t p_lSplit, bool p_bVisible) {
    RequireGridIndex(p_lSplit, SplitCount(), "Split");
    bool& visible = m_splits[static_cast<size_t>(p_lSplit)].Visible;
    if (p_bVisible != visible) {
        visible = p_bVisible;
        Changed();
    }
}

int32_t GridControlColumn::SplitWidth(int32_t p_lSplit) const {
    RequireGridIndex(p_lSplit, SplitCount(), "Split");
    return m_splits[static_cast<size_t>(p_lSplit)].Width;
}

void GridControlColumn::SetSplitWidth(int32_t p_lSplit, int32_t p_lWidth) {
    RequireGridIndex(p_lSplit, SplitCount(), "Split");
    if (p_lWidth < 0) {
        RaiseInvalidGridValue("Column width", p_lWidth);
    }
    int32_t& width = m_splits[static_cast<size_t>(p_lSplit)].Width;
    if (p_lWidth != width) {
        width = p_lWidth;
        Changed();
    }
}

void GridControlColumn::AddRegexCellStyle(int16_t p_iCondition, std::shared_ptr<GridStyle> p_oStyle,
                                          std::string_view p_sRegex) {
    if (!p_oStyle) {
        RaiseRuntimeError(errors::kObjectVariableNotSet, "cell style");
    }
    try {
        m_cellStyles.push_back(RegexCellStyle{p_iCondition, std::string(p_sRegex),
                                              CompiledRegex(p_sRegex), std::move(p_oStyle)});
    } catch (const std::regex_error& failure) {
        RaiseRuntimeError(
            errors::kInvalidProcedureCall,
            "regular expression \"" + std::string(p_sRegex) + "\": " + failure.what());
    }
    Changed();
}

void GridControlColumn::RemoveRegexCellStyle(int16_t p_iCondition, std::string_view p_sRegex) {
    const size_t removed = std::erase_if(m_cellStyles, [&](const RegexCellStyle& style) {
        return style.Condition == p_iCondition && style.Expression == p_sRegex;
    });
    if (removed > 0) {
        Changed();
    }
}

int32_t GridControlColumn::RegexCellStyleCount() const {
    return static_cast<int32_t>(m_cellStyles.size());
}

void GridControlColumn::ApplyCellStyles(std::string_view p_sText, int16_t p_iCellState,
                                        GridStyle& p_oStyle) const {
    if (m_lForeColor) {
        p_oStyle.SetForeColor(m_lForeColor);
    }
    for (const RegexCellStyle& style : m_cellStyles) {
        if ((style.Condition & ~p_iCellState) != 0) {
            continue;
        }
        if (std::regex_search(p_sText.begin(), p_sText.end(), *style.Pattern)) {
            p_oStyle.Overlay(*style.Style);
        }
    }
}

}  // namespace qv

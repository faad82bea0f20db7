#include "outside/date_selector.h"

#include "outside/automation_error.h"
#include "outside/component_factory.h"
#include "outside/dispatch_table.h"
#include "outside/platform_context.h"
#include "outside/vb_date.h"

#include <cmath>

namespace qv {

const DispatchTable& DateSelector::Table() {
    using Selector = DateSelector;
    static const DispatchTable table =
        DispatchTable::Builder<Selector>()
            .Property(
                "Text", [](Selector& self) { return Variant(self.Text()); },
                [](Selector& self, const Variant& value) { self.SetText(value.ToString()); })
            .Property(
                "Value", [](Selector& self) { return Variant::Date(self.Value()); },
                [](Selector& self, const Variant& value) { self.SetValue(value.ToDate()); })
            .Property(
                "Visible", [](Selector& self) { return Variant(self.Visible()); },
                [](Selector& self, const Variant& value) { self.SetVisible(value.ToBool()); })
            .Build();
    return table;
}

Variant DateSelector::Invoke(std::string_view p_sName, InvokeKind p_eKind,
                             std::span<Variant> p_args) {
    return Table().Invoke(*this, p_sName, p_eKind, p_args);
}

bool DateSelector::SetText(std::string_view p_sText) {
    m_sText = p_sText;
    double serial = 0;
    if (!ParseDateText(p_sText, serial)) {
        return false;
    }
    SetValue(serial);
    return true;
}

void DateSelector::SetValue(double p_dSerial) {
    if (!IsValidDateSerial(p_dSerial)) {
        RaiseRuntimeError(errors::kOverflow, "not a date the selector can hold");
    }
    // The day of a serial is the serial truncated towards zero, also before the zero date.
    StoreValue(std::trunc(p_dSerial));
}

double DateSelector::Today() {
    return std::trunc(PlatformContext::Current().Time().Now());
}

void RegisterHeadlessDateSelector(ComponentFactory& p_oFactory) {
    p_oFactory.Register(kDateSelectorProgId,
                        [] { return std::make_shared<HeadlessDateSelector>(); });
}

}  // namespace qv

#include "outside/event_information.h"

#include "outside/automation_error.h"
#include "outside/dispatch_table.h"

namespace qv {

class EventInformation::Parameter : public DispatchObject {
  public:
    explicit Parameter(Variant p_vValue) : m_vValue(std::move(p_vValue)) {}

    const Variant& Value() const { return m_vValue; }

    Variant Invoke(std::string_view p_sName, InvokeKind p_eKind,
                   std::span<Variant> p_args) override {
        static const DispatchTable table =
            DispatchTable::Builder<Parameter>()
                .Property(
                    "Value", [](Parameter& self) { return self.m_vValue; },
                    [](Parameter& self, const Variant& v) { self.m_vValue = v; })
                .Build();
        return table.Invoke(*this, p_sName, p_eKind, p_args);
    }
    std::string_view DispatchClassName() const override { return "EventParameter"; }

  private:
    Variant m_vValue;
};

class EventInformation::Collection : public DispatchObject {
  public:
    explicit Collection(std::vector<Variant> p_values) {
        for (Variant& value : p_values) {
            m_items.push_back(std::make_shared<Parameter>(std::move(value)));
        }
    }

    const std::vector<std::shared_ptr<Parameter>>& Items() const { return m_items; }

    Variant Invoke(std::string_view p_sName, InvokeKind p_eKind,
                   std::span<Variant> p_args) override {
        static const DispatchTable table =
            DispatchTable::Builder<Collection>()
                .Get("Count",
                     [](Collection& self) {
                         return Variant(static_cast<int32_t>(self.m_items.size()));
                     })
                .IndexedGet("Item", 1, 1,
                            [](Collection& self, DispatchArgs args) { return self.Item(args[0]); })
                .Build();
        return table.Invoke(*this, p_sName, p_eKind, p_args);
    }
    std::string_view DispatchClassName() const override { return "EventParameters"; }

  private:
    Variant Item(const Variant& p_vIndex) const {
        const int32_t index = p_vIndex.ToLong();
        if (index < 0 || static_cast<size_t>(index) >= m_items.size()) {
            throw AutomationError(9, "EventParameters", "Subscript out of range");
        }
        return Variant(std::shared_ptr<DispatchObject>(m_items[static_cast<size_t>(index)]));
    }

    std::vector<std::shared_ptr<Parameter>> m_items;
};

EventInformation::EventInformation(std::string p_sName, std::vector<Variant> p_parameters)
    : m_sName(std::move(p_sName)),
      m_oParameters(std::make_shared<Collection>(std::move(p_parameters))) {}

std::vector<Variant> EventInformation::Parameters() const {
    std::vector<Variant> values;
    for (const auto& item : m_oParameters->Items()) {
        values.push_back(item->Value());
    }
    return values;
}

Variant EventInformation::Invoke(std::string_view p_sName, InvokeKind p_eKind,
                                 std::span<Variant> p_args) {
    static const DispatchTable table =
        DispatchTable::Builder<EventInformation>()
            .Get("Name", [](EventInformation& self) { return Variant(self.m_sName); })
            .Get("EventParameters",
                 [](EventInformation& self) {
                     return Variant(std::shared_ptr<DispatchObject>(self.m_oParameters));
                 })
            .Build();
    return table.Invoke(*this, p_sName, p_eKind, p_args);
}

}  // namespace qv

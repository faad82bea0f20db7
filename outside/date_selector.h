// The support library's date selector ("qorvantSupport.DateSelector"): a control that reads a
// date text and holds the day it names.
//
// The viewer creates one by ProgID, hands it a host's date text and takes the day back. Reading
// the text is the same everywhere (ParseDateText, vb_date.h), so a date reads alike with or
// without a display; what differs is where the day is kept: HeadlessDateSelector keeps a number,
// the shell's selector a date editor a person can also use.
//
// Dispatch: Text (get, let), Value (get, let; a Date), Visible (get, let).
//
//     auto selector = CreateObject(kDateSelectorProgId);
//     LetProperty(*selector, "Text", Variant("12/06/2026"));
//     double day = GetProperty(*selector, "Value").ToDate();
#pragma once

#include "outside/dispatch.h"

#include <string>
#include <string_view>

namespace qv {

class ComponentFactory;
class DispatchTable;

inline constexpr std::string_view kDateSelectorProgId = "qorvantSupport.DateSelector";

class DateSelector : public DispatchObject {
  public:
    std::string_view DispatchClassName() const override { return "DateSelector"; }
    Variant Invoke(std::string_view p_sName, InvokeKind p_eKind,
                   std::span<Variant> p_args) override;

    // Keeps p_sText as the Text; when it names a date, that day becomes the Value and the result
    // is true. Text that names no date leaves the Value as it was.
    bool SetText(std::string_view p_sText);
    const std::string& Text() const { return m_sText; }

    // A day serial without a time of day; a new selector holds today.
    virtual double Value() const = 0;
    // Keeps the day of p_dSerial and drops its time; error 6 outside the supported dates.
    void SetValue(double p_dSerial);
    virtual bool Visible() const = 0;
    virtual void SetVisible(bool p_bVisible) = 0;

  protected:
    // The day of today, by the platform's clock.
    static double Today();
    // p_dDay is a valid whole day.
    virtual void StoreValue(double p_dDay) = 0;

  private:
    static const DispatchTable& Table();

    std::string m_sText;
};

class HeadlessDateSelector : public DateSelector {
  public:
    HeadlessDateSelector() : m_dValue(Today()) {}

    double Value() const override { return m_dValue; }
    bool Visible() const override { return m_bVisible; }
    void SetVisible(bool p_bVisible) override { m_bVisible = p_bVisible; }

  protected:
    void StoreValue(double p_dDay) override { m_dValue = p_dDay; }

  private:
    double m_dValue;
    // Added at run time, a control starts hidden.
    bool m_bVisible = false;
};

// Registers HeadlessDateSelector under kDateSelectorProgId.
void RegisterHeadlessDateSelector(ComponentFactory& p_oFactory);

}  // namespace qv

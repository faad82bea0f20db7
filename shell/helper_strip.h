// The strip above the list: what the list is sorted by, its BSH caption, the list's day, and how
// many rows it fetches. The standard strip serves the stock, industry and sector lists; the
// history strip ("qorvantosupport.ctlHistorySupport") the three history lists.
//
// The master reaches it by name: "SetSort" and "SetBSH" (the captions shown), "SetupControl"
// (13 a stock watch list, 14 an industry watch list; any other code the plain strip), "Init"
// (helper day, list day, helper code, start day, maximum rows, return all: the strip shows the
// list day and the limits) and "CurrentDate" (the day shown). A person's changes are the
// framework's event commands:
//   a new day, or Apply        "DATECHANGED"    ("", day as a Date, maximum rows, return all)
//   new row limits             "DATECHANGED" on the standard strip, "REFRESHHISTORY"
//                              ("", maximum rows, return all) on the history strip
//   Sort…, Find…               "EDITSORT", "FIND"
//
//     HelperStrip strip(className, frame);
//     strip.SetOnEvent([&](const std::string& name, std::vector<Variant> p) { ... });
//     LetProperty(*strip.Object(), "SetSort", Variant("Symbol ascending"));
#pragma once

#include "shell/support_panel.h"

#include <cstdint>
#include <memory>
#include <string>

class QDateEdit;
class QLabel;
class QPushButton;

namespace qv {

class DispatchTable;
class ElidedLabel;
class RowLimitsEditor;

class HelperStrip : public SupportPanel {
  public:
    static constexpr std::string_view kHistoryClass = "qorvantosupport.ctlHistorySupport";

    explicit HelperStrip(QWidget* p_pParent);
    // The strip the master names: the history strip for kHistoryClass (in any letter case), the
    // standard strip for any other class.
    HelperStrip(std::string_view p_sClassName, QWidget* p_pParent);

    std::shared_ptr<DispatchObject> Object() override;

    bool IsHistory() const { return m_bHistory; }
    void SetSort(const std::string& p_sCaption);
    void SetBSH(const std::string& p_sCaption);
    void SetupControl(int16_t p_iCode);
    void Init(double p_dListDate, int32_t p_lMaxRows, bool p_bReturnAll);
    double CurrentDate() const;

    QString SortCaption() const;
    QString BSHCaption() const;
    QString KindCaption() const;
    QDateEdit& DateEdit() const { return *m_pDate; }
    RowLimitsEditor& Limits() const { return *m_pLimits; }

  private:
    static const DispatchTable& Table();
    void DateEdited();
    void RaiseDate();
    void LimitsChanged(int32_t p_lMaxRows, bool p_bReturnAll);

    bool m_bHistory = false;
    QLabel* m_pKind = nullptr;
    ElidedLabel* m_pSort = nullptr;
    ElidedLabel* m_pBSH = nullptr;
    QDateEdit* m_pDate = nullptr;
    RowLimitsEditor* m_pLimits = nullptr;
    double m_dToldDate = 0;
};

}  // namespace qv

// What the support panels share: the dispatch object through which the master reaches a panel by
// name, the close button, the day shown in a date edit, and the row limits editor of the history
// helpers.
//
//     const DispatchTable& SearchPanel::Table() {
//         static const DispatchTable table = DispatchTable::Builder<PanelObject<SearchPanel>>()
//             .Let("IndCode", [](auto& self, const Variant& v) { self.Panel().SetIndCode(...); })
//             .Build();
//         return table;
//     }
//     std::make_shared<PanelObject<SearchPanel>>(*this, Table(), "ctlSearchSupport");
#pragma once

#include "outside/automation_error.h"
#include "outside/dispatch_table.h"

#include <QDate>
#include <QLabel>
#include <QPointer>
#include <QWidget>

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

class QCheckBox;
class QSpinBox;
class QToolButton;

namespace qv {

// The panel by name. It holds the panel weakly: the widget tree owns the panel, and a master
// that keeps the object past the panel's end gets error 91, not a crash.
template <class T>
class PanelObject : public DispatchObject {
  public:
    PanelObject(T& p_oPanel, const DispatchTable& p_oTable, std::string_view p_sClassName)
        : m_pPanel(&p_oPanel), m_oTable(p_oTable), m_sClassName(p_sClassName) {}

    Variant Invoke(std::string_view p_sName, InvokeKind p_eKind,
                   std::span<Variant> p_args) override {
        return m_oTable.Invoke(*this, p_sName, p_eKind, p_args);
    }
    std::string_view DispatchClassName() const override { return m_sClassName; }

    T& Panel() const {
        if (m_pPanel.isNull()) {
            RaiseRuntimeError(errors::kObjectVariableNotSet, std::string(m_sClassName));
        }
        return *m_pPanel;
    }

  private:
    QPointer<T> m_pPanel;
    const DispatchTable& m_oTable;
    std::string m_sClassName;
};

// Day serials (whole days; a time of day is dropped) and the dates a date edit shows.
QDate QDateOfSerial(double p_dSerial);
double SerialOfQDate(const QDate& p_date);

// The panel's close button ("Close panel" for a screen reader).
QToolButton* NewCloseButton(QWidget* p_pParent, std::function<void()> p_fnClicked);

// A caption that gives up room first when its row is narrow: the text ends in "…" and the whole
// of it is the tool tip.
class ElidedLabel : public QLabel {
  public:
    explicit ElidedLabel(QWidget* p_pParent = nullptr);

    void SetFullText(const QString& p_sText);
    const QString& FullText() const { return m_sFullText; }
    QSize minimumSizeHint() const override;
    QSize sizeHint() const override;

  protected:
    void resizeEvent(QResizeEvent* p_pEvent) override;

  private:
    void Elide();

    QString m_sFullText;
};

// The maximum rows and "All rows" of a list. A person's change, once made (Enter or leaving the
// box for the rows, a click for the check box), is told to the function given; a change by
// Show is not. The rows are not asked for while all rows are.
class RowLimitsEditor : public QWidget {
  public:
    using ChangedFn = std::function<void(int32_t p_lMaxRows, bool p_bReturnAll)>;

    RowLimitsEditor(const QString& p_sAllCaption, QWidget* p_pParent);

    void SetOnChanged(ChangedFn p_fnChanged) { m_fnChanged = std::move(p_fnChanged); }
    void Show(int32_t p_lMaxRows, bool p_bReturnAll);

    int32_t MaxRows() const;
    bool ReturnAll() const;
    QSpinBox& Rows() const { return *m_pRows; }
    QCheckBox& All() const { return *m_pAll; }

  private:
    void Changed();

    QSpinBox* m_pRows = nullptr;
    QCheckBox* m_pAll = nullptr;
    ChangedFn m_fnChanged;
    int32_t m_lToldRows = 0;
    bool m_bToldAll = false;
};

}  // namespace qv

// The screen editor: a screen's name, the kind of rows it finds, and its criteria both as rows
// (a field of the catalogue, an operator, a value or a second field times a factor, joined by
// AND or OR) and as text, which a person may type; each follows the other where the rows can say
// the text. Below them, the criteria as a person reads them and how many rows meet them on the
// day, from the facade's CheckScreen once typing pauses (CheckDelay), or the facade's reason in
// red. Save keeps the screen (SaveScreen; a refusal is shown and nothing typed is lost); Run saves
// it and asks for its list.
//
// The fields offered are the catalogue's for the kind of rows ("GetCustomFieldList"), by caption;
// the criteria name them by column.
//
//     auto* editor = new ScreenEditor(ownerId, day, screen, window);
//     editor->SetOnSaved([](const StockScreen& saved, bool run) { ... });
//     editor->open();
#pragma once

#include "shell/screen_calls.h"
#include "shell/screen_conditions.h"

#include <QDialog>

#include <functional>
#include <map>
#include <memory>
#include <vector>

class QComboBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QTimer;
class QVBoxLayout;

namespace qv {

class ScreenConditionRow;

class ScreenEditor : public QDialog {
  public:
    using SavedFn = std::function<void(const StockScreen& p_oScreen, bool p_bRun)>;

    static constexpr int kCheckDelayMs = 300;

    ScreenEditor(int32_t p_lOwnerId, int32_t p_lDate, const StockScreen& p_oScreen,
                 QWidget* p_pParent);
    ~ScreenEditor() override;

    void SetOnSaved(SavedFn p_fnSaved) { m_fnSaved = std::move(p_fnSaved); }

    // The screen as the editor holds it now.
    StockScreen Screen() const;
    // Save and Run as the buttons do; false when the facade refused the screen.
    bool Save(bool p_bRun);
    // The check the timer would make, made now.
    void CheckNow();

    QLineEdit& NameEdit() const { return *m_pName; }
    QComboBox& RowsBox() const { return *m_pRows; }
    QPlainTextEdit& CriteriaEdit() const { return *m_pText; }
    QTimer& CheckTimer() const { return *m_pTimer; }
    QString CountText() const;
    QString DescriptionText() const;
    QString ErrorText() const;
    // The rows on show; none while the text is beyond them.
    std::vector<ScreenCondition> Conditions() const;
    bool RowsInStep() const { return m_bRowsInStep; }
    void AddCondition();

  private:
    struct Field {
        QString m_sColumn;
        QString m_sCaption;
    };

    void BuildRows(QVBoxLayout& p_oLayout);
    const std::vector<Field>& Fields();
    void FillFieldBoxes();
    void RowsChanged();
    void TextChanged();
    void ShowRows(const std::vector<ScreenCondition>& p_aConditions);
    void RemoveRow(ScreenConditionRow* p_pRow);
    // A field as the criteria wrote it (a column, or a caption in brackets), as a column of the
    // catalogue; empty when the catalogue has no such field.
    QString ColumnOf(const std::string& p_sField);
    void ShowError(const QString& p_sText);

    int32_t m_lOwnerId;
    int32_t m_lDate;
    StockScreen m_oScreen;
    SavedFn m_fnSaved;
    std::map<int32_t, std::vector<Field>> m_fields;
    std::vector<ScreenConditionRow*> m_rows;
    bool m_bSyncing = false;
    bool m_bRowsInStep = true;
    QLineEdit* m_pName = nullptr;
    QComboBox* m_pRows = nullptr;
    QWidget* m_pRowArea = nullptr;
    QVBoxLayout* m_pRowLayout = nullptr;
    QLabel* m_pRowNote = nullptr;
    QPushButton* m_pAdd = nullptr;
    QPlainTextEdit* m_pText = nullptr;
    QLabel* m_pDescription = nullptr;
    QLabel* m_pCount = nullptr;
    QLabel* m_pError = nullptr;
    QTimer* m_pTimer = nullptr;
};

}  // namespace qv

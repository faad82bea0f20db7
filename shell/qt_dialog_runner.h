// Modal dialogs as Qt dialogs: the dialog's logic (a ModalDialog) is shown through a Qt view of
// it, modally, and the runner returns when the view closes.
//
// Views are registered per class of dialog logic; the first factory that makes a view for the
// dialog shown wins. The view works on the logic as a person uses it and accepts when the logic
// was closed by one of its own buttons; a view closed any other way (rejected, Escape, the close
// box) dismisses the logic, which every dialog treats as a cancel. A dialog without a view is
// dismissed at once, as it is without a display.
//
//     runner.RegisterViewFor<SearchDialog>([](SearchDialog& logic, QWidget* parent) {
//         return std::make_unique<SearchDialogView>(logic, parent);
//     });
#pragma once

#include "outside/dialog_runner.h"

#include <QDialog>
#include <QPointer>
#include <QWidget>

#include <functional>
#include <memory>
#include <vector>

namespace qv {

class QtDialogRunner : public DialogRunner {
  public:
    // Returns null for a dialog it has no view for.
    using ViewFactory = std::function<std::unique_ptr<QDialog>(ModalDialog&, QWidget*)>;

    explicit QtDialogRunner(QWidget* p_pParent = nullptr) : m_pParent(p_pParent) {}
    void SetParent(QWidget* p_pParent) { m_pParent = p_pParent; }

    void RegisterView(ViewFactory p_fnFactory) { m_factories.push_back(std::move(p_fnFactory)); }
    template <class T>
    void RegisterViewFor(std::function<std::unique_ptr<QDialog>(T&, QWidget*)> p_fnFactory) {
        RegisterView([fn = std::move(p_fnFactory)](ModalDialog& dialog,
                                                   QWidget* parent) -> std::unique_ptr<QDialog> {
            auto* typed = dynamic_cast<T*>(&dialog);
            return typed != nullptr ? fn(*typed, parent) : nullptr;
        });
    }

    void ShowModal(ModalDialog& p_oDialog) override;

  private:
    QPointer<QWidget> m_pParent;
    std::vector<ViewFactory> m_factories;
};

}  // namespace qv

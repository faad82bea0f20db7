#include "shell/qt_services.h"

#include "outside/column_selector.h"
#include "outside/date_selector.h"
#include "outside/platform_context.h"
#include "shell/column_chooser_dialog.h"
#include "shell/export_dialogs.h"
#include "shell/find_dialog.h"
#include "shell/graph_count_dialog.h"
#include "shell/print_options_dialog.h"
#include "shell/qt_date_selector.h"
#include "shell/qt_dialog_runner.h"
#include "shell/qt_message_box.h"
#include "shell/qt_message_loop.h"
#include "shell/qt_mouse_pointer.h"
#include "shell/qt_popup_menu.h"
#include "shell/qt_printer.h"
#include "shell/qt_running_indicator.h"
#include "shell/qt_text_measurer.h"
#include "shell/sort_dialog.h"
#include "shell/watch_list_dialogs.h"

#include <memory>

namespace qv {

void InstallQtServices(PlatformContext& p_oContext, QWidget* p_pHost) {
    p_oContext.SetMessages(std::make_unique<QtMessageBox>(p_pHost));
    p_oContext.SetPointer(std::make_unique<QtMousePointer>(p_pHost));
    p_oContext.SetLoop(std::make_unique<QtMessageLoop>());
    auto dialogs = std::make_unique<QtDialogRunner>(p_pHost);
    dialogs->RegisterViewFor<ColumnChooserDialog>(
        [](ColumnChooserDialog& p_oLogic, QWidget* p_pParent) -> std::unique_ptr<QDialog> {
            return std::make_unique<ColumnChooserView>(p_oLogic, p_pParent);
        });
    RegisterSortDialogView(*dialogs);
    RegisterGraphCountView(*dialogs);
    RegisterWatchListDialogViews(*dialogs);
    RegisterFindDialogView(*dialogs);
    RegisterExportDialogViews(*dialogs);
    RegisterPrintViews(*dialogs);
    p_oContext.SetDialogs(std::move(dialogs));
    p_oContext.SetIndicator(std::make_unique<QtRunningIndicator>(p_pHost));
    p_oContext.SetMeasurer(std::make_unique<QtTextMeasurer>());
    p_oContext.SetMenus(std::make_unique<QtPopupMenuPresenter>());
    p_oContext.SetPrinter(std::make_unique<QtPrinter>(p_pHost));
    p_oContext.Components().Register(kDateSelectorProgId,
                                     [] { return std::make_shared<QtDateSelector>(); });
}

void SetQtServiceHost(PlatformContext& p_oContext, QWidget* p_pHost) {
    if (auto* messages = dynamic_cast<QtMessageBox*>(&p_oContext.Messages())) {
        messages->SetParent(p_pHost);
    }
    if (auto* pointer = dynamic_cast<QtMousePointer*>(&p_oContext.Pointer())) {
        pointer->SetTarget(p_pHost);
    }
    if (auto* dialogs = dynamic_cast<QtDialogRunner*>(&p_oContext.Dialogs())) {
        dialogs->SetParent(p_pHost);
    }
    if (auto* indicator = dynamic_cast<QtRunningIndicator*>(&p_oContext.Indicator())) {
        indicator->SetHost(p_pHost);
    }
    if (auto* printer = dynamic_cast<QtPrinter*>(&p_oContext.Printers())) {
        printer->SetHost(p_pHost);
    }
}

}  // namespace qv

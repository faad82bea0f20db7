// The platform services of the desktop shell: message boxes, the mouse pointer, yields, modal
// dialogs, the running indicator, the grids' context menus, text measurement and the printer as
// Qt, and the Qt date selector under its ProgID. The clock and the settings stay as the context
// has them.
//
// The services belong to a host widget (the control's window): boxes and dialogs are modal to
// it, the pointer and the running indicator are shown on it. It may be given later, once the
// window exists.
//
//     PlatformContext context;
//     InstallQtServices(context);
//     ScopedPlatform installed(context);
//     ...
//     SetQtServiceHost(context, &viewerWidget);
#pragma once

class QWidget;

namespace qv {

class PlatformContext;

// Needs a QApplication.
void InstallQtServices(PlatformContext& p_oContext, QWidget* p_pHost = nullptr);
// Gives the Qt services installed in p_oContext their host; services of other kinds are left.
void SetQtServiceHost(PlatformContext& p_oContext, QWidget* p_pHost);

}  // namespace qv

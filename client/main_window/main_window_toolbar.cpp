// The main window's six toolbar buttons and the commands they run.
#include <QApplication>
#include <QCursor>

#include "client/main_window/main_window.h"
#include "client/ui/artwork.h"
#include "client/ui/control_ids.h"
#include "client/ui/strings.h"
#include "client/ui/toolbar.h"

namespace stk::client {

void MainWindow::build_toolbar() {
    toolbar_ = new Toolbar(this);
    toolbar_->setObjectName(QStringLiteral("toolbar"));
    client_->setMouseTracking(true);
    toolbar_->invalidate = [this](const QRect& r) { client_->update(r); };
    toolbar_->run_command = [this](int index, int command) { run_toolbar_command(index, command); };
    toolbar_->pointer_on_surface = [this] {
        const QPoint global = QCursor::pos();
        QWidget* under = QApplication::widgetAt(global);
        if (under != client_ && under != toolbar_band_) return false;
        const QPoint at = client_->mapFromGlobal(global);
        return at.x() >= 0 && at.y() >= 0 && at.x() <= client_->width() && at.y() <= client_->height();
    };
    const QPixmap band = toolbar_band_picture();
    for (const MainToolbarEntry& e : kMainToolbar) {
        const int index =
            toolbar_->add_button(e.command, e.left, kToolbarButtonTop, kToolbarButtonWidth, kToolbarButtonHeight, 0, 1);
        toolbar_->set_bitmaps(index, band, toolbar_picture(e.hot_bitmap), toolbar_picture(e.pressed_bitmap));
    }
}

void MainWindow::run_toolbar_command(int index, int command) {
    switch (command) {
        case kToolbarPrevious:
            if (on_previous_invoice) on_previous_invoice();
            break;
        case kToolbarNext:
            if (on_next_invoice) on_next_invoice();
            break;
        case kToolbarNewInvoice:
            if (on_new_invoice && on_new_invoice() != 1) show_string(this, str::kCheckServer, MsgIcon::Information);
            break;
        case kToolbarRefresh: run_command(ids::kMenuRefresh); break;
        case kToolbarInvoices:
            if (on_invoices_window) on_invoices_window();
            break;
        case kToolbarPrint:
            // Printing may open dialogs and take a while; the button should not stay lit meanwhile.
            toolbar_->draw_button(index, Toolbar::kRest);
            if (on_print_invoice) on_print_invoice();
            break;
        default: break;
    }
}

}  // namespace stk::client

// The menu bar: File, View (with Reports) and Help, each command by its id.
#include <QAction>
#include <QMenu>
#include <QMenuBar>

#include "client/main_window/main_window.h"
#include "client/ui/control_ids.h"

namespace stk::client {

void MainWindow::build_menu() {
    auto add = [&](QMenu* menu, const char* text, int id) {
        QAction* a = menu->addAction(QString::fromLatin1(text));
        a->setData(id);
        a->setObjectName(QStringLiteral("menu%1").arg(id));
        actions_[id] = a;
        connect(a, &QAction::triggered, this, [this, id] { run_command(id); });
        return a;
    };
    QMenu* file = menuBar()->addMenu(QStringLiteral("&File"));
    add(file, "New Invoice...", ids::kMenuNewInvoice);
    add(file, "Import Items...", ids::kMenuImportItems);
    add(file, "&Print...", ids::kMenuPrint);
    add(file, "Print Preview...", ids::kMenuPrintPreview);
    file->addSeparator();
    add(file, "E&xit", ids::kMenuExit);
    QMenu* view = menuBar()->addMenu(QStringLiteral("&View"));
    add(view, "Refresh", ids::kMenuRefresh);
    view->addSeparator();
    add(view, "Contacts", ids::kMenuContacts);
    add(view, "Invoices", ids::kMenuInvoices);
    add(view, "Messages", ids::kMenuMessages);
    reports_menu_ = view->addMenu(QStringLiteral("Reports"));
    add(reports_menu_, "Sales", ids::kMenuSalesReport)->setEnabled(false);
    add(reports_menu_, "Non-Inventory Sales", ids::kMenuNonInventorySalesReport);
    add(reports_menu_, "Suggested Order", ids::kMenuSuggestedOrderReport);
    QMenu* help = menuBar()->addMenu(QStringLiteral("&Help"));
    add(help, "View Help", ids::kMenuViewHelp);
    add(help, "About Stockavelle Inventory And Invoice Management System", ids::kMenuAbout);
}

void MainWindow::set_sales_report_enabled(bool enabled) { actions_[ids::kMenuSalesReport]->setEnabled(enabled); }

}  // namespace stk::client

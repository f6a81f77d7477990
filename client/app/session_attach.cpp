#include "client/app/session_attach.h"

#include <QGuiApplication>
#include <QScreen>

#include "client/app/session.h"
#include "client/main_window/main_window.h"
#include "client/ui/text_1252.h"

namespace stk::client {

void attach_session(MainWindow& window) {
    if (QScreen* screen = QGuiApplication::primaryScreen()) {
        const QRect area = screen->geometry();
        session().invoices_window_placement =
            QRect(area.x() + (area.width() - 790) / 2, area.y() + (area.height() - 400) / 2, 790, 400);
    }
    window.default_tax_percent = [] { return field_text(session().settings.tax_percentage); };
    window.help_file = [] {
        const ClientSession& s = session();
        return s.help_path.isEmpty() ? s.files_folder + QStringLiteral("/Documentation/documentation.html")
                                     : s.help_path;
    };
    window.registered_company = [] { return field_text(session().settings.company_name); };
    window.on_close = [] { session().release_arrays(); };
}

}  // namespace stk::client

#include <QApplication>
#include <clocale>

#include "client/app/sale_attach.h"
#include "client/app/session_attach.h"
#include "client/app/startup.h"
#include "client/main_window/main_window.h"

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    // QApplication took the user's locale; record numbers are written and read in the "C" form.
    std::setlocale(LC_NUMERIC, "C");
    QApplication::setApplicationName(QStringLiteral("Stockavelle"));
    stk::client::StartupOptions options = stk::client::parse_command_line(QApplication::arguments().mid(1));
    options.program_folder = QApplication::applicationDirPath();

    stk::client::MainWindow window;
    stk::client::attach_session(window);
    window.show();
    if (!stk::client::run_startup(window, options, [&window] { stk::client::attach_sale(window); })) return 0;
    return app.exec();
}

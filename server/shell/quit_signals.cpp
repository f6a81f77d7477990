#include "server/shell/quit_signals.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/socket.h>
#include <unistd.h>

#include <QCoreApplication>
#include <QSocketNotifier>

namespace stk::server {

namespace {

int g_signal_fds[2] = {-1, -1};

void on_signal(int) {
    const char byte = 1;
    [[maybe_unused]] const ssize_t n = ::write(g_signal_fds[0], &byte, 1);
}

}  // namespace

bool quit_on_termination_signals(QCoreApplication& app) {
    if (::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, g_signal_fds) != 0) return false;
    ::fcntl(g_signal_fds[0], F_SETFL, O_NONBLOCK);
    auto* notifier = new QSocketNotifier(g_signal_fds[1], QSocketNotifier::Read, &app);
    QObject::connect(notifier, &QSocketNotifier::activated, &app, [&app]() {
        char buffer[16];
        [[maybe_unused]] const ssize_t n = ::read(g_signal_fds[1], buffer, sizeof buffer);
        app.quit();
    });
    struct sigaction sa {};
    sa.sa_handler = on_signal;
    sigemptyset(&sa.sa_mask);
    sa.sa_flags = SA_RESTART;
    ::sigaction(SIGTERM, &sa, nullptr);
    ::sigaction(SIGINT, &sa, nullptr);
    // A client that goes away mid-answer must not end the server.
    ::signal(SIGPIPE, SIG_IGN);
    return true;
}

}  // namespace stk::server

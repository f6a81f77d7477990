#include "tests/support/server_process.h"

#include <signal.h>

#include <QDeadlineTimer>
#include <QCoreApplication>
#include <QDir>
#include <atomic>
#include <cstdlib>

#include "platform/local_pipe.h"

namespace stk::test {

namespace {

constexpr const char* kReadyLine = "Server initialization complete. Waiting for a client request\r\n";
constexpr const char* kFailureLine = "Server initialization failure. Please restart Stockavelle Server.\r\n";

QTemporaryDir& pipe_dir() {
    static QTemporaryDir dir(QDir::tempPath() + "/stk-pipes-XXXXXX");
    return dir;
}

}  // namespace

std::string test_pipe_folder() {
    static const std::string folder = [] {
        const std::string path = pipe_dir().path().toStdString();
        ::setenv(platform::kPipeFolderVariable, path.c_str(), 1);
        return path;
    }();
    return folder;
}

std::string unique_server_name(std::string_view prefix) {
    static std::atomic<int> counter{0};
    return std::string(prefix) + "-" + std::to_string(QCoreApplication::applicationPid()) + "-" +
           std::to_string(++counter);
}

ServerProcess::ServerProcess() : dir_(QDir::tempPath() + "/stk-server-XXXXXX") {
    test_pipe_folder();
    set_ = root() + "/set";
    app_data_ = root() + "/appdata";
    QDir().mkpath(QString::fromStdString(app_data_));
    name_ = unique_server_name("srv");
    api_ = std::make_unique<client::ServerApi>(client::ServerAddress{name_, ""}, "stockavelle client 1.0");
    api_->read_timeout_ms = 20000;
}

ServerProcess::~ServerProcess() {
    if (running()) {
        stop();
        if (running()) kill();
    }
}

std::string ServerProcess::root() const { return dir_.path().toStdString(); }

std::string ServerProcess::pipe_path() const { return platform::local_pipe_path(name_); }

void ServerProcess::set_server_name(std::string name) {
    name_ = std::move(name);
    api_->set_address(client::ServerAddress{name_, ""});
}

client::ServerApi ServerProcess::make_api(std::string client_name) const {
    client::ServerApi api(client::ServerAddress{name_, ""}, std::move(client_name));
    api.read_timeout_ms = 20000;
    return api;
}

bool ServerProcess::running() const { return process_ && process_->state() != QProcess::NotRunning; }

qint64 ServerProcess::pid() const { return running() ? process_->processId() : 0; }

void ServerProcess::drain() {
    if (!process_) return;
    if (running()) {
        while (process_->waitForReadyRead(0)) {
        }
    }
    const QByteArray out = process_->readAllStandardOutput();
    out_.append(out.constData(), static_cast<std::size_t>(out.size()));
    const QByteArray err = process_->readAllStandardError();
    err_.append(err.constData(), static_cast<std::size_t>(err.size()));
}

std::string ServerProcess::log() {
    drain();
    return out_;
}

std::string ServerProcess::errors() {
    drain();
    return err_;
}

bool ServerProcess::wait_for_log(std::string_view text, int timeout_ms, std::size_t from) {
    QDeadlineTimer deadline(timeout_ms);
    for (;;) {
        drain();
        if (out_.size() > from && out_.find(text, from) != std::string::npos) return true;
        if (deadline.hasExpired() || !running()) {
            drain();
            return out_.size() > from && out_.find(text, from) != std::string::npos;
        }
        process_->waitForReadyRead(50);
    }
}

int ServerProcess::count_of(std::string_view haystack, std::string_view text) {
    int n = 0;
    for (auto at = haystack.find(text); at != std::string_view::npos; at = haystack.find(text, at + text.size())) ++n;
    return n;
}

bool ServerProcess::wait_for_count(std::string_view text, int n, int timeout_ms) {
    QDeadlineTimer deadline(timeout_ms);
    for (;;) {
        drain();
        if (count_of(out_, text) >= n) return true;
        if (deadline.hasExpired() || !running()) {
            drain();
            return count_of(out_, text) >= n;
        }
        process_->waitForReadyRead(50);
    }
}

bool ServerProcess::start(int timeout_ms) {
    if (running()) return false;
    process_ = std::make_unique<QProcess>();
    out_.clear();
    err_.clear();
    exit_code_ = -1;
    QStringList args{"--headless"};
    if (args_override.empty()) {
        args << "--database-set" << QString::fromStdString(set_) << "--server-name" << QString::fromStdString(name_);
    } else {
        for (const auto& a : args_override) args << QString::fromStdString(a);
    }
    for (const auto& a : extra_args) args << QString::fromStdString(a);
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(platform::kPipeFolderVariable, QString::fromStdString(test_pipe_folder()));
    env.insert("STOCKAVELLE_APPDATA", QString::fromStdString(app_data_));
    for (const QString& key : environment.keys()) env.insert(key, environment.value(key));
    process_->setProcessEnvironment(env);
    process_->start(program.isEmpty() ? QStringLiteral(STOCKAVELLE_SERVER_PATH) : program, args);
    if (!process_->waitForStarted(timeout_ms)) return false;

    QDeadlineTimer deadline(timeout_ms);
    for (;;) {
        drain();
        if (out_.find(kReadyLine) != std::string::npos) return true;
        if (out_.find(kFailureLine) != std::string::npos) return false;
        if (!running()) {
            exit_code_ = process_->exitCode();
            return false;
        }
        if (deadline.hasExpired()) return false;
        process_->waitForReadyRead(50);
    }
}

int ServerProcess::run_to_exit(int timeout_ms) {
    if (start(timeout_ms)) {
        // It started after all; this run was meant to end by itself.
        return -1;
    }
    if (running() && !process_->waitForFinished(timeout_ms)) return -1;
    drain();
    exit_code_ = process_->exitStatus() == QProcess::NormalExit ? process_->exitCode() : -1;
    return exit_code_;
}

bool ServerProcess::stop(int timeout_ms) {
    if (!process_) return false;
    if (running()) {
        ::kill(static_cast<pid_t>(process_->processId()), SIGTERM);
        if (!process_->waitForFinished(timeout_ms)) return false;
    }
    drain();
    exit_code_ = process_->exitStatus() == QProcess::NormalExit ? process_->exitCode() : -1;
    return exit_code_ == 0;
}

bool ServerProcess::restart() { return stop() && start(); }

void ServerProcess::kill() {
    if (!running()) return;
    process_->kill();
    process_->waitForFinished(10000);
    drain();
    exit_code_ = -1;
}

}  // namespace stk::test

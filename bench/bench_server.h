// A headless StockavelleServer for the transport benchmarks: started on a database set and socket folder of
// the benchmark's own, its activity log collected from standard output.
#pragma once

#include <signal.h>

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QProcess>
#include <QStringList>
#include <cstring>
#include <memory>
#include <string>
#include <string_view>

#include "common/protocol.h"
#include "common/records.h"
#include "common/text_field.h"
#include "platform/local_pipe.h"

namespace stk::bench {

inline constexpr const char* kBenchClientName = "stockavelle client 1.0";

// A request header with nothing but its opcode, as a till would send it.
inline std::string request_bytes(int opcode) {
    RequestHeader h;
    std::memset(&h, 0, sizeof h);
    h.version = kProtocolVersion;
    set_field(h.client_name, kBenchClientName);
    h.opcode = opcode;
    return std::string(reinterpret_cast<const char*>(&h), sizeof h);
}

class BenchServer {
public:
    // `root` holds the set ("set"), the socket folder ("pipes") and the app-data folder ("appdata").
    // `program` empty: the StockavelleServer next to the benchmark.
    BenchServer(std::string root, std::string program = {}) : root_(std::move(root)), program_(std::move(program)) {}

    // Starts the server as `name` with `extra_args`; true once it logged that initialization is complete.
    bool start(const std::string& name, const QStringList& extra_args = {}) {
        process_ = std::make_unique<QProcess>();
        log_.clear();
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(platform::kPipeFolderVariable, QString::fromStdString(root_ + "/pipes"));
        env.insert("STOCKAVELLE_APPDATA", QString::fromStdString(root_ + "/appdata"));
        process_->setProcessEnvironment(env);
        process_->setProcessChannelMode(QProcess::SeparateChannels);
        const QString program = program_.empty()
                                    ? QCoreApplication::applicationDirPath() + QStringLiteral("/StockavelleServer")
                                    : QString::fromStdString(program_);
        QStringList args = {"--headless", "--database-set", QString::fromStdString(root_ + "/set"), "--server-name",
                            QString::fromStdString(name)};
        process_->start(program, args + extra_args);
        QDeadlineTimer deadline(20000);
        while (!deadline.hasExpired() && process_->state() != QProcess::NotRunning) {
            drain(200);
            if (log_.find("Server initialization complete.") != std::string::npos) return true;
        }
        return false;
    }
    void drain(int wait_ms) {
        process_->waitForReadyRead(wait_ms);
        const QByteArray out = process_->readAllStandardOutput();
        log_.append(out.constData(), static_cast<std::size_t>(out.size()));
    }
    // SIGTERM; true when the server ended with status 0.
    bool stop() {
        ::kill(static_cast<pid_t>(process_->processId()), SIGTERM);
        const bool ended = process_->waitForFinished(20000);
        drain(0);
        return ended && process_->exitCode() == 0;
    }
    int count(std::string_view text) const {
        int n = 0;
        for (auto at = log_.find(text); at != std::string::npos; at = log_.find(text, at + text.size())) ++n;
        return n;
    }
    const std::string& log() const { return log_; }

private:
    std::string root_;
    std::string program_;
    std::unique_ptr<QProcess> process_;
    std::string log_;
};

}  // namespace stk::bench

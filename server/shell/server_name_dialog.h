// Dialog 102: the name under which the server listens, asked for just before it starts listening.
#pragma once

#include <QDialog>
#include <string>

#include "server/shell/startup_ui.h"

class QLineEdit;

namespace stk::server {

class ServerNameDialog : public QDialog {
    Q_OBJECT

public:
    static constexpr int kNameEdit = 1000;
    static constexpr int kStartButton = 1008;
    static constexpr int kExitButton = 1018;
    static constexpr int kMaxNameLength = 31;

    ServerNameDialog(QWidget* parent, const std::string& name);

    // Start (with the typed text in name()), Exit, or Closed for the close box and Escape.
    ServerNameOutcome outcome() const { return outcome_; }
    std::string name() const;

private:
    QLineEdit* edit_ = nullptr;
    ServerNameOutcome outcome_ = ServerNameOutcome::Closed;
};

}  // namespace stk::server

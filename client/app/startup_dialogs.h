// The dialogs of start-up and of waiting for the server: the data-set dialog (145), the company and
// connection dialog (137) and the "Attempting to connect" dialog (131).
#pragma once

#include <QDialog>
#include <QString>
#include <map>
#include <memory>

class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QTimer;

namespace stk::client {

class MainWindow;
struct ClientSettings;
struct ServerAddress;
class ServerApi;

// Dialog 145. Its result: kChosen when a data set is known, kExit for Exit, Rejected for the close box.
class DataSetDialog : public QDialog {
    Q_OBJECT
public:
    enum { kChosen = 2, kExit = 3 };
    DataSetDialog(QWidget* owner, QString program_folder);

    QString path() const { return path_; }
    void set_path(const QString& path);
    QLineEdit* path_edit() const { return path_edit_; }
    QPushButton* button(int id) const;

    // Runs the create command (1114) / open command (1113) as if clicked.
    void create_new();
    void open_existing();

private:
    QString program_folder_;
    QString path_;
    QLineEdit* path_edit_ = nullptr;
    std::map<int, QPushButton*> buttons_;
};

// Result of the data-set step of start-up.
enum class DataSetOutcome { Chosen, Exit };
// Reads the pointer file; with no data set known runs the create command at once; then shows dialog 145
// unless a data set was created that way. The close box without a known data set ends start-up like Exit
// (going on would scatter the data-set files into the working folder).
DataSetOutcome choose_data_set(QWidget* owner, const QString& program_folder, QString* data_set);

// Dialog 137: company details and how to reach the server, edited into a copy of the settings.
class CompanyDialog : public QDialog {
    Q_OBJECT
public:
    enum { kContinue = QDialog::Accepted, kExit = 3 };
    CompanyDialog(QWidget* owner, const ClientSettings& settings);

    QLineEdit* edit(int id) const;
    QCheckBox* remote_check() const { return remote_; }
    QPushButton* button(int id) const;
    // The edits read back into `settings` (each cut to its field), with the check box's TRUE/FALSE.
    void read_into(ClientSettings& settings) const;

private:
    std::map<int, QLineEdit*> edits_;
    std::map<int, QPushButton*> buttons_;
    QCheckBox* remote_ = nullptr;
};

// Shows dialog 137 for the session's settings; on Continue applies them to the session and the window and
// saves the settings file. false when Exit was chosen.
bool run_company_dialog(MainWindow* window);

// The "Attempting to connect" text for these settings.
QString wait_dialog_text(const ClientSettings& settings);

// Dialog 131: retries every 500 ms without blocking its window until the server accepts a connection
// (result 1) or the user cancels (result 0).
class WaitDialog : public QDialog {
    Q_OBJECT
public:
    // An attempt that has not connected after this long is given up and made again.
    static constexpr int kAttemptLimitMs = 2000;
    WaitDialog(QWidget* owner, const QString& text, const ServerAddress& address);
    ~WaitDialog() override;
    QLabel* text_label() const { return text_; }
    QPushButton* cancel_button() const { return cancel_; }
    QTimer* retry_timer() const { return timer_; }

protected:
    void reject() override;

private:
    void try_once();
    struct Probe;
    std::unique_ptr<Probe> probe_;
    QLabel* text_ = nullptr;
    QPushButton* cancel_ = nullptr;
    QTimer* timer_ = nullptr;
};

// Makes `api` show the wait dialog (owned by the active window) whenever the server cannot be reached.
void install_wait_dialog(ServerApi& api, const ClientSettings* settings);

}  // namespace stk::client

// The dialogs of start-up: the data-set dialog (145) and the company and connection dialog (137).
#pragma once

#include <QDialog>
#include <QString>
#include <map>

class QCheckBox;
class QLineEdit;
class QPushButton;

namespace stk::client {

class MainWindow;
struct ClientSettings;

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

}  // namespace stk::client

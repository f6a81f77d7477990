#include "client/app/startup_dialogs.h"

#include <QCheckBox>
#include <QFile>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "client/api/server_api.h"
#include "client/app/client_settings.h"
#include "client/app/data_set.h"
#include "client/app/session.h"
#include "client/main_window/main_window.h"
#include "client/ui/control_ids.h"
#include "client/ui/dialog_seam.h"
#include "client/ui/id_lookup.h"
#include "client/ui/strings.h"
#include "client/ui/text_1252.h"
#include "platform/shop_key.h"

namespace stk::client {

// ---- Dialog 145 ---------------------------------------------------------------------------------------

DataSetDialog::DataSetDialog(QWidget* owner, QString program_folder)
    : QDialog(owner), program_folder_(std::move(program_folder)) {
    setObjectName(QStringLiteral("dialog145"));
    setWindowTitle(QStringLiteral("Stockavelle Inventory And Invoice Management System Client"));
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(
        new QLabel(QStringLiteral("Contacts, Price Files, Receipt Layouts, Reports, and Images Location"), this));
    path_edit_ = new QLineEdit(this);
    path_edit_->setObjectName(QStringLiteral("control1117"));
    path_edit_->setReadOnly(true);
    path_edit_->setMinimumWidth(460);
    layout->addWidget(path_edit_);
    auto add = [&](int id, const char* text) {
        auto* b = new QPushButton(QString::fromLatin1(text), this);
        b->setObjectName(QStringLiteral("control%1").arg(id));
        buttons_[id] = b;
        return b;
    };
    // Every button keeps its auto-default, so that Enter presses the focused one ("Exit" exits); OK is
    // pressed when the focus is elsewhere.
    layout->addWidget(add(1114, "Create a new set of contacts, price files, receipt layouts, and reports..."));
    layout->addWidget(add(1113, "Open an existing set of contacts, price files, receipt layouts, and reports..."));
    auto* row = new QHBoxLayout;
    row->addStretch();
    QPushButton* ok = add(1088, "OK");
    ok->setDefault(true);
    ok->setEnabled(false);
    row->addWidget(ok);
    row->addWidget(add(1102, "Exit"));
    layout->addLayout(row);

    connect(buttons_[1114], &QPushButton::clicked, this, &DataSetDialog::create_new);
    connect(buttons_[1113], &QPushButton::clicked, this, &DataSetDialog::open_existing);
    connect(ok, &QPushButton::clicked, this, [this] { done(kChosen); });
    connect(buttons_[1102], &QPushButton::clicked, this, [this] { done(kExit); });
}

void DataSetDialog::set_path(const QString& path) {
    path_ = path;
    path_edit_->setText(path);
    buttons_[1088]->setEnabled(!path.isEmpty());
}

QPushButton* DataSetDialog::button(int id) const { return find_by_id(buttons_, id); }

void DataSetDialog::create_new() {
    QString chosen;
    if (create_data_set(this, program_folder_, &chosen)) {
        set_path(chosen);
        done(kChosen);
    }
}

void DataSetDialog::open_existing() {
    QString chosen;
    if (choose_existing_data_set(this, &chosen)) {
        set_path(chosen);
        done(kChosen);
    }
}

DataSetOutcome choose_data_set(QWidget* owner, const QString& program_folder, QString* data_set) {
    DataSetDialog dialog(owner, program_folder);
    QString known;
    if (read_pointer_file(&known) && !known.isEmpty()) {
        dialog.set_path(known);
    } else {
        QString chosen;
        if (create_data_set(&dialog, program_folder, &chosen)) {
            *data_set = chosen;
            return DataSetOutcome::Chosen;
        }
    }
    const int result = DialogSeam::exec(dialog);
    if (result == DataSetDialog::kExit || dialog.path().isEmpty()) return DataSetOutcome::Exit;
    *data_set = dialog.path();
    return DataSetOutcome::Chosen;
}

// ---- Dialog 137 ---------------------------------------------------------------------------------------

namespace {

struct CompanyField {
    int id;
    const char* label;
};

constexpr CompanyField kCompanyFields[] = {
    {1081, "Window Title"}, {1071, "Company Name"}, {1073, "Address"},      {1074, "City"},
    {1075, "State"},        {1078, "Zip Code"},     {1079, "Phone Number"}, {1080, "Tax Percentage"},
};

// Every edit of the dialog with the setting it shows.
template <class Settings, class Fn>
void for_each_setting_edit(Settings& s, Fn fn) {
    fn(1081, s.window_title);
    fn(1071, s.company_name);
    fn(1073, s.address);
    fn(1074, s.city);
    fn(1075, s.state);
    fn(1078, s.zip_code);
    fn(1079, s.phone_number);
    fn(1080, s.tax_percentage);
    fn(1087, s.server_name);
    fn(1072, s.remote_computer_name);
}

}  // namespace

CompanyDialog::CompanyDialog(QWidget* owner, const ClientSettings& s) : QDialog(owner) {
    setObjectName(QStringLiteral("dialog137"));
    setWindowTitle(kCaption);
    auto* layout = new QVBoxLayout(this);
    auto* company = new QGroupBox(QStringLiteral("Company Information"), this);
    auto* form = new QFormLayout(company);
    auto make_edit = [&](int id) {
        auto* e = new QLineEdit(this);
        e->setObjectName(QStringLiteral("control%1").arg(id));
        edits_[id] = e;
        return e;
    };
    for (const CompanyField& f : kCompanyFields) form->addRow(QString::fromLatin1(f.label), make_edit(f.id));
    layout->addWidget(company);

    auto* connection = new QGroupBox(QStringLiteral("Connection Settings"), this);
    auto* cform = new QFormLayout(connection);
    cform->addRow(QStringLiteral("Stockavelle Server Name"), make_edit(1087));
    remote_ = new QCheckBox(QStringLiteral("Connect to Stockavelle Server on a remote computer:"), this);
    remote_->setObjectName(QStringLiteral("control1076"));
    cform->addRow(remote_);
    cform->addRow(QStringLiteral("Remote Computer Network Name"), make_edit(1072));
    layout->addWidget(connection);

    auto* row = new QHBoxLayout;
    row->addStretch();
    auto add = [&](int id, const char* text) {
        auto* b = new QPushButton(QString::fromLatin1(text), this);
        b->setObjectName(QStringLiteral("control%1").arg(id));
        buttons_[id] = b;
        row->addWidget(b);
        return b;
    };
    // Enter presses the focused button, "Continue" when the focus is in an edit.
    add(1, "Continue")->setDefault(true);
    add(1102, "Exit");
    layout->addLayout(row);
    setMinimumWidth(520);

    // Each edit takes what its setting can hold, so that what is typed or pasted is what is kept.
    for_each_setting_edit(s, [this](int id, const auto& f) {
        edits_[id]->setMaxLength(static_cast<int>(sizeof f) - 1);
        edits_[id]->setText(field_text(f));
    });
    remote_->setChecked(s.remote());
    edits_[1072]->setEnabled(remote_->isChecked());

    connect(remote_, &QCheckBox::toggled, this, [this](bool on) { edits_[1072]->setEnabled(on); });
    connect(buttons_[1], &QPushButton::clicked, this, [this] { done(kContinue); });
    connect(buttons_[1102], &QPushButton::clicked, this, [this] { done(kExit); });
}

QLineEdit* CompanyDialog::edit(int id) const { return find_by_id(edits_, id); }

QPushButton* CompanyDialog::button(int id) const { return find_by_id(buttons_, id); }

void CompanyDialog::read_into(ClientSettings& s) const {
    for_each_setting_edit(s, [this](int id, auto& f) { set_field_text(f, edits_.at(id)->text()); });
    set_field(s.connect_to_remote_computer, remote_->isChecked() ? "TRUE" : "FALSE");
}

namespace {

// A till on another computer than its server proves it belongs to the shop with the server's key; without it
// every request would wait for a connection that cannot be made. (Start-up goes on: the key may be copied in
// while the waiting dialog retries.)
void tell_when_the_shop_key_is_missing(QWidget* owner) {
    const ClientSession& s = session();
    std::string why;
    if (!platform::read_shop_key(s.api.address().shop_key_file, &why).empty()) return;
    DialogSeam::message(owner,
                        QStringLiteral("This till connects to Stockavelle Server on another computer and needs the "
                                       "shop's key for that.\r\n") +
                            QString::fromLocal8Bit(why.c_str()) +
                            QStringLiteral("\r\n\r\nCopy the file \"%1\" from the server's database set into "
                                           "this till's data set:\r\n%2")
                                .arg(QString::fromLatin1(platform::kShopKeyFileName), s.data_set),
                        MsgIcon::Error, MsgButtons::Ok, MsgAnswer::Ok);
}

}  // namespace

bool run_company_dialog(MainWindow* window) {
    ClientSession& s = session();
    CompanyDialog dialog(window, s.settings);
    const int result = DialogSeam::exec(dialog);
    // The close box ends start-up like Exit: the connection was never confirmed.
    if (result != CompanyDialog::kContinue) return false;
    dialog.read_into(s.settings);
    if (window) {
        window->set_sales_report_enabled(s.settings.sales_report_enabled());
        if (s.settings.window_title[0] != '\0') window->setWindowTitle(field_text(s.settings.window_title));
    }
    if (s.settings.server_name[0] == '\0') set_field(s.settings.server_name, kDefaultServerName);
    if (s.settings.client_name[0] == '\0') set_field(s.settings.client_name, kDefaultClientName);
    s.apply_connection_settings();
    if (s.settings.remote()) tell_when_the_shop_key_is_missing(window);
    if (window) window->edit(ids::kTaxPercent)->setText(field_text(s.settings.tax_percentage));
    // What was entered stays in force for this run either way; the user is told that the next start will
    // not know it.
    if (write_settings_file(QFile::encodeName(s.settings_path).toStdString(), s.settings) != 1)
        show_text(window, text::kCannotSaveSettings, MsgIcon::Error, QStringLiteral("\r\n") + s.settings_path);
    return true;
}

}  // namespace stk::client

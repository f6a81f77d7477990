#include "client/app/data_set.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <cstring>

#include "client/app/session.h"
#include "client/ui/dialog_seam.h"
#include "client/ui/strings.h"
#include "platform/app_data.h"
#include "platform/durable_file.h"

namespace stk::client {

namespace {

constexpr qint64 kPointerFileLimit = 261;

std::string encoded(const QString& path) { return QFile::encodeName(path).toStdString(); }

QString join(const QString& folder, const QString& name) {
    return folder.isEmpty() ? name : folder + QLatin1Char('/') + name;
}

}  // namespace

QString pointer_file_path() {
    const std::string folder = platform::app_data_subfolder("Stockavelle 1.0.1");
    if (folder.empty()) return QString();
    return QFile::decodeName(QByteArray::fromStdString(folder)) + QStringLiteral("/Client Settings.txt");
}

bool read_pointer_file(QString* path) {
    const QString file_path = pointer_file_path();
    if (file_path.isEmpty()) return false;
    QFile file(file_path);
    if (!file.open(QIODevice::ReadOnly)) return false;
    if (file.size() >= kPointerFileLimit) return false;
    const QByteArray bytes = file.readAll();
    if (bytes.size() != file.size()) return false;
    *path = QFile::decodeName(bytes);
    return true;
}

bool write_pointer_file(const QString& path) {
    const QString file_path = pointer_file_path();
    if (file_path.isEmpty()) return false;
    return platform::write_file_durably(encoded(file_path), QFile::encodeName(path).toStdString());
}

bool make_data_set(const QString& folder, const QString& program_folder) {
    QDir dir(folder);
    bool all_created = true;
    for (const char* sub : {"Price Files", "Receipt Layouts", "Reports", "Reports/Inventory Images"}) {
        if (!dir.mkdir(QString::fromLatin1(sub))) all_created = false;
    }
    static const char* const kCopies[][2] = {
        {"default client settings.txt", "stockavelle client settings.txt"},
        {"Default Layout.txt", "Receipt Layouts/Default Layout.txt"},
        {"80mm Receipt.txt", "Receipt Layouts/80mm Receipt.txt"},
        {"sales report.xsl", "Reports/sales report.xsl"},
        {"non-inventory sales report.xsl", "Reports/non-inventory sales report.xsl"},
        {"suggested order report.xsl", "Reports/suggested order report.xsl"},
    };
    for (const auto& copy : kCopies) {
        // QFile::copy never overwrites an existing file; a failed copy is not an error.
        QFile::copy(join(program_folder, QString::fromLatin1(copy[0])), join(folder, QString::fromLatin1(copy[1])));
    }
    return all_created;
}

bool create_data_set(QWidget* owner, const QString& program_folder, QString* chosen) {
    const QString folder = DialogSeam::choose_folder(
        owner, QStringLiteral("Please select a location to save your contacts, price files, report layouts and "
                              "receipt layouts."));
    if (folder.isEmpty() || !QFileInfo(folder).isDir()) return false;
    const QString clean = QDir::cleanPath(folder);
    if (!make_data_set(clean, program_folder)) {
        show_string(owner, str::kCannotSaveCompany, MsgIcon::Error, MsgButtons::Ok, MsgAnswer::Ok,
                    QStringLiteral("\r\n") + clean);
        return false;
    }
    *chosen = clean;
    return true;
}

bool choose_existing_data_set(QWidget* owner, QString* chosen) {
    const QString folder = DialogSeam::choose_folder(
        owner, QStringLiteral("Please select the location of your contacts, price files, report layouts and "
                              "receipt layouts."));
    if (folder.isEmpty()) return false;
    *chosen = QDir::cleanPath(folder);
    return true;
}

bool load_settings(QWidget* owner) {
    ClientSession& s = session();
    s.settings_path = s.data_set_file(QStringLiteral("stockavelle client settings.txt"));
    s.help_path = join(s.files_folder, QStringLiteral("Documentation/documentation.html"));
    s.server_path = join(s.program_folder, QStringLiteral("StockavelleServer"));
    if (!s.data_set.isEmpty()) {
        s.contacts_path = s.data_set_file(QStringLiteral("contacts.txt"));
        s.default_layout_path = s.data_set_file(QStringLiteral("Receipt Layouts/Default Layout.txt"));
        s.sales_report_path = s.data_set_file(QStringLiteral("Reports/sales report.xml"));
        s.non_inventory_sales_report_path = s.data_set_file(QStringLiteral("Reports/non-inventory sales report.xml"));
        s.suggested_order_report_path = s.data_set_file(QStringLiteral("Reports/suggested order report.xml"));
    }
    std::strcpy(s.settings.row_height, "0.14");
    read_settings_file(encoded(s.settings_path), s.settings);
    if (!s.reserve_arrays()) {
        s.release_arrays();
        show_string(owner, str::kCannotReserveMemory, MsgIcon::Warning);
        return false;
    }
    return true;
}

}  // namespace stk::client

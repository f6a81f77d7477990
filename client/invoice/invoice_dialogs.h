// Dialog 126 "Enter Your Identification" and dialog 143 "Customer". Each control's object name is its
// resource id, so that tests answering through the dialog seam can find it ("1050", "1092", ...).
#pragma once

#include <QDialog>
#include <QString>
#include <array>

class QLineEdit;

namespace stk::client {

class SalespersonDialog : public QDialog {
    Q_OBJECT
public:
    static constexpr int kEdit = 1050, kOk = 1051, kCancel = 1052;
    explicit SalespersonDialog(QWidget* parent, const QString& salesperson);
    QString salesperson() const;

private:
    QLineEdit* edit_;
};

class CustomerDialog : public QDialog {
    Q_OBJECT
public:
    // Edits in the order of their ids 1092..1098: account number, customer, phone number, address, city,
    // state, zip code.
    static constexpr int kFirstEdit = 1092, kOk = 1088, kCancel = 1089;
    static constexpr int kEdits = 7;
    explicit CustomerDialog(QWidget* parent, const std::array<QString, kEdits>& values);
    QString value(int i) const;

private:
    std::array<QLineEdit*, kEdits> edits_{};
};

}  // namespace stk::client

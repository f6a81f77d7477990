// Dialog 142 "Message": one message's text, at most 255 characters. Each control's object name is its
// resource id.
#pragma once

#include <QDialog>
#include <QString>

class QLineEdit;

namespace stk::client {

class MessageDialog : public QDialog {
    Q_OBJECT
public:
    static constexpr int kEdit = 1086, kOk = 1088, kCancel = 1089;
    static constexpr int kLimit = 255;

    MessageDialog(QWidget* parent, const QString& text);
    QString text() const;
    QLineEdit* edit() const { return edit_; }

private:
    QLineEdit* edit_;
};

}  // namespace stk::client

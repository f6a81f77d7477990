// Help > About (dialog 121): the program's picture and whose copy this is; a left click anywhere closes it.
#pragma once

#include <QDialog>
#include <QPixmap>

namespace stk::client {

class AboutDialog : public QDialog {
public:
    // `company` is the name the copy is registered to; empty leaves that line out. Centred on the parent's
    // screen (or the primary screen).
    AboutDialog(QWidget* parent, const QString& company);

protected:
    void paintEvent(QPaintEvent*) override;
    void mouseReleaseEvent(QMouseEvent* e) override;

private:
    QPixmap picture_;
};

}  // namespace stk::client

// The buttons the client's dialogs share. Each button's object name is its resource id, so tests answering
// through the dialog seam can find it ("1088", ...).
#pragma once

#include <QString>

class QBoxLayout;
class QDialog;
class QPushButton;
class QWidget;

namespace stk::client {

QPushButton* id_button(QWidget* parent, const QString& text, int id);

// OK (the default) and Cancel at the bottom right, under what `layout` holds. Cancel rejects the dialog; OK
// accepts it, unless `ok_accepts` is false, where the caller connects OK to checks of its own. Returns OK.
QPushButton* add_ok_cancel(QDialog* dialog, QBoxLayout* layout, int ok_id, int cancel_id, bool ok_accepts = true);

}  // namespace stk::client

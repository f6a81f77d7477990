// The client's string table: message texts by number, and message boxes that show them.
#pragma once

#include <QString>

#include "client/ui/dialog_seam.h"

class QWidget;

namespace stk::client {

// The text of string N ("" for an unknown number).
QString string_text(int n);

// Shows string N (followed by `suffix`, e.g. "\r\n" + a path) with the client's caption.
MsgAnswer show_string(QWidget* parent, int n, MsgIcon icon, MsgButtons buttons = MsgButtons::Ok,
                      MsgAnswer default_answer = MsgAnswer::Ok, const QString& suffix = QString());

// Yes/No question with string N; true on Yes.
bool ask_string(QWidget* parent, int n, bool yes_is_default);

}  // namespace stk::client

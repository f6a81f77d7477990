#pragma once

#include <QString>
#include <QVariant>

namespace stk::server {

// Dialog controls carry their numeric control id, so tests and scripts find a control by the id users know.
template <class W>
W* with_id(W* widget, int id) {
    widget->setObjectName(QString::number(id));
    widget->setProperty("controlId", id);
    return widget;
}

}  // namespace stk::server

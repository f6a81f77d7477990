// The client's pictures and icons, compiled in from resources/client.
#pragma once

#include <QIcon>
#include <QPixmap>

namespace stk::client {

// Icon resource by its number: 130 (program), 139 (line sold at or below cost), 140 (line sold at profit).
QIcon icon_resource(int id);
// The invoice-lines image list: index 0 = icon 140, index 1 = icon 139.
QIcon small_image(int index);
// The About box picture, 480 x 320.
QPixmap about_picture();

}  // namespace stk::client

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

// The toolbar band behind the main window's toolbar (bitmap 104): 1601 x 55, the six buttons drawn at rest.
QPixmap toolbar_band_picture();
// A toolbar button's hot or pressed picture by its number (hot 108, 113, 119, 133, 115, 114; pressed 109,
// 110, 117, 134, 112, 111), 53 x 52 with the band behind it; a null pixmap for any other number.
QPixmap toolbar_picture(int id);

}  // namespace stk::client

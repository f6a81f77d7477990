#include "client/shell/artwork.h"

static void init_client_resources() { Q_INIT_RESOURCE(client_resources); }

namespace stk::client {

namespace {
void ensure_resources() {
    static const bool done = (init_client_resources(), true);
    (void)done;
}
}  // namespace

QIcon icon_resource(int id) {
    ensure_resources();
    QIcon icon;
    switch (id) {
    case 130:
        for (int size : {16, 32, 48, 64, 256})
            icon.addFile(QStringLiteral(":/stockavelle/client/icon130_%1.png").arg(size), QSize(size, size));
        break;
    case 139: icon.addFile(QStringLiteral(":/stockavelle/client/icon139.png"), QSize(16, 16)); break;
    case 140: icon.addFile(QStringLiteral(":/stockavelle/client/icon140.png"), QSize(16, 16)); break;
    default: break;
    }
    return icon;
}

QIcon small_image(int index) { return icon_resource(index == 0 ? 140 : 139); }

QPixmap about_picture() {
    ensure_resources();
    return QPixmap(QStringLiteral(":/stockavelle/client/about.png"));
}

}  // namespace stk::client

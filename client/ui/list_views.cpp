#include "client/ui/list_views.h"

#include <QAbstractItemView>
#include <QEvent>
#include <QHeaderView>
#include <QKeyEvent>
#include <QTableView>
#include <QTreeView>

namespace stk::client {

namespace {

class ListKeyFilter : public QObject {
public:
    ListKeyFilter(QObject* owner, std::function<void()> on_delete, std::function<void()> on_enter)
        : QObject(owner), on_delete_(std::move(on_delete)), on_enter_(std::move(on_enter)) {}

    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::KeyPress) {
            const int key = static_cast<QKeyEvent*>(event)->key();
            if (key == Qt::Key_Delete) {
                if (on_delete_) on_delete_();
                return true;
            }
            if (key == Qt::Key_Return || key == Qt::Key_Enter) {
                if (on_enter_) on_enter_();
                return true;
            }
        }
        return QObject::eventFilter(watched, event);
    }

private:
    std::function<void()> on_delete_;
    std::function<void()> on_enter_;
};

}  // namespace

QVariant column_alignment(bool right) {
    return QVariant::fromValue(Qt::Alignment((right ? Qt::AlignRight : Qt::AlignLeft) | Qt::AlignVCenter));
}

QVariant column_header(const ListColumn* columns, int count, int section, Qt::Orientation orientation, int role) {
    if (orientation != Qt::Horizontal || section < 0 || section >= count) return {};
    if (role == Qt::DisplayRole) return QString::fromLatin1(columns[section].heading);
    if (role == Qt::TextAlignmentRole) return column_alignment(columns[section].right);
    return {};
}

void set_up_row_list(QTreeView* view) {
    view->setRootIsDecorated(false);
    view->setUniformRowHeights(true);
    view->setAllColumnsShowFocus(true);
    view->setSelectionBehavior(QAbstractItemView::SelectRows);
    view->setSelectionMode(QAbstractItemView::SingleSelection);
    view->setEditTriggers(QAbstractItemView::NoEditTriggers);
    view->header()->setStretchLastSection(false);
}

QHeaderView* header_of(QAbstractItemView* view) {
    if (auto* t = qobject_cast<QTreeView*>(view)) return t->header();
    if (auto* t = qobject_cast<QTableView*>(view)) return t->horizontalHeader();
    return nullptr;
}

void install_list_keys(QAbstractItemView* view, QObject* owner, std::function<void()> on_delete,
                       std::function<void()> on_enter) {
    view->installEventFilter(new ListKeyFilter(owner, std::move(on_delete), std::move(on_enter)));
}

}  // namespace stk::client

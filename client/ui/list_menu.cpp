#include "client/ui/list_menu.h"

#include <QAbstractItemView>
#include <QAction>
#include <QItemSelectionModel>
#include <QMenu>

#include "client/ui/dialog_seam.h"

namespace stk::client {

namespace {

// The hit row becomes current (the list then acts on it), unless it is part of the selection already.
bool take_hit_row(QAbstractItemView* view, const QPoint& pos) {
    const QModelIndex hit = view->indexAt(pos);
    if (!hit.isValid()) return false;
    QItemSelectionModel* selection = view->selectionModel();
    if (!selection || !selection->isRowSelected(hit.row(), hit.parent())) view->setCurrentIndex(hit);
    return true;
}

int run_menu(QAbstractItemView* view, const QPoint& pos, const ListMenuEntries& entries, const ListMenuCommand& run) {
    QMenu menu(view);
    for (const ListMenuEntry& e : entries) {
        if (e.separator) {
            menu.addSeparator();
            continue;
        }
        menu.addAction(QString::fromLatin1(e.text))->setData(e.command);
    }
    QAction* chosen = DialogSeam::popup(menu, view->viewport()->mapToGlobal(pos));
    const int command = chosen ? chosen->data().toInt() : 0;
    if (command != 0 && run) run(command);
    return command;
}

}  // namespace

int show_list_menu(QAbstractItemView* view, const QPoint& pos, const ListMenuEntries& entries,
                   const ListMenuCommand& run) {
    if (!view || !take_hit_row(view, pos)) return 0;
    return run_menu(view, pos, entries, run);
}

void attach_list_menu(QAbstractItemView* view, QObject* owner, std::function<ListMenuEntries()> entries,
                      ListMenuCommand run) {
    view->setContextMenuPolicy(Qt::CustomContextMenu);
    QObject::connect(view, &QWidget::customContextMenuRequested, owner,
                     [view, entries = std::move(entries), run = std::move(run)](const QPoint& pos) {
                         if (!take_hit_row(view, pos)) return;
                         run_menu(view, pos, entries(), run);
                     });
}

void attach_list_menu(QAbstractItemView* view, QObject* owner, ListMenuEntries entries, ListMenuCommand run) {
    attach_list_menu(
        view, owner, [entries = std::move(entries)] { return entries; }, std::move(run));
}

}  // namespace stk::client

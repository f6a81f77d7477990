#include "client/ui/file_picker.h"

#include <QDir>
#include <QFileInfo>
#include <QHeaderView>
#include <QStandardItemModel>
#include <QTreeView>
#include <QVBoxLayout>
#include <algorithm>

#include "client/ui/control_ids.h"
#include "client/ui/dialog_seam.h"
#include "client/ui/list_views.h"

namespace stk::client {

namespace {

constexpr int kShortestName = 5;  // "a.txt": anything shorter has no name in front of ".txt"

bool is_price_file_mode(int mode) {
    return mode == ids::kSearchPriceFile || mode == ids::kCtxUpdatePrices ||
           mode == ids::kCtxUpdateDescriptionsAndPrices;
}

}  // namespace

QString picker_title(int mode) {
    if (is_price_file_mode(mode)) return QStringLiteral("Select a Price File to Search");
    if (mode == ids::kMenuPrint) return QStringLiteral("Select a Layout");
    return {};
}

QString picker_folder(int mode) {
    if (is_price_file_mode(mode)) return QStringLiteral("Price Files");
    if (mode == ids::kMenuPrint) return QStringLiteral("Receipt Layouts");
    return {};
}

std::vector<PickerEntry> picker_entries(const QString& folder) {
    std::vector<PickerEntry> entries;
    const QFileInfoList files = QDir(folder).entryInfoList(QDir::Files, QDir::NoSort);
    for (const QFileInfo& f : files) {
        const QString name = f.fileName();
        if (name.size() < kShortestName || !name.endsWith(QStringLiteral(".txt"), Qt::CaseInsensitive)) continue;
        entries.push_back({name.chopped(4), f.filePath()});
    }
    std::sort(entries.begin(), entries.end(), [](const PickerEntry& a, const PickerEntry& b) {
        const int c = a.name.compare(b.name, Qt::CaseInsensitive);
        return c != 0 ? c < 0 : a.name < b.name;
    });
    return entries;
}

FilePicker::FilePicker(QWidget* parent, const QString& data_set, int mode, Activate on_activate)
    : QDialog(parent), on_activate_(std::move(on_activate)) {
    setWindowTitle(picker_title(mode));
    entries_ = picker_entries(data_set + QLatin1Char('/') + picker_folder(mode));

    model_ = new QStandardItemModel(0, 1, this);
    model_->setHorizontalHeaderLabels({QString()});
    for (const PickerEntry& e : entries_) {
        auto* item = new QStandardItem(e.name);
        item->setEditable(false);
        model_->appendRow(item);
    }

    list_ = new QTreeView(this);
    list_->setObjectName(QString::number(ids::kPickerList));
    list_->setModel(model_);
    list_->setRootIsDecorated(false);
    list_->setUniformRowHeights(true);
    list_->setSelectionMode(QAbstractItemView::SingleSelection);
    list_->setSelectionBehavior(QAbstractItemView::SelectRows);
    list_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    list_->header()->setSectionsClickable(false);
    list_->header()->setStretchLastSection(false);
    list_->header()->resizeSection(0, kPickerColumnWidth);
    // One click opens an entry; the hand says so.
    list_->viewport()->setCursor(Qt::PointingHandCursor);
    connect(list_, &QAbstractItemView::clicked, this, [this](const QModelIndex& i) { activate(i.row()); });
    install_list_keys(list_, this, nullptr, [this] { activate(list_->currentIndex().row()); });

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(list_);
    resize(kPickerWidth, kPickerHeight);
}

QStringList FilePicker::names() const {
    QStringList out;
    for (const PickerEntry& e : entries_) out << e.name;
    return out;
}

void FilePicker::activate(int row) {
    if (row < 0 || row >= static_cast<int>(entries_.size())) return;
    const QString path = entries_[static_cast<std::size_t>(row)].path;
    if (on_activate_ && !on_activate_(path)) return;
    chosen_ = path;
    done(1);
}

void FilePicker::reject() { done(1); }

QString run_file_picker(QWidget* parent, const QString& data_set, int mode, FilePicker::Activate on_activate) {
    FilePicker picker(parent, data_set, mode, std::move(on_activate));
    DialogSeam::exec(picker);
    return picker.chosen();
}

}  // namespace stk::client

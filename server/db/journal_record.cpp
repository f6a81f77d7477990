#include "server/db/journal_record.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <vector>

#include "common/text_field.h"
#include "server/db/inventory_file.h"

namespace stk::server {

namespace {

enum TableCode : std::uint32_t { kItems = 1, kLayers = 2, kInvoices = 3, kMessages = 4 };

void put_u32(std::string& out, std::uint32_t v) { out.append(reinterpret_cast<const char*>(&v), sizeof v); }
void put_i32(std::string& out, std::int32_t v) { out.append(reinterpret_cast<const char*>(&v), sizeof v); }

// Writes one section: the count, then an image per slot made by `image(slot, out)`.
template <class ImageFn>
void put_section(std::string& out, TableCode table, int count, const std::set<int>& slots, ImageFn image) {
    put_u32(out, table);
    put_i32(out, count);
    put_u32(out, static_cast<std::uint32_t>(slots.size()));
    std::string bytes;
    for (int slot : slots) {
        bytes.clear();
        image(slot, bytes);
        put_i32(out, slot);
        put_u32(out, static_cast<std::uint32_t>(bytes.size()));
        out.append(bytes);
    }
}

// Slots 1..count among `noted`, plus every slot from `from` (when > 0) up to count.
std::set<int> slots_within(const std::set<int>& noted, int from, int count) {
    std::set<int> slots;
    for (int slot : noted) {
        if (slot >= 1 && slot <= count) slots.insert(slot);
    }
    for (int slot = from > 0 ? from : count + 1; slot <= count; ++slot) slots.insert(slot);
    return slots;
}

// The layers of the noted item numbers and every layer added since the set was begun.
std::set<int> changed_layers(const ServerDatabase& db, const ChangeSet& changes) {
    std::set<int> slots;
    for (const std::string& number : changes.layer_numbers()) {
        for (int slot : db.layer_index.of(db.layers, number)) slots.insert(slot);
    }
    if (changes.layers_before() >= 0) {
        for (int slot = changes.layers_before() + 1; slot <= db.layers.count; ++slot) slots.insert(slot);
    }
    return slots;
}

// A record's line without its CR LF: from the file's line image when that is up to date with the table (it
// is, after a request's changes were followed), else formatted here.
template <class Record, class AppendFn>
void line_image(const LineImage& lines, const Table<Record>& table, int slot, std::string& out, AppendFn append) {
    if (lines.current(table.count)) {
        out.append(lines.line(slot));
        return;
    }
    append(out, table[slot]);
    out.resize(out.size() - 2);
}

template <class Record>
void raw_image(const Record& r, std::string& out) {
    out.append(reinterpret_cast<const char*>(&r), sizeof r);
}

// One section read back, its images checked and turned into records.
struct Section {
    std::uint32_t table = 0;
    int count = 0;
    std::vector<int> slots;
    std::vector<InventoryRecord> items;
    std::vector<FifoLayer> layers;
    std::vector<InvoiceRecord> invoices;
    std::vector<MessageRecord> messages;
};

class Reader {
public:
    explicit Reader(std::string_view body) : body_(body) {}
    bool done() const { return pos_ == body_.size(); }
    template <class T>
    bool get(T* v) {
        if (body_.size() - pos_ < sizeof(T)) return false;
        std::memcpy(v, body_.data() + pos_, sizeof(T));
        pos_ += sizeof(T);
        return true;
    }
    bool bytes(std::size_t n, std::string_view* out) {
        if (body_.size() - pos_ < n) return false;
        *out = body_.substr(pos_, n);
        pos_ += n;
        return true;
    }

private:
    std::string_view body_;
    std::size_t pos_ = 0;
};

template <class Record>
bool raw_record(std::string_view bytes, Record* r) {
    if (bytes.size() != sizeof(Record)) return false;
    std::memcpy(r, bytes.data(), sizeof(Record));
    return true;
}

// Reads one image into the section; false when it does not belong to its table.
bool read_image(Section& s, std::string_view bytes) {
    switch (s.table) {
        case kItems: {
            InventoryRecord item{};
            if (!parse_item_line(bytes, item)) return false;
            clean_record(item);
            s.items.push_back(item);
            return true;
        }
        case kLayers: {
            FifoLayer layer{};
            if (!parse_layer_line(bytes, layer)) return false;
            clean_layer(layer);
            s.layers.push_back(layer);
            return true;
        }
        case kInvoices: {
            InvoiceRecord invoice;
            if (!raw_record(bytes, &invoice) || invoice.line_count < 0 || invoice.line_count > kMaxInvoiceLines) {
                return false;
            }
            s.invoices.push_back(invoice);
            return true;
        }
        case kMessages: {
            MessageRecord message;
            if (!raw_record(bytes, &message)) return false;
            s.messages.push_back(message);
            return true;
        }
        default: return false;
    }
}

int capacity_of(const ServerDatabase& db, std::uint32_t table) {
    switch (table) {
        case kItems: return db.max_items;
        case kLayers: return 2 * db.max_items;
        case kInvoices: return db.max_invoices;
        case kMessages: return kMaxMessages;
        default: return -1;
    }
}

bool read_sections(const ServerDatabase& db, std::string_view body, std::vector<Section>* sections) {
    Reader in(body);
    while (!in.done()) {
        Section s;
        std::uint32_t images = 0;
        if (!in.get(&s.table) || !in.get(&s.count) || !in.get(&images)) return false;
        if (s.count < 0 || s.count > capacity_of(db, s.table)) return false;
        for (std::uint32_t i = 0; i < images; ++i) {
            std::int32_t slot = 0;
            std::uint32_t size = 0;
            std::string_view bytes;
            if (!in.get(&slot) || !in.get(&size) || !in.bytes(size, &bytes)) return false;
            if (slot < 1 || slot > s.count || !read_image(s, bytes)) return false;
            s.slots.push_back(slot);
        }
        sections->push_back(std::move(s));
    }
    return true;
}

// Puts the images into their slots and sets the count; the table keeps exactly the pages its count needs.
template <class T>
bool place(Table<T>& table, int count, const std::vector<int>& slots, const std::vector<T>& records) {
    if (!table.commit_for(std::max(count, table.count))) return false;
    for (std::size_t i = 0; i < slots.size(); ++i) table[slots[i]] = records[i];
    table.count = count;
    return table.commit_for(count);
}

}  // namespace

std::string encode_changes(const ServerDatabase& db, const ChangeSet& changes) {
    std::string out;
    if (changes.touches_inventory()) {
        const int items = db.inventory.count;
        put_section(out, kItems, items, slots_within(changes.items(), changes.items_from(), items),
                    [&](int slot, std::string& bytes) {
                        line_image(db.item_lines, db.inventory, slot, bytes, append_item_line);
                    });
        put_section(out, kLayers, db.layers.count, changed_layers(db, changes),
                    [&](int slot, std::string& bytes) {
                        line_image(db.layer_lines, db.layers, slot, bytes, append_layer_line);
                    });
    }
    if (changes.touches_invoices()) {
        put_section(out, kInvoices, db.invoices.count, slots_within(changes.invoices(), 0, db.invoices.count),
                    [&](int slot, std::string& bytes) { raw_image(db.invoices[slot], bytes); });
    }
    if (changes.touches_messages()) {
        const int messages = db.messages.count;
        put_section(out, kMessages, messages, slots_within(changes.messages(), changes.messages_from(), messages),
                    [&](int slot, std::string& bytes) { raw_image(db.messages[slot], bytes); });
    }
    return out;
}

bool apply_changes(ServerDatabase& db, std::string_view body, AppliedChanges* applied) {
    std::vector<Section> sections;
    if (!read_sections(db, body, &sections)) return false;
    db.forget_derived();
    for (const Section& s : sections) {
        switch (s.table) {
            case kItems:
                if (!place(db.inventory, s.count, s.slots, s.items)) return false;
                // Search marks are one byte per item and mean nothing across a restart.
                if (!db.search_marks.commit_for(s.count)) return false;
                std::memset(db.search_marks.data(), 0, static_cast<std::size_t>(s.count) + 1);
                db.search_marks.count = s.count;
                applied->inventory = true;
                break;
            case kLayers:
                if (!place(db.layers, s.count, s.slots, s.layers)) return false;
                applied->inventory = true;
                break;
            case kInvoices:
                if (!place(db.invoices, s.count, s.slots, s.invoices)) return false;
                applied->invoices.insert(s.slots.begin(), s.slots.end());
                break;
            case kMessages:
                if (!place(db.messages, s.count, s.slots, s.messages)) return false;
                applied->messages = true;
                break;
        }
    }
    applied->records += 1;
    return true;
}

}  // namespace stk::server

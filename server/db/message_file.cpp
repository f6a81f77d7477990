// "messages.dat": a 12-byte header (format, file size, count), then slot 0 and one MessageRecord per message.
#include "server/db/message_file.h"

#include <cstdint>
#include <cstring>
#include <memory>

#include "platform/durable_file.h"

namespace stk::server {

namespace {

constexpr std::int32_t kMessageFileFormat = 1;
constexpr std::size_t kHeaderSize = 12;

void put_int32(std::string& out, std::int32_t v) {
    char b[4];
    std::memcpy(b, &v, 4);
    out.append(b, 4);
}

}  // namespace

int load_messages(ServerDatabase& db, const std::string& path) {
    db.messages.count = 0;
    std::unique_ptr<platform::File> file;
    if (!db.succeeded(db.files->open(path, platform::OpenMode::ReadCreate, &file))) return 0;
    std::uint64_t size = 0;
    if (!db.succeeded(file->size(&size))) return 0;
    if (size == 0) return 1;
    std::int32_t header[3] = {0, 0, 0};
    if (!db.succeeded(file->read_exact_at(0, header, kHeaderSize))) return 0;
    if (header[0] != kMessageFileFormat || static_cast<long long>(header[1]) != static_cast<long long>(size)) {
        db.log_line("Message database wrong format or version or message database corrupt.\r\n");
        db.log_line(path);
        db.log_line("\r\n");
        return 0;
    }
    const std::int32_t count = header[2];
    // A negative count cannot describe a file whose size matched; refuse it rather than index with it.
    if (count < 0 || count > kMaxMessages || !db.messages.commit_for(count)) return 0;
    const std::size_t bytes = (static_cast<std::size_t>(count) + 1) * sizeof(MessageRecord);
    if (!db.succeeded(file->read_exact_at(kHeaderSize, db.messages.data(), bytes))) return 0;
    // Slot 0 is never a message; whatever an older writer left there is not carried on.
    std::memset(&db.messages[0], 0, sizeof(MessageRecord));
    db.messages.count = count;
    return 1;
}

int save_messages(ServerDatabase& db, const std::string& path) {
    // An empty table is written too: skipping the write would leave the last deleted messages in the file,
    // and the next start would bring them back.
    const int count = db.messages.count;
    const std::size_t bytes = (static_cast<std::size_t>(count) + 1) * sizeof(MessageRecord);
    std::string image;
    image.reserve(kHeaderSize + bytes);
    put_int32(image, kMessageFileFormat);
    put_int32(image, static_cast<std::int32_t>(kHeaderSize + bytes));
    put_int32(image, count);
    if (db.messages.reserved()) {
        image.append(reinterpret_cast<const char*>(db.messages.data()), bytes);
    } else {
        image.append(bytes, '\0');
    }
    return db.succeeded(platform::write_file_durably(*db.files, path, image)) ? 1 : 0;
}

}  // namespace stk::server

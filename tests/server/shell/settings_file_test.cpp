// The server settings file, the pointer file and the activity log's 200 lines.
#include <gtest/gtest.h>

#include <QTemporaryDir>
#include <cstdlib>

#include "platform/app_data.h"
#include "platform/durable_file.h"
#include "server/shell/activity_log.h"
#include "server/shell/pointer_file.h"
#include "server/shell/server_settings.h"

using namespace stk::server;

TEST(ServerSettingsFile, KeysValuesAndLimits) {
    ServerSettings s;
    apply_settings_text("servername=shop\r\nClientName =ignored\r\nMAX_ITEMS=2500.9\r\nmax_invoices=abc\r\n", s);
    EXPECT_EQ(s.server_name, "shop");                      // the key's case does not matter
    EXPECT_EQ(s.client_name, "stockavelle client 1.0");    // "ClientName " is another key
    EXPECT_EQ(s.max_items, 2500);                          // integer part
    EXPECT_EQ(s.max_invoices, kDefaultMaxInvoices);        // not a number: default stays

    ServerSettings t;
    apply_settings_text("ServerName=" + std::string(31, 'n') + "\r\nClientName=" + std::string(32, 'c') +
                            "\r\nMAX_ITEMS=1e3\r\nMAX_INVOICES=.5\r\nno equals sign\r\nServerName=" + std::string(32, 'x'),
                        t);
    EXPECT_EQ(t.server_name, std::string(31, 'n'));  // 32 characters: ignored, the previous value stays
    EXPECT_EQ(t.client_name, "stockavelle client 1.0");
    EXPECT_EQ(t.max_items, kDefaultMaxItems);  // "1e3" fails the number check
    EXPECT_EQ(t.max_invoices, 0);

    // Values are taken as they are, "=" included; lines of 3328 characters or more are skipped.
    ServerSettings u;
    apply_settings_text("ServerName= a=b \r\nClientName=x" + std::string(3316, ' ') + "\r\nMAX_ITEMS=7", u);
    EXPECT_EQ(u.server_name, " a=b ");
    EXPECT_EQ(u.client_name, "stockavelle client 1.0");
    EXPECT_EQ(u.max_items, 7);  // the last line needs no line end

    // A capacity past the int range is held at its end rather than overflowing.
    ServerSettings v;
    apply_settings_text("MAX_ITEMS=99999999999\r\n", v);
    EXPECT_EQ(v.max_items, 2147483647);
}

TEST(ServerSettingsFile, LoadAndSave) {
    QTemporaryDir dir;
    const std::string path = dir.path().toStdString() + "/stockavelle server settings.txt";
    ServerSettings s;
    EXPECT_EQ(load_settings(path, s), 0);  // missing
    ASSERT_TRUE(stk::platform::write_file_durably(path, ""));
    EXPECT_EQ(load_settings(path, s), 0);  // empty counts as missing

    s.server_name = "front till";
    s.max_invoices = 123456;
    s.max_items = -5;
    ASSERT_EQ(save_settings(path, s), 1);
    std::string text;
    ASSERT_TRUE(stk::platform::read_whole_file(path, text));
    EXPECT_EQ(text, "ServerName=front till\r\nClientName=stockavelle client 1.0\r\nMAX_INVOICES=123456\r\n"
                    "MAX_ITEMS=-5\r\n");
    ServerSettings back;
    ASSERT_EQ(load_settings(path, back), 1);
    EXPECT_EQ(back.server_name, "front till");
    EXPECT_EQ(back.max_invoices, 123456);
    EXPECT_EQ(back.max_items, -5);

    EXPECT_EQ(save_settings(dir.path().toStdString() + "/missing/x.txt", s), 0);
}

TEST(PointerFile, HoldsTheFolderUpTo260Bytes) {
    QTemporaryDir dir;
    const char* old = std::getenv(stk::platform::kAppDataVariable);
    const std::string saved = old ? old : "";
    ::setenv(stk::platform::kAppDataVariable, (dir.path().toStdString() + "/appdata").c_str(), 1);

    EXPECT_FALSE(read_pointer_file());  // first run; the folder is made on the way
    EXPECT_TRUE(stk::platform::file_exists(dir.path().toStdString() + "/appdata/Stockavelle 1.0.1"));
    ASSERT_EQ(write_pointer_file("/srv/shop set"), 1);
    std::string raw;
    ASSERT_TRUE(stk::platform::read_whole_file(pointer_file_path(), raw));
    EXPECT_EQ(raw, "/srv/shop set");  // no line end
    EXPECT_EQ(read_pointer_file().value_or(""), "/srv/shop set");

    const std::string longest = "/" + std::string(259, 'p');
    ASSERT_EQ(write_pointer_file(longest), 1);
    EXPECT_EQ(read_pointer_file().value_or(""), longest);
    // 261 bytes could not be read back: not written, and the pointer names the set it named before.
    EXPECT_EQ(write_pointer_file(longest + "p"), 0);
    EXPECT_EQ(read_pointer_file().value_or(""), longest);
    ASSERT_TRUE(stk::platform::write_file_durably(pointer_file_path(), longest + "p"));
    EXPECT_FALSE(read_pointer_file());  // a file of 261 bytes: rejected, the location dialog asks again

    if (old)
        ::setenv(stk::platform::kAppDataVariable, saved.c_str(), 1);
    else
        ::unsetenv(stk::platform::kAppDataVariable);
}

TEST(ActivityLogModel, KeepsTheLast200Lines) {
    ActivityLog log;
    for (int i = 1; i <= 200; ++i) EXPECT_EQ(log.append("line " + std::to_string(i) + "\r\n"), 0u);
    EXPECT_EQ(log.line_count(), 201);  // the empty line after the last line end counts
    EXPECT_EQ(log.append("line 201\r\n"), std::string("line 1\r\n").size());
    EXPECT_EQ(log.text().substr(0, 8), "line 2\r\n");
    for (int i = 202; i <= 500; ++i) log.append("line " + std::to_string(i) + "\r\n");
    EXPECT_EQ(log.line_count(), 201);
    EXPECT_EQ(log.text().substr(0, 10), "line 301\r\n");
    EXPECT_EQ(log.text().substr(log.text().size() - 10), "line 500\r\n");

    // Entries that come in pieces (a text, a path, a line end) make one line.
    ActivityLog pieces;
    pieces.append("Unable to load application settings.\r\n");
    pieces.append("/x/settings.txt");
    pieces.append("\r\nUsing default settings.\r\n");
    EXPECT_EQ(pieces.line_count(), 4);
}

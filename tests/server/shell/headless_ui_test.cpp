// The start-up questions answered without a window.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "server/shell/headless_ui.h"
#include "server/shell/server_startup.h"

using namespace stk::server;

namespace {

std::string contents(std::FILE* f) {
    std::fflush(f);
    std::rewind(f);
    std::string out;
    char buffer[512];
    std::size_t n;
    while ((n = std::fread(buffer, 1, sizeof buffer, f)) > 0) out.append(buffer, n);
    return out;
}

}  // namespace

TEST(HeadlessUi, LogGoesOutByteForByteAndTheWarningIsALine) {
    std::FILE* out = std::tmpfile();
    ASSERT_NE(out, nullptr);
    {
        HeadlessUi ui(out);
        ui.warn_another_instance();
        ui.append_log("Unable to load application settings.\r\n");
        ui.append_log("/set/stockavelle server settings.txt");
        ui.append_log("\r\nUsing default settings.\r\n");
        std::string name = "typed";
        EXPECT_EQ(ui.ask_server_name(name), ServerNameOutcome::Start);  // as if Start Server were pressed
        EXPECT_EQ(name, "typed");
        const LocationChoice none = ui.ask_location(std::nullopt);
        EXPECT_TRUE(none.folder.empty());
        EXPECT_FALSE(none.exit || none.new_set.create);
        EXPECT_EQ(ui.ask_location(std::string("/srv/set")).folder, "/srv/set");
    }
    EXPECT_EQ(contents(out), std::string(kAnotherInstanceMessage) +
                                 "\r\nUnable to load application settings.\r\n/set/stockavelle server settings.txt"
                                 "\r\nUsing default settings.\r\n");
    std::fclose(out);
}

TEST(HeadlessUi, SaveRetriesAFewTimesThenGivesUpLikeCancel) {
    HeadlessUi ui(nullptr);
    ui.set_retry_pause_ms(0);
    const std::string inventory = "Stockavelle was unable to save inventory.";
    const std::string invoices = "Stockavelle was unable to save invoices.";
    for (int i = 0; i < HeadlessUi::kRetries; ++i) EXPECT_TRUE(ui.ask_retry(inventory)) << i;
    EXPECT_FALSE(ui.ask_retry(inventory));
    // The next database gets its own tries, and so does the same one in a later save.
    for (int i = 0; i < HeadlessUi::kRetries; ++i) EXPECT_TRUE(ui.ask_retry(invoices)) << i;
    EXPECT_FALSE(ui.ask_retry(invoices));
    EXPECT_TRUE(ui.ask_retry(inventory));
}

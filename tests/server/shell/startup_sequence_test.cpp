// Start-up in its fixed order, driven through a scripted StartupUi, in this process.
#include <gtest/gtest.h>

#include <QTemporaryDir>
#include <cstdlib>
#include <filesystem>

#include "platform/app_data.h"
#include "platform/durable_file.h"
#include "platform/file_lock.h"
#include "platform/local_pipe.h"
#include "server/shell/pointer_file.h"
#include "server/shell/server_startup.h"
#include "tests/support/server_process.h"

using namespace stk::server;

namespace {

struct ScriptedUi : StartupUi {
    std::string log;
    std::string title;
    bool location_exit = false;
    std::string location_folder;
    ServerNameOutcome name_outcome = ServerNameOutcome::Start;
    std::string typed_name;
    int location_asked = 0;

    void append_log(std::string_view text) override { log.append(text); }
    void warn_another_instance() override { log.append("<warned>"); }
    LocationChoice ask_location(const std::optional<std::string>&) override {
        ++location_asked;
        LocationChoice c;
        c.exit = location_exit;
        c.folder = location_folder;
        return c;
    }
    ServerNameOutcome ask_server_name(std::string& name) override {
        if (!typed_name.empty()) name = typed_name;
        return name_outcome;
    }
    bool ask_retry(std::string_view) override { return false; }
    void set_title(std::string_view t) override { title = std::string(t); }
};

// A temporary set folder and app-data folder for one test.
struct Scene {
    QTemporaryDir dir;
    std::string set;
    std::string saved_appdata;
    bool had_appdata = false;

    Scene() {
        stk::test::test_pipe_folder();
        set = dir.path().toStdString() + "/set";
        if (const char* v = std::getenv(stk::platform::kAppDataVariable)) {
            had_appdata = true;
            saved_appdata = v;
        }
        ::setenv(stk::platform::kAppDataVariable, (dir.path().toStdString() + "/appdata").c_str(), 1);
    }
    ~Scene() {
        if (had_appdata)
            ::setenv(stk::platform::kAppDataVariable, saved_appdata.c_str(), 1);
        else
            ::unsetenv(stk::platform::kAppDataVariable);
    }
    StartupOptions options(const std::string& name) const {
        StartupOptions o;
        o.database_set = set;
        o.server_name = name;
        return o;
    }
};

const std::string kComplete = kInitializationComplete;
const std::string kFailure = kInitializationFailure;

}  // namespace

TEST(StartupSequence, FreshFolderStartsSavesSettingsAndWritesThePointer) {
    Scene scene;
    ScriptedUi ui;
    ServerRuntime rt;
    const std::string name = stk::test::unique_server_name("startup");
    ASSERT_EQ(start_server(ui, rt, scene.options(name)), StartupOutcome::Serving) << ui.log;
    const std::string settings = scene.set + "/stockavelle server settings.txt";
    EXPECT_EQ(ui.log, "Unable to load application settings.\r\n" + settings + "\r\nUsing default settings.\r\n" +
                          kComplete);
    EXPECT_EQ(ui.location_asked, 0);  // the command line named the set
    EXPECT_EQ(ui.title, "Stockavelle Server - " + name + " - " + scene.set);
    std::string text;
    ASSERT_TRUE(stk::platform::read_whole_file(settings, text));
    EXPECT_EQ(text, "ServerName=" + name + "\r\nClientName=stockavelle client 1.0\r\nMAX_INVOICES=100000\r\n"
                    "MAX_ITEMS=100000\r\n");
    EXPECT_EQ(read_pointer_file().value_or(""), scene.set);
    EXPECT_TRUE(stk::platform::file_exists(stk::platform::local_pipe_path(name)));

    // Default capacities: slot 0 besides the records, and two slots more than twice the items for cost layers.
    EXPECT_EQ(rt.db.invoices.reserved_slots(), 100001u);
    EXPECT_EQ(rt.db.inventory.reserved_slots(), 100001u);
    EXPECT_EQ(rt.db.search_marks.reserved_slots(), 100001u);
    EXPECT_EQ(rt.db.layers.reserved_slots(), 200002u);
    EXPECT_EQ(rt.db.messages.reserved_slots(), 10001u);

    // Second start on the same name (on a set of its own) while the first one listens: the socket is not
    // taken over.
    ScriptedUi second_ui;
    ServerRuntime second;
    StartupOptions elsewhere = scene.options(name);
    elsewhere.database_set = scene.set + "-other";
    EXPECT_EQ(start_server(second_ui, second, elsewhere), StartupOutcome::Failed);
    EXPECT_EQ(second_ui.log, "Unable to load application settings.\r\n" + *elsewhere.database_set +
                                 "/stockavelle server settings.txt\r\nUsing default settings.\r\n"
                                 "Another server is listening on " + stk::platform::local_pipe_path(name) + ".\r\n" +
                                 "Unable to initialize communications resource.\r\n" + kFailure);
    EXPECT_TRUE(rt.listener && rt.listener->listening());

    rt.shutdown();
    EXPECT_FALSE(stk::platform::file_exists(stk::platform::local_pipe_path(name)));
}

TEST(StartupSequence, FailuresAreLoggedInOrder) {
    Scene scene;
    std::filesystem::create_directories(scene.set);
    const std::string name = stk::test::unique_server_name("startup");

    // A capacity that cannot be reserved.
    ASSERT_TRUE(stk::platform::write_file_durably(scene.set + "/stockavelle server settings.txt", "MAX_ITEMS=-1\r\n"));
    {
        ScriptedUi ui;
        ServerRuntime rt;
        EXPECT_EQ(start_server(ui, rt, scene.options(name)), StartupOutcome::Failed);
        EXPECT_EQ(ui.log,
                  "Unable to reserve required memory. System memory and/or hard disk space might be low.\r\n" + kFailure);
    }
    // An inventory file that cannot be read.
    ASSERT_TRUE(stk::platform::write_file_durably(scene.set + "/stockavelle server settings.txt", "MAX_ITEMS=10\r\n"));
    std::filesystem::create_directories(scene.set + "/inventory.txt");
    {
        ScriptedUi ui;
        ServerRuntime rt;
        EXPECT_EQ(start_server(ui, rt, scene.options(name)), StartupOutcome::Failed);
        EXPECT_EQ(ui.log, "Unable to load inventory database.\r\n" + scene.set + "/inventory.txt\r\n" + kFailure);
        EXPECT_EQ(rt.db.inventory.reserved_slots(), 11u);  // the file's capacity was in force
        EXPECT_EQ(rt.db.layers.reserved_slots(), 22u);
    }
    // A new set where a database file already is.
    {
        ScriptedUi ui;
        ServerRuntime rt;
        StartupOptions o = scene.options(name);
        o.new_set = scene.set;
        EXPECT_EQ(start_server(ui, rt, o), StartupOutcome::Failed);
        EXPECT_EQ(ui.log,
                  "Unable to initialize new database set. The selected location might already contain company "
                  "information or the destination drive might be full or inaccessible.\r\n" +
                      kFailure);
    }
    EXPECT_FALSE(read_pointer_file());  // only a successful start writes it
}

TEST(StartupSequence, DialogAnswersExitOrCloseWithoutRenaming) {
    Scene scene;
    std::filesystem::create_directories(scene.set);
    {
        ScriptedUi ui;
        ui.location_exit = true;
        ServerRuntime rt;
        EXPECT_EQ(start_server(ui, rt, StartupOptions{}), StartupOutcome::Exit);
        EXPECT_EQ(ui.log, "");
    }
    {
        ScriptedUi ui;
        ui.location_folder = scene.set;
        ui.name_outcome = ServerNameOutcome::Exit;
        ServerRuntime rt;
        EXPECT_EQ(start_server(ui, rt, StartupOptions{}), StartupOutcome::Exit);
    }
    {
        // Closed from the title bar: no save, no new title; the name from the settings file stays.
        const std::string name = stk::test::unique_server_name("closed");
        ASSERT_TRUE(stk::platform::write_file_durably(scene.set + "/stockavelle server settings.txt",
                                                      "ServerName=" + name + "\r\n"));
        ScriptedUi ui;
        ui.location_folder = scene.set;
        ui.name_outcome = ServerNameOutcome::Closed;
        ui.typed_name = "typed but not taken";
        ServerRuntime rt;
        ASSERT_EQ(start_server(ui, rt, StartupOptions{}), StartupOutcome::Serving) << ui.log;
        EXPECT_EQ(ui.log, kComplete);
        EXPECT_EQ(ui.title, "");
        EXPECT_EQ(rt.settings.server_name, name);
        std::string text;
        ASSERT_TRUE(stk::platform::read_whole_file(scene.set + "/stockavelle server settings.txt", text));
        EXPECT_EQ(text, "ServerName=" + name + "\r\n");
    }
}

TEST(StartupSequence, ASetServedByAnotherServerIsRefusedBeforeItIsRead) {
    Scene scene;
    ScriptedUi first_ui;
    ServerRuntime first;
    ASSERT_EQ(start_server(first_ui, first, scene.options(stk::test::unique_server_name("first"))),
              StartupOutcome::Serving)
        << first_ui.log;

    // Under another name, so that only the set is shared.
    ScriptedUi ui;
    ServerRuntime second;
    EXPECT_EQ(start_server(ui, second, scene.options(stk::test::unique_server_name("second"))), StartupOutcome::Failed);
    EXPECT_EQ(ui.log, kSetInUse + scene.set + "\r\n" + kFailure);
    EXPECT_EQ(second.db.inventory.reserved_slots(), 0u);  // refused before the tables, let alone the files
    EXPECT_TRUE(first.listener && first.listener->listening());

    // A new set takes the same lock before it writes anything.
    const std::string fresh = scene.dir.path().toStdString() + "/fresh";
    std::filesystem::create_directories(fresh);
    stk::platform::ExclusiveFileLock held;
    ASSERT_EQ(held.take(fresh + "/" + kSetLockFileName), stk::platform::ExclusiveFileLock::Outcome::Held);
    ScriptedUi new_set_ui;
    ServerRuntime creating;
    StartupOptions o = scene.options(stk::test::unique_server_name("creating"));
    o.new_set = fresh;
    EXPECT_EQ(start_server(new_set_ui, creating, o), StartupOutcome::Failed);
    EXPECT_EQ(new_set_ui.log, kSetInUse + fresh + "\r\n" + kFailure);
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(fresh), {}), 1);  // the lock file alone

    // Once the holder is gone its lock file stays behind, and blocks no one.
    held.release();
    ScriptedUi again_ui;
    ServerRuntime again;
    EXPECT_EQ(start_server(again_ui, again, o), StartupOutcome::Serving) << again_ui.log;
}

TEST(StartupSequence, ASetPathThatCouldNotBeRememberedIsRefusedBeforeAnythingIsWritten) {
    Scene scene;
    const std::string base = scene.dir.path().toStdString() + "/";
    const std::string longest = base + std::string(kMaxPointerFileBytes - base.size(), 'L');
    const std::string too_long = longest + "x";
    for (bool as_new_set : {false, true}) {
        ScriptedUi ui;
        ServerRuntime rt;
        StartupOptions o = scene.options(stk::test::unique_server_name("long"));
        if (as_new_set)
            o.new_set = too_long;
        else
            o.database_set = too_long;
        EXPECT_EQ(start_server(ui, rt, o), StartupOutcome::Failed);
        EXPECT_EQ(ui.log, kSetPathTooLong + too_long + "\r\n" + kFailure);
        EXPECT_FALSE(std::filesystem::exists(too_long));
        EXPECT_FALSE(stk::platform::file_exists(pointer_file_path()));
    }

    // 260 bytes still fit, and the next start reads them back.
    ScriptedUi ui;
    ServerRuntime rt;
    StartupOptions o = scene.options(stk::test::unique_server_name("longest"));
    o.database_set = longest;
    ASSERT_EQ(start_server(ui, rt, o), StartupOutcome::Serving) << ui.log;
    EXPECT_EQ(read_pointer_file().value_or(""), longest);
}

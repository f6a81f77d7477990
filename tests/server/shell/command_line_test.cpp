#include <gtest/gtest.h>

#include "server/shell/command_line.h"

using stk::server::parse_command_line;

TEST(ServerCommandLine, OptionsAndMistakes) {
    auto cl = parse_command_line({"--headless", "--database-set", "/d", "--server-name=front till", "--listen-tcp",
                                  "0.0.0.0:47100"});
    EXPECT_TRUE(cl.error.empty()) << cl.error;
    EXPECT_TRUE(cl.headless);
    EXPECT_EQ(cl.options.database_set.value_or(""), "/d");
    EXPECT_EQ(cl.options.server_name.value_or(""), "front till");
    EXPECT_EQ(cl.options.listen_tcp.value_or(""), "0.0.0.0:47100");
    EXPECT_FALSE(cl.options.new_set);

    cl = parse_command_line({"--new-set", "/n", "--carry", "inventory,messages"});
    EXPECT_TRUE(cl.error.empty()) << cl.error;
    EXPECT_FALSE(cl.headless);
    EXPECT_EQ(cl.options.new_set.value_or(""), "/n");
    EXPECT_TRUE(cl.options.carry_inventory);
    EXPECT_FALSE(cl.options.carry_invoices);
    EXPECT_TRUE(cl.options.carry_messages);

    EXPECT_FALSE(parse_command_line({"--carry", "inventory"}).error.empty());     // without --new-set
    EXPECT_FALSE(parse_command_line({"--new-set", "/n", "--carry", "stock"}).error.empty());
    EXPECT_FALSE(parse_command_line({"--database-set"}).error.empty());           // value missing
    EXPECT_FALSE(parse_command_line({"--database-set="}).error.empty());          // empty value
    EXPECT_FALSE(parse_command_line({"--verbose"}).error.empty());
    EXPECT_FALSE(parse_command_line({"--headless=yes"}).error.empty());

    // --help and --version end the program before anything is started, whatever else was given.
    cl = parse_command_line({"--headless", "--help"});
    EXPECT_TRUE(cl.show_help && cl.error.empty());
    EXPECT_TRUE(parse_command_line({"--version"}).show_version);
    EXPECT_FALSE(parse_command_line({"--help=1"}).error.empty());
}

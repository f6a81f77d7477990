#include <gtest/gtest.h>

#include <QPlainTextEdit>
#include <QScrollBar>
#include <QStringList>

#include "server/shell/server_window.h"

using stk::server::ServerWindow;

namespace {

QStringList lines_of(const ServerWindow& w) { return w.log_text().split('\n'); }

}  // namespace

TEST(ServerWindow, IsTheActivityLogAndNothingElse) {
    ServerWindow w;
    EXPECT_EQ(w.windowTitle(), "Stockavelle Server");
    EXPECT_FALSE(w.windowIcon().isNull());
    auto* log = w.findChild<QPlainTextEdit*>("1000");
    ASSERT_NE(log, nullptr);
    EXPECT_EQ(w.centralWidget(), log);
    EXPECT_TRUE(log->isReadOnly());
    EXPECT_EQ(log->lineWrapMode(), QPlainTextEdit::NoWrap);
    EXPECT_EQ(log->verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOn);
    EXPECT_EQ(log->horizontalScrollBarPolicy(), Qt::ScrollBarAlwaysOn);
    EXPECT_EQ(w.log_line_count(), 1);  // an empty edit control has one (empty) line
}

TEST(ServerWindow, LogKeepsTheLast200LinesAndFollowsTheEnd) {
    ServerWindow w;
    w.show();
    for (int i = 0; i < 200; ++i) w.append_log("entry " + std::to_string(i) + "\r\n");
    // 200 entries and the empty line after the last line end: nothing removed yet.
    EXPECT_EQ(w.log_line_count(), 201);
    EXPECT_EQ(lines_of(w).front(), "entry 0");

    for (int i = 200; i < 260; ++i) w.append_log("entry " + std::to_string(i) + "\r\n");
    const QStringList lines = lines_of(w);
    EXPECT_EQ(w.log_line_count(), 201);
    EXPECT_EQ(lines.front(), "entry 60");
    EXPECT_EQ(lines[199], "entry 259");
    EXPECT_EQ(lines.back(), "");
    EXPECT_FALSE(w.log_text().contains('\r'));

    const QScrollBar* bar = w.log_view()->verticalScrollBar();
    EXPECT_GT(bar->maximum(), 0);
    EXPECT_EQ(bar->value(), bar->maximum());
}

TEST(ServerWindow, MultiLineEntriesRemoveOneOldLineEach) {
    ServerWindow w;
    for (int i = 0; i < 200; ++i) w.append_log("x\r\n");
    // A three-line failure report removes only the oldest line before it goes in.
    w.append_log("Unable to load inventory database.\r\n/tmp/set/inventory.txt\r\n\r\n");
    EXPECT_EQ(w.log_line_count(), 203);
    EXPECT_TRUE(w.log_text().endsWith("Unable to load inventory database.\n/tmp/set/inventory.txt\n\n"));
    w.append_log("partial ");
    w.append_log("line\r\n");
    EXPECT_TRUE(w.log_text().endsWith("\npartial line\n"));
}

TEST(ServerWindow, ClosingAnnouncesTheEnd) {
    ServerWindow w;
    w.show();
    int closed = 0;
    QObject::connect(&w, &ServerWindow::closed, [&] { ++closed; });
    w.close();
    EXPECT_EQ(closed, 1);
}

TEST(ServerWindow, TextConversionAtTheWidgetBoundary) {
    using namespace stk::server;
    EXPECT_EQ(from_1252("caf\xE9 \x80 \x9F \x92"), QString::fromUtf8("café € Ÿ ’"));
    EXPECT_EQ(to_1252(QString::fromUtf8("café € Ÿ ’")), "caf\xE9 \x80 \x9F \x92");
    EXPECT_EQ(to_1252(QString::fromUtf8("日本")), "??");
    for (int c = 1; c < 256; ++c) {
        const std::string one(1, static_cast<char>(c));
        EXPECT_EQ(to_1252(from_1252(one)), one) << c;
    }
    // Paths in log lines are UTF-8; a server name typed in 1252 is not valid UTF-8 and still reads right.
    EXPECT_EQ(display_text("/home/zo\xC3\xAB/set"), QString::fromUtf8("/home/zoë/set"));
    EXPECT_EQ(display_text("Caf\xE9 server"), QString::fromUtf8("Café server"));
}

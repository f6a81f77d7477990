// Opening a document or program with the desktop's opener, replaceable so tests never launch anything.
#pragma once

#include <QString>
#include <QStringList>
#include <QUrl>
#include <functional>

namespace stk::client {

// Opens the file with the desktop's default application; false when it could not be handed over.
bool shell_open(const QString& path);
// Opens a web address with the desktop's browser; false when it could not be handed over. Tests see the
// address's text through the opener below.
bool shell_open_url(const QUrl& url);
// Starts a program detached, with the given arguments; false when it could not be started.
bool shell_start(const QString& program, const QStringList& arguments = {});

// Tests install these to record what would be opened or started (unset: the real thing).
void set_shell_opener(std::function<bool(const QString& path)> opener);
void set_shell_starter(std::function<bool(const QString& program, const QStringList& arguments)> starter);

}  // namespace stk::client

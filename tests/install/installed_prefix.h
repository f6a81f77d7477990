// The build installed once per test program with "cmake --install" into a temporary prefix, as a packager or
// "sudo cmake --install build" would; the tests then look at that tree only.
#pragma once

#include <QString>

namespace stk::test {

// The prefix holding bin/, share/ and lib/ (installed on first call); empty when installing failed, with
// install_output() saying why.
QString installed_prefix();
QString install_output();

// The whole text of a file under the prefix ("" when it cannot be read).
QString installed_text(const QString& relative_path);

}  // namespace stk::test

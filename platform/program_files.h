// Where a program finds the files it reads beside itself: default settings, the data-set templates, the
// report style sheets and the Documentation folder. In a build tree they sit next to the executables
// (build/bin/); an installed program keeps them in ../share/stockavelle relative to its bin folder, so the
// same binary works from any install prefix and no path is compiled in.
#pragma once

#include <string>

namespace stk::platform {

inline constexpr const char* kInstalledFilesFolder = "../share/stockavelle";

// `executable_folder` + "/../share/stockavelle" (cleaned) when that folder exists, else `executable_folder`.
std::string program_files_folder(const std::string& executable_folder);

}  // namespace stk::platform

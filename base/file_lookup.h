// Looking files up. Settings files are often copied from Windows, where
// "ORVWIN.INI" and "orvwin.ini" are one file; here the start-up folder is
// searched without regard to letter case.
#pragma once

#include <string>
#include <string_view>

namespace orv {

// The path of the file called name in folder, its letters compared without
// case (ASCII letters). The exact spelling wins; among several other
// spellings the bytewise smallest, so the choice is the same every run.
// Without any such file: folder + "/" + name.
std::string findFileIgnoringCase(std::string_view folder, std::string_view name);

// Something (a file or a folder) exists at path; false as well when that
// cannot be told. The file dialogs' commands ask it before they read or
// refuse to overwrite.
bool fileExists(const std::string& path);

}  // namespace orv

#pragma once
// The per-user working directory the desktop launchers start both programs
// in: the viewer reads everything from its working directory and writes its
// settings there, so a launcher cannot leave it in the home directory. On the
// first start the directory is filled with the demonstration data.

#include <filesystem>
#include <string>

namespace orvane {

/// "$XDG_DATA_HOME/orvane", or "$HOME/.local/share/orvane" when
/// XDG_DATA_HOME is unset, empty or not an absolute path.
std::filesystem::path userWorkingDirectory();

/// The orvane-demo program beside the running program, else the one on the
/// PATH; empty when there is none.
std::string installedDemoMaker();

enum class UserDirectory { Ready, Failed, Cancelled };

/// Makes `directory` the current directory. When it is missing or empty it is
/// first filled by running `maker DIR` into a hidden directory beside it,
/// renamed into place when complete, while a progress dialog shows the
/// maker's "step N of M: ..." lines; Cancel stops the maker. A failure is
/// shown in a message box. Nothing half made is ever left at `directory`.
UserDirectory enterUserDirectory(const std::filesystem::path& directory, const std::string& maker);

}  // namespace orvane

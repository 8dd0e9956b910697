// Where the program reads its data and writes the user's files. Portable (with
// --data DIR, or with a config.mcf in the working directory) it reads and writes
// in that one folder, as a copy of the source tree's data/ does. Installed, it
// reads its data from the install prefix (share/demovar beside bin/) and writes
// into a per-user folder, $XDG_DATA_HOME/demovar, which becomes its working
// directory; screen dumps go to the user's pictures folder, exported tables to
// the documents folder.
#pragma once
#include <string>

// The program's version, as the package names it.
extern const char* const DemovarVersion;

// The installed data directory, share/demovar beside the program's bin/ folder,
// with its trailing "/": empty when the running program has none (it was not
// installed, or the install lost its interface file).
std::string installed_data_dir();
// Where an installed copy would keep its data (for the message when it is missing).
std::string expected_data_dir();

// The user's per-user folder: $XDG_DATA_HOME/demovar when XDG_DATA_HOME is an
// absolute path, else $HOME/.local/share/demovar. Empty without a HOME.
std::string user_data_dir();

// The folder a user-dirs.dirs text (the desktop's own names of the user's
// folders) gives for `kind` ("PICTURES", "DOCUMENTS"): its line
// XDG_<kind>_DIR="$HOME/..." or "/...", with $HOME replaced by `home`. Empty
// when the text names none, names the home folder itself (the desktop's way to
// switch a folder off) or the line is not of that form.
std::string user_dirs_entry(const std::string& text, const std::string& kind, const std::string& home);
// The folder for files of `kind`: the one user-dirs.dirs names, else ~/Pictures
// or ~/Documents (`fallback`), whichever is an existing folder; else empty.
std::string user_folder(const std::string& kind, const std::string& fallback);

// Settles where the program reads and writes (DataDir, Home, PicturesDir,
// DocumentsDir; see startup/filenames.h) and makes the folder it writes into the
// working directory. data_option is --data's DIR or empty. Returns an empty
// string, or why the program cannot start.
std::string settle_places(const std::string& data_option);

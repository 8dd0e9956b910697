// The file names and switches that start-up fixes and the configuration file
// overrides: where the country list, the country databases, the help texts and
// the pictures live, the interface-definition file, and the start-up switches.
#pragma once
#include <string>

// Longest value a configuration key takes (one word).
constexpr int CONFIG_VALUE_MAX = 80;

// Names are owned strings: a configured path and a configured file name may each
// be up to CONFIG_VALUE_MAX characters, and joining them must never overflow.
// The folder the program writes everything it creates into (logs, saves, the last
// session, settings, the tutorial's files), which is also its working directory:
// empty in the portable mode (the working directory itself), the per-user
// folder with its "/" when installed (startup/places.h).
extern std::string Home;
// The prefix of every name read from the data (config.mcf, the configured and
// built-in names, the tutorial's start): empty when the data is the working
// directory, the installed data directory with its "/" otherwise.
extern std::string DataDir;
// Where screen dumps and exported tables go: empty for the working directory,
// else a folder with its "/".
extern std::string PicturesDir;
extern std::string DocumentsDir;
extern std::string Introfilename;    // the intro picture
extern std::string Countryfilename;  // the country map picture
extern std::string Regionfilename;   // the region map picture
extern std::string Listname;         // the country list
extern std::string Datapath;         // directory of the country databases
extern std::string Listpath;         // directory of the country list
extern std::string Infopath;         // directory of the help and text files
extern std::string Imagepath;        // directory of the pictures
extern std::string InterfaceFile;    // the interface-definition file
// The second starting point the configuration may name ("todaypath=", "todayyear="):
// the folder of its country databases and its base year; empty and 0 when absent.
extern std::string Todaypath;
extern int Todayyear;
// The base year of the data in use: runs go from it to 60 years later in five-year
// steps. 1990 with the databases of "datapath="; the start-up value.
extern int Base_year;
// Joined after the configuration has been read (build_file_names).
extern std::string VersionFile;  // Infopath + "pop.txt"
extern std::string CountryFile;  // Imagepath + Countryfilename
extern std::string RegionFile;   // Imagepath + Regionfilename
extern std::string IntroFile;    // Imagepath + Introfilename
extern std::string ListFile;     // Listpath + Listname
// Empty, or why config.mcf was not read and where it was looked for: added to the
// messages of start-up files that are then not found under the built-in names.
extern std::string ConfigNote;

extern int HasFPU;      // 1: the projection may use floating point
extern int Use_bstore;  // 1: the interface library keeps backing store for windows
extern int MapScale;    // zoom factor of the selection box on the large map
extern int MXDebug;     // 1: the projection and data conversion write "Debug:" lines
extern int TutorEntry;  // 1: the first screen offers Glossary instead of File
extern int Tutorfile;   // 1: start-up loads the saved tutorial simulation

// The screen-dump format (shared with the screen dump writers).
enum GraphicsFileType { NO_FILE = 0, BMP_16 = 1, PS_GRAY = 2, PS_COLOR = 3, GIF_16 = 4 };
extern GraphicsFileType GraphFileFmt;

// Sets the three picture names to their start values.
void set_start_file_names();
// Reads the data from `dir` (ending in "/"): DataDir, and the built-in directory
// and interface-file names under it.
void use_data_dir(const std::string& dir);
// VersionFile = Infopath + "pop.txt".
void set_version_file();
// Joins CountryFile, RegionFile, IntroFile and ListFile from the configured parts.
void build_file_names();
// The starting points offered: 1990 always, and the configured second one.
bool starting_point_offered(int year);
// Switches to the starting point of base year `year` (Base_year and Datapath);
// false, changing nothing, when it is not offered.
bool use_starting_point(int year);
// Puts every name and switch above back to its value at program start (tests and
// fuzzing run the readers many times in one process).
void reset_startup_settings();

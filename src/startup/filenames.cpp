// The start-up file names and switches, their start values and the joins made
// after the configuration file has been read.
#include "startup/filenames.h"

std::string Home;
std::string DataDir;
std::string PicturesDir;
std::string DocumentsDir;
std::string Introfilename = "intro.rl4";
std::string Countryfilename = "countries.rl8";
std::string Regionfilename = "regions.rl8";
std::string Listname = "country.maf";
std::string Datapath = "dbase/";
std::string Listpath = "dbase/";
std::string Infopath = "info/";
std::string Imagepath = "images/";
std::string InterfaceFile = "varnock.inf";
std::string Todaypath;
int Todayyear = 0;
int Base_year = 1990;
std::string VersionFile;
std::string CountryFile;
std::string RegionFile;
std::string IntroFile;
std::string ListFile;
std::string ConfigNote;

int HasFPU = 0;
int Use_bstore = 0;
int MapScale = 4;
int MXDebug = 0;
int TutorEntry = 0;
int Tutorfile = 0;
GraphicsFileType GraphFileFmt = NO_FILE;

void set_start_file_names() {
  Introfilename = "intro.rl4";
  // The names of the pictures that come with the program: without config.mcf a
  // program started in its data directory still finds everything.
  Countryfilename = "countries.rl8";
  Regionfilename = "regions.rl8";
}

void use_data_dir(const std::string& dir) {
  DataDir = dir;
  Datapath = dir + "dbase/";
  Listpath = dir + "dbase/";
  Infopath = dir + "info/";
  Imagepath = dir + "images/";
  InterfaceFile = dir + "varnock.inf";
}

void set_version_file() { VersionFile = Infopath + "pop.txt"; }

void build_file_names() {
  CountryFile = Imagepath + Countryfilename;
  RegionFile = Imagepath + Regionfilename;
  IntroFile = Imagepath + Introfilename;
  ListFile = Listpath + Listname;
}

namespace {
// The databases of 1990, as configured, while the other starting point is in use.
std::string history_datapath;
}  // namespace

bool starting_point_offered(int year) {
  return year == 1990 || (Todayyear != 0 && !Todaypath.empty() && year == Todayyear);
}

bool use_starting_point(int year) {
  if (!starting_point_offered(year)) return false;
  if (Base_year == 1990) history_datapath = Datapath;
  Datapath = year == 1990 ? history_datapath : Todaypath;
  Base_year = year;
  return true;
}

void reset_startup_settings() {
  set_start_file_names();
  Home.clear();
  DataDir.clear();
  PicturesDir.clear();
  DocumentsDir.clear();
  Listname = "country.maf";
  Datapath = "dbase/";
  Todaypath.clear();
  Todayyear = 0;
  Base_year = 1990;
  history_datapath.clear();
  Listpath = "dbase/";
  Infopath = "info/";
  Imagepath = "images/";
  InterfaceFile = "varnock.inf";
  VersionFile.clear();
  CountryFile.clear();
  RegionFile.clear();
  IntroFile.clear();
  ListFile.clear();
  ConfigNote.clear();
  HasFPU = 0;
  Use_bstore = 0;
  MapScale = 4;
  MXDebug = 0;
  TutorEntry = 0;
  Tutorfile = 0;
  GraphFileFmt = NO_FILE;
}

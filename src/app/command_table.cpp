// The program's table of named routines. Every routine of the table takes the
// library's calling convention (x, y, status or key, control name); the rows adapt
// it to each routine's own arguments. Names compare without regard to case and
// the first match wins; several names may share one routine.
#include "app/command_table.h"

#include "app/country_selection.h"
#include "app/file_dialogs.h"
#include "app/general_commands.h"
#include "app/key_routine.h"
#include "app/population_display.h"
#include "app/rate_editing.h"
#include "app/scenario_windows.h"
#include "app/screen_dump_dialog.h"
#include "app/screen_state.h"
#include "app/session.h"
#include "app/starting_point.h"
#include "app/walkthrough.h"
#include "demography/saved_simulation.h"

namespace {

// A button, menu item or timed function: the arguments are not used.
#define COMMAND(text, routine) \
  { text, [](int, int, int, const char*) -> int { return routine(); } }
// A drag area or the key routine: x, y and the status or key.
#define POINTER(text, routine) \
  { text, [](int x, int y, int code, const char*) -> int { return routine(x, y, code); } }

void redraw_dialogs() {
  redraw_resume_offer();
  redraw_file_dialogs();
}

int redraw_all_command() {
  redraw_all();
  return 1;
}

}  // namespace

const IntrFunction FuncNames[] = {
    COMMAND("alternatesim", alternatesim),
    COMMAND("askno", askno),
    COMMAND("askyes", askyes),
    COMMAND("birthdeathrate", birthdeathrate),
    COMMAND("canceldump", canceldump),
    COMMAND("cancelquit", cancelquit),
    COMMAND("controlscmd", controlscmd),
    COMMAND("confirmdump", confirmdump),
    COMMAND("confirmquit", confirmquit),
    COMMAND("declineresume", declineresume),
    COMMAND("dumpscreen", dumpscreen),
    COMMAND("decfert", decfert),
    COMMAND("decfyear", decfyear),
    COMMAND("declifeexp", declifeexp),
    COMMAND("declyear", declyear),
    COMMAND("decmapscale", decmapscale),
    COMMAND("decmig", decmig),
    COMMAND("decmyear", decmyear),
    COMMAND("do_intro", do_intro),
    COMMAND("done", done),
    COMMAND("doquit", doquit),
    POINTER("dragbars", dragbars),
    POINTER("draglargemap", draglargemap),
    POINTER("dragsmallmap", dragsmallmap),
    COMMAND("expectedsim", expectedsim),
    COMMAND("exportdialog", exportdialog),
    COMMAND("file", standard_menu),
    COMMAND("geocmd", geocmd),
    COMMAND("glossary", standard_menu),
    COMMAND("gfformat", gfformat),
    POINTER("handlesearch", handlesearch),
    COMMAND("help", standard_menu),
    COMMAND("helpnext", helpnext),
    COMMAND("helpprev", helpprev),
    COMMAND("incfert", incfert),
    COMMAND("incfyear", incfyear),
    COMMAND("inclifeexp", inclifeexp),
    COMMAND("inclyear", inclyear),
    COMMAND("incmapscale", incmapscale),
    COMMAND("incmig", incmig),
    COMMAND("incmyear", incmyear),
    COMMAND("info", standard_menu),
    COMMAND("instrdone", instrdone),
    COMMAND("introhelpcmd", introhelpcmd),
    POINTER("keyfunc", handlekey),
    COMMAND("load_simulation", load_simulation),
    COMMAND("maincmd", maincmd),
    COMMAND("mapcancel", mapcancel),
    COMMAND("mapdone", mapdone),
    COMMAND("modifybirthrate", modifybirthrate),
    COMMAND("modifydeathrate", modifydeathrate),
    COMMAND("modifyinfantrate", modifyinfantrate),
    COMMAND("okay", okay),
    COMMAND("okayfert", okayfert),
    COMMAND("okaylife", okaylife),
    COMMAND("okaymig", okaymig),
    COMMAND("options", options),
    COMMAND("optionscmd", optionscmd),
    COMMAND("qtwalk", quitwalkthru),
    COMMAND("quit", standard_menu),
    COMMAND("redraw_all", redraw_all_command),
    COMMAND("resetsimulation", ask_resetsimulation),
    COMMAND("save_simulation", save_simulation),
    COMMAND("save_tutor", save_tutor),
    POINTER("scrolldraggetcountry", scrolldraggetcountry),
    COMMAND("scrollselectcountry", scrollselectcountry),
    COMMAND("scrolldnline", scrolldnline),
    COMMAND("scrollupline", scrollupline),
    POINTER("scrollbar", scrollbar),
    COMMAND("selectcountrymap", ask_selectcountrymap),
    COMMAND("resumesession", resumesession),
    COMMAND("savedialog", savedialog),
    COMMAND("loaddialog", loaddialog),
    COMMAND("savetocomputer", savetocomputer),
    COMMAND("loadfromcomputer", loadfromcomputer),
    COMMAND("filedo", filedo),
    COMMAND("filecancel", filecancel),
    POINTER("filepick", filepick),
    COMMAND("setfert", setfert),
    COMMAND("set_format", set_format),
    COMMAND("setlifeex", setlifeex),
    COMMAND("setmig", setmig),
    COMMAND("showunfigures", showunfigures),
    COMMAND("simulate", simulate),
    COMMAND("starthistory", starthistory),
    COMMAND("starttoday", starttoday),
    COMMAND("techcmd", techcmd),
    COMMAND("unsimulate", unsimulate),
    COMMAND("versioncmd", versioncmd),
    POINTER("walkthru", walkthru),
    COMMAND("walkthruinit", walkthruinit),
    COMMAND("walkthrucont", no_op),
    COMMAND("walkthrurecover", walkthrurecover),
};

const int NumFuncs = static_cast<int>(sizeof FuncNames / sizeof FuncNames[0]);

void register_commands() {
  MXsetfunctiontable(FuncNames, NumFuncs);
  install_screen_hooks();
  DumpRedraw = redraw_dump_windows;
  DialogRedraw = redraw_dialogs;
  WalkThruInit = walkthruinit;
}

// The binding of the routine names of the interface file to the program's
// routines. The interface library resolves every name of the file against this
// table while it reads the file; a name that is missing ends the program.
#pragma once

#include "ui/interface_model.h"

extern const IntrFunction FuncNames[];
extern const int NumFuncs;

// Hands the table to the interface library (before the interface file is read)
// and fills the screen side of the simulation state's routines.
void register_commands();
// Fills the simulation state's screen hooks with the program's screen routines.
void install_screen_hooks();

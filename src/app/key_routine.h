// The program's key routine: sends each typed key to the modal window that is open.
#pragma once

// Installed as "keyfunc" while a target window or the country window is open.
int handlekey(int x, int y, int key);

// F1: the help text on the main screen, while the Help menu could be opened.
int help_key();

// The last session: whenever the program ends (the quit sequence, a confirmed
// close request of the window, SIGTERM or SIGHUP, Control-Q or a fatal error) both
// panes and the main screen's interface state are written to "vk_last.sav", the
// one before kept as "vk_last.1.sav"; the next start offers to continue it.
#pragma once

extern const char* const LastSessionFile;      // "vk_last.sav"
extern const char* const PreviousSessionFile;  // "vk_last.1.sav"
extern const char* const DamagedSessionFile;   // "vk_last.damaged.sav"

// The window's close request, SIGTERM/SIGHUP and the fatal path keep the session.
void install_session_handlers();
// Start-up is over: from now on ending the program writes the session.
void begin_session();
// Writes the session file unless start-up is not over, it was written already or
// both panes are empty. During the walk-through the user's own work (kept in
// "vk_walk.sav") is written, not the lesson's. 1 when written.
int save_last_session();
// Writes the session and ends the program (the ordinary end).
void end_with_session();

// The offer to continue the last session, shown over the intro when the first
// help text closes. A damaged file is renamed aside and reported once. Returns 1
// when the offer is shown.
int offer_last_session();
int resumesession();  // the offer's Continue: the main screen with the session
int declineresume();  // the offer's Not now: the intro stays
extern int ResumeOfferActive;
void redraw_resume_offer();

// Tests: before start-up again (no handlers installed).
void reset_session();

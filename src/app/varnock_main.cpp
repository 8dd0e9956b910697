// The entry of the program varnock: the window options of the command line,
// start-up, the event loop.
#include "app/startup.h"

int main(int argc, char** argv) {
  varnock_options(argc, argv);
  varnock_startup();
  varnock_run();
}

// The entry of the program varnock. Command-line arguments are not interpreted.
#include "app/startup.h"

int main() {
  varnock_startup();
  varnock_run();
}

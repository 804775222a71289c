// Runs the tests' private CUPS scheduler for another program: starts it with one raw
// queue that is also the default printer, prints where to reach it, and runs until
// it is sent SIGTERM or SIGINT, then stops the scheduler and removes its folder.
//
//   vantrose_print_server QUEUE
//
// Output, one line each: CUPS_SERVER=<socket>, CAPTURE=<folder that receives each
// job as job-N.prn>, then READY.
#include <csignal>
#include <cstdio>
#include <string>

#include "support/cups_server.h"

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: vantrose_print_server QUEUE\n");
    return 2;
  }
  // Blocked before the scheduler starts, so that a signal is waited for, never lost.
  sigset_t stop;
  sigemptyset(&stop);
  sigaddset(&stop, SIGTERM);
  sigaddset(&stop, SIGINT);
  sigprocmask(SIG_BLOCK, &stop, nullptr);

  CupsServer server;
  if (!server.Running()) {
    std::fprintf(stderr, "vantrose_print_server: %s\n", server.Problem().c_str());
    return 1;
  }
  const std::string queue = argv[1];
  if (!server.AddRawQueue(queue) || !server.SetDefault(queue)) {
    std::fprintf(stderr, "vantrose_print_server: cannot add the queue \"%s\"\n", queue.c_str());
    return 1;
  }
  std::printf("CUPS_SERVER=%s\nCAPTURE=%s\nREADY\n", server.Socket().c_str(), server.CaptureFolder().c_str());
  std::fflush(stdout);
  int signal = 0;
  sigwait(&stop, &signal);
  return 0;
}

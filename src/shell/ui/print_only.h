// The print-only command, vantrose-print: prints the day's checked pages without
// opening a window (for scheduled or remote printing). It takes the program's
// single-instance lock, brings the day's pages up as start-up does (settings are
// read, never written), prints as PRINT does, and rejoins the pages as closing does.
#pragma once

#include <ostream>
#include <string>
#include <vector>

#include "base/working_folders.h"

struct PrintingServices;

inline constexpr char kPrintOnlyUsage[] =
    "Usage: vantrose-print [--mode N] [--legal] [--duplex] [--printer NAME | --output FILE]\n"
    "\n"
    "Prints the checked pages of the day (the pages the program checks at start-up)\n"
    "as the PRINT button does, without opening a window.\n"
    "\n"
    "  --mode N        print mode 0 to 7 instead of the stored one:\n"
    "                  0 WIN Portrait 9pt, 1 WIN reserved, 2 WIN Portrait 7pt,\n"
    "                  3 WIN Landscape 7pt, 4 PCL Portrait 10pt, 5 PCL reserved,\n"
    "                  6 PCL Portrait 6pt, 7 PCL Landscape 6pt\n"
    "  --legal         PCL modes: legal paper (by default letter, as the window starts)\n"
    "  --duplex        PCL portrait modes: print on both sides (by default one side)\n"
    "  --printer NAME  print on this printer instead of the default one\n"
    "  --output FILE   write the job to FILE instead: the PCL job in a PCL mode,\n"
    "                  a PDF file in a WIN mode\n"
    "  --help          show this text\n"
    "\n"
    "WIN modes print on the printer's own paper. The working folder is\n"
    "RavelstowData/Vantrose in the profile folder ($USERPROFILE, else $HOME), with\n"
    "its folders Data, Exec, Help and Archive, which the command never creates; it\n"
    "needs the day's data file or text, not the schedule SimoDump.LST. The command\n"
    "refuses to run while Vantrose runs on the same working folder.\n"
    "\n"
    "Exit status: 0 when the job was printed, 1 when it was not (the reason on\n"
    "standard error), 2 for arguments it does not understand, 3 while Vantrose runs.\n";

// Runs the command with `arguments` (without the program name) on `folders`; messages
// go to `out` and errors to `err`. Returns the exit status.
int RunPrintOnly(const std::vector<std::string>& arguments, const WorkingFolders& folders, PrintingServices& printing,
                 std::ostream& out, std::ostream& err);

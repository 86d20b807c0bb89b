// The program's settings in the system's settings file, and its command line.
//
// "corvane.ini" in the settings folder, section "Quillex": "Drive" (1 depth,
// 0 time: the run mode until a run's first input decides it anew), "Scale"
// (the display scale; 200 by default with metric depths, else 240) and
// "Script" (the job file in use, written at exit for the record; a start
// takes its job file from the command line only).
#pragma once

#include <string>

namespace quillex {

struct Context;

// The settings file's path: the settings folder and "corvane.ini".
std::string SettingsFile(Context& context);

// At start-up, after the database library started: reads the settings, sets
// the index factor, clears the interval, and takes the job file from the
// command line ("-args " followed by an argument block whose file part names
// it; a bare name lies in the settings folder).
void LoadSettings(Context& context, const std::string& commandLine);

// At exit: writes "Drive" and "Script".
void SaveSettings(Context& context);

}  // namespace quillex

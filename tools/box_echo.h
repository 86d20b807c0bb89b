// How the command-line tools show message boxes: one line each on standard
// error, "error: TEXT" for boxes with the stop icon, "note: TEXT" for notes
// and "message: TEXT" for every other box.
#pragma once

#include <cstdio>
#include <string>

#include "curvedata/recording_screen.h"

inline std::string BoxLine(const RecordedBox& shown) {
  const char* prefix = shown.IsError() ? "error: " : shown.IsInfo() ? "note: " : "message: ";
  return prefix + shown.text;
}

inline void EchoBoxesToStandardError(RecordingScreen& screen) {
  screen.OnBox([](const RecordedBox& shown) {
    std::fprintf(stderr, "%s\n", BoxLine(shown).c_str());
    std::fflush(stderr);
  });
}

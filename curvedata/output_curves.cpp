#include "curvedata/output_curves.h"

#include <cstdio>
#include <cstdint>
#include <cstring>
#include <vector>

#include "curvedata/context.h"
#include "curvedata/curve_path.h"
#include "curvedata/input_binding.h"
#include "libs/dorvex/curve_info.h"
#include "model/controls.h"
#include "model/message_box.h"

namespace quillex {

namespace {

int32_t UnitSystem(Context& context) {
  return dorvex::DorvexGetSetting(context.dorvex, dorvex::setting::kUnitSystem).number;
}

// The description of the run settings item.
dorvex::CurveInfo SettingsItemInfo(Context& context) {
  dorvex::CurveInfo info = dorvex::EmptyCurveInfo();
  info.version[0] = '1';
  std::string description = dorvex::DorvexGetText(context.dorvex, 249);
  std::strncpy(info.description, description.c_str(), dorvex::kCurveDescriptionLimit);
  info.typeA = 10;
  info.typeB = 3;
  info.word200 = 1;
  info.elementSize = sizeof(RunDefaults);
  info.step = 100;
  info.word232 = 1;
  info.word234 = 2;
  return info;
}

RunDefaults MakeRunDefaults(Context& context) {
  RunDefaults defaults;
  std::memset(&defaults, 0, sizeof defaults);
  defaults.indexFactor = static_cast<uint16_t>(context.indexFactor);
  uint16_t kind = context.runMode == 0 ? 2 : context.metric ? 1 : 0;
  defaults.flags = static_cast<uint16_t>(kind | UnitSystem(context) << 4);
  defaults.scale = static_cast<float>(context.job.scale);
  defaults.runTop = context.run.runTop;
  defaults.runBottom = context.run.runBottom;
  std::string name = context.job.presentation;
  name = name.substr(name.find_last_of("\\/") == std::string::npos ? 0
                                                                     : name.find_last_of("\\/") + 1);
  std::strncpy(defaults.presentation, name.c_str(), sizeof defaults.presentation - 1);
  return defaults;
}

// Closes a curve a run read from: there is nothing of it to store.
void CloseInput(Context& context, uint32_t* curve) {
  if (*curve != 0) static_cast<void>(dorvex::DorvexCloseCurve(context.dorvex, *curve));
  *curve = 0;
}

// Closes an output's curve, committing its last samples; false when they
// could not be stored.
bool CloseOutput(Context& context, OutputDef& output) {
  if (output.curve == 0) return true;
  int closed = dorvex::DorvexCloseCurve(context.dorvex, output.curve);
  output.curve = 0;
  return closed != dorvex::kDorvexNotStored;
}

// What the library answered a write of an output's samples: a failed commit
// loses what was computed, and the run must not go on as if it had not.
bool Stored(Context& context, const OutputDef& output, int result) {
  if (result != dorvex::kDorvexNotStored) return true;
  TellOutputNotStored(context, output);
  return false;
}

}  // namespace

bool CreateOutputCurve(Context& context, OutputDef& output, const std::string& databaseFile,
                       const DataSource& destination) {
  dorvex::DorvexLibrary& dorvex = context.dorvex;
  uint32_t database = OpenDatabaseByName(context, databaseFile);
  if (database == 0) return false;
  dorvex::CurveInfo info = dorvex::SampleCurveInfo(output.description, static_cast<int32_t>(output.dataId),
                                   context.runMode == 0, output.units, output.top, output.bottom,
                                   output.step);
  output.conversion = dorvex::DorvexMakeConversion(
      dorvex, dorvex::DorvexUnitInSystem(dorvex, UnitSystem(context), output.units),
      dorvex::DorvexUnitInSystem(dorvex, 0, output.units));
  std::string path = OutputCurvePath(destination.path, output.name);
  if (dorvex::DorvexCreateCurve(dorvex, database, path, sizeof info, &info) == 0 &&
      dorvex::DorvexOpenCurve(dorvex, database, path, &output.curve, dorvex::kDorvexWrite, &info) == 0) {
    return true;
  }
  std::string message = "Unable to create output " + databaseFile + ": " + destination.path +
                        "/" + output.name + "/1 ";
  ErrorBox(context.screen, message);
  return false;
}

bool CreateAllOutputs(Context& context) {
  Job& job = context.job;
  for (auto& output : job.outputs) {
    if (!CreateOutputCurve(context, *output, job.destination.database, job.destination)) {
      CloseAllCurves(context);
      context.run.failed = true;
      return false;
    }
  }
  return true;
}

void TellOutputNotStored(Context& context, const OutputDef& output) {
  RunState& run = context.run;
  run.abortRequested = true;
  if (run.failed) return;  // one box a run: the first loss is the one to tell
  run.failed = true;
  ErrorBox(context.screen,
           "Unable to write output " + output.name + ": " + dorvex::DorvexLastError(context.dorvex));
}

void CloseAllCurves(Context& context) {
  for (auto& output : context.job.outputs) {
    for (auto& node : output->variables) CloseInput(context, &node->curve);
    if (!CloseOutput(context, *output)) TellOutputNotStored(context, *output);
  }
  for (DatabaseSlot& slot : context.slots) {
    if (slot.handle != 0) dorvex::DorvexCloseDatabase(context.dorvex, slot.handle);
    slot.handle = 0;
  }
  context.outputDatabase = 0;
}

bool ReadRunDefaults(Context& context) {
  dorvex::DorvexLibrary& dorvex = context.dorvex;
  Job& job = context.job;
  uint32_t database = 0;
  if (dorvex::DorvexOpenDatabase(dorvex, job.destination.database, 0, &database) != 0) return false;
  uint32_t curve = 0;
  RunDefaults defaults;
  std::memset(&defaults, 0, sizeof defaults);
  bool read = dorvex::DorvexOpenCurve(dorvex, database, SettingsItemPath(job.destination.path), &curve,
                              dorvex::kDorvexWrite, nullptr) == 0 &&
              dorvex::DorvexReadSamples(dorvex, curve, 0, 1, &defaults) == 0;
  defaults.presentation[sizeof defaults.presentation - 1] = '\0';
  bool named = read && defaults.presentation[0] != '\0';
  if (named) {
    job.presentation = defaults.presentation;
    context.screen.SetText(control::kPresentation, job.presentation);
  }
  static_cast<void>(dorvex::DorvexCloseCurve(dorvex, curve));  // only read
  dorvex::DorvexCloseDatabase(dorvex, database);
  return named;
}

void WriteRunDefaults(Context& context) {
  if (ReadRunDefaults(context) || context.job.presentation.empty()) return;
  dorvex::DorvexLibrary& dorvex = context.dorvex;
  dorvex::CurveInfo info = SettingsItemInfo(context);
  RunDefaults defaults = MakeRunDefaults(context);
  std::string path = SettingsItemPath(context.job.destination.path);
  // An item left by an earlier run of the same destination is written again.
  static_cast<void>(
      dorvex::DorvexCreateCurve(dorvex, context.outputDatabase, path, sizeof info, &info));
  uint32_t curve = 0;
  bool written = dorvex::DorvexOpenCurve(dorvex, context.outputDatabase, path, &curve,
                                         dorvex::kDorvexWrite, nullptr) == 0 &&
                 dorvex::DorvexWriteSamples(dorvex, curve, 0, 1, &defaults) == 0 &&
                 dorvex::DorvexFlush(dorvex, curve) == 0;
  if (curve != 0) written = dorvex::DorvexCloseCurve(dorvex, curve) == 0 && written;
  if (!written) {
    context.screen.MessageBox(dorvex::DorvexGetText(dorvex, 250), kCaption,
                              box::kTaskModal | box::kIconExclamation,
                              context.screen.HasMainWindow());
  }
}

bool WriteOutputSample(Context& context, const OutputDef& output, double value) {
  float stored = static_cast<float>(output.conversion == 0 ? value
                                                           : dorvex::DorvexConvert(
                                                                 context.dorvex, value,
                                                                 output.conversion));
  return Stored(context, output,
                dorvex::DorvexWriteSamples(context.dorvex, output.curve, output.index, 1, &stored));
}

void FlushOutputCurve(Context& context, const OutputDef& output) {
  if (output.curve == 0) return;
  static_cast<void>(Stored(context, output, dorvex::DorvexFlush(context.dorvex, output.curve)));
}

bool WriteOutputSamples(Context& context, const OutputDef& output, const double* values,
                        int32_t count) {
  std::vector<float> stored(static_cast<size_t>(count));
  for (int32_t k = 0; k < count; ++k) {
    double value = static_cast<float>(values[k]);
    if (output.conversion != 0) {
      value = dorvex::DorvexConvert(context.dorvex, value, output.conversion);
    }
    stored[static_cast<size_t>(k)] = static_cast<float>(value);
  }
  // The curve was made with the output's step (kept in 16 bits): on it,
  // consecutive samples are consecutive elements.
  if (output.step > 0 && output.step <= UINT16_MAX) {
    return Stored(context, output,
                  dorvex::DorvexWriteSamples(context.dorvex, output.curve, output.index, count,
                                             stored.data()));
  }
  for (int32_t k = 0; k < count; ++k) {
    auto index = static_cast<int32_t>(output.index + int64_t{k} * output.step);
    int result = dorvex::DorvexWriteSamples(context.dorvex, output.curve, index, 1,
                                            &stored[static_cast<size_t>(k)]);
    if (!Stored(context, output, result)) return false;
  }
  return true;
}

}  // namespace quillex

// The job file: a job stored key by key in a private-profile (INI) file,
// extension ".QXJ".
//
//   [0]    format=PRESENTATION.PRS   scale=240
//   [Job]  Option=0                  (0 Generate Curve(s), 1 Generate Report)
//   [1]    output=NAME,UNITS,DATAID,DESCRIPTION,STEP
//          formula=GR*2
//          GRunits=GAPI              GRpath=WELL: /A/B/C/SET1/GR
//   [2]    ...
//
// The file is live storage, not only a save format: single output sections
// are rewritten while the user works (the editor's Save, each run's
// preparation, deleting an output renumbers the sections at once), and it is
// how the variable bindings chosen in the editor reach the run.
//
// The output line has no quoting: a reader splits it at every comma, runs of
// commas counting as one. So a comma in a name, unit text or description is
// written as ";", and an empty one (no units, say) as a single blank: either
// would otherwise shift every later field. A name longer than 10 characters
// is cut to 10 when read.
#pragma once

#include <string>
#include <vector>

namespace profile {
class ProfileReader;
class ProfileWriteBatch;
}  // namespace profile

namespace quillex {

using profile::ProfileReader;
using profile::ProfileWriteBatch;

struct Context;
struct OutputDef;
struct VariableBinding;

// Read limits of the job file's values, in characters.
constexpr unsigned kRecordLimit = 249;    // "output", "formula" and node keys
constexpr unsigned kFormatLimit = 255;    // [0] "format"
constexpr unsigned kScaleLimit = 9;       // [0] "scale"
constexpr unsigned kCopyLimit = 254;      // values copied when sections are renumbered
constexpr unsigned kKeyListLimit = 4095;  // a section's key list when renumbering

// The output line of an output: "%s,%s,%d,%s,%d" of name, unit text, data ID,
// description and step.
std::string OutputRecordLine(Context& context, const OutputDef& output);

// Writes [Job] Option, then rewrites the output's whole section: "output",
// "formula", and for each input node (kinds 0 and 5) "%sunits" and "%spath".
// The section is the output's place in the list (the place after the last
// for an output not yet in it).
void WriteOutputRecord(Context& context, const OutputDef& output);
// The same, as part of a batch of writes to the job file.
void WriteOutputRecord(Context& context, const OutputDef& output, ProfileWriteBatch& batch);

// Writes "%spath" of every input node of kind 0 (not 5) of an output.
void WritePathKeys(Context& context, const OutputDef& output, int section);

// Loads the job file named by the job's file path (a path without a folder
// lies in the job folder), compiling each formula. The variables' keys
// ("%sunits", "%spath") are not read: a Save straight after a Load writes
// them empty. Returns false, having cleared the job title, when there is no
// path.
bool LoadJob(Context& context);

// After a load: every kind-0 node's "%spath" is written empty, and the node
// forgets its source, so the first run asks for a main input source.
void ClearInputPaths(Context& context);

// Reads a node's "%sunits" and "%spath" back from the output's section; the
// second form reads through a reader already holding the job file.
void ReadNodeBindings(Context& context, const OutputDef& output, VariableBinding& node);
void ReadNodeBindings(Context& context, const ProfileReader& file, const OutputDef& output,
                      VariableBinding& node);

// Deletes section `number` and moves every later section down by one.
void DeleteOutputSection(Context& context, int number);

// Writes the whole job anew: [0] "format" and "scale" from the main window,
// then every output's record. The new file is made beside the old one and
// put in its place when complete, so a failure midway loses nothing.
// Returns false when the file cannot be written.
bool SaveJob(Context& context);

// Whether a file reads as a job file at all: it has a [Job] section, a [0]
// section or an output section [1]. A binary file, a LAS file or an empty
// one has none of them (and would load as an empty job).
bool IsJobFile(const std::string& path);

// What a load changes without a word, in words: an output name longer than
// the 10 characters kept, an Option that is no run option. One line each.
std::vector<std::string> JobFileWarnings(const std::string& path);

// Finds a file the way users of case-blind systems expect: the exact name
// wins, else a name in the same folder that differs only in case; else the
// path as given.
std::string FindFileIgnoringCase(const std::string& path);

}  // namespace quillex

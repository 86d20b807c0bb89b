// The File menu's commands on job files, and the run option, as the main
// window calls them. The dialogs go through the screen port. Every command
// does nothing while a run is on, except Save.
#pragma once

namespace quillex {

struct Context;

// Asks for a job file and opens it; the job's sources start empty.
void OpenJob(Context& context);

// Asks for a new name for the job file, then saves the job under it.
void SaveJobAs(Context& context);

// The Save as dialog alone: the chosen file becomes the job file path and
// nothing is written. Returns whether a file was chosen.
bool ChooseJobFileName(Context& context);

// Saves the job; without a job file yet, asks for one as Save as does.
void SaveJobCommand(Context& context);

// Asks for the file of a new job. Returns false when the user cancelled (or
// a run is on); the job is then as it was. Nothing is written.
bool NewJob(Context& context);

// Asks for the presentation file; its name (without folder) becomes the
// job's presentation. Returns whether a file was chosen.
bool SelectPresentationFile(Context& context);

// Generate Curve(s) (0) or Generate Report (1). A job with outputs first
// starts a new job (one mode per job); cancelling that changes nothing.
void SetRunOption(Context& context, int option);

}  // namespace quillex

// The open-file and save-file dialogs the core asks for.
//
// Always the toolkit's own dialog, never the desktop's native one: it looks
// and behaves the same everywhere, and tests can answer it. A filter
// pattern is offered in both letter cases ("*.QXJ *.qxj"), since job and
// presentation files come from systems where case never mattered.
#pragma once

#include <optional>
#include <string>

#include <QString>

#include "model/screen.h"

class QWidget;

namespace quillex {

// "Quillex Jobs (*.QXJ *.qxj)".
QString NameFilter(const FileDialogRequest& request);

// Runs the dialog modally; the chosen file, or nothing when cancelled.
std::optional<std::string> RunFileDialog(const FileDialogRequest& request, QWidget* owner);

}  // namespace quillex

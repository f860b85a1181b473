// The output viewer's files: the analysis output file and the listing file.
#pragma once

#include "store/state.h"
#include "store/ui.h"

namespace core {

// Show the whole analysis (listing) file in the output viewer. False when the
// file could not be read (after a message titled "Error").
bool ShowAnalysisFile(KovaState& s, KovaUi& ui);
bool ShowListingFile(KovaState& s, KovaUi& ui);

// Shows the analysis file when a report was appended to it since
// AnalysisReportsWritten stood at reportsBefore; a run that was refused or
// wrote nothing leaves the viewer as it was. False as ShowAnalysisFile.
bool ShowAnalysisFileIfWritten(KovaState& s, KovaUi& ui, int reportsBefore);

// The main window's "Show output" button: shows again the kind of file the
// viewer showed last (OutputKind "ana" or "lst"); nothing before the first.
// False only when the file could not be read.
bool ShowLastOutputFile(KovaState& s, KovaUi& ui);

}  // namespace core

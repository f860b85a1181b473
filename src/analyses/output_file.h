// The output viewer's files: the analysis output file and the listing file.
#pragma once

#include "store/state.h"
#include "store/ui.h"

namespace core {

// Show the whole analysis (listing) file in the output viewer. False when the
// file could not be read (after a message titled "Error").
bool ShowAnalysisFile(KovaState& s, KovaUi& ui);
bool ShowListingFile(KovaState& s, KovaUi& ui);

// The main window's "Show output" button: shows again the kind of file the
// viewer showed last (OutputKind "ana" or "lst"); nothing before the first.
// False only when the file could not be read.
bool ShowLastOutputFile(KovaState& s, KovaUi& ui);

}  // namespace core

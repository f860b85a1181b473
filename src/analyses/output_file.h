// The output viewer's files: the analysis output file and the listing file.
#pragma once

#include <cstddef>

#include "store/state.h"
#include "store/ui.h"

namespace core {

// The most the output viewer shows: its editor takes about eight bytes of
// memory for each byte of the file and some hundreds for each line. A
// listing of the largest protocol fits.
inline constexpr size_t kMaxOutputFileBytes = size_t{16} << 20;
inline constexpr size_t kMaxOutputFileLines = size_t{1} << 18;

// Show the analysis (listing) file in the output viewer: the whole file when
// it is within the viewer's bounds, else only its end, as much as they allow
// from the start of a line, read-only under a note (KovaUi::ShowOutputEnd),
// so that the newest report is always seen. False when the file could not be
// read (after a message titled "Error"; the viewer stays as it was).
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

// New protocols made from text: a transcribed dialogue (one utterance a
// line) and a running text (one record a sentence). Each replaces data set 1
// and is saved at once beside its source as a data file.
#pragma once

#include <string>
#include <vector>

#include "store/state.h"
#include "store/ui.h"

namespace core {

// The largest text file an import reads: far beyond any protocol, yet small
// enough that the records it makes, the data file written from them and the
// windows that show them stay well within the program's memory.
inline constexpr size_t kMaxTextFileBytes = size_t{64} << 20;

// The option dialogs of the importers, as the core sees them. Each fills the
// options into the state and returns true, or returns false when the user
// cancelled (Cancel or the close box): the import then ends with nothing
// changed.
class ImportDialogs {
public:
    virtual ~ImportDialogs() = default;
    // `generaltxt`: DialogueLayout, DialogueDelimiter, DialogueCommentChar.
    virtual bool AskDialogueOptions(KovaState& s, const std::string& fileName) = 0;
    // `excelask`: ExcelColumns, FromRecord, ToRecord and, in ScratchText, the
    // chosen worksheet of `sheetNames`.
    virtual bool AskWorksheetOptions(KovaState& s, const std::vector<std::string>& sheetNames) = 0;
};

// The dialogue dialog's Read File: the layout from the chosen option button
// (0 with time, 1 without, -1 none), the delimiter and comment boxes. False
// while the answer is incomplete (no layout, no delimiter): the dialog stays
// open. An empty comment box keeps the comment character of earlier imports.
bool TakeDialogueAnswers(KovaState& s, int option, const std::string& delimiter,
                         const std::string& commentChar);

// A set built by an importer, not yet in place.
struct ImportedSet {
    RecordSet records;  // index 0 unused
    int16_t count = 0;
    std::string fileInfo;
    // Characters the program's code page lacks, imported as "?".
    size_t replaced = 0;
    // Bytes of a text read as UTF-8 that begin no UTF-8 character, each
    // imported as "?".
    size_t strayBytes = 0;
};

// A text refused by the parsers: its line `line` is longer than a field may
// be, or (`continued`) makes the text it adds to longer.
struct TextTooLong {
    long long line;
    bool continued;
};

// The parsers alone, of a text in the program's code page or in UTF-8 (read
// as such when it opens with the UTF-8 mark, or holds characters beyond ASCII
// in well-formed UTF-8 and at most one stray byte for every two of them). A CR, an LF or a CR LF
// ends a line. Both throw std::length_error past the record limit and TextTooLong. `chunkSize`
// hands the bytes over that many at a time, as a file is read (0: all at once); the result is the
// same.
ImportedSet ParseDialogueText(const KovaState& s, const std::string& bytes, size_t chunkSize = 0);
ImportedSet ParseSentenceText(const std::string& bytes, size_t chunkSize = 0);

// The whole imports: the dialog (dialogue only), the read (a file larger
// than kMaxTextFileBytes is refused before its records are made), then data set 1 is
// replaced, saved beside it as a ".kov" file (ImportedFileName) with
// header number 9 and shown. False when cancelled or when anything failed (a
// message says what): data set 1, its name, the window and the files on disk
// are then as they were.
bool ReadDialogueTextFile(KovaState& s, KovaUi& ui, ImportDialogs& dialogs,
                          const std::string& FileName);
bool ImportTextSentences(KovaState& s, KovaUi& ui, const std::string& FileName);

// What every importer shares. The data file's name beside the source: its
// extension (".txt", ".xls", ".xlsx") replaced by ".kov", or ".kov" added to
// a name without one; false (message shown) when the name ends in a folder or
// is a bare extension.
bool ImportedFileName(KovaUi& ui, const std::string& sourceName, std::string& dataFileName);

// What every import checks before anything is written: that neither the data
// file nor its backup is the source itself, that no open set's file is
// replaced, that the data file may be opened as data set 1 beside the other
// open set (MayOpenFile), and, when the data file is there, that the user
// wants it replaced (asked with No as the answer given). False (a message
// shown, or the user said No): the import ends with nothing changed.
bool MayImportInto(const KovaState& s, KovaUi& ui, const std::string& sourceName,
                   const std::string& dataFileName);

// Saves an imported set as `dataFileName` (header number 9, its own file
// info) and, once saved, puts it in place of data set 1 and shows it: the
// file info in memory is the text written; a backup of the data file's name
// that the save did not make stays. Then a message counts the characters
// imported as "?", if any. False (the writer's message shown,
// nothing changed in memory) when the save failed, and when the set would be
// too large to save (the message of TooLargeToSaveText, nothing written).
bool InstallImportedSet(KovaState& s, KovaUi& ui, const std::string& dataFileName, ImportedSet set);

// An "Error # " message titled "Error", as the readers and writers show.
void ShowImportError(KovaUi& ui, int number, const std::string& description);

}  // namespace core

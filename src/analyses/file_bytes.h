// Whole-file reads and appends of the output files, as bytes.
#pragma once

#include <string>
#include <string_view>

namespace core {

bool FileExists(const std::string& fileName);

// Reads the whole file; false when it cannot be read.
bool ReadFileBytes(const std::string& fileName, std::string& bytes);

// Appends `bytes` to the file, creating it when missing. False when the write
// failed; the file is then cut back to its former length (or removed when it
// did not exist), so it is left as it was.
bool AppendFileBytes(const std::string& fileName, std::string_view bytes);

}  // namespace core

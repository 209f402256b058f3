// Replacing a file's whole content in one step: the new bytes go into a temporary
// file in the same folder, which then takes the file's place. A failure on the way
// leaves the old file as it was.
#pragma once

#include <string>
#include <string_view>

namespace ui {

// Throws std::runtime_error when the content cannot be written or the file cannot
// be replaced; the temporary file is removed then.
void replaceFileContent(const std::string& fileName, std::string_view bytes);

// The current date in the user's short date format and the current time in the
// long time format, in Windows-1251.
std::string shortDateNow();
std::string longTimeNow();

}  // namespace ui

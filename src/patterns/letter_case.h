// Upper and lower case of Windows-1252 text, letters with accents included.
#pragma once

#include <string>
#include <string_view>

namespace core {

std::string LowerCase(std::string_view text);
std::string UpperCase(std::string_view text);

}  // namespace core

#pragma once
// The core keeps texts one byte per character (Latin-1, the code page of the data files
// and the controller); what leaves it as text for other programs (pictures, CSV, words on a
// terminal) is UTF-8.
#include <string>
#include <string_view>

namespace brixo {

std::string Utf8FromLatin1(std::string_view text);

}  // namespace brixo

#pragma once
// Every text the core holds and hands on (messages, reports, descriptions, the ID string,
// file names) is UTF-8. Data and definitions files keep one byte per character (Latin-1),
// and the controller takes seven-bit characters: their readers and writers convert at
// their own edge, the window and the terminal take the texts as they are.
#include <cstddef>
#include <string>
#include <string_view>

namespace brixo {

// Bytes of a file, one character each, as text.
std::string Utf8FromLatin1(std::string_view bytes);

// A text as one byte per character; a character beyond Latin-1 becomes "?" (and sets
// *replaced). A byte that does not belong to a UTF-8 character is taken as it stands.
std::string Latin1FromUtf8(std::string_view text, bool* replaced = nullptr);

// The characters of a text: Unicode code points, with stray bytes counting one each.
std::u32string CodePoints(std::string_view text);

// The first character of a text beyond seven-bit ASCII, named for a message:
// "\"€\" (U+20AC)", or "byte 0xFC" where the text is no UTF-8; empty when there is none.
std::string FirstNonAsciiCharacter(std::string_view text);

// The text for XML and HTML alike (an SVG picture, a page): markup characters as entities,
// control characters, which neither may hold, as blanks.
std::string MarkupEscaped(std::string_view text);

// The text cut to at most `count` characters, never inside one.
std::string FirstCharacters(std::string_view text, size_t count);
// The text's last `count` characters.
std::string LastCharacters(std::string_view text, size_t count);

}  // namespace brixo

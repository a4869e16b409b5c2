// Conversion between UTF-16 and the ANSI code page.
#pragma once
#include <string>
#include <string_view>

namespace ce {

// The ANSI code page: $CONTACTS_CODEPAGE, else from the language of LC_ALL,
// LC_CTYPE or LANG (zh_CN/zh_SG 936, zh_TW/zh_HK 950, ja 932, ko 949,
// Western European 1252, ...); C and POSIX give 936.
unsigned GetACP();
// Overrides the code page for the rest of the process (tests).
void SetACP(unsigned codePage);

// A character the code page lacks becomes '?'.
std::string WideToAnsi(std::u16string_view text);
// Bytes that are not valid in the code page each become U+FFFD.
std::u16string AnsiToWide(std::string_view bytes);

} // namespace ce

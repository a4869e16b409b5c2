// Conversion between UTF-16 and the ANSI code page.
#pragma once
#include <string>
#include <string_view>

namespace ce {

constexpr unsigned CP_ACP = 0;
constexpr unsigned CP_UTF8 = 65001;

// The ANSI code page: $CONTACTS_CODEPAGE, else from the language of LC_ALL,
// LC_CTYPE or LANG (zh_CN/zh_SG 936, zh_TW/zh_HK 950, ja 932, ko 949,
// Western European 1252, ...); C and POSIX give 936.
unsigned GetACP();
// Overrides the code page for the rest of the process (tests); 0 goes back
// to the rule above, read anew from the environment.
void SetACP(unsigned codePage);

// A character the code page lacks becomes '?'.
std::string WideToAnsi(std::u16string_view text);
// Bytes that are not valid in the code page each become U+FFFD.
std::u16string AnsiToWide(std::string_view bytes);
// The same for a given code page (CP_ACP is the ANSI code page). A code page
// the system cannot convert gives '?' and U+FFFD for every non-ASCII unit.
std::string WideToMultiByte(unsigned codePage, std::u16string_view text);
std::u16string MultiByteToWide(unsigned codePage, std::string_view bytes);
// Whether the code page (CP_ACP: the ANSI code page) stores the text as it
// is, every character coming back from the bytes unchanged. A lone
// surrogate is never stored.
bool CanStore(std::u16string_view text, unsigned codePage = CP_ACP);
// The code page of a locale name ("zh_TW.UTF-8" -> 950); C, POSIX and
// languages without an ANSI code page of their own give 936.
unsigned CodePageFromLocale(const char* locale);

} // namespace ce

// Conversion between UTF-16 and the ANSI code page.
#pragma once
#include <string>
#include <string_view>

namespace ce {

constexpr unsigned CP_ACP = 0;
constexpr unsigned CP_UTF8 = 65001;

// The ANSI code page: $CONTACTS_CODEPAGE, else from the language of LC_ALL,
// LC_CTYPE or LANG (zh_CN/zh_SG 936, zh_TW/zh_HK 950, ja 932, ko 949,
// Western European 1252, ...); C and POSIX give 936. $CONTACTS_CODEPAGE may
// also be 54936 (GB18030), which stores every character and reads GBK text
// unchanged.
unsigned GetACP();
// Overrides the code page for the rest of the process (tests); 0 goes back
// to the rule above, read anew from the environment.
void SetACP(unsigned codePage);

constexpr unsigned CP_GB18030 = 54936;

// A byte that the code page cannot decode (0xFF, a lone lead byte, 0x81 in
// 1252, ...) is kept in the text as one unit of U+DC80..U+DCFF, a range no
// decoder produces, and the encoder writes that unit back as the byte: text
// read and written again keeps every byte. Such a unit shows as U+FFFD and
// sorts as U+FFFD.
constexpr bool IsUndecodableByte(char16_t unit) { return unit >= 0xDC80 && unit <= 0xDCFF; }
constexpr char16_t UndecodableByteUnit(unsigned char byte) { return char16_t(0xDC00 + byte); }

// A character the code page lacks becomes '?'.
std::string WideToAnsi(std::u16string_view text);
std::u16string AnsiToWide(std::string_view bytes);
// The same for a given code page (CP_ACP is the ANSI code page). Decoding
// and encoding again gives back the same bytes, also where the code page
// maps two byte sequences to one character: such bytes are kept as
// undecodable. A code page the system cannot convert keeps every non-ASCII
// byte that way, and encodes any other non-ASCII character as '?'.
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

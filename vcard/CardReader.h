// The syntax of a vCard file: cards of content lines, unfolded, their values
// still encoded. What a value means is left to PropertyDecoding.
#pragma once
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace vcard {

// NAME=VALUE, or a bare VALUE as 2.1 writes it ("TEL;CELL"), whose name is
// empty. Names are upper case; values keep their case, without quotes.
struct Parameter {
    std::string name;
    std::string value;
};

// One property line of a card, as written.
struct ContentLine {
    int line = 0;       // where it begins in its file
    std::string group;  // "item1" of "item1.TEL"
    std::string name;   // upper case
    std::vector<Parameter> parameters;
    std::string value;  // everything after the first ':' outside quotes

    // The value of the first parameter of that (upper-case) name; empty when none.
    std::string_view Find(std::string_view parameter) const;
    // Whether a bare parameter equals `value` (upper case), letter case aside.
    bool HasBare(std::string_view value) const;
};

struct RawCard {
    int line = 0;        // of its BEGIN:VCARD
    std::string version; // "2.1", "3.0", "4.0", or empty when not given
    std::vector<ContentLine> properties;
    int nestedCards = 0; // 2.1 AGENT cards inside it, skipped whole
};

struct ReadError {
    int line = 0;
    std::string message;
};

// A card may take up to this many bytes of its file: more is no contact's
// data but input that would only fill the memory.
constexpr std::size_t MaxCardBytes = std::size_t(16) << 20;

// Splits a file into its cards: a UTF-8 byte-order mark, CRLF or LF, folded
// lines, quoted-printable soft line breaks and 2.1 base64 blocks are taken
// apart here, in time linear in the bytes. False on the first fault (text
// that is not vCard, a card without END:VCARD or larger than MaxCardBytes, a
// file without any card), with where it lies.
bool ReadCards(std::string_view bytes, std::vector<RawCard>& cards, ReadError& error);

// The file's physical lines, found one at a time: a line end is LF, and any
// CR before it (CR LF, or the CR CR LF some phones write) carries nothing.
class PhysicalLines {
public:
    explicit PhysicalLines(std::string_view bytes);

    bool AtEnd() const { return start >= bytes.size(); }
    int Number() const { return number; }
    std::size_t Offset() const { return start; }
    std::string_view Peek() const { return line; }
    std::string_view Next();

private:
    void Find();

    std::string_view bytes;
    std::size_t start = 0; // of the next line
    std::size_t end = 0;   // its LF, or the end of the bytes
    std::string_view line;
    int number = 1;
};

// ReadCards one card at a time, each read into the storage of the card
// before it: a file of many cards is read without a copy of its cards and,
// once the first cards have been read, mostly without allocating.
class CardStream {
public:
    explicit CardStream(std::string_view bytes) : lines(bytes) {}

    // The next card into `card`; false at the end of the file or on a fault,
    // which Failed() then tells and `error` describes.
    bool Next(RawCard& card, ReadError& error);
    bool Failed() const { return failed; }

private:
    bool ReadContentLine(bool version21, ContentLine& line);

    PhysicalLines lines;
    std::string unfolded;          // a content line of more than one physical line
    std::vector<ContentLine> spare; // lines of earlier, longer cards, their storage for the next
    bool anyCard = false;
    bool failed = false;
};

// Names, types and encodings are ASCII: what the user's locale says of
// other bytes does not change how a file reads.
inline char AsciiUpper(char c) { return c >= 'a' && c <= 'z' ? char(c - 'a' + 'A') : c; }

std::string UpperCase(std::string_view text);
// Into the storage `to` has.
void AssignUpperCase(std::string& to, std::string_view text);

// Whether the text is `upper` (upper case) when letter case is set aside.
inline bool EqualsUpper(std::string_view text, std::string_view upper)
{
    if (text.size() != upper.size())
        return false;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (AsciiUpper(text[i]) != upper[i])
            return false;
    }
    return true;
}

} // namespace vcard

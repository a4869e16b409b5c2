// The nine initial-letter groups, in the order of the letter bar.
#pragma once

struct LetterGroup {
    const char16_t* label;
    unsigned commandId;
    char16_t lo; // first and last initial, lower-case ASCII
    char16_t hi;
};

constexpr int LetterGroupCount = 9;
extern const LetterGroup LetterGroups[LetterGroupCount];

// The group of a letter-bar command; -1 for any other command.
int LetterGroupFromCommand(unsigned commandId);

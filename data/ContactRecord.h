// One contact: sixteen fields in a fixed order, each with its text, its
// label and, for the birthday, a date.
#pragma once
#include "platform/core/Types.h"
#include <array>
#include <memory>
#include <string>
#include <string_view>

// A field's position in its record and its identity.
using FieldId = int;
constexpr FieldId FieldName = 0;
constexpr FieldId FieldAddress = 1;
constexpr FieldId FieldTelephone = 2;
constexpr FieldId FieldMobile = 3;
constexpr FieldId FieldFax = 4;
constexpr FieldId FieldEmail = 5;
constexpr FieldId FieldBirthday = 6;
constexpr FieldId FieldCompany = 7;
constexpr FieldId FieldJobTitle = 8;
constexpr FieldId FieldDepartment = 9;
constexpr FieldId FieldOfficeAddress = 10;
constexpr FieldId FieldOfficeTelephone = 11;
constexpr FieldId FieldOfficeFax = 12;
constexpr FieldId FieldEmail2 = 13;
constexpr FieldId FieldEmail3 = 14;
constexpr FieldId FieldWebPage = 15;
constexpr int FieldCount = 16;

// Compares unit by unit after folding each unit to lower case; a proper
// prefix is the smaller. Negative, zero or positive.
int CompareNoCase(std::u16string_view a, std::u16string_view b);

// Where a name's first unit places it for the letter search.
enum InitialClassValue {
    InitialNone = 0,      // empty, or not an ASCII letter below U+4E00
    InitialUpper = 1,     // 'A' to 'Z'
    InitialLower = 2,     // 'a' to 'z'
    InitialIdeograph = 3, // U+4E00 and above
};

class ContactField {
public:
    ContactField() = default;
    ContactField(const ContactField& other) = default;
    ContactField& operator=(const ContactField& other) = default;
    virtual ~ContactField() = default;

    void GetLabel(std::u16string& text) const
    {
        if (label)
            text = *label;
        else
            text.clear();
    }
    // The text as shown and stored; the birthday as "yyyymmdd", empty
    // without a date.
    void GetText(std::u16string& text) const;
    // GetText of a text field without a copy; the birthday's is formed anew.
    std::u16string_view TextValue() const { return value; }
    // The date is taken only by the birthday; 0.0 clears it.
    void SetValue(std::u16string text, ce::DATE date);
    int IsEmpty() const;
    void CopyFrom(const ContactField& other) { *this = other; }
    // Whether the two differ as sort keys: letter case does not count.
    int DiffersFrom(const ContactField& other) const;
    int IsLessThan(const ContactField& other) const;

    FieldId GetFieldId() const { return fieldId; }
    ce::DATE GetDate() const { return date; }

    // Letter search on a name field; any other field answers as an empty name.
    int InitialClass() const;
    // Negative: before lo..hi (go on), 0: inside, positive: past it (stop).
    int LatinInitialTest(char16_t lo, char16_t hi) const;
    int PinyinInitialTest(char16_t lo, char16_t hi) const;

private:
    friend class ContactRecord;

    std::u16string value;
    // Labels are few and shared by every record: each text is kept once.
    const std::u16string* label = nullptr;
    ce::DATE date = 0.0;
    FieldId fieldId = 0;
};

class ContactRecord {
public:
    ContactRecord();
    ContactRecord(const ContactRecord& other);
    ContactRecord& operator=(const ContactRecord& other);
    virtual ~ContactRecord() = default;

    int GetFieldCount() const { return FieldCount; }
    // id must be a valid FieldId.
    ContactField* GetField(FieldId id) { return &fields[id]; }
    const ContactField* GetField(FieldId id) const { return &fields[id]; }

    void CopyFrom(const ContactRecord& other);
    // Labels from string-table entries 1 to 16 of the current resource module.
    void LoadLabels();
    // The labels of another record: LoadLabels for many records at once.
    void CopyLabelsFrom(const ContactRecord& other);

    // The birthday's bytes as the data file held them, kept only when they
    // are not what its date is written as (a weekday of 0, milliseconds, a
    // month 13): they are written back while the date is the one they give.
    using StoredDate = std::array<unsigned char, 16>;
    const StoredDate* BirthdayAsRead() const { return birthdayAsRead.get(); }
    void KeepBirthdayAsRead(const StoredDate& bytes) { birthdayAsRead = std::make_unique<StoredDate>(bytes); }

private:
    ContactField fields[FieldCount];
    std::unique_ptr<StoredDate> birthdayAsRead;
};

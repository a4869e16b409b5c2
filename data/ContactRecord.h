// One contact: sixteen fields in a fixed order, each with its text, its
// label and, for the birthday, a date.
#pragma once
#include "platform/core/Types.h"
#include <array>
#include <cstdint>
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

class ContactRecord;

// A field lives only inside its record, which holds its text: a field is
// its position there and nothing more.
class ContactField {
public:
    ContactField(const ContactField&) = delete;
    // Takes the other field's text and date, as CopyFrom.
    ContactField& operator=(const ContactField& other)
    {
        CopyFrom(other);
        return *this;
    }

    void GetLabel(std::u16string& text) const;
    // The text as shown and stored; the birthday as "yyyymmdd", empty
    // without a date.
    void GetText(std::u16string& text) const;
    // GetText of a text field without a copy; the birthday's is formed anew.
    // Valid until the next change of any field of the same record.
    std::u16string_view TextValue() const;
    // The date is taken only by the birthday; 0.0 clears it.
    void SetValue(std::u16string text, ce::DATE date);
    int IsEmpty() const;
    void CopyFrom(const ContactField& other);
    // Whether the two differ as sort keys: letter case does not count.
    int DiffersFrom(const ContactField& other) const;
    int IsLessThan(const ContactField& other) const;

    FieldId GetFieldId() const { return fieldId; }
    ce::DATE GetDate() const;

    // Letter search on a name field; any other field answers as an empty name.
    int InitialClass() const;
    // Negative: before lo..hi (go on), 0: inside, positive: past it (stop).
    int LatinInitialTest(char16_t lo, char16_t hi) const;
    int PinyinInitialTest(char16_t lo, char16_t hi) const;

private:
    friend class ContactRecord;
    ContactField() = default;

    const ContactRecord& Record() const;
    ContactRecord& Record();

    std::uint8_t fieldId = 0;
};

// The sixteen texts of a record in one block: where each ends, then the
// units of all of them. No block while every text is empty.
class RecordText {
public:
    RecordText() = default;
    RecordText(const RecordText& other);
    RecordText& operator=(const RecordText& other);
    RecordText(RecordText&& other) noexcept : block(other.block) { other.block = nullptr; }
    RecordText& operator=(RecordText&& other) noexcept;
    ~RecordText() { Free(); }

    std::u16string_view Of(FieldId id) const
    {
        if (!block)
            return {};
        const std::uint32_t begin = id ? Ends()[id - 1] : 0;
        return {Units() + begin, Ends()[id] - begin};
    }
    void Set(FieldId id, std::u16string_view text);
    // Every text at once: `units` holds them one after another, ends[id]
    // where the text of field id ends.
    void Assign(std::u16string_view units, const std::uint32_t ends[FieldCount]);
    // Asks the memory for the block ahead of its use.
    void Fetch() const { __builtin_prefetch(block); }

private:
    static constexpr std::size_t HeaderBytes = FieldCount * sizeof(std::uint32_t);
    const std::uint32_t* Ends() const { return reinterpret_cast<const std::uint32_t*>(block); }
    const char16_t* Units() const { return reinterpret_cast<const char16_t*>(block + HeaderBytes); }
    std::uint32_t Size() const { return block ? Ends()[FieldCount - 1] : 0; }
    void Free();

    unsigned char* block = nullptr;
};

class ContactRecord {
public:
    ContactRecord();
    ContactRecord(const ContactRecord& other);
    ContactRecord& operator=(const ContactRecord& other);
    ~ContactRecord() = default;

    int GetFieldCount() const { return FieldCount; }
    // id must be a valid FieldId.
    ContactField* GetField(FieldId id) { return &fields[id]; }
    const ContactField* GetField(FieldId id) const { return &fields[id]; }

    void CopyFrom(const ContactRecord& other);
    // Whether every field shows the same text and date as other's.
    bool HasSameValues(const ContactRecord& other) const;
    // Labels from string-table entries 1 to 16 of the current resource module.
    void LoadLabels();
    // The labels of another record: LoadLabels for many records at once.
    void CopyLabelsFrom(const ContactRecord& other) { labels = other.labels; }
    // Every text field's text at once, as RecordText::Assign; the birthday's
    // part must be empty.
    void AssignTexts(std::u16string_view units, const std::uint32_t ends[FieldCount]) { text.Assign(units, ends); }
    // A walk over many records waits on memory: ask for this one's texts ahead.
    void FetchTexts() const { text.Fetch(); }

    using Labels = std::array<std::u16string, FieldCount>;

    // The birthday's bytes as the data file held them, kept only when they
    // are not what its date is written as (a weekday of 0, milliseconds, a
    // month 13): they are written back while the date is the one they give.
    using StoredDate = std::array<unsigned char, 16>;
    const StoredDate* BirthdayAsRead() const { return birthdayAsRead.get(); }
    void KeepBirthdayAsRead(const StoredDate& bytes) { birthdayAsRead = std::make_unique<StoredDate>(bytes); }

private:
    friend class ContactField;

    // First, so that a field finds its record from its own position.
    ContactField fields[FieldCount];
    // Shared by every record that took the same labels; kept for the whole run.
    const Labels* labels = nullptr;
    ce::DATE birthday = 0.0;
    RecordText text;
    std::unique_ptr<StoredDate> birthdayAsRead;
};

inline const ContactRecord& ContactField::Record() const
{
    return *reinterpret_cast<const ContactRecord*>(this - fieldId);
}

inline ContactRecord& ContactField::Record()
{
    return *reinterpret_cast<ContactRecord*>(this - fieldId);
}

inline std::u16string_view ContactField::TextValue() const
{
    return Record().text.Of(fieldId);
}

inline ce::DATE ContactField::GetDate() const
{
    return fieldId == FieldBirthday ? Record().birthday : 0.0;
}

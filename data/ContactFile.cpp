// Reading and writing the contacts data file.
#include "data/ContactFileFormat.h"
#include "data/ContactList.h"

#include "platform/core/CodePage.h"
#include "platform/core/File.h"
#include "platform/core/OleDate.h"
#include "platform/core/System.h"

#include <cstring>
#include <memory>
#include <unordered_set>
#include <vector>

std::atomic<int> g_abortLoad{0};

namespace {

using namespace ContactFileFormat;

// The writer hands the file this much at a time.
constexpr std::size_t WriteBlockSize = 64 * 1024;

void EncodeDate(ce::DATE date, unsigned char out[DateSize])
{
    ce::SYSTEMTIME time;
    if (date == 0.0 || !ce::COleDateTime(date).GetAsSystemTime(time))
        time = ce::SYSTEMTIME{};
    EncodeSystemTime(time, out);
}

// A stored time that is no valid date (month 13, day 0, hour 25 ...) reads
// as no birthday, like the all-zero date.
ce::DATE DecodeBirthday(const unsigned char in[DateSize])
{
    const ce::SYSTEMTIME time = DecodeSystemTime(in);
    if (time.wYear == 0 && time.wMonth == 0 && time.wDay == 0)
        return 0.0;
    const ce::COleDateTime date(time);
    return date.GetStatus() == ce::COleDateTime::valid ? date.m_dt : 0.0;
}

void EncodeBirthday(const ContactRecord& record, unsigned char out[DateSize])
{
    const ce::DATE date = record.GetField(FieldBirthday)->GetDate();
    const ContactRecord::StoredDate* asRead = record.BirthdayAsRead();
    if (asRead && DecodeBirthday(asRead->data()) == date)
        std::memcpy(out, asRead->data(), DateSize);
    else
        EncodeDate(date, out);
}

void KeepOddBirthday(ContactRecord& record, const unsigned char in[DateSize])
{
    unsigned char written[DateSize];
    EncodeDate(DecodeBirthday(in), written);
    if (std::memcmp(written, in, DateSize) == 0)
        return;
    ContactRecord::StoredDate bytes;
    std::memcpy(bytes.data(), in, DateSize);
    record.KeepBirthdayAsRead(bytes);
}

// What each character is in the ANSI code page, learnt once for each in a
// save. The code pages encode character by character, except for surrogate
// pairs and kept bytes, and for those that join a letter and a mark: their
// texts are converted whole.
class AnsiCharacters {
public:
    AnsiCharacters() : eachAlone(ce::GetACP() != 1255 && ce::GetACP() != 1258) {}

    // The text as WideToAnsi gives it.
    void Append(std::string& block, std::u16string_view text)
    {
        if (eachAlone && AppendEach(block, text))
            return;
        block += ce::WideToAnsi(text);
    }

private:
    struct Encoded {
        bool known = false;
        unsigned char length = 0;
        char bytes[6] = {};
    };

    // False, and nothing appended, when a unit must be converted with the text around it.
    bool AppendEach(std::string& block, std::u16string_view text)
    {
        if (encoded.empty())
            encoded.resize(0x10000);
        const std::size_t start = block.size();
        for (const char16_t unit : text) {
            if (unit >= 0xD800 && unit <= 0xDFFF) {
                block.resize(start);
                return false;
            }
            Encoded& character = encoded[unit];
            if (!character.known) {
                const std::string bytes = ce::WideToAnsi(std::u16string_view(&unit, 1));
                if (bytes.size() > sizeof character.bytes) {
                    block.resize(start);
                    return false;
                }
                character.known = true;
                character.length = static_cast<unsigned char>(bytes.size());
                std::memcpy(character.bytes, bytes.data(), bytes.size());
            }
            block.append(character.bytes, character.length);
        }
        return true;
    }

    bool eachAlone;
    std::vector<Encoded> encoded; // by unit, once a text needs it
};

// A text never ends its field early: it is cut at an embedded NUL.
void AppendText(std::string& block, std::u16string_view text, AnsiCharacters& characters)
{
    // ASCII is the same in every ANSI code page: no conversion needed.
    const std::size_t start = block.size();
    block.resize(start + text.size());
    char16_t any = 0;
    std::size_t length = 0;
    for (; length < text.size() && text[length] != u'\0'; ++length) {
        any |= text[length];
        block[start + length] = static_cast<char>(text[length]);
    }
    block.resize(start + length);
    if (any >= 0x80) {
        block.resize(start);
        characters.Append(block, text.substr(0, length));
    }
    block.push_back(Terminator);
}

// ASCII is the same in every ANSI code page: no conversion needed.
void AppendDecoded(std::u16string& units, std::string_view bytes)
{
    const std::size_t start = units.size();
    units.resize(start + bytes.size());
    unsigned char any = 0;
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        const auto byte = static_cast<unsigned char>(bytes[i]);
        any |= byte;
        units[start + i] = byte;
    }
    if (any >= 0x80) {
        units.resize(start);
        units += ce::AnsiToWide(bytes);
    }
}

} // namespace

int ContactListBase::Save(const std::u16string& path) const
{
    return ce::CFile::Replace(path, [this](ce::CFile& file) {
        auto guard = Lock();
        std::string block;
        block.reserve(WriteBlockSize);
        AnsiCharacters characters;
        for (std::size_t i = 0; i < records.size(); ++i) {
            FetchAhead(i);
            const ContactRecord* record = records[i];
            if (!record)
                continue;
            for (FieldId id = 0; id < FieldCount; ++id) {
                if (IsDateField(id)) {
                    unsigned char bytes[DateSize];
                    EncodeBirthday(*record, bytes);
                    block.append(reinterpret_cast<const char*>(bytes), DateSize);
                    continue;
                }
                AppendText(block, record->GetField(id)->TextValue(), characters);
            }
            if (block.size() >= WriteBlockSize) {
                if (!file.Write(block.data(), block.size()))
                    return false;
                block.clear();
            }
        }
        guard.unlock();
        return block.empty() || file.Write(block.data(), block.size());
    });
}

void ContactListBase::TakeBackLoaded()
{
    auto guard = Lock();
    const std::unordered_set<ContactRecord*> doomed(loading.begin(), loading.end());
    std::erase_if(records, [&](ContactRecord* record) { return doomed.count(record) != 0; });
    for (ContactRecord* record : loading)
        delete record;
    loading.clear();
}

int ContactListBase::Load(const std::u16string& path)
{
    ce::CFile file;
    if (!file.Open(path, ce::CFile::modeRead | ce::CFile::shareExclusive))
        return 0;

    const std::unique_ptr<char[]> chunk(new char[ChunkSize]);
    auto record = std::make_unique<ContactRecord>();
    FieldId fieldIndex = 0;
    bool continuing = false;
    std::string pending; // bytes of a text field begun in an earlier chunk
    unsigned char date[DateSize] = {};
    std::size_t held = 0; // date bytes read so far
    // What this load appends is taken back if a read fails; the list forgets
    // a record it deletes meanwhile. Once the load ends, nothing is pending.
    struct LoadScope {
        ContactListBase& list;
        ~LoadScope()
        {
            auto guard = list.Lock();
            list.loading.clear();
        }
    } scope{*this};

    // The record's texts one after another, and where each ends.
    std::u16string units;
    std::uint32_t ends[FieldCount] = {};

    auto completeField = [&](std::string_view bytes) {
        if (!IsDateField(fieldIndex)) {
            AppendDecoded(units, bytes);
        } else if (held == DateSize) {
            record->GetField(fieldIndex)->SetValue(std::u16string(), DecodeBirthday(date));
            KeepOddBirthday(*record, date);
        } else {
            record->GetField(fieldIndex)->SetValue(std::u16string(), 0.0);
        }
        ends[fieldIndex] = std::uint32_t(units.size());
        continuing = false;
        held = 0;
        pending.clear();
        if (fieldIndex < FieldCount - 1) {
            ++fieldIndex;
            return;
        }
        record->AssignTexts(units, ends);
        units.clear();
        auto guard = Lock();
        records.push_back(record.get());
        loading.push_back(record.release());
        guard.unlock();
        record = std::make_unique<ContactRecord>();
        fieldIndex = 0;
    };

    for (;;) {
        const std::size_t n = file.Read(chunk.get(), ChunkSize);
        if (file.ReadFailed()) {
            TakeBackLoaded();
            return 0;
        }
        if (g_abortLoad.load())
            break;
        if (n == 0) {
            // A file cut inside a record keeps the contact with what was
            // read, whether the cut is inside a field or right after one:
            // the fields behind the cut stay empty, a cut birthday is none.
            while (continuing || fieldIndex != 0)
                completeField(pending);
            break;
        }
        std::size_t pos = 0;
        while (pos < n) {
            if (g_abortLoad.load())
                return 1;
            if (IsDateField(fieldIndex)) {
                const std::size_t take = std::min(DateSize - held, n - pos);
                std::memcpy(date + held, chunk.get() + pos, take);
                held += take;
                pos += take;
                if (held == DateSize)
                    completeField({});
                else
                    continuing = true;
                continue;
            }
            const char* start = chunk.get() + pos;
            const void* end = std::memchr(start, Terminator, n - pos);
            if (!end) {
                pending.append(start, n - pos);
                pos = n;
                continuing = true;
                break;
            }
            const std::size_t length = static_cast<const char*>(end) - start;
            pos += length + 1;
            if (continuing) {
                pending.append(start, length);
                completeField(pending);
            } else {
                completeField(std::string_view(start, length));
            }
        }
    }
    return 1;
}

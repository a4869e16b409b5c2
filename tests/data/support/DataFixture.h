// Shared set-up of the contact data tests: code page 936, a temporary
// folder, contact builders and raw file access.
#pragma once
#include "data/ContactList.h"
#include "platform/core/CodePage.h"
#include "platform/core/File.h"
#include "platform/core/OleDate.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace testdata {

using Bytes = std::vector<unsigned char>;

inline std::u16string Utf16(const std::string& hostPath)
{
    return std::u16string(hostPath.begin(), hostPath.end());
}

inline ce::DATE MakeDate(int year, int month, int day, int hour = 0, int minute = 0, int second = 0)
{
    ce::SYSTEMTIME time;
    time.wYear = ce::WORD(year);
    time.wMonth = ce::WORD(month);
    time.wDay = ce::WORD(day);
    time.wHour = ce::WORD(hour);
    time.wMinute = ce::WORD(minute);
    time.wSecond = ce::WORD(second);
    return ce::COleDateTime(time).m_dt;
}

// A new record with the given name and, optionally, other fields.
inline ContactRecord* MakeContact(const std::u16string& name, ce::DATE birthday = 0.0,
                                  const std::u16string& telephone = u"")
{
    auto* record = new ContactRecord;
    record->GetField(FieldName)->SetValue(name, 0.0);
    record->GetField(FieldTelephone)->SetValue(telephone, 0.0);
    record->GetField(FieldBirthday)->SetValue(u"", birthday);
    return record;
}

inline std::u16string TextOf(const ContactRecord& record, FieldId id)
{
    std::u16string text;
    record.GetField(id)->GetText(text);
    return text;
}

inline std::u16string NameAt(const ContactListBase& list, int index)
{
    auto guard = list.Lock();
    const ContactRecord* record = list.GetAt(index);
    return record ? TextOf(*record, FieldName) : u"<none>";
}

inline std::vector<std::u16string> Names(const ContactListBase& list)
{
    auto guard = list.Lock();
    std::vector<std::u16string> names;
    for (int i = 0; i < list.GetCount(); ++i)
        names.push_back(NameAt(list, i));
    return names;
}

// Keeps the code page fixed and gives every test its own empty folder.
class DataTest : public ::testing::Test {
protected:
    DataTest()
    {
        ce::SetACP(936);
        g_abortLoad = 0;
        ce::CFile::SetFaultHook(nullptr);
        std::string pattern = (std::filesystem::temp_directory_path() / "contacts-data-XXXXXX").string();
        if (!mkdtemp(pattern.data()))
            ADD_FAILURE() << "cannot make a temporary folder";
        dir = pattern;
    }

    ~DataTest() override
    {
        ce::CFile::SetFaultHook(nullptr);
        g_abortLoad = 0;
        std::error_code error;
        std::filesystem::remove_all(dir, error);
    }

    std::string HostPath(const std::string& name) const { return (dir / name).string(); }
    std::u16string PathOf(const std::string& name) const { return Utf16(HostPath(name)); }

    Bytes ReadBytes(const std::string& name) const
    {
        std::ifstream in(HostPath(name), std::ios::binary);
        return Bytes(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    }

    void WriteBytes(const std::string& name, const Bytes& bytes) const
    {
        std::ofstream out(HostPath(name), std::ios::binary | std::ios::trunc);
        out.write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
    }

    std::vector<std::string> FilesInDir() const
    {
        std::vector<std::string> names;
        for (const auto& entry : std::filesystem::directory_iterator(dir))
            names.push_back(entry.path().filename().string());
        return names;
    }

    std::filesystem::path dir;
};

// Bytes of one record as the file holds it: text fields in the code page
// with their terminator, the birthday as 16 bytes.
inline void AppendRecordBytes(Bytes& out, const std::vector<std::string>& texts,
                              const Bytes& date = Bytes(16, 0))
{
    std::size_t next = 0;
    for (FieldId id = 0; id < FieldCount; ++id) {
        if (id == FieldBirthday) {
            out.insert(out.end(), date.begin(), date.end());
            continue;
        }
        if (next < texts.size())
            out.insert(out.end(), texts[next].begin(), texts[next].end());
        ++next;
        out.push_back(0);
    }
}

} // namespace testdata

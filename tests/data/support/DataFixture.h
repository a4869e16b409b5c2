// Shared set-up of the contact data tests: code page 936, a temporary
// folder, contact builders and raw file access.
#pragma once
#include "data/ContactList.h"
#include "platform/core/CodePage.h"
#include "platform/core/File.h"
#include "platform/core/OleDate.h"
#include "tests/common/FaultyEnv.h"
#include "tests/common/Files.h"

#include <gtest/gtest.h>
#include <filesystem>
#include <string>
#include <vector>

namespace testdata {

using Bytes = std::vector<unsigned char>;
using Names = std::vector<std::u16string>;

inline ce::DATE MakeDate(int year, int month, int day, int hour = 0, int minute = 0, int second = 0)
{
    ce::SYSTEMTIME t;
    t.wYear = ce::WORD(year), t.wMonth = ce::WORD(month), t.wDay = ce::WORD(day);
    t.wHour = ce::WORD(hour), t.wMinute = ce::WORD(minute), t.wSecond = ce::WORD(second);
    return ce::COleDateTime(t).m_dt;
}

inline std::unique_ptr<ContactRecord> MakeContact(const std::u16string& name, ce::DATE birthday = 0.0,
                                                  const std::u16string& telephone = u"")
{
    auto record = std::make_unique<ContactRecord>();
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

inline Names NamesOf(const ContactListBase& list)
{
    auto guard = list.Lock();
    Names names;
    for (int i = 0; i < list.GetCount(); ++i)
        names.push_back(TextOf(*list.GetAt(i), FieldName));
    return names;
}

// One record as the file holds it: the given texts fill the text fields
// from the name on, the birthday is the 16 date bytes.
inline void AppendRecordBytes(Bytes& out, const std::vector<std::string>& texts, const Bytes& date = Bytes(16, 0))
{
    for (FieldId id = 0, next = 0; id < FieldCount; ++id) {
        if (id == FieldBirthday) {
            out.insert(out.end(), date.begin(), date.end());
            continue;
        }
        if (std::size_t(next) < texts.size())
            out.insert(out.end(), texts[next].begin(), texts[next].end());
        ++next;
        out.push_back(0);
    }
}

// Fixes the code page and gives every test its own empty folder.
class DataTest : public ::testing::Test {
protected:
    // Tests that save thousands of files may ask for a folder in memory: every
    // save syncs its file and folder to the disk.
    explicit DataTest(bool inMemory = false)
    {
        ce::SetACP(936);
        g_abortLoad = 0;
        dir = MakeTempFolder("data", inMemory);
    }

    ~DataTest() override
    {
        UseFaultyEnv(nullptr);
        g_abortLoad = 0;
        RemoveFolder(dir);
    }

    std::filesystem::path HostPath(const std::string& name) const { return dir / name; }
    std::u16string PathOf(const std::string& name) const { return HostPath(name).u16string(); }

    Bytes ReadBytes(const std::string& name) const
    {
        const std::string bytes = ReadHostFile(HostPath(name));
        return Bytes(bytes.begin(), bytes.end());
    }

    void WriteBytes(const std::string& name, const Bytes& bytes) const
    {
        WriteHostFile(HostPath(name), std::string(bytes.begin(), bytes.end()));
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

} // namespace testdata

// Realistic contacts for the benchmarks: Latin, accented and Chinese names
// with addresses, numbers, mail and birthdays, the same on every run.
#pragma once
#include "data/ContactList.h"
#include "platform/core/CodePage.h"
#include "tests/common/Files.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <map>
#include <memory>
#include <string>
#include <vector>

namespace testdata {

class SampleContacts {
public:
    explicit SampleContacts(std::uint32_t seed = 12345) : state(seed) {}

    std::u16string Name()
    {
        static const char16_t* latin[] = {u"Ana", u"Bruno", u"Carla", u"Diego", u"Elena", u"Fern\u00E1ndez",
                                          u"Garc\u00EDa", u"Hugo", u"In\u00E9s", u"Jorge", u"Karen", u"Luc\u00EDa",
                                          u"Mart\u00EDn", u"Nora", u"\u00D3scar", u"Pablo", u"Quique", u"Rosa",
                                          u"Sergio", u"Teresa", u"Ulises", u"Vera", u"Walter", u"Ximena",
                                          u"Yolanda", u"Zoe"};
        static const char16_t* surnames[] = {u"Mu\u00F1oz", u"L\u00F3pez", u"Smith", u"Ruiz", u"Moreno", u"D\u00EDaz"};
        static const char16_t chineseFamily[] = u"\u738B\u674E\u5F20\u5218\u9648\u6768\u8D75\u9EC4\u5468\u5434"
                                                u"\u5F90\u5B59\u80E1\u6731\u9AD8\u6797\u4F55\u90ED\u9A6C\u7F57";
        static const char16_t chineseGiven[] = u"\u4F1F\u82B3\u5A1C\u654F\u9759\u4E3D\u5F3A\u78CA\u519B\u6D0B"
                                               u"\u52C7\u8273\u6770\u5A1F\u6D9B\u660E\u8D85\u79C0\u971E\u5E73";
        if (Next(3) == 0) {
            std::u16string name(1, chineseFamily[Next(20)]);
            name += chineseGiven[Next(20)];
            if (Next(2))
                name += chineseGiven[Next(20)];
            return name;
        }
        return std::u16string(latin[Next(26)]) + u" " + surnames[Next(6)];
    }

    ContactRecord Contact()
    {
        ContactRecord record;
        record.GetField(FieldName)->SetValue(Name(), 0.0);
        record.GetField(FieldAddress)->SetValue(u"Calle Mayor " + Number(3) + u", 28013 Madrid", 0.0);
        record.GetField(FieldTelephone)->SetValue(u"+34 91 " + Number(7), 0.0);
        record.GetField(FieldMobile)->SetValue(u"6" + Number(8), 0.0);
        record.GetField(FieldEmail)->SetValue(u"user" + Number(5) + u"@example.com", 0.0);
        if (Next(4))
            record.GetField(FieldBirthday)->SetValue(u"", 20000.0 + Next(20000));
        if (Next(2)) {
            record.GetField(FieldCompany)->SetValue(u"\u5317\u4EAC\u79D1\u6280\u6709\u9650\u516C\u53F8", 0.0);
            record.GetField(FieldJobTitle)->SetValue(u"Ingeniera", 0.0);
            record.GetField(FieldOfficeTelephone)->SetValue(u"+86 10 " + Number(8), 0.0);
        }
        return record;
    }

    // The book of a typical user: a name, two telephones, an e-mail and, for
    // some, a company; about 93 bytes a contact in the data file.
    ContactRecord Plain()
    {
        ContactRecord record;
        record.GetField(FieldName)->SetValue(Name(), 0.0);
        record.GetField(FieldTelephone)->SetValue(u"+34 91 " + Number(7), 0.0);
        record.GetField(FieldMobile)->SetValue(u"6" + Number(8), 0.0);
        record.GetField(FieldEmail)->SetValue(u"user" + Number(5) + u"@example.com", 0.0);
        if (Next(3) == 0)
            record.GetField(FieldCompany)->SetValue(u"Ferreteria Lopez S.L.", 0.0);
        return record;
    }

private:
    int Next(int bound)
    {
        state = state * 1664525u + 1013904223u;
        return int((state >> 8) % std::uint32_t(bound));
    }

    std::u16string Number(int digits)
    {
        std::u16string text;
        for (int i = 0; i < digits; ++i)
            text += char16_t(u'0' + Next(10));
        return text;
    }

    std::uint32_t state;
};

inline std::unique_ptr<ContactRecord> Named(const std::u16string& name)
{
    auto record = std::make_unique<ContactRecord>();
    record->GetField(FieldName)->SetValue(name, 0.0);
    return record;
}

// 100,000 sample names, a third of them Chinese, in name order and, as
// after loading the data file, allocated in that order.
inline ContactListBase& SortedNames()
{
    static ContactListBase list;
    static const bool filled = [] {
        ce::SetACP(936);
        SampleContacts sample;
        std::vector<std::unique_ptr<ContactRecord>> records;
        for (int i = 0; i < 100000; ++i)
            records.push_back(Named(sample.Name()));
        std::stable_sort(records.begin(), records.end(), [](const auto& a, const auto& b) {
            return a->GetField(FieldName)->IsLessThan(*b->GetField(FieldName));
        });
        for (const auto& record : records)
            list.Append(std::make_unique<ContactRecord>(*record));
        return true;
    }();
    (void)filled;
    return list;
}

// A data file of `count` sample contacts in a temporary folder of its own,
// code page 936, with the list it was saved from and its bytes.
struct SampleFile {
    explicit SampleFile(int count, bool plain = false)
    {
        ce::SetACP(936);
        SampleContacts sample;
        for (int i = 0; i < count; ++i)
            list.Append(std::make_unique<ContactRecord>(plain ? sample.Plain() : sample.Contact()));
        if (!list.Save(Path("Contacts.pcd")))
            std::abort();
        bytes = ReadHostFile(dir.File("Contacts.pcd"));
    }

    std::u16string Path(const char* name) const
    {
        const std::string host = dir.File(name);
        return std::u16string(host.begin(), host.end());
    }

    TempDir dir{"bench"};
    ContactListBase list;
    std::string bytes;
};

// The sample file of `count` contacts, made once per size and kept.
inline SampleFile& SampleOf(int count)
{
    static std::map<int, std::unique_ptr<SampleFile>> made;
    std::unique_ptr<SampleFile>& file = made[count];
    if (!file)
        file = std::make_unique<SampleFile>(count);
    return *file;
}

} // namespace testdata

// Shared set-up of the vCard tests: a temporary device root with its own
// instance-marker folder and code page 936, the command line run in this
// process, and cards read and mapped from text.
#pragma once
#include "data/ContactList.h"
#include "data/ContactStore.h"
#include "platform/core/CodePage.h"
#include "platform/core/FileSystem.h"
#include "tests/common/Files.h"
#include "tests/data/support/DataFixture.h"
#include "vcard/CommandLine.h"
#include "vcard/FieldMapping.h"

#include <gtest/gtest.h>

#include <array>
#include <string>
#include <string_view>
#include <vector>

namespace vcardtest {

// The 16 fields of a contact as shown, the birthday as "yyyymmdd".
using Fields = std::array<std::u16string, FieldCount>;

inline Fields FieldsOf(const ContactRecord& record)
{
    Fields fields;
    for (FieldId id = 0; id < FieldCount; ++id)
        record.GetField(id)->GetText(fields[id]);
    return fields;
}

inline std::vector<Fields> FieldsOf(const ContactListBase& list)
{
    std::vector<Fields> all;
    auto guard = list.Lock();
    for (int i = 0; i < list.GetCount(); ++i)
        all.push_back(FieldsOf(*list.GetAt(i)));
    return all;
}

using testdata::MakeDate;

// Every card of `text`, read and mapped; false with `error` set on the first fault.
inline bool MapAll(std::string_view text, std::vector<vcard::MappedCard>& mapped, vcard::ReadError& error,
                   unsigned ansiCodePage = 936)
{
    std::vector<vcard::RawCard> cards;
    vcard::PropertyDecoder decoder(ansiCodePage);
    if (!vcard::ReadCards(text, cards, error))
        return false;
    mapped.resize(cards.size());
    for (std::size_t i = 0; i < cards.size(); ++i)
        if (!vcard::MapCard(cards[i], decoder, mapped[i], error))
            return false;
    return true;
}

// The one card of `text`, read and mapped; a fault fails the test.
inline vcard::MappedCard MapOne(std::string_view text, unsigned ansiCodePage = 936)
{
    std::vector<vcard::MappedCard> mapped;
    vcard::ReadError error;
    if (!MapAll(text, mapped, error, ansiCodePage) || mapped.size() != 1)
        ADD_FAILURE() << "line " << error.line << ": " << error.message << " (" << mapped.size() << " cards)";
    return mapped.empty() ? vcard::MappedCard() : mapped[0];
}

// A fresh device root (no "My Flash Disk" yet) and marker folder.
class BookFixture : public ::testing::Test {
protected:
    void SetUp() override
    {
        ce::SetACP(936);
        root = MakeTempFolder("vcard");
        dataFile = root + "/My Flash Disk/PIM/Contacts.pcd";
        UseDeviceRoot(root);
    }

    void TearDown() override
    {
        ce::SetDeviceRoot("");
        ce::SetACP(0);
        RemoveFolder(root);
    }

    // A file beside the device root with these bytes; returns its path.
    std::string Source(const std::string& name, std::string_view bytes) const
    {
        const std::string path = root + "/" + name;
        WriteHostFile(path, bytes);
        return path;
    }

    // The program's two modes, run here; standard error is kept in `said`.
    int Import(std::vector<std::string> files, bool dryRun = false)
    {
        return Run([&] { return vcard::RunImport(files, dryRun); });
    }

    int Export(const std::string& file)
    {
        return Run([&] { return vcard::RunExport(file); });
    }

    bool Said(std::string_view text) const { return said.find(text) != std::string::npos; }

    std::vector<Fields> Book() const
    {
        ContactListBase list;
        list.Load(ContactStoreFile);
        return FieldsOf(list);
    }

    std::vector<std::u16string> Names() const
    {
        std::vector<std::u16string> names;
        for (const Fields& contact : Book())
            names.push_back(contact[FieldName]);
        return names;
    }

    std::string root;
    std::string dataFile;
    std::string said;

private:
    template <typename Mode> int Run(Mode mode)
    {
        testing::internal::CaptureStderr();
        const int status = mode();
        said = testing::internal::GetCapturedStderr();
        return status;
    }
};

} // namespace vcardtest

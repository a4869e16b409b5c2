// Opening and saving a data file changes no byte, whatever its texts hold:
// random files of whole records in every code page the program supports.
#include "support/DataFixture.h"

#include "data/ContactFileFormat.h"

#include <iostream>
#include <random>

using namespace testdata;

namespace {

constexpr int FilesPerCodePage = 1000;

class FileRoundTripTest : public DataTest {
protected:
    FileRoundTripTest() : DataTest(true) {}

    // Mostly bytes above 0x7F, so that lead and trail bytes meet in every
    // combination; now and then a field long enough to cross a chunk end.
    std::string RandomText()
    {
        const int roll = int(random() % 100);
        const std::size_t length = roll < 15 ? 0 : roll < 98 ? random() % 24 : 1000 + random() % 4000;
        std::string text(length, '\0');
        for (char& c : text)
            c = char(random() % 4 == 0 ? 1 + random() % 0x7F : 0x80 + random() % 0x80);
        return text;
    }

    // No birthday, or a valid one as the writer stores it.
    Bytes RandomDate()
    {
        Bytes bytes(16, 0);
        ce::SYSTEMTIME time;
        const ce::DATE date = MakeDate(1740 + int(random() % 400), 1 + int(random() % 12), 1 + int(random() % 28),
                                       int(random() % 24), int(random() % 60), int(random() % 60));
        if (random() % 3 != 0 && ce::COleDateTime(date).GetAsSystemTime(time))
            ContactFileFormat::EncodeSystemTime(time, bytes.data());
        return bytes;
    }

    Bytes RandomFile()
    {
        Bytes file;
        const int records = 1 + int(random() % 4);
        for (int r = 0; r < records; ++r) {
            std::vector<std::string> texts;
            for (int i = 0; i < FieldCount - 1; ++i)
                texts.push_back(RandomText());
            AppendRecordBytes(file, texts, RandomDate());
        }
        return file;
    }

    std::mt19937 random{20261207};
};

TEST_F(FileRoundTripTest, LoadThenSaveGivesBackEveryByteInEveryCodePage)
{
    for (unsigned codePage : {936u, 950u, 932u, 949u, 1252u, 54936u}) {
        ce::SetACP(codePage);
        int identical = 0;
        for (int i = 0; i < FilesPerCodePage; ++i) {
            const Bytes original = RandomFile();
            WriteBytes("in.pcd", original);
            ContactListBase list;
            ASSERT_EQ(list.Load(PathOf("in.pcd")), 1);
            ASSERT_EQ(list.Save(PathOf("out.pcd")), 1);
            const Bytes saved = ReadBytes("out.pcd");
            if (saved != original) {
                ADD_FAILURE() << "code page " << codePage << ", file " << i << ": " << original.size()
                              << " bytes read, " << saved.size() << " written";
                break;
            }
            ++identical;
        }
        std::cout << "code page " << codePage << ": " << identical << " files read and written unchanged\n";
    }
}

// GB18030 stores Spanish and Chinese names side by side, as GBK cannot.
TEST_F(FileRoundTripTest, GB18030KeepsMixedNames)
{
    ce::SetACP(ce::CP_GB18030);
    ContactListBase mixed, loaded;
    mixed.Append(MakeContact(u"N\u00FA\u00F1ez \u738B"));
    ASSERT_EQ(mixed.Save(PathOf("mixed.pcd")), 1);
    ASSERT_EQ(loaded.Load(PathOf("mixed.pcd")), 1);
    EXPECT_EQ(NamesOf(loaded), Names{u"N\u00FA\u00F1ez \u738B"});
}

} // namespace

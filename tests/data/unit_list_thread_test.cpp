#include "tests/data/support/DataFixture.h"

#include <thread>

using namespace testdata;

// A saved file of numbered contacts: "Contact n" with telephone "n".
class ListThreadTest : public DataTest {
protected:
    void SaveNumbered(int count)
    {
        ContactListBase source;
        for (int i = 0; i < count; ++i) {
            const std::u16string number = Utf16(std::to_string(i));
            source.Append(MakeContact(u"Contact " + number, 0.0, number));
        }
        ASSERT_EQ(source.Save(path), 1);
    }

    const std::u16string path = PathOf("Contacts.pcd");
};

TEST_F(ListThreadTest, ReaderUnderTheLockSeesWholeRecordsWhileTheLoaderReloads)
{
    SaveNumbered(2000);
    ContactList list;
    std::atomic<bool> done{false};
    std::atomic<int> reads{0};
    std::atomic<int> mismatches{0};

    std::thread reader([&] {
        std::u16string name;
        std::u16string telephone;
        std::u16string label;
        while (!done) {
            auto guard = list.Lock();
            const int count = list.GetCount();
            for (int i = 0; i < count; i += 97) {
                const ContactRecord* record = list.GetAt(i);
                record->GetField(FieldName)->GetText(name);
                record->GetField(FieldTelephone)->GetText(telephone);
                record->GetField(FieldName)->GetLabel(label);
                if (name != u"Contact " + telephone)
                    ++mismatches;
                ++reads;
            }
        }
    });

    for (int round = 0; round < 15; ++round) {
        list.Clear();
        ASSERT_EQ(list.Load(path), 1);
        ASSERT_EQ(list.GetCount(), 2000);
    }
    done = true;
    reader.join();
    EXPECT_EQ(mismatches, 0);
    EXPECT_GT(reads, 0);
}

TEST_F(ListThreadTest, AbortFlagStopsALoadAndKeepsOnlyCompleteRecords)
{
    const int total = 60000;
    SaveNumbered(total);
    ContactList list;
    std::thread watcher([&] {
        while (list.GetCount() < 10)
            std::this_thread::yield();
        g_abortLoad = 1;
    });
    EXPECT_EQ(list.Load(path), 1);
    watcher.join();

    auto guard = list.Lock();
    const int count = list.GetCount();
    EXPECT_GE(count, 10);
    EXPECT_LT(count, total);
    for (int i = 0; i < count; ++i) {
        const std::u16string number = Utf16(std::to_string(i));
        ASSERT_EQ(TextOf(*list.GetAt(i), FieldName), u"Contact " + number);
        ASSERT_EQ(TextOf(*list.GetAt(i), FieldTelephone), number);
    }
    std::u16string label;
    list.GetAt(count - 1)->GetField(FieldWebPage)->GetLabel(label);
    EXPECT_EQ(label, u"Pagina web:");
}

#include "tests/data/support/DataFixture.h"

#include <chrono>
#include <thread>

using namespace testdata;

// A data file of numbered contacts: the name "Contact n", the telephone n and
// the web page n, the last field, which a record cut short lacks.
class ListThreadTest : public DataTest {
protected:
    void SaveNumbered(int count)
    {
        ContactListBase source;
        for (int i = 0; i < count; ++i) {
            const std::u16string number = ce::Utf8ToUtf16(std::to_string(i));
            auto contact = MakeContact(u"Contact " + number, 0.0, number);
            contact->GetField(FieldWebPage)->SetValue(number, 0.0);
            source.Append(std::move(contact));
        }
        ASSERT_EQ(source.Save(path), 1);
    }

    const std::u16string path = PathOf("Contacts.pcd");
    ContactList list;
};

TEST_F(ListThreadTest, ReaderUnderTheLockSeesWholeRecordsWhileTheLoaderReloads)
{
    SaveNumbered(2000);
    std::atomic<bool> done{false};
    int reads = 0, torn = 0;
    std::thread reader([&] {
        std::u16string name, telephone;
        while (!done) {
            {
                auto guard = list.Lock();
                for (int i = 0; i < list.GetCount(); i += 97) {
                    list.GetAt(i)->GetField(FieldName)->GetText(name);
                    list.GetAt(i)->GetField(FieldTelephone)->GetText(telephone);
                    torn += name != u"Contact " + telephone;
                    ++reads;
                }
            }
            // Paint now and then: a reader that never pauses starves the loader.
            std::this_thread::sleep_for(std::chrono::microseconds(100));
        }
    });
    for (int round = 0; round < 15; ++round) {
        list.Clear();
        ASSERT_EQ(list.Load(path), 1);
        ASSERT_EQ(list.GetCount(), 2000);
    }
    done = true;
    reader.join();
    EXPECT_EQ(torn, 0);
    EXPECT_GT(reads, 0);
}

TEST_F(ListThreadTest, AbortFlagStopsALoadAndKeepsOnlyCompleteRecords)
{
    const int total = 60000;
    SaveNumbered(total);
    std::thread watcher([&] {
        while (list.GetCount() < 10)
            std::this_thread::yield();
        g_abortLoad = 1;
    });
    EXPECT_EQ(list.Load(path), 1);
    watcher.join();

    const int count = list.GetCount();
    EXPECT_GE(count, 10);
    EXPECT_LT(count, total);
    for (int i = 0; i < count; ++i)
        ASSERT_EQ(TextOf(*list.GetAt(i), FieldWebPage), ce::Utf8ToUtf16(std::to_string(i)));
    std::u16string label;
    list.GetAt(count - 1)->GetField(FieldWebPage)->GetLabel(label);
    EXPECT_EQ(label, u"Pagina web:");
}

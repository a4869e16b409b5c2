// The list window keeps answering while a loader thread empties and refills
// the contact list and sets the view's count, as the frame's reload does.
#include "platform/ui/testing/ScreenGrab.h"
#include "tests/listwnd/support/ListWndTestSupport.h"
#include <atomic>
#include <thread>

namespace {

using ListWindowThreadTest = ListWndTest;

TEST_F(ListWindowThreadTest, ReadsAndCommandsDuringReloadsSeeWholeContacts)
{
    Load({u"P-a", u"P-b"});
    list().SendMessage(WM_CONTACTS_LOADED);
    uiharness::AnsweredMessageBoxes boxes;
    std::atomic<bool> done{false};
    const ce::HWND viewWindow = view().m_hWnd, listWindow = list().m_hWnd;
    std::thread loader([&] {
        for (int load = 0; load < 30; ++load) {
            g_contactList.Clear();
            for (int i = 0; i < (load % 6) * 15; ++i) {
                auto contact = std::make_unique<ContactRecord>();
                contact->GetField(FieldName)->SetValue(u"P-" + std::u16string(1, char16_t(u'a' + i % 26)), 0.0);
                g_contactList.Append(std::move(contact));
            }
            ce::SendMessageW(viewWindow, ce::LVM_SETITEMCOUNT, ce::WPARAM(g_contactList.GetCount()),
                             ce::LVSICF_NOINVALIDATEALL);
            ce::PostMessageW(listWindow, WM_CONTACTS_LOADED);
        }
        done = true;
    });

    int reads = 0, foreign = 0;
    while (!done) {
        ce::PumpMessages();
        const int count = view().GetItemCount();
        for (int row = count - 3; row < count + 3; ++row, ++reads) {
            const std::u16string text = view().GetItemText(row, 0);
            foreign += !text.empty() && text.rfind(u"P-", 0) != 0;
        }
        view().Invalidate(ce::FALSE);
        ce::GrabWindow(viewWindow);
        Command(ID_LETTERS_XYZ);
        Command(ID_CONTACT_DELETE);
    }
    loader.join();
    ce::PumpMessages();
    EXPECT_GT(reads, 0);
    EXPECT_EQ(foreign, 0);
    EXPECT_FALSE(boxes.texts.empty());
    EXPECT_EQ(view().GetItemCount(), g_contactList.GetCount());
    EXPECT_EQ(Current(), g_contactList.GetCount() > 0 ? 0 : -1);
}

} // namespace

// "Sincronizar" in the running program: the item in the "Archivo" menu, the
// sync in the background, the list showing the synced contacts and the
// message box with the result; pictures of both.
#include "support/SyncFixture.h"

#include "platform/ui/CommandBar.h"
#include "platform/ui/Host.h"
#include "platform/ui/MessageBox.h"
#include "res/resource.h"
#include "shell/ContactApp.h"
#include "shell/MainFrm.h"
#include "../common/UiHarness.h"
#include "../shell/support/ShellFixtures.h"

using namespace synctest;
using shelltest::ListedPeople;

namespace {

class SyncMenu : public SyncFixture {
protected:
    void SetUp() override
    {
        SyncFixture::SetUp();
        SetUpSync();
        WriteBook({Contact(u"Ana", u"111")});
        ASSERT_EQ(server->PutCard("carla.vcf", Card("carla", "Carla", "TEL;TYPE=CELL:222\r\n")), 201);
    }

    // Pictures the box once it is up (looking every 5 ms, 30 s at most), then closes it.
    static void PictureTheBoxWhenUp(const char* picture, bool& seen, int looks = 6000)
    {
        ce::PostTask([picture, &seen, looks] {
            const ce::HWND box = ce::FindWindowW(ce::MESSAGEBOX_CLASSW, nullptr);
            if (!box && looks > 0) {
                std::this_thread::sleep_for(std::chrono::milliseconds(5));
                return PictureTheBoxWhenUp(picture, seen, looks - 1);
            }
            seen = box != nullptr;
            EXPECT_TRUE(uiharness::SavePicture(picture));
            ce::SendMessageW(box, ce::WM_CLOSE);
        });
    }
};

TEST_P(SyncMenu, SyncsInTheBackgroundShowsTheContactsAndTellsTheResult)
{
    ::setenv("CONTACTS_UI_LANGUAGE", "0c0a", 1);
    CContactApp app;
    ASSERT_TRUE(app.InitApplication());
    ASSERT_TRUE(app.InitInstance());
    auto* frame = dynamic_cast<CMainFrame*>(app.m_pMainWnd);
    ASSERT_NE(frame, nullptr);
    const ce::HWND frameWindow = frame->m_hWnd;
    // The menu's contact items follow the list's current row, which the list sets once it has the loaded book.
    ASSERT_TRUE(shelltest::WaitFor([&] {
        return !frame->IsLoading() && g_contactList.GetCount() == 1 && shelltest::CurrentRowOf(frame->GetListView()) == 0;
    }));

    auto* bar = shelltest::ChildOf<ce::CCommandBar>(frameWindow);
    ASSERT_NE(bar, nullptr);
    EXPECT_EQ(ce::GetMenuText(ce::GetSubMenu(bar->GetMenu(), 0), ID_FILE_SYNC, ce::MF_BYCOMMAND),
              u"Sin&cronizar");
    bar->TrackPopup(0);
    ce::PumpMessages();
    ASSERT_NE(bar->GetPopupWindow(), nullptr);
    EXPECT_TRUE(uiharness::SavePicture("sync-menu"));
    bar->TrackPopup(0);

    bool seen = false;
    PictureTheBoxWhenUp("sync-done", seen);
    ce::PostMessageW(frameWindow, ce::WM_COMMAND, ID_FILE_SYNC, 0);
    const std::vector<shelltest::Person> synced = {{u"Ana", u""}, {u"Carla", u""}};
    EXPECT_TRUE(shelltest::WaitFor([&] { return seen && !frame->IsLoading() && ListedPeople() == synced; }, 30000));
    EXPECT_EQ(ServerBook(), Book());

    // The box says what moved.
    ASSERT_EQ(server->PutCard("dora.vcf", Card("dora", "Dora")), 201);
    {
        uiharness::AnsweredMessageBoxes boxes;
        ce::PostMessageW(frameWindow, ce::WM_COMMAND, ID_FILE_SYNC, 0);
        EXPECT_TRUE(shelltest::WaitFor(
            [&] { return !boxes.texts.empty() && !frame->IsLoading() && ListedPeople().size() == 3; }, 30000));
        EXPECT_EQ(boxes.texts,
                  std::vector<std::u16string>{u"Sincronizacion terminada.\nRecibidos: 1, enviados: 0, borrados: 0, conflictos: 0"});
    }

    ce::PostMessageW(frameWindow, ce::WM_COMMAND, ce::ID_APP_EXIT, 0);
    EXPECT_TRUE(shelltest::WaitFor([&] { return !ce::IsWindow(frameWindow); }));
    app.ExitInstance();
    EXPECT_EQ(Book().size(), 3u);
}

INSTANTIATE_TEST_SUITE_P(Servers, SyncMenu, ::testing::Values(ServerKind::Radicale), ServerName);

} // namespace

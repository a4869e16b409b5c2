// The application picks the resources of the interface language: the English
// satellite beside the program, or the built-in Spanish ones.
#include "support/ShellFixtures.h"
#include "platform/core/Resources.h"
#include "platform/ui/CommandBar.h"
#include "shell/ContactApp.h"
#include "tests/common/UiHarness.h"

using namespace shelltest;
using namespace ce;

namespace {

namespace fs = std::filesystem;
using Texts = std::vector<std::u16string>;

class Language : public DeviceFixture {
protected:
    void SetUp() override
    {
        DeviceFixture::SetUp();
        const fs::path satellite = fs::read_symlink("/proc/self/exe").parent_path() / "Contacts.exe.0409.mui";
        fs::copy_file(CONTACTS_SATELLITE_DIR "/Contacts.exe.0409.mui", satellite, fs::copy_options::overwrite_existing);
        MakeDataFile(People({u"Ana"}));
    }

    // Runs the application in the language; returns the menu's title and an
    // item (from the menu) and the delete question (from the string table).
    Texts Run(const char* language)
    {
        ::setenv("CONTACTS_UI_LANGUAGE", language, 1);
        Texts texts;
        CContactApp app;
        EXPECT_TRUE(app.InitApplication());
        EXPECT_TRUE(app.InitInstance());
        auto* frame = dynamic_cast<CMainFrame*>(app.m_pMainWnd);
        if (!frame)
            return {u"no main frame"};
        const HWND frameWindow = frame->m_hWnd, view = frame->GetListView();
        EXPECT_TRUE(WaitFor([&] { return !frame->IsLoading() && g_contactList.GetCount() == 1 && CurrentRowOf(view) == 0; }));

        const HMENU menu = ChildOf<CCommandBar>(frameWindow)->GetMenu();
        texts.push_back(GetMenuText(menu, 0, MF_BYPOSITION));
        texts.push_back(GetMenuText(GetSubMenu(menu, 0), 4, MF_BYPOSITION));
        {
            uiharness::AnsweredMessageBoxes question{IDCANCEL};
            SendMessageW(frameWindow, WM_COMMAND, ID_CONTACT_DELETE, 0);
            texts.insert(texts.end(), question.texts.begin(), question.texts.end());
        }

        PostMessageW(frameWindow, WM_COMMAND, ID_APP_EXIT, 0);
        EXPECT_TRUE(WaitFor([&] { return !IsWindow(frameWindow); }));
        app.ExitInstance();
        return texts;
    }
};

TEST_F(Language, EnglishComesFromTheSatelliteAndSpanishIsBuiltIn)
{
    EXPECT_EQ(Run("0409"), (Texts{u"&File", u"S&ync", u"Delete the contact permanently?"}));
    EXPECT_EQ(AfxGetResourceHandle(), AfxGetInstanceHandle()) << "the satellite is given back";
    EXPECT_EQ(Run("0c0a"), (Texts{u"&Archivo", u"Sin&cronizar", u"Borrar definitivamente el contacto?"}));
}

} // namespace

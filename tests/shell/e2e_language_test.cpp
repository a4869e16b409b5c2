// The application object picks the resources of the user's interface
// language: the English satellite beside the program, or the built-in
// Spanish ones when there is no satellite for the language.
#include "support/ShellFixtures.h"
#include "platform/core/Resources.h"
#include "platform/ui/CommandBar.h"
#include "platform/ui/Host.h"
#include "platform/ui/ListView.h"
#include "platform/ui/MessageBox.h"
#include "res/resource.h"
#include "shell/ContactApp.h"
#include "shell/MainFrm.h"

#include <filesystem>

using namespace shelltest;
using namespace ce;

namespace {

namespace fs = std::filesystem;

struct Texts {
    std::vector<std::u16string> columns;
    std::vector<std::u16string> menu; // the pop-up's title, then its items
    std::u16string firstLabel, birthdayLabel;
    std::u16string deleteQuestion;
};

class Language : public DeviceFixture {
protected:
    void SetUp() override
    {
        DeviceFixture::SetUp();
        // The satellite is looked up beside the running program.
        const fs::path satellite = fs::read_symlink("/proc/self/exe").parent_path() / "Contacts.exe.0409.mui";
        fs::copy_file(CONTACTS_SOURCE_DIR "/res/Contacts.exe.0409.mui", satellite,
                      fs::copy_options::overwrite_existing);
        MakePimFolder();
        ASSERT_TRUE(WriteDataFile(dataFile, People({u"Ana"})));
    }

    // Starts the application with the interface language, reads what it
    // shows and ends it again.
    Texts Run(const char* language)
    {
        ::setenv("CONTACTS_UI_LANGUAGE", language, 1);
        Texts texts;
        CContactApp app;
        EXPECT_TRUE(app.InitApplication());
        EXPECT_TRUE(app.InitInstance());
        auto* frame = dynamic_cast<CMainFrame*>(app.m_pMainWnd);
        if (!frame) {
            ADD_FAILURE() << "no main frame";
            return texts;
        }
        const HWND frameWindow = frame->m_hWnd;
        const HWND view = frame->GetListView();
        EXPECT_TRUE(WaitFor([&] {
            return !frame->IsLoading() && g_contactList.GetCount() == 1 &&
                   SendMessageW(view, LVM_GETNEXTITEM, WPARAM(-1), LVNI_FOCUSED | LVNI_SELECTED) == 0;
        }));

        for (int column = 0; column < 3; ++column) {
            WCHAR buffer[64] = {};
            LVCOLUMNW info;
            info.mask = LVCF_TEXT;
            info.pszText = buffer;
            info.cchTextMax = 64;
            SendMessageW(view, LVM_GETCOLUMNW, WPARAM(column), LPARAM(&info));
            texts.columns.push_back(buffer);
        }
        for (HWND child = GetWindow(frameWindow, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
            if (auto* bar = dynamic_cast<CCommandBar*>(CWnd::FromHandlePermanent(child))) {
                texts.menu.push_back(GetMenuText(bar->GetMenu(), 0, MF_BYPOSITION));
                HMENU file = GetSubMenu(bar->GetMenu(), 0);
                for (int i = 0; i < GetMenuItemCount(file); ++i)
                    texts.menu.push_back(GetMenuText(file, UINT(i), MF_BYPOSITION));
            }
        }
        {
            auto guard = g_contactList.Lock();
            g_contactList.GetAt(0)->GetField(FieldName)->GetLabel(texts.firstLabel);
            g_contactList.GetAt(0)->GetField(FieldBirthday)->GetLabel(texts.birthdayLabel);
        }
        texts.deleteQuestion = AskedDeleteQuestion(frameWindow);

        PostMessageW(frameWindow, WM_COMMAND, ID_APP_EXIT, 0);
        EXPECT_TRUE(WaitFor([&] { return !IsWindow(frameWindow); }));
        app.ExitInstance();
        return texts;
    }

    // The question that "Borrar" asks, answered with Cancel.
    static std::u16string AskedDeleteQuestion(HWND frameWindow)
    {
        std::u16string asked;
        SetMessageBoxHook([&](HWND, const std::u16string& text, const std::u16string&, UINT) {
            asked = text;
            return IDCANCEL;
        });
        SendMessageW(frameWindow, WM_COMMAND, ID_CONTACT_DELETE, 0);
        SetMessageBoxHook(nullptr);
        return asked;
    }
};

TEST_F(Language, EnglishComesFromTheSatelliteAndSpanishIsBuiltIn)
{
    const Texts english = Run("0409");
    EXPECT_EQ(english.columns, (std::vector<std::u16string>{u"Name", u"Telephone", u"Mobile"}));
    EXPECT_EQ(english.menu,
              (std::vector<std::u16string>{u"&File", u"&Open", u"&New", u"&Edit", u"&Delete", u"E&xit"}));
    EXPECT_EQ(english.firstLabel, u"Name:");
    EXPECT_EQ(english.birthdayLabel, u"Birthday:");
    EXPECT_EQ(english.deleteQuestion, u"Delete the contact permanently?");
    // The satellite is given back at the end.
    EXPECT_EQ(AfxGetResourceHandle(), AfxGetInstanceHandle());

    const Texts spanish = Run("0c0a"); // no satellite for Spanish
    EXPECT_EQ(spanish.columns, (std::vector<std::u16string>{u"Nombre", u"Telefono", u"Movil"}));
    EXPECT_EQ(spanish.menu,
              (std::vector<std::u16string>{u"&Archivo", u"A&brir", u"&Nuevo", u"E&ditar", u"&Borrar", u"&Salir"}));
    EXPECT_EQ(spanish.firstLabel, u"Nombre:");
    EXPECT_EQ(spanish.birthdayLabel, u"Cumpleanios:");
    EXPECT_EQ(spanish.deleteQuestion, u"Borrar definitivamente el contacto?");
}

} // namespace

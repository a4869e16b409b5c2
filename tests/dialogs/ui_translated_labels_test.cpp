// The field labels of every shipped language show whole in the forms' label
// column.
#include "dialogs/ContactEditDlg.h"
#include "dialogs/ContactShowDlg.h"
#include "platform/core/Resources.h"
#include "support/DialogTestSupport.h"
#include <algorithm>

namespace {

using TranslatedLabelsTest = DialogTest;

const char* const Languages[] = {"0409", "0407", "040c", "0410", "0416", "0816", "0804", "0404"};

// Label control `id` shows `label` whole, broken into lines that each fit
// the control's width and together its height.
void ExpectShownWhole(const ce::CWnd* form, int id, const std::u16string& label)
{
    SCOPED_TRACE(testing::Message() << "control " << id);
    const ce::CWnd* control = Control(form, id);
    ASSERT_NE(control, nullptr);
    const ce::CRect rect = RectInParent(control);
    const std::u16string shown = TextOf(form, id);
    std::u16string joined;
    int height = 0;
    for (std::size_t start = 0, end; start <= shown.size(); start = end + 1) {
        end = std::min(shown.find(u'\n', start), shown.size());
        const std::u16string line = shown.substr(start, end - start);
        const ce::SIZE extent = uiharness::TextExtent(control->m_hWnd, line);
        EXPECT_LE(extent.cx, rect.Width()) << "a line is cut at the side";
        height += extent.cy;
        joined += line;
    }
    EXPECT_EQ(joined, label);
    EXPECT_LE(height, rect.Height());
}

TEST_F(TranslatedLabelsTest, EveryLabelShowsWholeInEveryLanguage)
{
    for (const char* language : Languages) {
        SCOPED_TRACE(language);
        ce::HMODULE module =
            ce::LoadResourceModule(std::string(CONTACTS_SATELLITE_DIR "/Contacts.exe.") + language + ".mui");
        ASSERT_NE(module, nullptr);
        ce::AfxSetResourceHandle(module);
        auto contact = FilledContact();

        CContactEditDlg edit(contact.get(), EditModeEdit);
        RunModal(edit, [&] {
            const ce::CWnd* form = Pane(edit);
            for (int field = 0; field < 16; ++field)
                ExpectShownWhole(form, IDC_LABEL_FIRST + field, ce::LoadStringW(ce::UINT(field + 1)));
        });
        // The detail form's labels: the filled fields after the name, in order.
        CContactShowDlg detail(contact.get());
        RunModal(detail, [&] {
            const ce::CWnd* form = Pane(detail);
            for (int field = 1; field < 16; ++field)
                ExpectShownWhole(form, IDC_LABEL_FIRST + field - 1, ce::LoadStringW(ce::UINT(field + 1)));
        });
        EXPECT_EQ(ce::FreeLibrary(module), ce::TRUE);
    }
}

} // namespace

// The field labels of every shipped language show whole in the forms' label
// column; both dialogs of each language are saved as pictures.
#include "dialogs/ContactEditDlg.h"
#include "dialogs/ContactShowDlg.h"
#include "platform/core/Resources.h"
#include "platform/ui/testing/ScreenGrab.h"
#include "support/DialogTestSupport.h"
#include <filesystem>
#include <vector>

namespace {

using TranslatedLabelsTest = DialogTest;

const char* const kLanguages[] = {"0409", "0407", "040c", "0410", "0416", "0816", "0804", "0404"};

// Label control `id` shows `label` whole, broken into lines that each fit
// the control's width and together its height.
void ExpectShownWhole(const ce::CWnd* form, int id, const std::u16string& label)
{
    const ce::CWnd* control = Control(form, id);
    ASSERT_NE(control, nullptr);
    std::vector<std::u16string> lines(1);
    for (char16_t c : TextOf(form, id))
        if (c == u'\n')
            lines.emplace_back();
        else
            lines.back() += c;
    std::u16string joined;
    int height = 0;
    const ce::CRect rect = RectInParent(control);
    for (const std::u16string& line : lines) {
        joined += line;
        const ce::SIZE extent = TextExtent(control, line);
        EXPECT_LE(extent.cx, rect.Width()) << "control " << id << " line is cut at the side";
        height += extent.cy;
    }
    EXPECT_EQ(joined, label) << "control " << id;
    EXPECT_LE(height, rect.Height()) << "control " << id << " has " << lines.size() << " lines";
}

std::unique_ptr<ContactRecord> FilledContact()
{
    std::initializer_list<std::pair<FieldId, std::u16string>> texts = {
        {FieldName, u"王小明"}, {FieldAddress, u"Calle de Alcalá 123"}, {FieldTelephone, u"914 123 456"},
        {FieldMobile, u"600 123 456"}, {FieldFax, u"914 123 457"}, {FieldEmail, u"xiaoming@example.com"},
        {FieldCompany, u"北京科技"}, {FieldJobTitle, u"Ingeniero"}, {FieldDepartment, u"I+D"},
        {FieldOfficeAddress, u"Gran Via 1"}, {FieldOfficeTelephone, u"915 000 000"}, {FieldOfficeFax, u"915 000 001"},
        {FieldEmail2, u"wang@example.org"}, {FieldEmail3, u"w@example.net"}, {FieldWebPage, u"example.com"}};
    return MakeContact(texts, ToDate(SampleBirthday()));
}

TEST_F(TranslatedLabelsTest, EveryLabelShowsWholeInEveryLanguage)
{
    const std::string pictures = CONTACTS_PICTURES_DIR;
    std::filesystem::create_directories(pictures);
    for (const char* language : kLanguages) {
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
                ExpectShownWhole(form, kLabel + field, ce::LoadStringW(ce::UINT(field + 1)));
            EXPECT_TRUE(ce::GrabScreen().SavePng(pictures + "/edit-dialog-" + language + ".png"));
        });
        // The detail form's labels: the filled fields after the name, in order.
        CContactShowDlg detail(contact.get());
        RunModal(detail, [&] {
            const ce::CWnd* form = Pane(detail);
            for (int field = 1; field < 16; ++field)
                ExpectShownWhole(form, kLabel + field - 1, ce::LoadStringW(ce::UINT(field + 1)));
            EXPECT_TRUE(ce::GrabScreen().SavePng(pictures + "/detail-dialog-" + language + ".png"));
        });
        EXPECT_EQ(ce::FreeLibrary(module), ce::TRUE);
    }
}

} // namespace

// Import into the address book: name order, duplicates, all or nothing, the
// summary, the code page of the data file, and the running address book.
#include "support/VCardTestSupport.h"

#include "platform/core/File.h"
#include "platform/core/System.h"
#include "vcard/Import.h"

using namespace vcardtest;

namespace {

const char* const Cards = "BEGIN:VCARD\nVERSION:3.0\nFN:Zoe\nTEL:1\nEND:VCARD\n"
                          "BEGIN:VCARD\nVERSION:3.0\nFN:王明\nNOTE:x\nEND:VCARD\n"
                          "BEGIN:VCARD\nVERSION:3.0\nFN:ana\nEND:VCARD\n"
                          "BEGIN:VCARD\nVERSION:3.0\nFN:Zoe\nTEL:1\nEND:VCARD\n"; // the first again

class ImportExport : public BookFixture {
protected:
    // The book after importing Cards, as the bytes of its data file.
    std::string Seeded()
    {
        EXPECT_EQ(Import({Source("a.vcf", Cards)}), 0) << said;
        return ReadHostFile(dataFile);
    }

    // Whether the mode failed and said `text`.
    bool FailedSaying(int status, std::string_view text) const { return status == vcard::ExitFailed && Said(text); }
};

TEST_F(ImportExport, CardsGoInNameOrderAndDuplicatesAreSkipped)
{
    Seeded();
    EXPECT_EQ(Names(), (std::vector<std::u16string>{u"ana", u"Zoe", u"王明"}));
    EXPECT_TRUE(Said("3 contacts imported, 1 skipped as a duplicate")) << said;
    EXPECT_TRUE(Said("values without a field, not imported: NOTE 1")) << said;

    // Again with one new card: only it comes in, between the names already there.
    ASSERT_EQ(Import({Source("b.vcf", std::string(Cards) + "BEGIN:VCARD\nFN:Bob\nEND:VCARD\n")}), 0) << said;
    EXPECT_EQ(Names(), (std::vector<std::u16string>{u"ana", u"Bob", u"Zoe", u"王明"}));
    EXPECT_TRUE(Said("1 contact imported, 4 skipped as duplicates")) << said;

    ASSERT_EQ(Import({Source("c.vcf", "BEGIN:VCARD\nFN:Zoe\nTEL:2\nEND:VCARD\n")}), 0) << said;
    EXPECT_EQ(Names().size(), 5u) << "a card that differs in one field is no duplicate";
}

TEST_F(ImportExport, AFaultAnywhereLeavesTheDataFileUntouched)
{
    const std::string before = Seeded();
    const std::string good = Source("good.vcf", "BEGIN:VCARD\nFN:Nuevo\nEND:VCARD\n");
    const std::string broken = Source("broken.vcf", "BEGIN:VCARD\nFN:Otro\nEND:VCARD\nBEGIN:VCARD\nFN:Cortado\n");
    EXPECT_TRUE(FailedSaying(Import({good, broken}), broken + ":4: card without END:VCARD")) << said;
    EXPECT_TRUE(FailedSaying(Import({good, root + "/missing.vcf"}), "missing.vcf")) << said;
    // Input without end stops at the limit instead of filling the memory.
    EXPECT_TRUE(FailedSaying(Import({good, "/dev/zero"}),
                             "/dev/zero: larger than the 256 MiB that an import reads; nothing was imported"))
        << said;

    // A data file another opener holds cannot be read: importing would lose its contacts.
    ce::CFile held;
    ASSERT_TRUE(held.Open(ContactStoreFile, ce::CFile::modeRead | ce::CFile::shareExclusive));
    EXPECT_TRUE(FailedSaying(Import({good}),
                             "cannot read the address book " + dataFile + ": another program holds it open"))
        << said;
    EXPECT_EQ(Import({good}, true), vcard::ExitFailed) << "a dry run fails as the import does";
    EXPECT_TRUE(FailedSaying(Export(root + "/out.vcf"), "another program holds it open")) << said;
    held.Close();
    EXPECT_EQ(ReadHostFile(dataFile), before);
    EXPECT_FALSE(std::filesystem::exists(root + "/out.vcf"));
}

TEST_F(ImportExport, DryRunReportsAndWritesNothing)
{
    EXPECT_EQ(Import({Source("a.vcf", Cards)}, true), 0) << said;
    EXPECT_TRUE(Said("3 contacts to import, 1 skipped as a duplicate")) << said;
    EXPECT_FALSE(std::filesystem::exists(root + "/My Flash Disk")) << "not even the folders";

    // It fails where the import would: a read-only data file is not replaced.
    const std::string before = Seeded();
    std::filesystem::permissions(dataFile, std::filesystem::perms::owner_read);
    const std::string more = Source("b.vcf", "BEGIN:VCARD\nFN:Nuevo\nEND:VCARD\n");
    const std::string readOnly = "cannot write the address book " + dataFile + ": it is read-only; ";
    EXPECT_TRUE(FailedSaying(Import({more}, true), readOnly + "the import would fail")) << said;
    EXPECT_TRUE(FailedSaying(Import({more}), readOnly + "nothing was imported")) << said;
    EXPECT_EQ(Import({Source("a.vcf", Cards)}, true), 0) << "nothing to import, nothing to write: " << said;
    EXPECT_EQ(ReadHostFile(dataFile), before);
}

TEST_F(ImportExport, TextTheCodePageLacksIsStoredAsTheProgramStoresItAndCounted)
{
    ce::SetACP(1252);
    const std::string card = "BEGIN:VCARD\nFN:王明\nTEL:١٢٣\nEMAIL:josé@correo.es\nEND:VCARD\n";
    ASSERT_EQ(Import({Source("a.vcf", card)}), 0) << said;
    const std::vector<Fields> book = Book();
    ASSERT_EQ(book.size(), 1u);
    EXPECT_EQ(book[0][FieldTelephone], u"???");
    EXPECT_TRUE(Said("code page 1252 cannot store, stored with its default character: FN 1, TEL 1")) << said;
    // The same card again is a duplicate of what the book now holds: nothing stored, nothing to report.
    ASSERT_EQ(Import({Source("a.vcf", card)}), 0) << said;
    EXPECT_TRUE(Said("0 contacts imported, 1 skipped as a duplicate")) << said;
    EXPECT_FALSE(Said("cannot store")) << said;
}

TEST_F(ImportExport, ExportSaysWhichValuesHoldBytesThatAreNoText)
{
    // A name with a byte code page 936 cannot decode, as another device may write it.
    std::filesystem::create_directories(root + "/My Flash Disk/PIM");
    WriteHostFile(dataFile, std::string("Ana\xFF\0", 5) + std::string(5 + 16 + 9, '\0'));
    ASSERT_EQ(Export(root + "/out.vcf"), 0) << said;
    EXPECT_TRUE(Said("1 contact exported to " + root + "/out.vcf")) << said;
    EXPECT_NE(ReadHostFile(root + "/out.vcf").find("FN:Ana\xEF\xBF\xBD\r\n"), std::string::npos);
    EXPECT_TRUE(Said("1 value holds bytes that are no text in code page 936")) << said;
}

// Export never writes over the data file, also through a link, and fails
// where it cannot replace its target. (How a file is replaced safely, the
// data file's save tests check.)
TEST_F(ImportExport, ExportNeverReplacesTheDataFileAndFailsWhereItCannotWrite)
{
    namespace fs = std::filesystem;
    const std::string before = Seeded();
    fs::create_symlink(dataFile, root + "/book-link");
    for (const std::string& target : {dataFile, root + "/book-link"}) {
        EXPECT_TRUE(FailedSaying(Export(target), "data file; nothing was exported")) << target << ": " << said;
    }
    EXPECT_EQ(ReadHostFile(dataFile), before);
    EXPECT_TRUE(fs::is_symlink(root + "/book-link"));

    const std::string locked = Source("locked.vcf", "old");
    fs::permissions(locked, fs::perms(0444));
    EXPECT_EQ(Export(locked), vcard::ExitFailed);
    EXPECT_EQ(ReadHostFile(locked), "old");
    EXPECT_EQ(fs::status(locked).permissions() & fs::perms::mask, fs::perms(0444));
}

TEST_F(ImportExport, BothModesRefuseWhileTheAddressBookRunsOrNoMarkerCanBeMade)
{
    const std::string before = Seeded();
    const ce::HANDLE running = ce::CreateMutexW(nullptr, ce::FALSE, InstanceMarkerName);
    ASSERT_NE(running, nullptr);
    ASSERT_EQ(ce::GetLastError(), ce::ERROR_SUCCESS);

    EXPECT_EQ(Import({Source("b.vcf", "BEGIN:VCARD\nFN:Nuevo\nEND:VCARD\n")}), vcard::ExitBookRunning);
    EXPECT_EQ(Export(root + "/out.vcf"), vcard::ExitBookRunning);
    EXPECT_EQ(ReadHostFile(dataFile), before);
    EXPECT_FALSE(std::filesystem::exists(root + "/out.vcf"));

    ce::CloseHandle(running);
    EXPECT_EQ(Export(root + "/out.vcf"), 0) << said;

    // Without a marker nothing keeps them apart from the address book: both refuse.
    const std::string notAFolder = Source("not-a-folder", "");
    ::setenv("XDG_RUNTIME_DIR", notAFolder.c_str(), 1);
    EXPECT_TRUE(FailedSaying(Import({Source("b.vcf", "BEGIN:VCARD\nFN:Nuevo\nEND:VCARD\n")}),
                             "cannot make the instance marker " + notAFolder + "/ZELKContacts.lock: Not a directory"))
        << said;
    EXPECT_EQ(Export(root + "/other.vcf"), vcard::ExitFailed);
    EXPECT_EQ(ReadHostFile(dataFile), before);
    EXPECT_FALSE(std::filesystem::exists(root + "/other.vcf"));
}

// Each card's text is stored as converting it whole to the code page and back
// stores it, whichever characters earlier cards of the same import held.
TEST(ImportInOnePass, TextIsStoredAsTheCodePageGivesItBack)
{
    const std::u16string texts[] = {u"Mu\u00F1oz \u00D3scar", u"\u738B\u5C0F\u660E", u"Vi\u1EC7t", u"Vie\u0302\u0323t",
                                    u"a\u0301b", u"\u00E2\u0301", u"\U00020000x", u"\u20AC caf\u00E9", u"\u00F1\u738B\u20AC\u0401",
                                    u"Mu\u00F1oz \u00D3scar \u738B", u"\uFF21\u3042"};
    for (const unsigned codePage : {936u, 1252u, 932u, 1258u, 54936u}) {
        ce::SetACP(codePage);
        std::string cards;
        for (std::size_t i = 0; i < std::size(texts); ++i)
            cards += "BEGIN:VCARD\nVERSION:3.0\nFN:" + ce::Utf16ToUtf8(texts[i]) + "\nTEL:" + std::to_string(i) +
                     "\nEND:VCARD\n";
        ContactList list;
        vcard::ImportSummary summary;
        vcard::ImportFailure failure;
        ASSERT_TRUE(vcard::ImportCards({{"mixed.vcf", cards}}, list, summary, failure)) << failure.message;
        ASSERT_EQ(list.GetCount(), int(std::size(texts)));
        int changed = 0;
        for (const Fields& fields : FieldsOf(list)) {
            const std::u16string& text = texts[std::stoi(ce::Utf16ToUtf8(fields[FieldTelephone]))];
            const std::u16string stored = ce::AnsiToWide(ce::WideToAnsi(text));
            EXPECT_EQ(fields[FieldName], stored) << "code page " << codePage << ": " << ce::Utf16ToUtf8(text);
            changed += stored != text;
        }
        EXPECT_EQ(summary.unstorable.count("FN") ? summary.unstorable.at("FN") : 0, changed) << codePage;
    }
}

} // namespace

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

class ImportExport : public BookFixture {};

TEST_F(ImportExport, CardsGoInNameOrderAndDuplicatesAreSkipped)
{
    ASSERT_EQ(Import({Source("a.vcf", Cards)}), 0) << said;
    EXPECT_EQ(Names(), (std::vector<std::u16string>{u"ana", u"Zoe", u"王明"}));
    EXPECT_NE(said.find("3 contacts imported, 1 skipped as duplicates"), std::string::npos) << said;
    EXPECT_NE(said.find("values without a field, not imported: NOTE 1"), std::string::npos) << said;

    // Again, with one new card from standard input's neighbour file: only it comes in,
    // between the names already there.
    const std::string more = std::string(Cards) + "BEGIN:VCARD\nVERSION:3.0\nFN:Bob\nEND:VCARD\n";
    ASSERT_EQ(Import({Source("b.vcf", more)}), 0) << said;
    EXPECT_EQ(Names(), (std::vector<std::u16string>{u"ana", u"Bob", u"Zoe", u"王明"}));
    EXPECT_NE(said.find("1 contacts imported, 4 skipped as duplicates"), std::string::npos) << said;

    // A card that differs in one field only is no duplicate.
    ASSERT_EQ(Import({Source("c.vcf", "BEGIN:VCARD\nFN:Zoe\nTEL:2\nEND:VCARD\n")}), 0) << said;
    EXPECT_EQ(Names().size(), 5u);
}

TEST_F(ImportExport, AFaultAnywhereLeavesTheDataFileUntouched)
{
    ASSERT_EQ(Import({Source("a.vcf", Cards)}), 0) << said;
    const std::string before = ReadHostFile(dataFile);

    const std::string good = Source("good.vcf", "BEGIN:VCARD\nFN:Nuevo\nEND:VCARD\n");
    const std::string broken = Source("broken.vcf", "BEGIN:VCARD\nFN:Otro\nEND:VCARD\nBEGIN:VCARD\nFN:Cortado\n");
    EXPECT_EQ(Import({good, broken}), vcard::ExitFailed);
    EXPECT_NE(said.find(broken + ":4: card without END:VCARD"), std::string::npos) << said;
    EXPECT_EQ(ReadHostFile(dataFile), before);

    EXPECT_EQ(Import({good, root + "/missing.vcf"}), vcard::ExitFailed);
    EXPECT_NE(said.find("missing.vcf"), std::string::npos) << said;
    EXPECT_EQ(ReadHostFile(dataFile), before);

    // A data file that another opener holds cannot be read: importing would
    // write the book without the contacts it holds.
    ce::CFile held;
    ASSERT_TRUE(held.Open(ContactStoreFile, ce::CFile::modeRead | ce::CFile::shareExclusive));
    EXPECT_EQ(Import({good}), vcard::ExitFailed);
    EXPECT_EQ(Export(root + "/out.vcf"), vcard::ExitFailed);
    held.Close();
    EXPECT_EQ(ReadHostFile(dataFile), before);
    EXPECT_FALSE(std::filesystem::exists(root + "/out.vcf"));
}

TEST_F(ImportExport, DryRunReportsAndWritesNothing)
{
    EXPECT_EQ(Import({Source("a.vcf", Cards)}, true), 0) << said;
    EXPECT_NE(said.find("3 contacts to import, 1 skipped as duplicates"), std::string::npos) << said;
    EXPECT_NE(said.find("not changed"), std::string::npos) << said;
    EXPECT_FALSE(std::filesystem::exists(root + "/My Flash Disk")) << "not even the folders";
}

TEST_F(ImportExport, TextTheCodePageLacksIsStoredAsTheProgramStoresItAndCounted)
{
    ce::SetACP(1252);
    const std::string card = "BEGIN:VCARD\nFN:王明\nTEL:١٢٣\nEMAIL:josé@correo.es\nEND:VCARD\n";
    ASSERT_EQ(Import({Source("a.vcf", card)}), 0) << said;
    ASSERT_EQ(Book().size(), 1u);
    EXPECT_EQ(Book()[0][FieldName], u"??");
    EXPECT_EQ(Book()[0][FieldTelephone], u"???");
    EXPECT_EQ(Book()[0][FieldEmail], u"josé@correo.es");
    EXPECT_NE(said.find("code page 1252 cannot store, stored with its default character: FN 1, TEL 1"),
              std::string::npos)
        << said;
    // The same card again is a duplicate of what the book now holds.
    ASSERT_EQ(Import({Source("a.vcf", card)}), 0) << said;
    EXPECT_NE(said.find("0 contacts imported, 1 skipped as duplicates"), std::string::npos) << said;
    EXPECT_EQ(said.find("cannot store"), std::string::npos) << "nothing stored, nothing to report: " << said;
}

TEST_F(ImportExport, ExportSaysWhichValuesHoldBytesThatAreNoText)
{
    // Ana's name with a byte that code page 936 cannot decode, as another
    // device may have written it.
    std::filesystem::create_directories(root + "/My Flash Disk/PIM");
    WriteHostFile(dataFile, std::string("Ana\xFF\0", 5) + std::string(5 + 16 + 9, '\0'));
    const std::string out = root + "/out.vcf";
    ASSERT_EQ(Export(out), 0) << said;
    EXPECT_NE(ReadHostFile(out).find("FN:Ana\xEF\xBF\xBD\r\n"), std::string::npos) << ReadHostFile(out);
    EXPECT_NE(said.find("1 values hold bytes that are no text in code page 936"), std::string::npos) << said;
}

TEST_F(ImportExport, BothModesRefuseWhileTheAddressBookRuns)
{
    ASSERT_EQ(Import({Source("a.vcf", Cards)}), 0) << said;
    const std::string before = ReadHostFile(dataFile);
    const ce::HANDLE running = ce::CreateMutexW(nullptr, ce::FALSE, InstanceMarkerName);
    ASSERT_NE(running, nullptr);
    ASSERT_EQ(ce::GetLastError(), ce::ERROR_SUCCESS);

    EXPECT_EQ(Import({Source("b.vcf", "BEGIN:VCARD\nFN:Nuevo\nEND:VCARD\n")}), vcard::ExitBookRunning);
    EXPECT_NE(said.find("running"), std::string::npos) << said;
    EXPECT_EQ(Export(root + "/out.vcf"), vcard::ExitBookRunning);
    EXPECT_EQ(ReadHostFile(dataFile), before);
    EXPECT_FALSE(std::filesystem::exists(root + "/out.vcf"));

    ce::CloseHandle(running);
    EXPECT_EQ(Export(root + "/out.vcf"), 0) << said;
}

} // namespace

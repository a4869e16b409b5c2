// A contact's changes written into the server's own card: the lines of the
// changed fields are replaced where they stand, every other line stays as
// the server wrote it.
#include "platform/core/CodePage.h"
#include "sync/CardEdit.h"

#include <gtest/gtest.h>

using carddav::Fields;

namespace {

class CardEdit : public ::testing::Test {
protected:
    void SetUp() override { ce::SetACP(54936); }
    void TearDown() override { ce::SetACP(0); }

    static Fields Read(const std::string& card)
    {
        carddav::ServerCard read;
        EXPECT_TRUE(carddav::ReadServerCard(card, read)) << card;
        return read.fields;
    }
};

TEST_F(CardEdit, OnlyTheChangedFieldsLinesChangeAndTheyStayInPlace)
{
    const std::string card = "BEGIN:VCARD\r\nVERSION:3.0\r\nUID:u-1\r\nFN:Carla\r\nN:;Carla;;;\r\n"
                             "TEL;TYPE=CELL:555 0100 0200 0300 0400 0500 0600 0700 0800 0900 1000 1100 1200\r\n"
                             " 1300\r\n"
                             "EMAIL:first@x\r\nEMAIL:second@x\r\n"
                             "NOTE;ENCODING=QUOTED-PRINTABLE:line one=0D=0A=\r\nline two\r\n"
                             "ORG:Acme;Sales;East\r\nX-UNKNOWN;A=1:kept\r\nEND:VCARD\r\n";
    Fields fields = Read(card);
    EXPECT_EQ(fields[FieldMobile], u"555 0100 0200 0300 0400 0500 0600 0700 0800 0900 1000 1100 12001300");
    fields[FieldMobile].clear();
    fields[FieldEmail] = u"new@x";
    fields[FieldCompany] = u"Acme; Ltd";
    const std::string edited = carddav::EditCard(card, fields);
    EXPECT_EQ(Read(edited), fields) << edited;
    EXPECT_EQ(edited.find("555 0100"), std::string::npos) << edited;
    EXPECT_EQ(edited.find(" 1300"), std::string::npos) << edited;
    for (const char* kept : {"UID:u-1\r\n", "FN:Carla\r\nN:;Carla;;;\r\n", "EMAIL:second@x\r\n",
                             "NOTE;ENCODING=QUOTED-PRINTABLE:line one=0D=0A=\r\nline two\r\n", "X-UNKNOWN;A=1:kept\r\n"})
        EXPECT_NE(edited.find(kept), std::string::npos) << kept << " lost from\n" << edited;
    // The first e-mail keeps its place before the second; ORG keeps its further unit.
    EXPECT_LT(edited.find("new@x"), edited.find("second@x")) << edited;
    EXPECT_NE(edited.find("ORG:Acme\\; Ltd;Sales;East\r\n"), std::string::npos) << edited;
}

TEST_F(CardEdit, ANameTakenFromNIsReplacedWhole)
{
    const std::string card = "BEGIN:VCARD\r\nVERSION:3.0\r\nN:Lopez;Ana;;;\r\nTEL:1\r\nEND:VCARD\r\n";
    Fields fields = Read(card);
    EXPECT_EQ(fields[FieldName], u"Ana Lopez");
    fields[FieldName] = u"Ana Maria Lopez";
    const std::string edited = carddav::EditCard(card, fields);
    EXPECT_EQ(Read(edited), fields) << edited;
    EXPECT_EQ(edited.find("N:Lopez;Ana"), std::string::npos) << edited;
}

TEST_F(CardEdit, TextTheCodePageCannotStoreIsCountedByProperty)
{
    ce::SetACP(1252);
    carddav::ServerCard read;
    ASSERT_TRUE(carddav::ReadServerCard("BEGIN:VCARD\r\nVERSION:3.0\r\nFN:王明\r\nTITLE:Jefe\r\nEND:VCARD\r\n", read));
    EXPECT_EQ(read.fields[FieldName], u"??");
    EXPECT_EQ(read.unstorable, (std::map<std::string, int>{{"FN", 1}}));
}

} // namespace

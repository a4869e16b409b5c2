#include "tests/data/support/DataFixture.h"

using namespace testdata;

namespace {

using Names_ = std::vector<std::u16string>;

void Fill(ContactListBase& list, const Names_& names)
{
    for (const std::u16string& name : names)
        list.Append(MakeContact(name));
}

std::vector<std::u16string> LabelsOf(const ContactRecord& record)
{
    std::vector<std::u16string> labels;
    for (FieldId id = 0; id < FieldCount; ++id) {
        std::u16string label;
        record.GetField(id)->GetLabel(label);
        labels.push_back(label);
    }
    return labels;
}

const std::vector<std::u16string> SpanishLabels = {
    u"Nombre:",   u"Direccion:",    u"Telefono:",          u"Movil:",
    u"Fax:",      u"E-Mail:",       u"Cumpleanios:",       u"Compania:",
    u"Puesto:",   u"Departamento:", u"Direccion oficina:", u"Telefono oficina:",
    u"Fax oficina:", u"E-Mail2:",   u"E-Mail3:",           u"Pagina web:",
};

} // namespace

class ContactListTest : public DataTest {};

TEST_F(ContactListTest, InsertSortedGoesBehindEveryEqualName)
{
    ContactListBase list;
    EXPECT_EQ(list.InsertSorted(MakeContact(u"Bob"), FieldName), 0);
    list.Clear();

    Fill(list, {u"Ana", u"Bob", u"bob", u"Carl"});
    EXPECT_EQ(list.InsertSorted(MakeContact(u"BOB"), FieldName), 3);
    EXPECT_EQ(Names(list), (Names_{u"Ana", u"Bob", u"bob", u"BOB", u"Carl"}));
    EXPECT_EQ(list.InsertSorted(MakeContact(u""), FieldName), 0);
    EXPECT_EQ(list.InsertSorted(MakeContact(u"\u674E"), FieldName), 6);
    EXPECT_EQ(list.InsertSorted(MakeContact(u"Zed"), FieldName), 6);
    EXPECT_EQ(list.InsertSorted(nullptr, FieldName), -1);
    EXPECT_EQ(list.GetCount(), 8);

    ContactListBase chinese;
    Fill(chinese, {u"\u674E\u56DB", u"\u738B\u4E94", u"\u5F35\u4E09"}); // 李四 王五 張三
    EXPECT_EQ(chinese.InsertSorted(MakeContact(u"\u5F20"), FieldName), 3); // 张
}

TEST_F(ContactListTest, InsertSortedScansAnUnsortedListAsItStands)
{
    Bytes file;
    for (const char* name : {"Carl", "Ana", "Zoe", "Bob"})
        AppendRecordBytes(file, {name});
    WriteBytes("unsorted.pcd", file);
    ContactListBase list;
    ASSERT_EQ(list.Load(PathOf("unsorted.pcd")), 1);
    EXPECT_EQ(Names(list), (Names_{u"Carl", u"Ana", u"Zoe", u"Bob"}));
    // Before the first name that sorts after it: Carl.
    EXPECT_EQ(list.InsertSorted(MakeContact(u"Beth"), FieldName), 0);
    EXPECT_EQ(list.InsertSorted(MakeContact(u"Dan"), FieldName), 3);
}

TEST_F(ContactListTest, IndexesOutOfRangeAppendOrChangeNothing)
{
    ContactListBase list;
    Fill(list, {u"A", u"B"});
    EXPECT_EQ(list.InsertAt(2, MakeContact(u"C")), 2);
    EXPECT_EQ(list.InsertAt(-1, MakeContact(u"D")), 3);
    EXPECT_EQ(list.InsertAt(0, MakeContact(u"E")), 0);
    EXPECT_EQ(list.InsertAt(2, MakeContact(u"F")), 2);
    EXPECT_EQ(Names(list), (Names_{u"E", u"A", u"F", u"B", u"C", u"D"}));

    list.RemoveAt(-1);
    list.RemoveAt(6);
    EXPECT_EQ(list.GetCount(), 6);
    EXPECT_EQ(list.GetAt(6), nullptr);
    EXPECT_EQ(list.GetAt(-1), nullptr);
    list.RemoveAt(2);
    EXPECT_EQ(Names(list), (Names_{u"E", u"A", u"B", u"C", u"D"}));

    ContactListBase single;
    single.Append(MakeContact(u"Solo"));
    single.RemoveAt(0);
    EXPECT_EQ(single.GetCount(), 0);
    single.Clear();
    EXPECT_EQ(single.GetCount(), 0);
}

TEST_F(ContactListTest, ContactListLabelsWhatEntersAndRefusesNull)
{
    ContactList list;
    EXPECT_EQ(list.Append(nullptr), -1);
    EXPECT_EQ(list.InsertAt(0, nullptr), -1);
    EXPECT_EQ(list.InsertSorted(nullptr, FieldName), -1);
    EXPECT_EQ(list.GetCount(), 0);

    EXPECT_EQ(list.Append(MakeContact(u"B")), 0);
    EXPECT_EQ(list.InsertAt(0, MakeContact(u"A")), 0);
    EXPECT_EQ(list.InsertSorted(MakeContact(u"C"), FieldName), 2);
    for (int i = 0; i < 3; ++i)
        EXPECT_EQ(LabelsOf(*list.GetAt(i)), SpanishLabels);
}

TEST_F(ContactListTest, LoadLabelsEveryRecordOldAndNewButAFailedLoadNothing)
{
    Bytes file;
    AppendRecordBytes(file, {"Loaded"});
    WriteBytes("one.pcd", file);

    ContactList list;
    ContactListBase& base = list;
    base.ContactListBase::Append(MakeContact(u"Unlabelled"));
    EXPECT_EQ(list.Load(PathOf("missing.pcd")), 0);
    EXPECT_EQ(LabelsOf(*list.GetAt(0)), std::vector<std::u16string>(16));

    EXPECT_EQ(base.Load(PathOf("one.pcd")), 1); // virtual: the labelling Load
    ASSERT_EQ(Names(list), (Names_{u"Unlabelled", u"Loaded"}));
    EXPECT_EQ(LabelsOf(*list.GetAt(0)), SpanishLabels);
    EXPECT_EQ(LabelsOf(*list.GetAt(1)), SpanishLabels);
}

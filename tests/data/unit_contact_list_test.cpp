#include "tests/data/support/DataFixture.h"

using namespace testdata;

namespace {

void Fill(ContactListBase& list, const Names& names)
{
    for (const std::u16string& name : names)
        list.Append(MakeContact(name));
}

Names LabelsOf(const ContactRecord& record)
{
    Names labels(FieldCount);
    for (FieldId id = 0; id < FieldCount; ++id)
        record.GetField(id)->GetLabel(labels[id]);
    return labels;
}

const Names SpanishLabels = {
    u"Nombre:",      u"Direccion:",    u"Telefono:",          u"Movil:",
    u"Fax:",         u"E-Mail:",       u"Cumpleanios:",       u"Compania:",
    u"Puesto:",      u"Departamento:", u"Direccion oficina:", u"Telefono oficina:",
    u"Fax oficina:", u"E-Mail2:",      u"E-Mail3:",           u"Pagina web:",
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
    EXPECT_EQ(list.InsertSorted(MakeContact(u""), FieldName), 0);
    EXPECT_EQ(list.InsertSorted(MakeContact(u"\u674E"), FieldName), 6);
    EXPECT_EQ(list.InsertSorted(nullptr, FieldName), -1);
    EXPECT_EQ(NamesOf(list), (Names{u"", u"Ana", u"Bob", u"bob", u"BOB", u"Carl", u"\u674E"}));

    ContactListBase chinese;
    Fill(chinese, {u"\u674E\u56DB", u"\u738B\u4E94", u"\u5F35\u4E09"}); // 李四 王五 張三
    EXPECT_EQ(chinese.InsertSorted(MakeContact(u"\u5F20"), FieldName), 3); // 张
}

TEST_F(ContactListTest, LoadKeepsFileOrderAndInsertionScansItAsItStands)
{
    Bytes file;
    for (const char* name : {"Carl", "Ana", "Zoe", "Bob"})
        AppendRecordBytes(file, {name});
    WriteBytes("unsorted.pcd", file);
    ContactListBase list;
    ASSERT_EQ(list.Load(PathOf("unsorted.pcd")), 1);
    EXPECT_EQ(list.InsertSorted(MakeContact(u"Beth"), FieldName), 0);
    EXPECT_EQ(list.InsertSorted(MakeContact(u"Dan"), FieldName), 3);
    EXPECT_EQ(NamesOf(list), (Names{u"Beth", u"Carl", u"Ana", u"Dan", u"Zoe", u"Bob"}));
}

TEST_F(ContactListTest, IndexesOutOfRangeAppendOrChangeNothing)
{
    ContactListBase list;
    Fill(list, {u"A", u"B"});
    EXPECT_EQ(list.InsertAt(2, MakeContact(u"C")), 2);
    EXPECT_EQ(list.InsertAt(-1, MakeContact(u"D")), 3);
    EXPECT_EQ(list.InsertAt(1, MakeContact(u"E")), 1);
    list.RemoveAt(-1);
    list.RemoveAt(5);
    EXPECT_EQ(list.GetAt(5), nullptr);
    list.RemoveAt(0);
    EXPECT_EQ(NamesOf(list), (Names{u"E", u"B", u"C", u"D"}));
    list.Clear();
    list.Clear();
    EXPECT_EQ(list.GetCount(), 0);
}

TEST_F(ContactListTest, ContactListLabelsEverythingThatEntersAndRefusesNull)
{
    Bytes file;
    AppendRecordBytes(file, {"Loaded"});
    WriteBytes("one.pcd", file);

    ContactList list;
    EXPECT_EQ(list.Append(nullptr), -1);
    EXPECT_EQ(list.InsertAt(0, nullptr), -1);
    EXPECT_EQ(list.InsertSorted(nullptr, FieldName), -1);
    EXPECT_EQ(list.InsertSorted(MakeContact(u"B"), FieldName), 0);
    EXPECT_EQ(list.InsertAt(0, MakeContact(u"A")), 0);
    list.ContactListBase::Append(MakeContact(u"Unlabelled"));
    EXPECT_EQ(LabelsOf(*list.GetAt(0)), SpanishLabels);
    EXPECT_EQ(LabelsOf(*list.GetAt(1)), SpanishLabels);

    EXPECT_EQ(list.Load(PathOf("missing.pcd")), 0);
    EXPECT_EQ(LabelsOf(*list.GetAt(2)), Names(FieldCount));
    ContactListBase& base = list;
    EXPECT_EQ(base.Load(PathOf("one.pcd")), 1);
    ASSERT_EQ(list.GetCount(), 4);
    EXPECT_EQ(LabelsOf(*list.GetAt(2)), SpanishLabels);
    EXPECT_EQ(LabelsOf(*list.GetAt(3)), SpanishLabels);
}

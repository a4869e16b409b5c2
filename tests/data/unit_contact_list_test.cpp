#include "tests/data/support/DataFixture.h"

using namespace testdata;

namespace {

void Fill(ContactListBase& list, const Names& names)
{
    for (const std::u16string& name : names)
        list.Append(MakeContact(name));
}

// The labels of the first and the last field.
Names LabelsOf(const ContactRecord& record)
{
    Names labels(2);
    record.GetField(FieldName)->GetLabel(labels[0]);
    record.GetField(FieldWebPage)->GetLabel(labels[1]);
    return labels;
}

const Names SpanishLabels = {u"Nombre:", u"Pagina web:"};

} // namespace

class ContactListTest : public DataTest {};

TEST_F(ContactListTest, ContactListLabelsWhatEntersAndAFailedLoadChangesNothing)
{
    Bytes file;
    AppendRecordBytes(file, {"Loaded"});
    WriteBytes("one.pcd", file);

    ContactList list;
    EXPECT_EQ(list.InsertSorted(nullptr, FieldName), -1);
    EXPECT_EQ(list.InsertSorted(MakeContact(u"B"), FieldName), 0);
    EXPECT_EQ(list.InsertAt(0, MakeContact(u"A")), 0);
    list.ContactListBase::Append(MakeContact(u"Unlabelled"));
    EXPECT_EQ(list.Load(PathOf("missing.pcd")), 0);
    EXPECT_EQ(NamesOf(list), (Names{u"A", u"B", u"Unlabelled"}));
    EXPECT_EQ(LabelsOf(*list.GetAt(2)), Names(2));
    ContactListBase& base = list; // the load labels every record, also through the base
    EXPECT_EQ(base.Load(PathOf("one.pcd")), 1);
    EXPECT_EQ(list.Append(MakeContact(u"Appended")), 4);
    for (int i = 0; i < 5; ++i)
        EXPECT_EQ(LabelsOf(*list.GetAt(i)), SpanishLabels) << i;
}

// The batch must place every record where one-by-one insertion in the given
// order would: names Latin and Chinese, equal but for case, repeated, into
// a list that is sorted and into one that is not (as another program may
// have written the file). Telephones tell equal names apart.
TEST_F(ContactListTest, InsertSortedAllEqualsInsertingOneByOne)
{
    const Names names = {u"ana", u"\u738B\u82B3", u"Bruno", u"ANA", u"\u5F20\u4F1F", u"Zoe", u"ana", u"",
                         u"\u738B\u82B3", u"bruno", u"Carla", u"\u674E", u"Ana",
                         u"anab", u"ANAc", std::u16string(u"an\0a", 4), u"an", u"\u738B", std::u16string(1, char16_t(0xDC81))};
    for (const Names& old : {Names{}, Names{u"Bruno", u"Carla", u"\u738B"}, Names{u"Zoe", u"ana", u"\u5F20", u"Bruno"}}) {
        ContactListBase oneByOne;
        ContactListBase batched;
        Fill(oneByOne, old);
        Fill(batched, old);
        std::vector<std::unique_ptr<ContactRecord>> batch;
        for (std::size_t i = 0; i < names.size(); ++i) {
            const std::u16string telephone(1, char16_t(u'a' + i));
            oneByOne.InsertSorted(MakeContact(names[i], 0.0, telephone), FieldName);
            batch.push_back(MakeContact(names[i], 0.0, telephone));
        }
        batch.push_back(nullptr);
        batched.InsertSortedAll(std::move(batch), FieldName);
        ASSERT_EQ(batched.GetCount(), oneByOne.GetCount());
        for (int i = 0; i < oneByOne.GetCount(); ++i) {
            EXPECT_EQ(TextOf(*batched.GetAt(i), FieldName), TextOf(*oneByOne.GetAt(i), FieldName)) << i;
            EXPECT_EQ(TextOf(*batched.GetAt(i), FieldTelephone), TextOf(*oneByOne.GetAt(i), FieldTelephone)) << i;
        }
    }
    ContactList labelled;
    std::vector<std::unique_ptr<ContactRecord>> one;
    one.push_back(MakeContact(u"Ana"));
    labelled.InsertSortedAll(std::move(one), FieldName);
    EXPECT_EQ(LabelsOf(*labelled.GetAt(0)), SpanishLabels);
}

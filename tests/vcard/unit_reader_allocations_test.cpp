// Card after card, the reader and the mapping reuse the storage of the cards
// before: once a few cards of a kind have been read, reading and mapping the
// next ones allocates nothing.
#include "support/VCardTestSupport.h"

#include "tests/data/support/SampleContacts.h"
#include "vcard/CardWriter.h"

#include "tests/common/CountingNew.h"

using namespace testalloc;

namespace {

TEST(ReaderAllocations, CardsAfterTheFirstAreReadAndMappedWithoutAllocating)
{
    ce::SetACP(936);
    testdata::SampleContacts sample(99);
    ContactListBase book;
    for (int i = 0; i < 300; ++i)
        book.Append(std::make_unique<ContactRecord>(sample.Contact()));
    const std::string cards = vcard::WriteCards(book);

    vcard::CardStream stream(cards);
    vcard::PropertyDecoder decoder(936);
    vcard::CardMapping mapping(decoder);
    vcard::RawCard card;
    vcard::MappedCard mapped;
    vcard::ReadError error;
    int read = 0;
    while (stream.Next(card, error)) {
        counting = ++read > 50;
        ASSERT_TRUE(mapping.Map(card, mapped, error)) << error.message;
        counting = false;
    }
    EXPECT_EQ(read, 300);
    EXPECT_EQ(allocations, 0);
    EXPECT_EQ(releases, 0);
}

} // namespace

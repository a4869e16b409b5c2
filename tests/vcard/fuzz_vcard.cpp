// Feeds arbitrary bytes to the vCard import. Whatever it accepts must export
// and import again to the same contacts with the same 16 fields.
#include "platform/core/CodePage.h"
#include "vcard/CardWriter.h"
#include "vcard/Import.h"

#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

std::vector<std::u16string> Texts(const ContactListBase& list)
{
    std::vector<std::u16string> texts;
    std::u16string text;
    for (int i = 0; i < list.GetCount(); ++i) {
        for (FieldId id = 0; id < FieldCount; ++id) {
            list.GetAt(i)->GetField(id)->GetText(text);
            texts.push_back(text);
        }
    }
    return texts;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    ce::SetACP(936);
    ContactList first;
    vcard::ImportSummary summary;
    vcard::ImportFailure failure;
    if (!vcard::ImportCards({{"fuzz.vcf", std::string(reinterpret_cast<const char*>(data), size)}}, first, summary,
                            failure) ||
        first.GetCount() == 0)
        return 0;
    ContactList second;
    if (!vcard::ImportCards({{"export.vcf", vcard::WriteCards(first)}}, second, summary, failure) ||
        Texts(first) != Texts(second))
        std::abort();
    return 0;
}

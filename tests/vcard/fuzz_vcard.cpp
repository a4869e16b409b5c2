// Feeds arbitrary bytes to the vCard import. Whatever it accepts must export
// and import again to the same contacts with the same 16 fields.
#include "platform/core/CodePage.h"
#include "vcard/CardWriter.h"
#include "vcard/Import.h"

#include <cstdint>
#include <cstdlib>
#include <string>

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
        second.GetCount() != first.GetCount())
        std::abort();
    for (int i = 0; i < first.GetCount(); ++i) {
        if (!first.GetAt(i)->HasSameValues(*second.GetAt(i)))
            std::abort();
    }
    return 0;
}

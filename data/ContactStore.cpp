#include "data/ContactStore.h"
#include "platform/core/FileSystem.h"

bool MakeContactStoreFolder()
{
    return ce::CreateDirectoryPathW(ContactStoreFolder) != 0;
}

// Where the contacts live on the device, and the marker of the one program
// that may hold them in memory while it runs.
#pragma once

constexpr const char16_t* ContactStoreFile = u"\\My Flash Disk\\PIM\\Contacts.pcd";
constexpr const char16_t* ContactStoreFolder = u"\\My Flash Disk\\PIM";
// Makes the data file's folder with every missing parent (a new device root
// has none of them); true when it is there. Every writer of the data file
// calls this first.
bool MakeContactStoreFolder();
// The named mutex whose existence marks a running address book.
constexpr const char16_t* InstanceMarkerName = u"ZELKContacts";

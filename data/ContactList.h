// The owning, name-ordered list of contacts, and the data file behind it.
//
// The list is shared between the user-interface thread and the loading
// thread. Every public operation takes the list's lock itself; a caller that
// needs several operations to see one state (GetCount, then GetAt, then the
// record's text) holds Lock() across them. A record returned by GetAt may
// be used only while the lock is held.
#pragma once
#include "data/ContactRecord.h"

#include <atomic>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

// Raised by the file watch to stop a running Load; Load only reads it.
extern std::atomic<int> g_abortLoad;

// A long walk over records, at `i` now, waits mostly on memory: asks for a
// record further on, and for the texts of one asked for earlier.
inline void FetchRecordsAhead(const std::vector<ContactRecord*>& records, std::size_t i)
{
    if (i + 16 < records.size())
        __builtin_prefetch(records[i + 16]);
    if (i + 8 < records.size() && records[i + 8])
        records[i + 8]->FetchTexts();
}

class ContactListBase {
public:
    using InitialTest = int (ContactField::*)(char16_t lo, char16_t hi) const;

    ContactListBase() = default;
    ContactListBase(const ContactListBase&) = delete;
    ContactListBase& operator=(const ContactListBase&) = delete;

    virtual ~ContactListBase();
    // Appends the records of the data file at path, in file order. 1 when
    // the file could be opened and read to its end or to a stop through
    // g_abortLoad, else 0 and the list is unchanged: a read error takes back
    // the records it had appended, so a partial list never passes for the file. The file is read without the lock;
    // the lock is taken for each appended record.
    virtual int Load(const std::u16string& path);
    // Inserts before the first record whose field fieldId sorts after the
    // record's; returns the index, -1 for a null record. While a load is
    // not whole (BeginLoad up to EndLoad of a whole file) the record is held
    // back, -1 is returned, and EndLoad inserts it.
    virtual int InsertSorted(std::unique_ptr<ContactRecord> record, FieldId fieldId);
    // The edit of a contact that is not in the list: while a load is not
    // whole, held back as InsertSorted holds a record, and once the load is
    // whole it takes the place of the first record with the values of
    // `original`; else the same as InsertSorted.
    virtual int InsertSortedInstead(std::unique_ptr<ContactRecord> record, const ContactRecord& original,
                                    FieldId fieldId);
    // The same list as InsertSorted of each record in the given order, in
    // time linear in the list: the batch is sorted once and merged in.
    // Takes the records; null ones are dropped.
    virtual void InsertSortedAll(std::vector<std::unique_ptr<ContactRecord>> batch, FieldId fieldId);
    // Out-of-range indexes append. Returns the record's index.
    virtual int InsertAt(int index, std::unique_ptr<ContactRecord> record);
    virtual int Append(std::unique_ptr<ContactRecord> record);

    // Writes every record to the data file at path, through a temporary file
    // beside it that replaces the file only once written and flushed
    // (CFile::Replace: a linked file is replaced at its target, with its
    // owner and mode). 1 on success; 0 leaves the old file as it was.
    int Save(const std::u16string& path) const;
    // Empties the list, also of held-back records; the list counts as whole
    // and unchanged.
    void Clear();
    // A reload: the list is emptied for the file's records, and insertions
    // are held back until EndLoad(true). Changes the user made before are
    // forgotten (the file wins), except those still held back.
    void BeginLoad();
    // The load is over; when it read the whole file (or there was none) the
    // held-back records join the list in name order.
    void EndLoad(bool whole);
    // The held-back records join the list as it is (a list that is kept
    // although its load did not end whole).
    void InsertHeldBack();
    // Whether the list holds changes that no load brought: insertions,
    // removals and replaced records since the last BeginLoad or Clear.
    bool IsChanged() const;
    // Out-of-range indexes change nothing.
    void RemoveAt(int index);
    // Gives record `index` the values of `values`; out of range: nothing.
    void ReplaceAt(int index, const ContactRecord& values);
    int GetCount() const;
    // nullptr for an index out of range.
    ContactRecord* GetAt(int index) const;

    // Letter search. Both give 1 (found) or 0, and an index: the found
    // record, or the last one placed before the range, or -1.
    int FirstIsNonLetter(int& index) const;
    int ScanGroup(InitialTest test, char16_t lo, char16_t hi, int& index) const;

    std::unique_lock<std::recursive_mutex> Lock() const { return std::unique_lock(mutex); }

private:
    // Takes back what the running load appended and is still in the list.
    void TakeBackLoaded();
    void FetchAhead(std::size_t i) const { FetchRecordsAhead(records, i); }

    mutable std::recursive_mutex mutex;
    std::vector<ContactRecord*> records;
    // The records the running load appended that are still in the list.
    std::vector<ContactRecord*> loading;
    // Insertions made while the list is not whole, each with the values of
    // the contact it replaces when it is an edit.
    struct HeldBack {
        std::unique_ptr<ContactRecord> record;
        std::unique_ptr<ContactRecord> replaces;
    };
    std::vector<HeldBack> heldBack;
    bool whole = true;
    bool changed = false;
    void HoldBack(std::unique_ptr<ContactRecord> record, const ContactRecord* replaces);
    // InsertSortedAll on a whole list: sorts the batch, then merges it
    // under the lock.
    void MergeSorted(std::vector<ContactRecord*> batch, FieldId fieldId);
};

// The list that gives every record entering it its labels.
class ContactList : public ContactListBase {
public:
    ~ContactList() override = default;
    // After a successful load every record carries its labels, also those
    // that were in the list before.
    int Load(const std::u16string& path) override;
    // A null record is refused with -1.
    int InsertSorted(std::unique_ptr<ContactRecord> record, FieldId fieldId) override;
    int InsertSortedInstead(std::unique_ptr<ContactRecord> record, const ContactRecord& original,
                            FieldId fieldId) override;
    void InsertSortedAll(std::vector<std::unique_ptr<ContactRecord>> batch, FieldId fieldId) override;
    int InsertAt(int index, std::unique_ptr<ContactRecord> record) override;
    int Append(std::unique_ptr<ContactRecord> record) override;
};

extern ContactList g_contactList;

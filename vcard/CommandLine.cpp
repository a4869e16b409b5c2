#include "vcard/CommandLine.h"

#include "data/ContactStore.h"
#include "platform/core/CodePage.h"
#include "platform/core/File.h"
#include "platform/core/FileSystem.h"
#include "platform/core/System.h"
#include "vcard/BookAccess.h"
#include "vcard/CardWriter.h"
#include "vcard/Import.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <map>
#include <string>
#include <vector>

#include <unistd.h>

namespace vcard {

namespace {

constexpr const char* Program = "contacts";

void Say(const std::string& message) { std::fprintf(stderr, "%s: %s\n", Program, message.c_str()); }

std::string DisplayName(const std::string& file, bool output)
{
    return file == "-" ? (output ? "standard output" : "standard input") : file;
}

// The bytes of a source, or else why they cannot be had.
bool ReadSource(const std::string& name, std::string& bytes, std::string& fault)
{
    std::FILE* file = name == "-" ? stdin : std::fopen(name.c_str(), "rb");
    if (!file) {
        fault = std::strerror(errno);
        return false;
    }
    char buffer[65536];
    std::size_t n;
    bool ok = true;
    while (ok && (n = std::fread(buffer, 1, sizeof buffer, file)) > 0) {
        ok = bytes.size() + n <= MaxSourceBytes;
        if (ok)
            bytes.append(buffer, n);
        else
            fault = "larger than the " + std::to_string(MaxSourceBytes >> 20) + " MiB that an import reads";
    }
    if (ok && std::ferror(file)) {
        fault = std::strerror(errno);
        ok = false;
    }
    if (file != stdin)
        std::fclose(file);
    return ok;
}

bool WriteAll(std::FILE* file, const std::string& bytes)
{
    return std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size() && std::fflush(file) == 0;
}

// A regular file is replaced only once the whole text is written beside it;
// standard output, devices and pipes are written directly.
bool WriteTarget(const std::string& name, const std::string& bytes)
{
    if (name == "-")
        return WriteAll(stdout, bytes);
    std::error_code error;
    const auto status = std::filesystem::status(name, error);
    if (std::filesystem::exists(status) && !std::filesystem::is_regular_file(status)) {
        std::FILE* file = std::fopen(name.c_str(), "wb");
        const bool ok = file && WriteAll(file, bytes);
        return (file ? std::fclose(file) == 0 : false) && ok;
    }
    // Written as the data file is: a crash leaves the old file or the new one.
    return ce::CFile::Replace(ce::Utf8ToUtf16(name),
                              [&](ce::CFile& file) { return file.Write(bytes.data(), bytes.size()) == 1; });
}

bool LoadBook(ContactList& list)
{
    std::string error;
    if (!vcard::LoadBook(list, error))
        Say(error);
    return error.empty();
}

// Exit status when this mode may not run, said on standard error; 0 when it may.
int Refusal(const InstanceMarker& marker)
{
    std::string message;
    const int status = marker.Refusal(message);
    if (status != 0)
        Say(message);
    return status;
}

// Why the data file could not be replaced, where that is known.
std::string ReplaceFault(ce::DWORD error)
{
    if (error == ce::ERROR_SHARING_VIOLATION)
        return ": another program holds it open";
    ce::WIN32_FILE_ATTRIBUTE_DATA attributes;
    if (ce::GetFileAttributesExW(ContactStoreFile, ce::GetFileExInfoStandard, &attributes) &&
        (attributes.dwFileAttributes & ce::FILE_ATTRIBUTE_READONLY))
        return ": it is read-only";
    return "";
}

// What the import's save needs, checked without writing anything: a data
// file that may be replaced (neither read-only nor held by another program),
// in a folder, or on the way to one, that may be written in.
bool BookWritable()
{
    const std::string path = ce::DeviceToHostPath(ContactStoreFile);
    ce::CFile book;
    if (!book.Open(ContactStoreFile, ce::CFile::modeWrite | ce::CFile::shareExclusive) &&
        ce::GetLastError() != ce::ERROR_FILE_NOT_FOUND) {
        const ce::DWORD error = ce::GetLastError();
        Say("cannot write the address book " + path + ReplaceFault(error) + "; the import would fail");
        return false;
    }
    std::error_code error;
    std::filesystem::path folder = std::filesystem::path(path).parent_path();
    while (folder.has_relative_path() && !std::filesystem::exists(folder, error))
        folder = folder.parent_path();
    if (::access(folder.c_str(), W_OK) != 0) {
        Say("cannot write in " + folder.string() + ": " + std::strerror(errno) + "; the import would fail");
        return false;
    }
    return true;
}

// "1 contact", "2 contacts", "0 contacts".

std::string Counts(const std::map<std::string, int>& counts)
{
    std::string text;
    for (const auto& [property, count] : counts)
        text += (text.empty() ? "" : ", ") + property + " " + std::to_string(count);
    return text;
}

void ReportImport(const ImportSummary& summary, bool dryRun)
{
    Say(Counted(summary.imported, "contact", "contacts") + (dryRun ? " to import, " : " imported, ") +
        Counted(summary.duplicates, "skipped as a duplicate", "skipped as duplicates"));
    if (summary.empty > 0)
        Say(Counted(summary.empty, "card", "cards") + " without any value skipped");
    if (!summary.unmapped.empty())
        Say("values without a field, not imported: " + Counts(summary.unmapped));
    if (!summary.unstorable.empty())
        Say("values with characters that code page " + std::to_string(ce::GetACP()) +
            " cannot store, stored with its default character: " + Counts(summary.unstorable));
    if (dryRun)
        Say("dry run: the address book was not changed");
}

int Import(const std::vector<std::string>& names, bool dryRun)
{
    std::vector<SourceFile> files;
    for (const std::string& name : names) {
        SourceFile& file = files.emplace_back();
        file.name = DisplayName(name, false);
        std::string fault;
        if (!ReadSource(name, file.bytes, fault)) {
            Say(file.name + ": " + fault + "; nothing was imported");
            return ExitFailed;
        }
    }
    ContactList list;
    if (!LoadBook(list))
        return ExitFailed;
    ImportSummary summary;
    ImportFailure failure;
    if (!ImportCards(files, list, summary, failure)) {
        const std::string where = failure.file + (failure.line > 0 ? ":" + std::to_string(failure.line) : "");
        Say(where + ": " + failure.message + "; nothing was imported");
        return ExitFailed;
    }
    if (dryRun && summary.imported > 0 && !BookWritable())
        return ExitFailed;
    if (!dryRun && summary.imported > 0) {
        if (!MakeContactStoreFolder() || !list.Save(ContactStoreFile)) {
            const ce::DWORD error = ce::GetLastError();
            Say("cannot write the address book " + ce::DeviceToHostPath(ContactStoreFile) +
                ReplaceFault(error) + "; nothing was imported");
            return ExitFailed;
        }
    }
    ReportImport(summary, dryRun);
    return 0;
}

// Values that hold bytes the code page cannot decode: vCard text is
// Unicode, so each such byte is written as U+FFFD.
int ValuesWithUndecodableBytes(const ContactListBase& list)
{
    int count = 0;
    auto guard = list.Lock();
    for (int i = 0; i < list.GetCount(); ++i) {
        for (FieldId id = 0; id < FieldCount; ++id) {
            const std::u16string_view text = list.GetAt(i)->GetField(id)->TextValue();
            count += std::any_of(text.begin(), text.end(), ce::IsUndecodableByte);
        }
    }
    return count;
}

int Export(const std::string& target)
{
    if (target != "-" && ce::CFile::SameFile(ce::Utf8ToUtf16(target), ContactStoreFile)) {
        Say(DisplayName(target, true) + " is the address book's data file; nothing was exported");
        return ExitFailed;
    }
    ContactList list;
    if (!LoadBook(list))
        return ExitFailed;
    if (!WriteTarget(target, WriteCards(list))) {
        Say("cannot write " + DisplayName(target, true) + ": " + std::strerror(errno));
        return ExitFailed;
    }
    Say(Counted(list.GetCount(), "contact", "contacts") + " exported to " + DisplayName(target, true));
    if (const int undecodable = ValuesWithUndecodableBytes(list))
        Say(Counted(undecodable, "value holds", "values hold") + " bytes that are no text in code page " +
            std::to_string(ce::GetACP()) + ", written as U+FFFD");
    return 0;
}

} // namespace

int RunImport(const std::vector<std::string>& files, bool dryRun)
{
    const InstanceMarker marker;
    const int refused = Refusal(marker);
    return refused ? refused : Import(files, dryRun);
}

int RunExport(const std::string& file)
{
    const InstanceMarker marker;
    const int refused = Refusal(marker);
    return refused ? refused : Export(file);
}

} // namespace vcard

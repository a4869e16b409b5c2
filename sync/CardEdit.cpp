#include "sync/CardEdit.h"

#include "platform/core/CodePage.h"
#include "vcard/CardReader.h"
#include "vcard/CardWriter.h"
#include "vcard/Import.h"

#include <algorithm>
#include <cstdio>
#include <random>
#include <set>
#include <vector>

namespace carddav {

namespace {

constexpr const char* Crlf = "\r\n";

bool ReadOne(const std::string& text, vcard::RawCard& raw, vcard::MappedCard& mapped)
{
    std::vector<vcard::RawCard> cards;
    vcard::ReadError error;
    vcard::PropertyDecoder decoder(ce::GetACP());
    if (!vcard::ReadCards(text, cards, error) || cards.empty())
        return false;
    raw = std::move(cards.front());
    return vcard::MapCard(raw, decoder, mapped, error);
}

ContactRecord RecordOf(const Fields& fields)
{
    ContactRecord record;
    ApplyFields(record, fields);
    return record;
}

// A card's physical lines, without their line ends.
std::vector<std::string> PhysicalLines(const std::string& text)
{
    std::vector<std::string> lines;
    std::size_t start = text.compare(0, 3, "\xEF\xBB\xBF") == 0 ? 3 : 0;
    while (start < text.size()) {
        std::size_t end = text.find('\n', start);
        if (end == std::string::npos)
            end = text.size();
        std::string line = text.substr(start, end - start);
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        lines.push_back(std::move(line));
        start = end + 1;
    }
    return lines;
}

// The written lines of a card, each with its folded continuation.
std::vector<std::string> ContentLines(const std::string& card)
{
    std::vector<std::string> out;
    for (const std::string& line : PhysicalLines(card)) {
        if (!out.empty() && !line.empty() && (line[0] == ' ' || line[0] == '\t'))
            out.back() += Crlf + line;
        else
            out.push_back(line);
    }
    return out;
}

bool NamedLine(const std::string& line, std::string_view name)
{
    const std::string upper = vcard::UpperCase(line.substr(0, name.size() + 1));
    return upper.size() > name.size() && upper.compare(0, name.size(), name) == 0 &&
           (upper[name.size()] == ':' || upper[name.size()] == ';');
}

// What the writer makes of the given fields alone: its lines but the frame
// and, unless the name is among them, the name.
std::vector<std::string> WrittenLines(const Fields& fields, std::initializer_list<FieldId> ids)
{
    Fields only;
    bool name = false;
    for (FieldId id : ids) {
        only[id] = fields[id];
        name = name || id == FieldName;
    }
    std::vector<std::string> lines;
    for (const std::string& line : ContentLines(vcard::WriteCard(RecordOf(only)))) {
        if (NamedLine(line, "BEGIN") || NamedLine(line, "VERSION") || NamedLine(line, "END"))
            continue;
        if (!name && (NamedLine(line, "FN") || NamedLine(line, "N")))
            continue;
        lines.push_back(line);
    }
    return lines;
}

// The components of ORG past company and department, as written.
std::string OrganisationTail(const vcard::ContentLine& org)
{
    if (!org.Find("ENCODING").empty() || org.HasBare("QUOTED-PRINTABLE"))
        return {};
    int component = 0;
    for (std::size_t i = 0; i < org.value.size(); ++i) {
        if (org.value[i] == '\\')
            ++i;
        else if (org.value[i] == ';' && ++component == 2)
            return org.value.substr(i + 1);
    }
    return {};
}

class CardEditor {
public:
    CardEditor(const std::string& text, const vcard::RawCard& raw, const vcard::MappedCard& mapped)
        : lines(PhysicalLines(text)), raw(raw), mapped(mapped)
    {
        for (const vcard::ContentLine& property : raw.properties)
            byLine[property.line] = &property;
    }

    // Replaces the lines of the properties behind `ids` (and every line of
    // the names in `alsoRemove`) with `replacement`.
    void Replace(std::initializer_list<FieldId> ids, std::vector<std::string> replacement,
                 std::initializer_list<std::string_view> alsoRemove = {})
    {
        int at = 0;
        for (FieldId id : ids)
            if (mapped.line[id] > 0 && RemoveProperty(mapped.line[id]) && at == 0)
                at = mapped.line[id];
        for (const vcard::ContentLine& property : raw.properties)
            for (std::string_view name : alsoRemove)
                if (property.name == name && RemoveProperty(property.line) && at == 0)
                    at = property.line;
        (at > 0 ? inserted[at] : atEnd).push_back(std::move(replacement));
    }

    std::string Text() const
    {
        std::string out;
        for (std::size_t i = 0; i < lines.size(); ++i) {
            const int number = int(i) + 1;
            if (const auto found = inserted.find(number); found != inserted.end())
                for (const auto& group : found->second)
                    for (const std::string& line : group)
                        out += line + Crlf;
            if (removed.count(number))
                continue;
            if (NamedLine(lines[i], "END"))
                for (const auto& group : atEnd)
                    for (const std::string& line : group)
                        out += line + Crlf;
            out += lines[i] + Crlf;
        }
        return out;
    }

private:
    // The physical lines of the property that begins at `line`.
    bool RemoveProperty(int line)
    {
        const auto property = byLine.find(line);
        if (property == byLine.end() || removed.count(line))
            return false;
        const bool quotedPrintable = vcard::UpperCase(property->second->Find("ENCODING")) == "QUOTED-PRINTABLE" ||
                                     property->second->HasBare("QUOTED-PRINTABLE");
        std::size_t i = std::size_t(line - 1);
        removed.insert(int(i) + 1);
        while (i + 1 < lines.size()) {
            const std::string& next = lines[i + 1];
            const bool continued = (!next.empty() && (next[0] == ' ' || next[0] == '\t')) ||
                                   (quotedPrintable && !lines[i].empty() && lines[i].back() == '=');
            if (!continued)
                break;
            removed.insert(int(++i) + 1);
        }
        return true;
    }

    std::vector<std::string> lines;
    const vcard::RawCard& raw;
    const vcard::MappedCard& mapped;
    std::map<int, const vcard::ContentLine*> byLine;
    std::set<int> removed;
    std::map<int, std::vector<std::vector<std::string>>> inserted; // before that line
    std::vector<std::vector<std::string>> atEnd;
};

Fields FieldsOfText(const std::string& text)
{
    ServerCard card;
    return ReadServerCard(text, card) ? card.fields : Fields();
}

std::string Edited(const std::string& text, const vcard::RawCard& raw, const vcard::MappedCard& mapped,
                   const Fields& now, const Fields& fields, bool everyField)
{
    CardEditor editor(text, raw, mapped);
    auto changed = [&](FieldId id) { return everyField || now[id] != fields[id]; };
    if (changed(FieldName))
        editor.Replace({FieldName}, WrittenLines(fields, {FieldName}), {"FN", "N"});
    if (changed(FieldCompany) || changed(FieldDepartment)) {
        std::vector<std::string> org = WrittenLines(fields, {FieldCompany, FieldDepartment});
        const auto orgLine = std::find_if(raw.properties.begin(), raw.properties.end(), [&](const vcard::ContentLine& p) {
            return p.line == std::max(mapped.line[FieldCompany], mapped.line[FieldDepartment]);
        });
        const std::string tail = orgLine == raw.properties.end() ? "" : OrganisationTail(*orgLine);
        if (!tail.empty()) {
            if (org.empty())
                org.push_back("ORG:");
            org.back() += (fields[FieldDepartment].empty() ? ";;" : ";") + tail;
        }
        editor.Replace({FieldCompany, FieldDepartment}, org);
    }
    for (FieldId id = 0; id < FieldCount; ++id) {
        if (id != FieldName && id != FieldCompany && id != FieldDepartment && changed(id))
            editor.Replace({id}, WrittenLines(fields, {id}));
    }
    return editor.Text();
}

} // namespace

bool ReadServerCard(const std::string& text, ServerCard& card)
{
    vcard::RawCard raw;
    if (!ReadOne(text, raw, card.mapped))
        return false;
    card.unstorable.clear();
    card.fields = FieldsOf(*vcard::RecordFromCard(card.mapped, card.unstorable));
    card.uid.clear();
    for (const vcard::ContentLine& property : raw.properties)
        if (property.name == "UID")
            card.uid = property.value;
    return true;
}

std::string NewCard(const Fields& fields, const std::string& uid)
{
    std::string card = vcard::WriteCard(RecordOf(fields));
    const std::string version = "VERSION:3.0\r\n";
    card.insert(card.find(version) + version.size(), "UID:" + uid + Crlf);
    return card;
}

std::string EditCard(const std::string& serverCard, const Fields& fields)
{
    vcard::RawCard raw;
    vcard::MappedCard mapped;
    if (!ReadOne(serverCard, raw, mapped))
        return NewCard(fields, RandomUuid());
    std::map<std::string, int> unstorable;
    const Fields now = FieldsOf(*vcard::RecordFromCard(mapped, unstorable));
    // Replaced in place, the lines read back as the fields; where the card's
    // own order would map them otherwise, every mapped property is written anew.
    std::string edited = Edited(serverCard, raw, mapped, now, fields, false);
    if (FieldsOfText(edited) != fields)
        edited = Edited(serverCard, raw, mapped, now, fields, true);
    return edited;
}

std::string RandomUuid()
{
    std::random_device device;
    std::uniform_int_distribution<unsigned> byte(0, 255);
    unsigned char bytes[16];
    for (unsigned char& b : bytes)
        b = static_cast<unsigned char>(byte(device));
    bytes[6] = static_cast<unsigned char>((bytes[6] & 0x0F) | 0x40);
    bytes[8] = static_cast<unsigned char>((bytes[8] & 0x3F) | 0x80);
    char text[40];
    std::snprintf(text, sizeof text, "%02x%02x%02x%02x-%02x%02x-%02x%02x-%02x%02x-%02x%02x%02x%02x%02x%02x", bytes[0],
                  bytes[1], bytes[2], bytes[3], bytes[4], bytes[5], bytes[6], bytes[7], bytes[8], bytes[9], bytes[10],
                  bytes[11], bytes[12], bytes[13], bytes[14], bytes[15]);
    return text;
}

} // namespace carddav

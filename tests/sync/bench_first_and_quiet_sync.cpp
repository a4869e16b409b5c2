// The first sync and a no-change sync of 10,000 contacts (and of 1,000, for a
// short run) against a local Radicale, beside the time that Radicale takes to
// answer the same PUTs and the same sync-collection REPORT (with the token of
// the listing before it) sent by a plain libcurl client in the same run. The
// counters first_ratio and quiet_ratio are the sync's times over those (the
// quiet sync and the REPORT each the quickest of three).
// Radicale runs with support/radicale_indexed_storage.py: as installed, each
// PUT reads every card already there, and 10,000 PUTs take hours.
#include "support/SyncFixture.h"

#include "tests/data/support/FloorRatio.h"

using namespace synctest;
using benchfloor::SecondsOf;

namespace {

// The quickest of three runs: a single request's time varies with the machine's other work.
template <typename Work> double Fastest(Work work)
{
    return std::min({SecondsOf(work), SecondsOf(work), SecondsOf(work)});
}

std::vector<Fields> Book(int contacts)
{
    std::vector<Fields> book;
    for (int i = 0; i < contacts; ++i) {
        const std::u16string n = ce::Utf8ToUtf16(std::to_string(i));
        Fields f = Contact(u"Person " + n, u"+34 600 " + n, u"person" + n + u"@example.org");
        f[FieldCompany] = u"Company " + ce::Utf8ToUtf16(std::to_string(i % 97));
        book.push_back(f);
    }
    return book;
}

// A device, a config folder and a Radicale of their own, made and removed with it.
struct Bench : SyncDevice {
    Bench()
    {
        std::string why;
        made = Make(ServerKind::Radicale, why, RadicaleStorage::Indexed);
    }
    ~Bench() { Remove(); }
    bool made = false;
};

void BM_FirstAndQuietSync(benchmark::State& state)
{
    const int contacts = int(state.range(0));
    for (auto _ : state) {
        // The plain client's PUTs and REPORT, on a server of their own.
        double plainPuts = 0, plainReport = 0;
        {
            Bench plain;
            if (!plain.made) {
                state.SkipWithError("Radicale did not start");
                return;
            }
            carddav::HttpClient client{carddav::HttpOptions{}};
            const std::vector<Fields> book = Book(contacts);
            int made = 0;
            plainPuts = SecondsOf([&] {
                for (int i = 0; i < contacts; ++i) {
                    const std::string uid = carddav::RandomUuid();
                    made += client.Send("PUT", plain.server->BookUrl() + uid + ".vcf",
                                        {"Content-Type: text/vcard; charset=utf-8", "If-None-Match: *"},
                                        carddav::NewCard(book[i], uid))
                                .status == 201;
                }
            });
            if (made != contacts)
                state.SkipWithError("the plain PUTs failed");
            // The listing that gives the token, then the REPORT a sync with nothing changed sends.
            const auto report = [&](const std::string& token) {
                carddav::Multistatus answer;
                const carddav::HttpResponse response =
                    client.Send("REPORT", plain.server->BookUrl(), {"Depth: 0", "Content-Type: application/xml"},
                                carddav::SyncCollectionBody(token));
                if (response.status != 207 || !carddav::ParseMultistatus(response.body, answer))
                    state.SkipWithError("the plain REPORT failed");
                return answer;
            };
            const std::string token = report("").syncToken;
            plainReport = Fastest([&] { report(token); });
        }
        Bench device;
        device.WriteBook(Book(contacts));
        device.SetUpSync();
        carddav::SyncOutcome first;
        const double firstSync = SecondsOf([&] { first = device.Sync(); });
        carddav::SyncOutcome quiet;
        const double quietSync = Fastest([&] {
            quiet = device.Sync();
            if (quiet.requests != std::map<std::string, int>{{"REPORT", 1}})
                state.SkipWithError("the quiet sync sent more than one REPORT");
        });
        if (!first.ok || !quiet.ok || first.summary.sent != contacts)
            state.SkipWithError((first.error + quiet.error).c_str());
        state.counters["plain_puts_s"] = plainPuts;
        state.counters["first_sync_s"] = firstSync;
        state.counters["first_ratio"] = firstSync / plainPuts;
        state.counters["plain_report_s"] = plainReport;
        state.counters["quiet_sync_s"] = quietSync;
        state.counters["quiet_ratio"] = quietSync / plainReport;
    }
}
BENCHMARK(BM_FirstAndQuietSync)->Arg(1000)->Arg(10000)->Iterations(1)->Unit(benchmark::kSecond);

} // namespace

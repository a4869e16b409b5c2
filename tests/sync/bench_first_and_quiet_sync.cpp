// The first sync and a no-change sync of 10,000 contacts (and of 1,000, for a
// short run) against a local Radicale, each beside its floor measured in the
// same run: the time Radicale takes to answer the same PUTs, and the same
// sync-collection REPORT (with the token of the listing before it), sent by
// a plain libcurl client. The quiet sync and the REPORT count the quickest
// of three.
// Radicale runs with support/radicale_indexed_storage.py: as installed, each
// PUT reads every card already there, and 10,000 PUTs take hours.
#include "support/SyncFixture.h"

#include "tests/data/support/FloorRatio.h"

#include <optional>

using namespace synctest;

namespace {

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

// A device holding `book`, set up to sync with a Radicale of its own.
struct Bench : SyncDevice {
    Bench(benchmark::State& state, const std::vector<Fields>& book)
    {
        if (const std::string why = Make(ServerKind::Radicale, RadicaleStorage::Indexed); !why.empty())
            state.SkipWithError(why.c_str());
        WriteBook(book);
        SetUpSync();
    }
    ~Bench() { Remove(); }
};

// The plain client's PUTs and the first sync, each on a fresh device and server.
void BM_FirstSync(benchmark::State& state)
{
    const std::vector<Fields> book = Book(int(state.range(0)));
    std::optional<Bench> bench;
    const auto fresh = [&] {
        bench.reset();
        bench.emplace(state, book);
    };
    const auto plainPuts = [&] {
        for (const Fields& fields : book) {
            const std::string uid = carddav::RandomUuid();
            if (bench->server->PutCard(uid + ".vcf", carddav::NewCard(fields, uid)) != 201)
                return state.SkipWithError("a plain PUT failed");
        }
    };
    const auto firstSync = [&] {
        const carddav::SyncOutcome first = bench->Sync();
        if (!first.ok || first.summary.sent != int(book.size()))
            state.SkipWithError(("the first sync failed: " + first.error).c_str());
    };
    benchfloor::CompareWithFloor(state, fresh, plainPuts, firstSync, benchfloor::Clock::Wall);
}
BENCHMARK(BM_FirstSync)->Arg(1000)->Arg(10000)->UseManualTime()->Iterations(1)->Unit(benchmark::kSecond);

// The plain REPORT a sync with nothing changed sends, and that sync, after a first sync.
void BM_QuietSync(benchmark::State& state)
{
    Bench bench(state, Book(int(state.range(0))));
    if (!bench.Sync().ok)
        state.SkipWithError(("the first sync failed: " + bench.said).c_str());
    std::string token;
    const auto report = [&] {
        const carddav::HttpResponse response =
            bench.server->Send("REPORT", bench.server->BookUrl(), {"Depth: 0", "Content-Type: application/xml"},
                               carddav::SyncCollectionBody(token));
        carddav::Multistatus answer;
        if (response.status != 207 || !carddav::ParseMultistatus(response.body, answer))
            state.SkipWithError("the plain REPORT failed");
        token = answer.syncToken;
    };
    report(); // the listing that gives the token
    const auto quietSync = [&] {
        const carddav::SyncOutcome quiet = bench.Sync();
        if (!quiet.ok || quiet.requests != std::map<std::string, int>{{"REPORT", 1}})
            state.SkipWithError(("the quiet sync failed or sent more than one REPORT: " + quiet.error).c_str());
    };
    benchfloor::CompareWithFloor(state, report, quietSync, benchfloor::Clock::Wall);
}
BENCHMARK(BM_QuietSync)->Arg(1000)->Arg(10000)->UseManualTime()->Iterations(3)->Unit(benchmark::kMillisecond);

} // namespace

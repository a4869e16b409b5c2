// Memory of a loaded book: the process's own resident size with and without
// the book, per contact, beside the file's text held once in UTF-16 (two
// bytes for each byte of the file). The book is a typical user's: a name,
// two telephones, an e-mail and, for some, a company.
#include "data/ContactList.h"
#include "tests/data/support/SampleContacts.h"

#include <benchmark/benchmark.h>

#include <fstream>
#include <malloc.h>
#include <unistd.h>

namespace {

double ResidentBytes()
{
    malloc_trim(0);
    std::ifstream statm("/proc/self/statm");
    long size = 0;
    long resident = 0;
    statm >> size >> resident;
    return double(resident) * double(sysconf(_SC_PAGESIZE));
}

void BM_MemoryAContact(benchmark::State& state)
{
    const int count = int(state.range(0));
    testdata::SampleFile sample(count, true);
    sample.list.Clear();
    double perContact = 0;
    for (auto _ : state) {
        const double without = ResidentBytes();
        {
            ContactList list;
            if (list.Load(sample.Path("Contacts.pcd")) != 1 || list.GetCount() != count)
                state.SkipWithError("load failed");
            perContact = (ResidentBytes() - without) / count;
        }
    }
    const double floor = 2.0 * double(sample.bytes.size()) / count;
    state.counters["bytes"] = perContact;
    state.counters["floor_bytes"] = floor;
    state.counters["file_bytes"] = double(sample.bytes.size()) / count;
    state.counters["ratio"] = perContact / floor;
}

} // namespace

BENCHMARK(BM_MemoryAContact)->Arg(10000)->Arg(100000)->Iterations(1)->Unit(benchmark::kMillisecond);

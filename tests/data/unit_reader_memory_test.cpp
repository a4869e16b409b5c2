// The reader holds one chunk, the field being read and its scratch record,
// never the file: its memory beyond the records it made stays small
// whatever the size of the file.
#include "tests/data/support/DataFixture.h"

#include "tests/common/CountingNew.h"

using namespace testalloc;
using namespace testdata;

TEST_F(DataTest, ReaderMemoryBeyondItsRecordsStaysSmallForALargeFile)
{
    const int records = 20000;
    const std::string longest(30000, 'L');
    Bytes file;
    for (int i = 0; i < records; ++i)
        AppendRecordBytes(file, {"Contact " + std::to_string(i), std::string(400, 'a' + i % 26),
                                 i == records / 2 ? longest : "91 555 0000"});
    WriteBytes("large.pcd", file);

    ContactListBase list;
    liveBytes = 0;
    peakBytes = 0;
    counting = true;
    ASSERT_EQ(list.Load(PathOf("large.pcd")), 1);
    counting = false;
    ASSERT_EQ(list.GetCount(), records);

    // What went is the reader's own memory: a chunk, the longest field in
    // bytes and UTF-16, the scratch record and the pointer array growth.
    const long long transient = peakBytes - liveBytes;
    const long long bound = 64 * 1024 + 3 * static_cast<long long>(longest.size()) + 48LL * records;
    EXPECT_LT(transient, bound) << "file of " << file.size() << " bytes";
    EXPECT_GT(static_cast<long long>(file.size()), 5 * bound);
}

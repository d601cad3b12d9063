#include "framework/rtl/Streams.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>

namespace {

// Ten bytes long, takes at most two bytes a write; its size comes from the base class's seeks.
class TNarrowStream : public TStream {
public:
    int64_t Read(void*, int64_t) override { return 0; }
    int64_t Write(const void*, int64_t count) override { return std::min<int64_t>(count, 2); }
    int64_t Seek(int64_t offset, TSeekOrigin origin) override
    {
        FPosition = (origin == TSeekOrigin::soBeginning ? 0 : origin == TSeekOrigin::soEnd ? 10 : FPosition) + offset;
        return FPosition;
    }

private:
    int64_t FPosition = 0;
};

}  // namespace

TEST(TMemoryStream, ReadsWritesAndSeeks)
{
    TMemoryStream s("hello");
    char buf[8] = {};
    EXPECT_EQ(s.Read(buf, 3), 3);
    EXPECT_EQ(std::string(buf, 3), "hel");
    EXPECT_EQ(s.Remaining(), "lo");
    EXPECT_EQ(s.Read(buf, 8), 2);   // short at the end, then nothing
    EXPECT_EQ(s.Read(buf, 8), 0);
    EXPECT_EQ(s.Seek(-2, TSeekOrigin::soEnd), 3);
    EXPECT_EQ(s.Write("LO!", 3), 3);
    EXPECT_EQ(s.Bytes(), "helLO!");
    EXPECT_EQ(s.Seek(2, TSeekOrigin::soEnd), 8);   // a write past the end fills the gap with zeros
    s.WriteBuffer("x", 1);
    EXPECT_EQ(s.Bytes(), std::string("helLO!\0\0x", 9));
    EXPECT_THROW(s.Seek(-1, TSeekOrigin::soBeginning), EStreamError);
    EXPECT_EQ(s.Position(), 9);
    s.SetSize(4);
    EXPECT_EQ(s.Position(), 4);
    EXPECT_EQ(s.Size(), 4);
    EXPECT_THROW(s.SetSize(-1), EStreamError);
    s.Clear();
    EXPECT_EQ(s.Size(), 0);
    EXPECT_EQ(s.Position(), 0);
}

TEST(TStream, WholeBuffersAndCopies)
{
    TMemoryStream source("abcdef");
    char buf[8] = {};
    EXPECT_THROW(source.ReadBuffer(buf, 7), EStreamError);
    source.ReadBuffer(buf, 0);

    TMemoryStream target;
    EXPECT_EQ(target.CopyFrom(source, 0), 6);   // 0 copies the whole source from its start
    EXPECT_EQ(target.Bytes(), "abcdef");
    source.SetPosition(4);
    EXPECT_THROW(target.CopyFrom(source, 3), EStreamError);

    TNarrowStream narrow;
    EXPECT_THROW(narrow.WriteBuffer("abc", 3), EStreamError);
    narrow.SetPosition(1);
    EXPECT_EQ(narrow.Size(), 10);
    EXPECT_EQ(narrow.Position(), 1);   // measuring the size keeps the position
}

#include <gtest/gtest.h>

#include <string>

#include "skin/core/spzlibcompress.h"

namespace {

std::string Sample(size_t n)
{
    std::string s;
    for (size_t i = 0; i < n; ++i)
        s.push_back(static_cast<char>((i * 7919 + i / 13) & 255));
    return s;
}

std::string Compress(const std::string& plain)
{
    TMemoryStream source(plain), target;
    CompressStream(source, target);
    return target.Bytes();
}

std::string Decompress(const std::string& packed, int64_t limit = kMaxInflatedSize)
{
    TMemoryStream source(packed), target;
    DecompressStream(target, source, limit);
    return target.Bytes();
}

}  // namespace

TEST(ZlibStreams, RoundTripsAtEveryLevelWithMaximumHeader)
{
    const std::string plain = Sample(50000);
    const std::string packed = Compress(plain);
    ASSERT_GE(packed.size(), 2u);
    EXPECT_EQ(static_cast<unsigned char>(packed[0]), 0x78);
    EXPECT_EQ(static_cast<unsigned char>(packed[1]), 0xDA);
    EXPECT_EQ(Decompress(packed), plain);
    EXPECT_EQ(Decompress(Compress("")), "");

    for (auto level : {TCompressionLevel::clNone, TCompressionLevel::clFastest, TCompressionLevel::clDefault}) {
        TMemoryStream target;
        {
            TCompressionStream c(level, target);
            c.WriteBuffer(plain.data(), static_cast<int64_t>(plain.size()));
        }   // the destructor finishes the stream
        EXPECT_EQ(Decompress(target.Bytes()), plain);
    }
}

TEST(ZlibStreams, CompressionWritesBackAtItsPositionAndReportsProgress)
{
    TMemoryStream target;
    int progress = 0;
    TCompressionStream c(TCompressionLevel::clNone, target);
    c.OnProgress = [&](TCustomZlibStream&) { ++progress; };
    const std::string plain = Sample(200000);
    c.WriteBuffer(plain.data(), 100000);
    target.SetPosition(0);   // moved by someone else: the next write goes back first
    c.WriteBuffer(plain.data() + 100000, 100000);
    EXPECT_EQ(c.Position(), 200000);
    c.Finish();
    EXPECT_GT(progress, 0);
    EXPECT_EQ(Decompress(target.Bytes()), plain);
    EXPECT_THROW(c.WriteBuffer("x", 1), ECompressionError);
}

TEST(ZlibStreams, InvalidOperationsRaise)
{
    TMemoryStream target;
    TCompressionStream c(TCompressionLevel::clMax, target);
    char byte = 0;
    EXPECT_THROW(c.Read(&byte, 1), ECompressionError);
    EXPECT_THROW(c.Seek(1, TSeekOrigin::soCurrent), ECompressionError);
    EXPECT_THROW(c.Seek(0, TSeekOrigin::soBeginning), ECompressionError);
    try {
        c.Seek(0, TSeekOrigin::soEnd);
        FAIL();
    } catch (const ECompressionError& e) {
        EXPECT_EQ(e.Message(), "Invalid stream operation");
    }

    TMemoryStream source(Compress("abc"));
    TDecompressionStream d(source);
    EXPECT_THROW(d.Write("x", 1), EDecompressionError);
    EXPECT_THROW(d.Seek(0, TSeekOrigin::soEnd), EDecompressionError);
    EXPECT_THROW(d.Seek(-1, TSeekOrigin::soCurrent), EDecompressionError);
}

TEST(ZlibStreams, DecompressionSeeksForwardAndRestarts)
{
    const std::string plain = Sample(10000);
    TMemoryStream source(Compress(plain));
    TDecompressionStream d(source);
    EXPECT_EQ(d.Seek(5000, TSeekOrigin::soCurrent), 5000);
    char buffer[10];
    d.ReadBuffer(buffer, 10);
    EXPECT_EQ(std::string(buffer, 10), plain.substr(5000, 10));
    EXPECT_THROW(d.Seek(100, TSeekOrigin::soBeginning), EDecompressionError);   // backwards
    EXPECT_EQ(d.Seek(0, TSeekOrigin::soBeginning), 0);
    d.ReadBuffer(buffer, 10);
    EXPECT_EQ(std::string(buffer, 10), plain.substr(0, 10));
    EXPECT_EQ(d.Seek(9000, TSeekOrigin::soBeginning), 9000);
}

TEST(ZlibStreams, ReadingPastTheEndIsShortThenZero)
{
    TMemoryStream source(Compress("hello"));
    TDecompressionStream d(source);
    char buffer[64];
    EXPECT_EQ(d.Read(buffer, sizeof buffer), 5);
    EXPECT_EQ(d.Read(buffer, sizeof buffer), 0);
}

TEST(ZlibStreams, TrailingBytesAfterTheStreamAreIgnored)
{
    const std::string plain = Sample(3000);
    EXPECT_EQ(Decompress(Compress(plain) + std::string(100000, 'x')), plain);
    EXPECT_EQ(Decompress(Compress(plain) + Compress("second")), plain);
}

TEST(ZlibStreams, TruncatedStreamsRaiseAtEveryCut)
{
    const std::string packed = Compress(Sample(5000));
    for (size_t cut = 0; cut < packed.size(); cut += 37)
        EXPECT_THROW(Decompress(packed.substr(0, cut)), EDecompressionError) << "cut " << cut;
    EXPECT_THROW(Decompress(packed.substr(0, packed.size() - 1)), EDecompressionError);   // adler32 cut
}

TEST(ZlibStreams, CorruptOrDictionaryStreamsRaise)
{
    std::string packed = Compress(Sample(5000));
    packed[packed.size() / 2] ^= 0x55;
    EXPECT_THROW(Decompress(packed), EDecompressionError);
    EXPECT_THROW(Decompress("not zlib at all"), EDecompressionError);
    // FDICT set: the header asks for a preset dictionary.
    const std::string dict = {0x78, static_cast<char>(0xBB), 0, 0, 0, 1, 0x4B, 0x04, 0x00};
    try {
        Decompress(dict);
        FAIL();
    } catch (const EDecompressionError& e) {
        EXPECT_EQ(e.Message().rfind("compression error", 0), 0u);
    }
}

TEST(ZlibStreams, InflatedSizeIsCapped)
{
    const std::string bomb = Compress(std::string(1 << 20, '\0'));
    EXPECT_LT(bomb.size(), 2000u);
    EXPECT_THROW(Decompress(bomb, 1 << 19), EDecompressionError);
    EXPECT_EQ(Decompress(bomb, 1 << 20).size(), 1u << 20);
}

namespace {

class TFullDisk : public TMemoryStream {
public:
    int64_t Write(const void*, int64_t) override { throw EStreamError("disk full"); }
};

}  // namespace

TEST(ZlibStreams, DestructorNeverThrowsButFinishReports)
{
    TFullDisk target;
    {
        TCompressionStream quiet(TCompressionLevel::clMax, target);
        quiet.WriteBuffer("abc", 3);
    }   // the failed finish is swallowed here instead of ending the program
    TCompressionStream loud(TCompressionLevel::clMax, target);
    loud.WriteBuffer("abc", 3);
    EXPECT_THROW(loud.Finish(), EStreamError);
}

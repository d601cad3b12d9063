#include "skin/core/spzlibcompress.h"

#include <algorithm>
#include <climits>
#include <string>

namespace {

const char* const kInvalidOperation = "Invalid stream operation";

int CCheck(int code)
{
    if (code < 0)
        throw ECompressionError("error");
    return code;
}

int DCheck(int code)
{
    // A preset dictionary is never used by skins; asking for one would stall the read loop.
    if (code < 0 || code == Z_NEED_DICT)
        throw EDecompressionError("compression error");
    return code;
}

// zlib counts in 32-bit units; larger requests go through in slices of this size.
constexpr int64_t kSlice = INT_MAX / 2;

}  // namespace

//--- TCustomZlibStream

TCustomZlibStream::TCustomZlibStream(TStream& strm) : FStrm(strm), FStrmPos(strm.Position()) {}

void TCustomZlibStream::Progress()
{
    if (OnProgress)
        OnProgress(*this);
}

//--- TCompressionStream

TCompressionStream::TCompressionStream(TCompressionLevel level, TStream& dest) : TCustomZlibStream(dest)
{
    static const int levels[] = {Z_NO_COMPRESSION, Z_BEST_SPEED, Z_DEFAULT_COMPRESSION, Z_BEST_COMPRESSION};
    FZRec.next_out = FBuffer;
    FZRec.avail_out = kZlibBufferSize;
    CCheck(deflateInit(&FZRec, levels[static_cast<int>(level)]));
}

TCompressionStream::~TCompressionStream()
{
    try {
        if (!FFinished)
            Finish();
    } catch (...) {
        // A destructor reports nothing; callers that need to know call Finish themselves.
    }
    deflateEnd(&FZRec);
}

void TCompressionStream::FlushBuffer(int64_t count)
{
    FStrm.WriteBuffer(FBuffer, count);
    FZRec.next_out = FBuffer;
    FZRec.avail_out = kZlibBufferSize;
    FStrmPos = FStrm.Position();
}

int64_t TCompressionStream::Read(void*, int64_t)
{
    throw ECompressionError(kInvalidOperation);
}

int64_t TCompressionStream::Write(const void* buffer, int64_t count)
{
    if (FFinished)
        throw ECompressionError(kInvalidOperation);
    if (FStrm.Position() != FStrmPos)
        FStrm.SetPosition(FStrmPos);
    auto* in = static_cast<const unsigned char*>(buffer);
    for (int64_t left = count; left > 0;) {
        const int64_t slice = std::min(left, kSlice);
        FZRec.next_in = const_cast<unsigned char*>(in);
        FZRec.avail_in = static_cast<uInt>(slice);
        while (FZRec.avail_in > 0) {
            CCheck(deflate(&FZRec, Z_NO_FLUSH));
            if (FZRec.avail_out == 0) {
                FlushBuffer(kZlibBufferSize);
                Progress();
            }
        }
        in += slice;
        left -= slice;
    }
    return count;
}

void TCompressionStream::Finish()
{
    if (FFinished)
        return;
    FFinished = true;
    FZRec.next_in = nullptr;
    FZRec.avail_in = 0;
    if (FStrm.Position() != FStrmPos)
        FStrm.SetPosition(FStrmPos);
    while (CCheck(deflate(&FZRec, Z_FINISH)) != Z_STREAM_END && FZRec.avail_out == 0)
        FlushBuffer(kZlibBufferSize);
    if (FZRec.avail_out < kZlibBufferSize)
        FlushBuffer(kZlibBufferSize - FZRec.avail_out);
}

int64_t TCompressionStream::Seek(int64_t offset, TSeekOrigin origin)
{
    if (offset == 0 && origin == TSeekOrigin::soCurrent)
        return static_cast<int64_t>(FZRec.total_in);
    throw ECompressionError(kInvalidOperation);
}

//--- TDecompressionStream

TDecompressionStream::TDecompressionStream(TStream& source) : TCustomZlibStream(source), FStartPos(FStrmPos)
{
    FZRec.next_in = FBuffer;
    FZRec.avail_in = 0;
    DCheck(inflateInit(&FZRec));
}

TDecompressionStream::~TDecompressionStream()
{
    inflateEnd(&FZRec);
}

int64_t TDecompressionStream::Read(void* buffer, int64_t count)
{
    if (count <= 0 || FEnded)
        return 0;
    if (FStrm.Position() != FStrmPos)
        FStrm.SetPosition(FStrmPos);
    auto* out = static_cast<unsigned char*>(buffer);
    int64_t done = 0;
    while (done < count && !FEnded) {
        FZRec.next_out = out + done;
        FZRec.avail_out = static_cast<uInt>(std::min(count - done, kSlice));
        const uInt asked = FZRec.avail_out;
        while (FZRec.avail_out > 0) {
            if (FZRec.avail_in == 0) {
                const int64_t got = FStrm.Read(FBuffer, kZlibBufferSize);
                if (got == 0)
                    throw EDecompressionError("compression error: the compressed data ends too early");
                FZRec.next_in = FBuffer;
                FZRec.avail_in = static_cast<uInt>(got);
                FStrmPos = FStrm.Position();
                Progress();
            }
            if (DCheck(inflate(&FZRec, Z_NO_FLUSH)) == Z_STREAM_END) {
                FEnded = true;   // bytes after the zlib stream are left alone
                break;
            }
        }
        done += asked - FZRec.avail_out;
    }
    return done;
}

int64_t TDecompressionStream::Write(const void*, int64_t)
{
    throw EDecompressionError(kInvalidOperation);
}

void TDecompressionStream::Skip(int64_t count)
{
    unsigned char scratch[kZlibBufferSize];
    while (count > 0) {
        const int64_t got = Read(scratch, std::min<int64_t>(count, kZlibBufferSize));
        if (got == 0)
            break;
        count -= got;
    }
}

int64_t TDecompressionStream::Seek(int64_t offset, TSeekOrigin origin)
{
    const auto position = static_cast<int64_t>(FZRec.total_out);
    if (offset == 0 && origin == TSeekOrigin::soBeginning) {
        DCheck(inflateReset(&FZRec));
        FZRec.next_in = FBuffer;
        FZRec.avail_in = 0;
        FEnded = false;
        FStrm.SetPosition(FStartPos);
        FStrmPos = FStartPos;
    } else if (offset >= 0 && origin == TSeekOrigin::soCurrent) {
        Skip(offset);
    } else if (origin == TSeekOrigin::soBeginning && offset >= position) {
        Skip(offset - position);
    } else {
        throw EDecompressionError(kInvalidOperation);
    }
    return static_cast<int64_t>(FZRec.total_out);
}

//--- Whole-stream helpers

void CompressStream(TStream& source, TStream& target)
{
    TCompressionStream compressor(TCompressionLevel::clMax, target);
    compressor.CopyFrom(source, 0);
    compressor.Finish();
}

void DecompressStream(TStream& target, TStream& source, int64_t maxSize)
{
    source.SetPosition(0);
    TDecompressionStream inflater(source);
    unsigned char buffer[kZlibBufferSize];
    int64_t total = 0;
    for (;;) {
        const int64_t got = inflater.Read(buffer, sizeof buffer);
        if (got == 0)
            break;
        total += got;
        if (total > maxSize)
            throw EDecompressionError("compression error: the inflated data exceeds " + std::to_string(maxSize) + " bytes");
        target.WriteBuffer(buffer, got);
    }
}

#pragma once
// Stream adapters over zlib: TCompressionStream deflates what is written to it into a
// target stream, TDecompressionStream inflates a source stream as it is read, both through
// one 4096-byte buffer. CompressStream / DecompressStream pack and unpack whole streams.
// Inflation stops at the end of the zlib stream and a stream cut short is an error.

#include <cstdint>
#include <functional>

#include <zlib.h>

#include "framework/rtl/SysUtils.h"
#include "framework/rtl/Streams.h"

class EZlibError : public Exception {
public:
    using Exception::Exception;
};
class ECompressionError : public EZlibError {
public:
    using EZlibError::EZlibError;
};
class EDecompressionError : public EZlibError {
public:
    using EZlibError::EZlibError;
};

constexpr int kZlibBufferSize = 4096;
// Largest inflated skin DecompressStream accepts by default.
constexpr int64_t kMaxInflatedSize = int64_t{64} * 1024 * 1024;

class TCustomZlibStream : public TStream {
public:
    TCustomZlibStream(const TCustomZlibStream&) = delete;
    TCustomZlibStream& operator=(const TCustomZlibStream&) = delete;

    std::function<void(TCustomZlibStream& sender)> OnProgress;

protected:
    explicit TCustomZlibStream(TStream& strm);
    virtual void Progress();

    TStream& FStrm;
    int64_t FStrmPos;
    z_stream FZRec{};
    unsigned char FBuffer[kZlibBufferSize];
};

// Level index 0..3 selects zlib level 0 (none), 1 (fastest), the default or 9 (maximum).
enum class TCompressionLevel { clNone, clFastest, clDefault, clMax };

class TCompressionStream : public TCustomZlibStream {
public:
    TCompressionStream(TCompressionLevel level, TStream& dest);
    ~TCompressionStream() override;   // finishes the zlib stream if Finish was not called; never throws

    int64_t Read(void* buffer, int64_t count) override;    // raises ECompressionError
    int64_t Write(const void* buffer, int64_t count) override;
    int64_t Seek(int64_t offset, TSeekOrigin origin) override;   // only (0, current): bytes taken so far
    // Writes the rest of the zlib stream to the target; later writes are refused.
    void Finish();

private:
    void FlushBuffer(int64_t count);
    bool FFinished = false;
};

class TDecompressionStream : public TCustomZlibStream {
public:
    explicit TDecompressionStream(TStream& source);
    ~TDecompressionStream() override;

    // Fills the buffer; a short count means the zlib stream has ended. Data that ends
    // before the zlib stream does raises EDecompressionError.
    int64_t Read(void* buffer, int64_t count) override;
    int64_t Write(const void* buffer, int64_t count) override;   // raises EDecompressionError
    // (0, beginning) restarts; forward moves skip inflated bytes; returns the inflated position.
    int64_t Seek(int64_t offset, TSeekOrigin origin) override;

private:
    void Skip(int64_t count);
    int64_t FStartPos;
    bool FEnded = false;
};

// Compresses all of source at level 9 and appends it to target.
void CompressStream(TStream& source, TStream& target);
// Inflates all of source from its start and appends it to target; more than maxSize
// inflated bytes raise EDecompressionError.
void DecompressStream(TStream& target, TStream& source, int64_t maxSize = kMaxInflatedSize);

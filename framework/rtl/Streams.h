#pragma once
// Byte streams: the abstract TStream (read, write, seek with the three origins, position,
// size, whole-buffer reads and writes, copying) and TMemoryStream over a growable byte
// buffer. Adapters such as the zlib streams derive from TStream.

#include <cstdint>
#include <string>
#include <string_view>

#include "framework/rtl/SysUtils.h"

enum class TSeekOrigin { soBeginning, soCurrent, soEnd };

// A stream could not give or take the bytes asked for.
class EStreamError : public Exception {
public:
    using Exception::Exception;
};

class TStream {
public:
    virtual ~TStream() = default;
    virtual int64_t Read(void* buffer, int64_t count) = 0;         // returns the bytes read
    virtual int64_t Write(const void* buffer, int64_t count) = 0;  // returns the bytes written
    virtual int64_t Seek(int64_t offset, TSeekOrigin origin) = 0;  // returns the new position

    int64_t Position() { return Seek(0, TSeekOrigin::soCurrent); }
    void SetPosition(int64_t position) { Seek(position, TSeekOrigin::soBeginning); }
    virtual int64_t Size();

    void ReadBuffer(void* buffer, int64_t count);         // raises EStreamError when short
    void WriteBuffer(const void* buffer, int64_t count);  // raises EStreamError when short
    // Copies count bytes from source's position; count 0 copies all of source from its start.
    int64_t CopyFrom(TStream& source, int64_t count);
};

class TMemoryStream : public TStream {
public:
    TMemoryStream() = default;
    explicit TMemoryStream(std::string_view bytes) : FData(bytes) {}

    int64_t Read(void* buffer, int64_t count) override;
    int64_t Write(const void* buffer, int64_t count) override;
    int64_t Seek(int64_t offset, TSeekOrigin origin) override;
    int64_t Size() override { return static_cast<int64_t>(FData.size()); }

    void Clear() { FData.clear(); FPosition = 0; }
    void SetSize(int64_t size);   // keeps the position, clamped to the new size
    const std::string& Bytes() const { return FData; }
    std::string_view Remaining() const;   // the bytes from the position to the end

private:
    std::string FData;
    int64_t FPosition = 0;
};

#include "framework/rtl/Streams.h"

#include <algorithm>
#include <cstring>

int64_t TStream::Size()
{
    const int64_t here = Seek(0, TSeekOrigin::soCurrent);
    const int64_t size = Seek(0, TSeekOrigin::soEnd);
    Seek(here, TSeekOrigin::soBeginning);
    return size;
}

void TStream::ReadBuffer(void* buffer, int64_t count)
{
    if (count != 0 && Read(buffer, count) != count)
        throw EStreamError("Stream read error");
}

void TStream::WriteBuffer(const void* buffer, int64_t count)
{
    if (count != 0 && Write(buffer, count) != count)
        throw EStreamError("Stream write error");
}

int64_t TStream::CopyFrom(TStream& source, int64_t count)
{
    if (count == 0) {
        source.SetPosition(0);
        count = source.Size();
    }
    char buffer[4096];
    int64_t left = count;
    while (left > 0) {
        const int64_t n = std::min<int64_t>(left, sizeof buffer);
        source.ReadBuffer(buffer, n);
        WriteBuffer(buffer, n);
        left -= n;
    }
    return count;
}

int64_t TMemoryStream::Read(void* buffer, int64_t count)
{
    const int64_t size = Size();
    if (count <= 0 || FPosition >= size)
        return 0;
    const int64_t n = std::min(count, size - FPosition);
    std::memcpy(buffer, FData.data() + FPosition, static_cast<size_t>(n));
    FPosition += n;
    return n;
}

int64_t TMemoryStream::Write(const void* buffer, int64_t count)
{
    if (count <= 0)
        return 0;
    const int64_t end = FPosition + count;
    if (end > Size())
        FData.resize(static_cast<size_t>(end));
    std::memcpy(FData.data() + FPosition, buffer, static_cast<size_t>(count));
    FPosition = end;
    return count;
}

int64_t TMemoryStream::Seek(int64_t offset, TSeekOrigin origin)
{
    int64_t base = 0;
    if (origin == TSeekOrigin::soCurrent)
        base = FPosition;
    else if (origin == TSeekOrigin::soEnd)
        base = Size();
    if (base + offset < 0)
        throw EStreamError("Invalid stream position");
    FPosition = base + offset;   // beyond the end is allowed; a write there fills the gap with zeros
    return FPosition;
}

void TMemoryStream::SetSize(int64_t size)
{
    if (size < 0)
        throw EStreamError("Invalid stream size");
    FData.resize(static_cast<size_t>(size));
    FPosition = std::min(FPosition, size);
}

std::string_view TMemoryStream::Remaining() const
{
    if (FPosition >= static_cast<int64_t>(FData.size()))
        return {};
    return std::string_view(FData).substr(static_cast<size_t>(FPosition));
}

#pragma once
// Buffered writing of a note text file. The writer collects lines and their breaks in a
// buffer (16 KB at first, grown for a longer line) and writes it out when the next piece
// would not fit. It writes into a temporary file beside the target; Commit flushes it to
// disk and replaces the target, and a writer dropped without Commit removes the temporary
// file, so the old note file is never left half written. A replace refused because another
// program holds the target open (a virus scanner, a backup tool) is tried again for about a
// second before Commit gives up; after that the target's next replaces are tried once until
// one goes through. A read-only target fails at once.

#include <cstdio>
#include <functional>
#include <string>
#include <string_view>

#include "editor/core/NoteEditTextBuffer.h"

class TNoteEditFiler {
public:
    TNoteEditFiler() : FBuffer(16384, '\0') {}
    TNoteEditFiler(const TNoteEditFiler&) = delete;
    TNoteEditFiler& operator=(const TNoteEditFiler&) = delete;
    virtual ~TNoteEditFiler() = default;

    TNoteLineBreakFormat LineBreakFormat() const { return FLineBreakFormat; }
    void SetLineBreakFormat(TNoteLineBreakFormat format) { FLineBreakFormat = format; }
    int BufferSize() const { return static_cast<int>(FBuffer.size()); }

protected:
    virtual void FlushBuffer() {}

    std::string FBuffer;
    int FFillPos = 0;
    TNoteLineBreakFormat FLineBreakFormat = lbfLf;
};

class TNoteEditFileWriter : public TNoteEditFiler {
public:
    explicit TNoteEditFileWriter(const std::string& fileName);  // raises EInOutError
    ~TNoteEditFileWriter() override;

    void WriteLine(std::string_view text, bool withBreak);
    void Commit();  // raises EInOutError; the target is unchanged then

protected:
    void FlushBuffer() override;

private:
    void Discard() noexcept;

    std::string FFileName, FTempName;
    std::FILE* FFile = nullptr;
};

// How many times Commit tries a refused replace again, about a second in all.
constexpr int NoteReplaceRetries = 7;

// Test seam: called with the retry's number (1, 2, ...) before Commit waits to try a refused
// replace again; an empty function turns it off.
void SetNoteReplaceRetryHook(std::function<void(int retry)> hook);

// Opens a file for reading with sharing and returns all of its bytes; raises EInOutError.
std::string NoteReadFileBytes(const std::string& fileName);

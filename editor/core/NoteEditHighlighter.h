#pragma once
// The highlighter base as far as the editor calls it. No highlighter subclass exists in
// this program, so the editor mostly uses the defaults: identifier characters are the bytes
// 33..255, no range state, no attributes. A subclass would add named colour attributes;
// their changes reach the editor through the attribute-change chain, whose sender is the
// highlighter.

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "editor/core/NoteEditMiscClasses.h"
#include "editor/core/NoteEditTypes.h"

// Bytes 33..255: the identifier characters used when no highlighter is set.
TNoteByteSet NoteDefaultIdentChars();

class TNoteHighlighterAttributes : public TNoteOptionObject {
public:
    explicit TNoteHighlighterAttributes(std::string name) : FName(std::move(name)) {}
    const std::string& Name() const { return FName; }
    TNoteColor Background() const { return FBackground; }
    TNoteColor Foreground() const { return FForeground; }
    std::uint8_t Style() const { return FStyle; }
    void SetBackground(TNoteColor v) { Update(FBackground, v); }
    void SetForeground(TNoteColor v) { Update(FForeground, v); }
    void SetStyle(std::uint8_t v) { Update(FStyle, v); }
    void Assign(const TNoteHighlighterAttributes& source);

private:
    std::string FName;
    TNoteColor FBackground = NoteColor::None;
    TNoteColor FForeground = NoteColor::None;
    std::uint8_t FStyle = 0;
};

class TNoteCustomHighlighter {
public:
    TNoteCustomHighlighter();
    TNoteCustomHighlighter(const TNoteCustomHighlighter&) = delete;
    TNoteCustomHighlighter& operator=(const TNoteCustomHighlighter&) = delete;
    virtual ~TNoteCustomHighlighter();

    virtual TNoteByteSet IdentChars() const { return NoteDefaultIdentChars(); }
    virtual std::string LanguageName() const { return "<Unknown>"; }
    virtual int GetRange() const { return 0; }
    int AttrCount() const { return static_cast<int>(FAttributes.size()); }
    TNoteHighlighterAttributes* Attribute(int index) const;  // nil outside the range

    const TNoteByteSet& WordBreakChars() const { return FWordBreakChars; }
    void SetWordBreakChars(const TNoteByteSet& v) { FWordBreakChars = v; }
    const std::string& DefaultFilter() const { return FDefaultFilter; }
    void SetDefaultFilter(std::string v) { FDefaultFilter = std::move(v); }
    bool Enabled() const { return FEnabled; }
    void SetEnabled(bool v);
    void SetLoading(bool loading);  // finishing loading announces a change

    void BeginUpdate() { ++FUpdateCount; }
    void EndUpdate();
    void HookAttrChangeEvent(TNoteMethodId id, TNoteNotifyEvent handler) { FAttrChangeChain.AddHandler(id, std::move(handler)); }
    void UnhookAttrChangeEvent(TNoteMethodId id) { FAttrChangeChain.RemoveHandler(id); }
    void Assign(const TNoteCustomHighlighter& source);
    // Holders of a reference (the editors) hear when the highlighter goes.
    void AddFreeNotification(const void* id, std::function<void()> handler) { FFreeNotifies.Add({id, 0}, std::move(handler)); }
    void RemoveFreeNotification(const void* id) { FFreeNotifies.Remove({id, 0}); }
    int AttrChangeHookCount() const { return FAttrChangeChain.HandlerCount(); }
    int FreeNotificationCount() const { return FFreeNotifies.Count(); }

protected:
    // Adds a named attribute in name order; a duplicate name raises Exception.
    TNoteHighlighterAttributes& AddAttribute(std::string name);
    void DefHighlightChange(void* sender);

private:
    std::vector<std::unique_ptr<TNoteHighlighterAttributes>> FAttributes;
    TNoteByteSet FWordBreakChars;
    std::string FDefaultFilter;
    bool FEnabled = true;
    bool FLoading = false;
    bool FChangePending = false;
    int FUpdateCount = 0;
    TNoteNotifyEventChain FAttrChangeChain{this};
    TNoteMethodList<void()> FFreeNotifies;
};

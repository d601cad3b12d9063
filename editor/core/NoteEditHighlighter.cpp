#include "editor/core/NoteEditHighlighter.h"

#include <algorithm>

TNoteByteSet NoteDefaultIdentChars() {
    TNoteByteSet set;
    for (int b = 33; b <= 255; ++b) set.set(b);
    return set;
}

void TNoteHighlighterAttributes::Assign(const TNoteHighlighterAttributes& source) {
    FBackground = source.FBackground;
    FForeground = source.FForeground;
    FStyle = source.FStyle;
    Changed();
}

TNoteCustomHighlighter::~TNoteCustomHighlighter() {
    for (int i = FFreeNotifies.Count() - 1; i >= 0; --i) FFreeNotifies.Item(i)();
}

TNoteCustomHighlighter::TNoteCustomHighlighter() {
    for (int b : {0x21, 0x22, 0x3A, 0x3B, 0x3D, 0x3F}) FWordBreakChars.set(b);
    for (int b = 0x27; b <= 0x2F; ++b) FWordBreakChars.set(b);
    for (int b = 0x5B; b <= 0x5E; ++b) FWordBreakChars.set(b);
    for (int b = 0x7B; b <= 0x7D; ++b) FWordBreakChars.set(b);
}

TNoteHighlighterAttributes* TNoteCustomHighlighter::Attribute(int index) const {
    return index >= 0 && index < AttrCount() ? FAttributes[index].get() : nullptr;
}

void TNoteCustomHighlighter::SetEnabled(bool v) {
    if (v == FEnabled) return;
    FEnabled = v;
    DefHighlightChange(nullptr);
}

void TNoteCustomHighlighter::SetLoading(bool loading) {
    const bool finished = FLoading && !loading;
    FLoading = loading;
    if (finished) DefHighlightChange(nullptr);
}

void TNoteCustomHighlighter::EndUpdate() {
    if (FUpdateCount == 0 || --FUpdateCount > 0 || !FChangePending) return;
    FChangePending = false;
    DefHighlightChange(nullptr);
}

void TNoteCustomHighlighter::DefHighlightChange(void*) {
    if (FUpdateCount > 0) {
        FChangePending = true;
        return;
    }
    if (FLoading) return;
    FAttrChangeChain.FireAll();
}

TNoteHighlighterAttributes& TNoteCustomHighlighter::AddAttribute(std::string name) {
    const auto pos = std::lower_bound(FAttributes.begin(), FAttributes.end(), name,
                                      [](const auto& a, const std::string& n) { return a->Name() < n; });
    if (pos != FAttributes.end() && (*pos)->Name() == name)
        throw Exception("Duplicate highlighter attribute \"" + name + "\"");
    auto& attribute = **FAttributes.insert(pos, std::make_unique<TNoteHighlighterAttributes>(std::move(name)));
    attribute.OnChange = [this](void* sender) { DefHighlightChange(sender); };
    return attribute;
}

void TNoteCustomHighlighter::Assign(const TNoteCustomHighlighter& source) {
    for (const auto& attribute : source.FAttributes)
        for (auto& own : FAttributes)
            if (own->Name() == attribute->Name()) own->Assign(*attribute);
    FWordBreakChars = source.FWordBreakChars;
    FDefaultFilter = source.FDefaultFilter;
    SetEnabled(source.FEnabled);
}

// The editor's links to objects outside it: the highlighter, the search engine and the
// paint plug-ins, and OnReplaceText for a search that replaces.
#include <algorithm>

#include "editor/core/NoteEditCore.h"
#include "editor/core/NoteEditHighlighter.h"

TNoteEditSearchCustom::~TNoteEditSearchCustom() {
    const auto notifies = FFreeNotifies;  // a handler removes itself
    for (const auto& [id, handler] : notifies) handler();
}

void TNoteEditSearchCustom::AddFreeNotification(void* id, std::function<void()> handler) {
    FFreeNotifies.emplace_back(id, std::move(handler));
}

void TNoteEditSearchCustom::RemoveFreeNotification(void* id) {
    std::erase_if(FFreeNotifies, [&](const auto& entry) { return entry.first == id; });
}

void TNoteEditCore::SetSearchEngine(TNoteEditSearchCustom* value) {
    if (value == FSearchEngine) return;
    if (FSearchEngine) FSearchEngine->RemoveFreeNotification(this);
    FSearchEngine = value;
    if (value) value->AddFreeNotification(this, [this] { FSearchEngine = nullptr; });
}

void TNoteEditCore::SetHighlighter(TNoteCustomHighlighter* value) {
    if (value == FHighlighter) return;
    const TNoteMethodId id{this, 1};
    if (FHighlighter) {
        FHighlighter->UnhookAttrChangeEvent(id);
        FHighlighter->RemoveFreeNotification(this);
    }
    FHighlighter = value;
    if (value) {
        value->HookAttrChangeEvent(id, [this](void*) { HighlighterChanged(); });
        value->AddFreeNotification(this, [this] {
            FHighlighter = nullptr;
            HighlighterChanged();
        });
    }
    HighlighterChanged();
}

// Line height and cell from the styles in use, the lines' range states scanned again,
// sizes recomputed.
void TNoteEditCore::HighlighterChanged() {
    if (FLines->Count() > 0) {
        FLines->BeginUpdate();
        const int range = FHighlighter ? FHighlighter->GetRange() : -1;
        for (int i = 0; i < FLines->Count(); ++i) FLines->SetLineState(i, range);
        FLines->EndUpdate();
    }
    FHost.HostRemeasure();
    FontChangedRoutine();
}

std::vector<std::uint8_t> TNoteEditCore::StylesInUse(std::uint8_t fontStyle) const {
    std::vector<std::uint8_t> styles;
    const auto use = [&](std::uint8_t style) {
        style &= NoteFontStyle::Bold | NoteFontStyle::Italic;
        if (std::find(styles.begin(), styles.end(), style) == styles.end()) styles.push_back(style);
    };
    if (FHighlighter && FHighlighter->AttrCount() > 0) {
        for (int i = 0; i < FHighlighter->AttrCount(); ++i) use(FHighlighter->Attribute(i)->Style());
    } else {
        use(fontStyle);
    }
    return styles;
}

void TNoteEditCore::AddPlugin(std::unique_ptr<TNoteEditPlugin> plugin) {
    if (plugin) FPlugins.push_back(std::move(plugin));
}

TNoteReplaceAction TNoteEditCore::DoOnReplaceText(const std::string& search, const std::string& replace, int line,
                                                  int column) {
    TNoteReplaceAction action = raReplace;
    if (OnReplaceText) OnReplaceText(this, search, replace, line, column, action);
    return action;
}

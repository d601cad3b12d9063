#include <gtest/gtest.h>

#include <stdexcept>

#include "editor/core/NoteEditHighlighter.h"
#include "editor/core/NoteEditMiscClasses.h"

namespace {
struct ChangeCounter {
    int Count = 0;
    void* Sender = nullptr;
    TNoteNotifyEvent Handler() {
        return [this](void* sender) {
            ++Count;
            Sender = sender;
        };
    }
};
}  // namespace

TEST(NoteEditOptions, Defaults) {
    TNoteSelectedColor selected;
    EXPECT_EQ(selected.Background(), NoteColor::Highlight);
    EXPECT_EQ(selected.Foreground(), NoteColor::HighlightText);
    TNoteGutter gutter;
    EXPECT_EQ(gutter.Font().Name, "Courier New");
    EXPECT_EQ(gutter.Font().Size, 8);
    EXPECT_EQ(gutter.BorderStyle(), gbsMiddle);
    EXPECT_EQ(gutter.Width(), 30);
    EXPECT_EQ(gutter.CurrentDigitCount(), 4);
    TNoteRightEdge edge;
    EXPECT_TRUE(edge.Visible());
    EXPECT_EQ(edge.Position(), 80);
    EXPECT_EQ(edge.Color(), 0xC0C0C0);
    TNoteActiveLine active;
    EXPECT_EQ(active.Background(), 0x00FFFF);
    EXPECT_EQ(active.Foreground(), 0x800000);
    EXPECT_TRUE(active.Indicator().BuiltInName().empty());
    TNoteLineDivider divider;
    EXPECT_FALSE(divider.Visible());
    EXPECT_EQ(divider.Color(), 0x0000FF);
    TNoteWordWrap wrap;
    EXPECT_FALSE(wrap.Enabled());
    EXPECT_EQ(wrap.Style(), wwsClientWidth);
    EXPECT_EQ(wrap.Indicator().BuiltInName(), "NoteEditWrapped");
    EXPECT_EQ(wrap.Indicator().BuiltInMaskColor(), 0x00FF00);
    TNoteBookMarkOpt bookmarks;
    EXPECT_EQ(bookmarks.Xoffset(), 12);
    EXPECT_EQ(bookmarks.BookmarkImages(), nullptr);
}

TEST(NoteEditOptions, SettersFireOnlyOnChange) {
    TNoteRightEdge edge;
    ChangeCounter changes;
    edge.OnChange = changes.Handler();
    edge.SetPosition(80);
    EXPECT_EQ(changes.Count, 0);
    edge.SetPosition(81);
    edge.SetStyle(TNotePenStyle::Dot);
    EXPECT_EQ(changes.Count, 2);
    EXPECT_EQ(changes.Sender, &edge);

    TNoteGutter gutter;
    gutter.OnChange = changes.Handler();
    gutter.SetBorderStyle(gbsMiddle);  // fires even unchanged
    EXPECT_EQ(changes.Count, 3);
    gutter.SetLeftOffset(-5);
    EXPECT_EQ(gutter.LeftOffset(), 0);
    gutter.SetWidth(-1);
    EXPECT_EQ(gutter.Width(), 0);
    gutter.SetFont({"Courier New", 8});
    EXPECT_EQ(changes.Count, 5);
    gutter.SetFont({"Courier New", 9});
    EXPECT_EQ(changes.Count, 6);
}

TEST(NoteEditOptions, IndicatorChangesReachTheirOwner) {
    TNoteActiveLine active;
    TNoteWordWrap wrap;
    ChangeCounter activeChanges, wrapChanges;
    active.OnChange = activeChanges.Handler();
    wrap.OnChange = wrapChanges.Handler();
    active.Indicator().SetVisible(false);
    wrap.Indicator().GlyphChanged();
    EXPECT_EQ(activeChanges.Count, 1);
    EXPECT_EQ(activeChanges.Sender, &active);
    EXPECT_EQ(wrapChanges.Count, 1);

    TNoteWordWrap other;
    other.SetEnabled(true);
    other.SetStyle(wwsRightEdge);
    wrap.Assign(other);
    EXPECT_TRUE(wrap.Enabled());
    EXPECT_EQ(wrap.Style(), wwsRightEdge);
    EXPECT_TRUE(wrap.Indicator().Visible());
    EXPECT_EQ(wrapChanges.Count, 2);
}

TEST(NoteEditOptions, GutterDigitsAndWidth) {
    TNoteGutter gutter;
    gutter.SetDigitCount(20);
    EXPECT_EQ(gutter.DigitCount(), 12);
    gutter.SetDigitCount(1);
    EXPECT_EQ(gutter.DigitCount(), 2);
    EXPECT_EQ(gutter.CurrentDigitCount(), 2);
    gutter.SetDigitCount(4);

    gutter.SetShowLineNumbers(true);
    gutter.SetAutoSize(true);
    ChangeCounter changes;
    gutter.OnChange = changes.Handler();
    gutter.FitDigitCount(12345);
    EXPECT_EQ(gutter.CurrentDigitCount(), 5);
    EXPECT_EQ(changes.Count, 1);
    gutter.FitDigitCount(12345);
    EXPECT_EQ(changes.Count, 1);
    gutter.SetZeroStart(true);
    gutter.FitDigitCount(10000);
    EXPECT_EQ(gutter.CurrentDigitCount(), 4);
    gutter.SetZeroStart(false);
    gutter.SetAutoSize(false);
    gutter.FitDigitCount(12345);
    EXPECT_EQ(gutter.CurrentDigitCount(), 4);

    EXPECT_EQ(gutter.LineNumberText(7), "   7");
    gutter.SetLeadingZeros(true);
    EXPECT_EQ(gutter.LineNumberText(7), "0007");
    EXPECT_EQ(gutter.LineNumberText(123456), "123456");
    gutter.SetZeroStart(true);
    EXPECT_EQ(gutter.LineNumberText(1), "0000");

    EXPECT_EQ(gutter.GutterPixelWidth(8), 16 + 2 + 8 * 4 + 2);
    gutter.SetShowLineNumbers(false);
    EXPECT_EQ(gutter.GutterPixelWidth(8), 30);
    gutter.SetVisible(false);
    EXPECT_EQ(gutter.GutterPixelWidth(8), 0);

    TNoteGutter copy;
    ChangeCounter copyChanges;
    copy.OnChange = copyChanges.Handler();
    copy.Assign(gutter);
    EXPECT_FALSE(copy.Visible());
    EXPECT_TRUE(copy.LeadingZeros());
    EXPECT_EQ(copyChanges.Count, 1);
}

TEST(NoteEditOptions, GlyphBand) {
    const TNoteGlyphBand middle = NoteGlyphBand(16, 40, 8);  // tall glyph: its middle rows
    EXPECT_EQ(middle.SourceTop, 4);
    EXPECT_EQ(middle.Height, 8);
    EXPECT_EQ(middle.DestY, 40);
    const TNoteGlyphBand centred = NoteGlyphBand(8, 10, 20);
    EXPECT_EQ(centred.SourceTop, 0);
    EXPECT_EQ(centred.Height, 8);
    EXPECT_EQ(centred.DestY, 16);
}

TEST(NoteEditMethodChain, CallsInOrderAndHandlesErrors) {
    int sender = 0;
    TNoteNotifyEventChain chain(&sender);
    std::string calls;
    const TNoteMethodId a{&calls, 1}, b{&calls, 2};
    chain.AddHandler(a, [&](void* s) {
        EXPECT_EQ(s, &sender);
        calls += 'a';
    });
    chain.AddHandler(b, [&](void*) {
        calls += 'b';
        throw Exception("boom");
    });
    chain.AddHandler(a, [&](void*) { calls += 'A'; });

    EXPECT_THROW(chain.FireAll(), Exception);  // no handler: passes on
    EXPECT_EQ(calls, "ab");

    calls.clear();
    std::string seen;
    chain.OnException = [&](void*, const Exception& e, bool& doContinue) {
        seen = e.Message();
        EXPECT_TRUE(doContinue);
    };
    chain.FireAll();
    EXPECT_EQ(calls, "abA");
    EXPECT_EQ(seen, "boom");

    calls.clear();
    chain.OnException = [](void*, const Exception&, bool& doContinue) { doContinue = false; };
    chain.FireAll();
    EXPECT_EQ(calls, "ab");

    chain.OnException = [](void*, const Exception&, bool&) { throw std::runtime_error("again"); };
    try {
        chain.FireAll();
        FAIL();
    } catch (const ENoteMethodChain& e) {
        EXPECT_EQ(e.Message(),
                  "TNoteNotifyEventChain.DoHandleException : MUST NOT occur any kind of exception in ExceptionHandler");
    }

    calls.clear();
    chain.RemoveHandler(a);  // both occurrences
    chain.RemoveHandler(b);
    chain.FireAll();
    EXPECT_EQ(calls, "");

    chain.AddHandler(a, [](void*) { throw std::runtime_error("not ours"); });
    chain.OnException = [](void*, const Exception&, bool&) {};
    EXPECT_THROW(chain.FireAll(), std::runtime_error);
}

namespace {
class TTestHighlighter : public TNoteCustomHighlighter {
public:
    TTestHighlighter() {
        Comment = &AddAttribute("Comment");
        AddAttribute("Bracket");
    }
    using TNoteCustomHighlighter::AddAttribute;
    TNoteHighlighterAttributes* Comment;
};
}  // namespace

TEST(NoteEditHighlighter, BaseDefaultsAndChangeChain) {
    TTestHighlighter highlighter;
    EXPECT_EQ(highlighter.LanguageName(), "<Unknown>");
    EXPECT_EQ(highlighter.IdentChars().count(), 223u);
    EXPECT_FALSE(highlighter.IdentChars()[32]);
    EXPECT_TRUE(highlighter.IdentChars()[33]);
    EXPECT_EQ(highlighter.WordBreakChars().count(), 22u);
    EXPECT_TRUE(highlighter.WordBreakChars()['{']);
    EXPECT_FALSE(highlighter.WordBreakChars()['_']);
    EXPECT_EQ(highlighter.AttrCount(), 2);
    EXPECT_EQ(highlighter.Attribute(0)->Name(), "Bracket");  // kept in name order
    EXPECT_EQ(highlighter.Attribute(2), nullptr);
    EXPECT_THROW(highlighter.AddAttribute("Comment"), Exception);

    int changes = 0;
    void* sender = nullptr;
    highlighter.HookAttrChangeEvent({&changes, 0}, [&](void* s) {
        ++changes;
        sender = s;
    });
    highlighter.Comment->SetForeground(NoteColor::Red);
    EXPECT_EQ(changes, 1);
    EXPECT_EQ(sender, &highlighter);
    highlighter.BeginUpdate();
    highlighter.Comment->SetBackground(NoteColor::Navy);
    highlighter.SetEnabled(false);
    EXPECT_EQ(changes, 1);
    highlighter.EndUpdate();
    EXPECT_EQ(changes, 2);
    highlighter.SetLoading(true);
    highlighter.Comment->SetStyle(NoteFontStyle::Bold);
    EXPECT_EQ(changes, 2);
    highlighter.SetLoading(false);
    EXPECT_EQ(changes, 3);
    highlighter.UnhookAttrChangeEvent({&changes, 0});
    highlighter.SetEnabled(true);
    EXPECT_EQ(changes, 3);

    TTestHighlighter copy;
    copy.SetEnabled(false);
    copy.Assign(highlighter);
    EXPECT_EQ(copy.Comment->Foreground(), NoteColor::Red);
    EXPECT_TRUE(copy.Enabled());
}

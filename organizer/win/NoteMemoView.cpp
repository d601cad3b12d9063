#include "organizer/win/NoteMemoView.h"

#include "editor/win/NoteEdit.h"

TNoteMemo* MakeNoteMemo(TComponent* owner, TWinControl* parent, const char* name, int left, int top, int width,
                        int height)
{
    auto* m = new TNoteMemo(owner);
    m->SetName(name);
    m->SetParent(parent);
    m->SetBounds(left, top, width, height);
    m->SetColor(clInfoBk);
    m->SetBorderStyle(bsNone);
    m->Gutter().SetVisible(false);
    m->Font().SetName("新宋体");
    m->Font().SetSize(9);
    m->Font().SetPitch(fpFixed);
    m->ActiveLine().SetVisible(true);
    m->ActiveLine().SetBackground(NoteColor::Yellow);
    m->ActiveLine().SetForeground(NoteColor::Navy);
    m->LineDivider().SetVisible(true);
    m->LineDivider().SetColor(NoteColor::Red);
    m->LineDivider().SetStyle(TNotePenStyle::Dot);
    m->RightEdge().SetVisible(true);
    m->RightEdge().SetPosition(80);
    m->RightEdge().SetColor(NoteColor::Green);
    m->RightEdge().SetStyle(TNotePenStyle::Solid);
    m->SetLineSpacing(0);
    m->SetLineSpacingRule(lsOneAndHalf);
    m->SetBlockWidth(1);
    m->WordWrap().SetStyle(wwsRightEdge);
    m->WordWrap().SetPosition(80);
    m->WordWrap().SetEnabled(true);
    return m;
}

TWinControl* NoteMemoControl(TNoteMemo* memo) { return memo; }

std::string NoteMemoText(const TNoteMemo* memo) { return memo->GetText(); }

void SetNoteMemoOnChange(TNoteMemo* memo, std::function<void()> handler)
{
    memo->OnChange = [handler = std::move(handler)](void*) { handler(); };
}

void SetNoteMemoReadOnly(TNoteMemo* memo, bool readOnly) { memo->SetReadOnly(readOnly); }

void NoteMemoLoadFile(TNoteMemo* memo, const std::string& fileName) { memo->Lines().LoadFromFile(fileName); }

void NoteMemoSaveFile(TNoteMemo* memo, const std::string& fileName) { memo->Lines().SaveToFile(fileName); }

void NoteMemoClearAll(TNoteMemo* memo) { memo->ClearAll(); }

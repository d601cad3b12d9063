#include "organizer/win/FormSkin.h"

#include "skin/win/SkinResource.h"

namespace {

void SetFont(TFont& f, TColor color, TFontStyles style) {
  f.SetName("宋体");
  f.SetHeight(-12);
  f.SetCharset(GB2312_CHARSET);
  f.SetColor(color);
  f.SetStyle(style);
}

}  // namespace

void AddFormSkin(TForm* form, TskSkinForm*& DSF, TskSkinData*& skSkinData1,
                 TskCompressedStoredSkin*& CompressedStoredSkin1) {
  const int clientWidth = form->ClientWidth(), clientHeight = form->ClientHeight();
  CompressedStoredSkin1 = new TskCompressedStoredSkin(form);
  CompressedStoredSkin1->SetName("CompressedStoredSkin1");
  CompressedStoredSkin1->SetFileName("SKIN.INI");
  // Every form holds the same bytes; the skin store decodes them once per process.
  LoadProgramSkin(*CompressedStoredSkin1);

  DSF = new TskSkinForm(form);
  DSF->SetName("DSF");
  SetFont(DSF->DefCaptionFont(), clBtnText, TFontStyles{fsBold});
  SetFont(DSF->DefInActiveCaptionFont(), clBtnShadow, TFontStyles{fsBold});
  SetFont(DSF->DefMenuItemFont(), clWindowText, TFontStyles{});
  DSF->SetDefMenuItemHeight(20);
  DSF->SetUseSkinFontInMenu(true);
  DSF->SetAlphaBlendValue(10);
  DSF->Sizeable = true;
  DSF->DraggAble = true;
  DSF->Magnetic = true;
  DSF->MagneticSize = 5;
  DSF->SetBorderIcons(SkIcon(TskBorderIcon::biMaximize));
  form->SetClientSize(clientWidth, clientHeight);   // the frame changed its style

  skSkinData1 = new TskSkinData(form);
  skSkinData1->SetName("skSkinData1");
}

void ApplyFormSkin(TForm* form, TskSkinForm* DSF, TskSkinData* skSkinData1,
                   TskCompressedStoredSkin* CompressedStoredSkin1) {
  const int clientWidth = form->ClientWidth(), clientHeight = form->ClientHeight();
  skSkinData1->SetResourceStrData(ProgramResourceStrings());
  skSkinData1->SetCompressedStoredSkin(CompressedStoredSkin1);
  DSF->SetSkinData(skSkinData1);
  // The skinned frame is wider and taller than the system's: the client keeps its size,
  // measured on the window that has it.
  form->HandleNeeded();
  form->SetClientSize(clientWidth, clientHeight);
}

TskSkinButton* MakeSkinButton(TskSkinData* data, TComponent* owner, TWinControl* parent, const char* name,
                              const char* caption, const TRect& bounds, TNotifyEvent onClick) {
  auto* b = new TskSkinButton(owner);
  b->SetName(name);
  b->SetParent(parent);
  b->SetSkinDataName("resizebutton");
  b->SetCaption(caption);
  b->SetBounds(bounds.Left, bounds.Top, bounds.Width(), bounds.Height());
  b->OnClick = std::move(onClick);
  b->SetSkinData(data);
  return b;
}

TskSkinGroupBox* MakeSkinGroupBox(TskSkinData* data, TComponent* owner, TWinControl* parent, const TRect& bounds) {
  auto* g = new TskSkinGroupBox(owner);
  g->SetName("skSkinGroupBox2");
  g->SetParent(parent);
  g->SetSkinDataName("panel");
  g->SetCaptionMode(false);
  g->SetCaption("查询条件");
  g->SetBounds(bounds.Left, bounds.Top, bounds.Width(), bounds.Height());
  g->SetSkinData(data);
  return g;
}

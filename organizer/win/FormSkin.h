#pragma once
// The skin of the organizer's skinned forms: the form skin DSF, the skin store skSkinData1
// fed by the stored skin CompressedStoredSkin1 (the program's own skin), and the skinned
// buttons and group box bound to that store.
#include "framework/win/Forms.h"
#include "skin/core/SkCompressedStoredSkin.h"
#include "skin/core/SkinData.h"
#include "skin/win/SkinCtrls.h"
#include "skin/win/SkinForm.h"

// Gives form its DSF, skSkinData1 and CompressedStoredSkin1 with the values every skinned
// organizer form shares; the store stays empty until ApplyFormSkin.
void AddFormSkin(TForm* form, TskSkinForm*& DSF, TskSkinData*& skSkinData1,
                 TskCompressedStoredSkin*& CompressedStoredSkin1);
// Run once the form's controls exist: loads the skin into the store, skins the frame and
// every skinned control bound to the store, and keeps the form's client size.
void ApplyFormSkin(TForm* form, TskSkinForm* DSF, TskSkinData* skSkinData1,
                   TskCompressedStoredSkin* CompressedStoredSkin1);

// A skinned push button ("resizebutton" section) bound to data that runs onClick.
TskSkinButton* MakeSkinButton(TskSkinData* data, TComponent* owner, TWinControl* parent, const char* name,
                              const char* caption, const TRect& bounds, TNotifyEvent onClick);

// The forms' group box "查询条件" ("panel" section; the section has no caption area, so the
// caption is kept but not drawn).
TskSkinGroupBox* MakeSkinGroupBox(TskSkinData* data, TComponent* owner, TWinControl* parent, const TRect& bounds);

#pragma once
// The program's own skin, carried as one resource by every program that links the skin
// layer, and the delivery of the skin store's messages to the forms.

class TskCompressedStoredSkin;
class TskResourceStrData;

// Fills stored with the skin resource of the running program; false when it has none.
bool LoadProgramSkin(TskCompressedStoredSkin& stored);

// Sends each message of a skin store (wParam = the store, lParam = 1000) to the store's
// owner when it is a form, then to every other form of the screen, creating windows that
// do not exist yet.
void InstallSkinMessageBroadcast();

// The program's texts for the skin (system-menu captions, caption-button hints) in
// Chinese, GB2312 character set; one instance owned by the application.
TskResourceStrData* ProgramResourceStrings();

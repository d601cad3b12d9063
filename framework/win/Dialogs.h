#pragma once
// Message boxes: ShowMessage (captioned with the application title), AskYesNo (the
// "询问" confirmation) and MessageBox with MB_ flags. All go through a seam so tests
// can install a MessageBoxRecorder that records each box and answers for the user.

#include <string>
#include <vector>

#include "framework/win/WinApi.h"

class MessageBoxService {
public:
    virtual ~MessageBoxService() = default;
    virtual int Show(HWND owner, const std::string& text, const std::string& caption, UINT flags) = 0;
};

// Installs a service (nullptr: the system's MessageBoxW). The caller keeps it alive.
void SetMessageBoxService(MessageBoxService* service);

class MessageBoxRecorder : public MessageBoxService {
public:
    struct Call {
        std::string Text, Caption;
        UINT Flags;
    };
    MessageBoxRecorder() { SetMessageBoxService(this); }
    ~MessageBoxRecorder() override { SetMessageBoxService(nullptr); }
    int Show(HWND owner, const std::string& text, const std::string& caption, UINT flags) override;

    std::vector<Call> Calls;
    int Answer = IDYES;   // returned for every box (IDOK for an MB_OK box)
};

int MessageBox(const std::string& text, const std::string& caption, UINT flags);
void ShowMessage(const std::string& text);
bool AskYesNo(const std::string& text);   // true for Yes

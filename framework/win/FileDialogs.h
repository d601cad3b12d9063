#pragma once
// TOpenDialog and TSaveDialog over the system file dialogs. Filter is "text|mask|text|
// mask..." (masks separated by ';'); Execute returns true when the user confirmed, with
// the chosen path in FileName. All dialogs go through a seam so that tests install a
// FileDialogRecorder that records each dialog and answers for the user.

#include <string>
#include <vector>

#include "framework/base/Component.h"

class TOpenDialog;

class FileDialogService {
public:
    virtual ~FileDialogService() = default;
    virtual bool Execute(TOpenDialog& dialog, bool save) = 0;
};

// Installs a service (nullptr: the system dialogs). The caller keeps it alive.
void SetFileDialogService(FileDialogService* service);

class TOpenDialog : public TComponent {
public:
    explicit TOpenDialog(TComponent* AOwner);

    const std::string& Filter() const { return FFilter; }
    void SetFilter(const std::string& value);   // raises EInvalidOperation for an unpaired text
    int FilterIndex() const { return FFilterIndex; }
    void SetFilterIndex(int value) { FFilterIndex = value; }
    const std::string& Title() const { return FTitle; }
    void SetTitle(const std::string& value) { FTitle = value; }
    const std::string& FileName() const { return FFileName; }
    void SetFileName(const std::string& value) { FFileName = value; }
    const std::string& InitialDir() const { return FInitialDir; }
    void SetInitialDir(const std::string& value) { FInitialDir = value; }
    const std::string& DefaultExt() const { return FDefaultExt; }
    void SetDefaultExt(const std::string& value) { FDefaultExt = value; }

    bool Execute();

protected:
    virtual bool IsSave() const { return false; }

private:
    friend class SystemFileDialogs;
    std::string FFilter, FTitle, FFileName, FInitialDir, FDefaultExt;
    int FFilterIndex = 1;
};

// Asks before overwriting an existing file.
class TSaveDialog : public TOpenDialog {
public:
    using TOpenDialog::TOpenDialog;

protected:
    bool IsSave() const override { return true; }
};

class FileDialogRecorder : public FileDialogService {
public:
    struct Call {
        std::string Title, Filter, InitialDir, FileName;
        bool Save;
    };
    FileDialogRecorder() { SetFileDialogService(this); }
    ~FileDialogRecorder() override { SetFileDialogService(nullptr); }
    bool Execute(TOpenDialog& dialog, bool save) override;

    std::vector<Call> Calls;
    bool Confirm = true;   // false: the user cancels
    std::string Answer;    // the file name chosen when confirming
};

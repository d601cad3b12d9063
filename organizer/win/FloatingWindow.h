#pragma once
// The behaviour the organizer's borderless desktop windows share: dragged by their
// surface, placed from their row of sz_fzb on show and storing their position pair there
// on close, and, for all but the desktop calendar, retracting into a thin strip at the
// top or right screen edge until the mouse comes over it (two 50 ms timers, Timer5 the
// reveal check and Timer6 the retract step, made on the form under those names). The
// timers of all windows are driven by one shared 50 ms tick that reads the screen width
// and the window under the cursor once for all of them, and only when a shown window
// is docked; a window never shown yet is left alone, and while every window is hidden
// and settled the tick stops until one is shown.
// A form makes one, binds its surfaces' mouse moves to Drag (or AddSurface) and calls
// ReadPosition from its show handler and WritePosition from its close handler.

#include <cstdint>
#include <string>

#include "framework/base/Timer.h"
#include "framework/win/Forms.h"

enum class TRetractTimers {
    None,           // no edge retraction
    FromCreation,   // both timers run from creation
    OnShow,         // both made disabled; StartRetracting turns them on
};

class TFloatingBehaviour : public TComponent {
public:
    ~TFloatingBehaviour() override;
    // The behaviour of `form` (which owns it), stored under `key` in sz_fzb and mirrored in
    // *posX and *posY.
    TFloatingBehaviour(TForm* form, std::string key, int32_t* posX, int32_t* posY, TRetractTimers timers);

    const std::string& Key() const { return FKey; }
    TTimer* Timer5 = nullptr;   // reveal check; null without retraction
    TTimer* Timer6 = nullptr;   // retract step

    // A mouse move over a drag surface: a recording surface copies the window's place into
    // its pair; a dragging one starts the system move while the left button is down.
    void Drag(TShiftState Shift, bool records = true, bool drags = true);
    // Binds a surface's mouse moves straight to Drag, for windows whose surfaces have no
    // handler of their own.
    void AddSurface(TControl* surface, bool records = true, bool drags = true);
    // Places the window from its row (0, 0 when the row is missing) and sets its pair to it;
    // the shared tick runs again for it.
    void ReadPosition();
    // Stores the pair in the row (a missing row stays missing).
    void WritePosition();
    void StartRetracting();

    void Timer5Timer(TObject* Sender);
    void Timer6Timer(TObject* Sender);

    // What one tick needs of the system, each read at most once per tick.
    class TProbe {
    public:
        int ScreenWidth();
        HWND RootUnderCursor();   // the top-level window under the cursor, or null
        int Reads = 0;            // system reads made so far
    private:
        int FScreenWidth = -1;
        bool FCursorRead = false;
        HWND FRoot = nullptr;
    };
    // One shared tick for this window: its reveal check, then its retract step, each while
    // its timer is enabled.
    void SharedTick(TProbe& probe);
    // Whether this window needs further ticks (see the .cpp).
    bool NeedsTicks(TProbe& probe);
    static bool SharedTickRunning();
    // Windows in the shared tick, and what the last tick read of the system.
    static int SharedWindows();
    static int LastTickReads();
    // Runs the shared tick at once (tests).
    static void RunSharedTick();

private:
    void MoveLoopEnded();
    void Reveal(TProbe& probe);
    void RetractStep(TProbe& probe);
    void UpdateSharedTick();

    TForm* FForm;
    std::string FKey;
    int32_t* FPosX;
    int32_t* FPosY;
    bool FShown = false;   // seen visible once: before that it sits at 0,0 by no choice
};

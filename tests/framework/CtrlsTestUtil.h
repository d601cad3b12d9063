#pragma once
// Helpers of the control tests: a plain form to put controls on (and a fixture giving each
// test a fresh one), and sending keys the way the message loop would see them (posted to a
// window, then pumped).

#include <gtest/gtest.h>

#include "framework/win/Forms.h"
#include "tests/framework/WinTestUtil.h"

class TTestForm : public TForm {
public:
    explicit TTestForm(TComponent* owner) : TForm(owner) {
        SetBorderStyle(bsDialog);
        SetBounds(40, 40, 420, 320);
    }
};

// Gives each test a fresh form.
class TTestFormFixture : public ::testing::Test {
protected:
    void SetUp() override {
        EnsureApplication();
        form = NewForm<TTestForm>(nullptr);
    }
    void TearDown() override { delete form; }
    TTestForm* form = nullptr;
};

template <class T>
T* Put(TWinControl* parent, int left, int top, int width, int height) {
    T* c = new T(parent->ParentForm());
    c->SetParent(parent);
    c->SetBounds(left, top, width, height);
    return c;
}

// Posts a key down to a window and lets the message loop deliver it.
inline void PressKey(HWND hwnd, WORD key) {
    PostMessageW(hwnd, WM_KEYDOWN, key, 0);
    PumpUntil([] { return false; }, 50);
}

#pragma once
// Building a form's controls in code.
#include "framework/win/Controls.h"

// Makes a control of type T owned by `owner`, named, placed on `parent` at the given bounds.
template <class T>
T* Make(TComponent* owner, TWinControl* parent, const char* name, int left, int top, int width, int height)
{
    T* c = new T(owner);
    c->SetName(name);
    c->SetParent(parent);
    c->SetBounds(left, top, width, height);
    return c;
}

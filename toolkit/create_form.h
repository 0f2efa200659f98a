#pragma once
// Window creation: the object is stored in its program-wide reference, then its
// creation handler runs inside the guard; the first window becomes the main window.

#include "toolkit/application.h"
#include "toolkit/form.h"

template <class T>
void CreateForm(T*& reference) {
    try {
        reference = new T();
    } catch (...) {
        reference = nullptr;
        throw;
    }
    Guard(reference, [&] { reference->FormCreate(); });
    if (Application && !Application->MainForm) {
        Application->MainForm = reference;
        reference->winId();
    }
}

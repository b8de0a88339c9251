// "Go to" in a class window (Ctrl+G, view_keys.cpp, or the context menu's
// entry): the class's members in a filtered list, and the one chosen brought
// to the top of the view shown then, its name selected. Ctrl+G is a key the
// Lister leaves to its plugin (it takes letters, digits and function keys
// alone, and Ctrl+A, C and P).
#pragma once

#include <windows.h>

#include "plugin/class_window.h"

void GoToMember(HWND control, ClassWindow* window);

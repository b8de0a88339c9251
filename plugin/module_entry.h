// The module's entry notification: DllMain forwards here.
#pragma once

#include <windows.h>

void HandleEntryNotification(HINSTANCE instance, DWORD reason);

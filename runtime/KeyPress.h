#pragma once

#include <string>

class QKeyEvent;

// What counts as a key press for a window's Event_KeyDown. A modifier pressed alone is none, and a
// chord with Ctrl (the Command key here) is a menu command, never a typed key, even when no
// enabled item takes it. Every other press counts, auto-repeat included.
bool IsKeyDown(const QKeyEvent& event);

// The key as text: the typed characters, or for a key that types nothing (arrows, function
// keys) a private-use character derived from its code, so it is never empty.
std::string KeyDownText(const QKeyEvent& event);

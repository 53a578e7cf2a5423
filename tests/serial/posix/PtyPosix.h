#pragma once
// What tests see of a pseudo-terminal's line beyond its bytes, and the links of the port
// directory.

#include "tests/serial/Pty.h"

#include <termios.h>

// The port directory's path (named by OSTREL_SMT_PORTS while it exists).
const std::string& PortPath(const TPortDir& Dir);
// Makes Name (such as "COM1") lead to Target.
void LinkPort(const TPortDir& Dir, const std::string& Name, const std::string& Target);

// The line's settings, as the component left them.
termios LineSettings(const TPty& Line);
// Changes the line's settings behind the component's back.
void SetLineSettings(const TPty& Line, const termios& T);
// Bytes written that the component has not read yet.
std::size_t Unread(const TPty& Line);
